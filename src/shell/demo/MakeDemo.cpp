// Writes the demo the run script plays: a short 25 fps video and beside it a SubRip file of the
// same name, so that opening the video finds the subtitles by itself.
#include "TestVideo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {
const char kSubtitles[] =
    "1\r\n00:00:05,200 --> 00:00:07,000\r\nWelcome to Tavrell Veltrix.\r\n\r\n"
    "2\r\n00:00:07,200 --> 00:00:09,000\r\n<i>The subtitles follow the picture.</i>\r\n\r\n"
    "3\r\n00:00:09,200 --> 00:00:10,600\r\n# La la la, the square moves on #\r\n\r\n"
    "4\r\n00:00:10,800 --> 00:00:11,900\r\nTwo lines at once,\r\nfitted to the video.\r\n\r\n";
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: veltrix-make-demo VIDEO.avi\n");
        return 2;
    }
    const QString video = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(QFileInfo(video).absolutePath());
    TestVideoFormat format;
    // Big enough for the window's controls at the video's own size; 12 seconds.
    format.width = 320;
    format.height = 240;
    format.frames = 300;
    format.audio = true;
    if (!WriteTestAvi(video, format)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    QFile subtitles(QFileInfo(video).path() + QLatin1Char('/')
                    + QFileInfo(video).completeBaseName() + QStringLiteral(".srt"));
    if (!subtitles.open(QIODevice::WriteOnly) || subtitles.write(kSubtitles) < 0) {
        std::fprintf(stderr, "cannot write the subtitle file\n");
        return 1;
    }
    return 0;
}
