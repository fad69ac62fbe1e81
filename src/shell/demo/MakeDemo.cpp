// Writes the demo the run script plays: a 25 fps video whose frames show their number, and
// beside it a SubRip file of the same name, so that opening the video finds the subtitles by
// itself. The benchmarks ask for a longer one; its subtitles repeat every seven seconds.
#include "mediagen/TestVideo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

struct DemoEntry {
    int start;   // milliseconds
    int end;
    const char* text;
};

constexpr DemoEntry kEntries[] = {
    {5200, 7000, "Welcome to Tavrell Veltrix."},
    {7200, 9000, "<i>The subtitles follow the picture.</i>"},
    {9200, 10600, "# La la la, the square moves on #"},
    {10800, 11900, "Two lines at once,\r\nfitted to the video."},
};
constexpr int kRepeatMs = 7000;
constexpr int kDefaultSeconds = 12;
constexpr int kMaxSeconds = 600;

QByteArray timestamp(int ms)
{
    return QStringLiteral("%1:%2:%3,%4")
        .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'))
        .toLatin1();
}

// Every entry that ends within the video, the block repeated for longer videos.
QByteArray subtitles(int lengthMs)
{
    QByteArray out;
    int number = 0;
    for (int offset = 0;; offset += kRepeatMs) {
        for (const DemoEntry& entry : kEntries) {
            if (entry.end + offset > lengthMs)
                return out;
            out += QByteArray::number(++number) + "\r\n" + timestamp(entry.start + offset)
                 + " --> " + timestamp(entry.end + offset) + "\r\n" + entry.text + "\r\n\r\n";
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int seconds = kDefaultSeconds;
    bool valid = argc == 2 || argc == 3;
    if (argc == 3)
        seconds = QString::fromLocal8Bit(argv[2]).toInt(&valid);
    if (!valid || seconds < 1 || seconds > kMaxSeconds) {
        std::fprintf(stderr, "usage: veltrix-make-demo VIDEO.avi [SECONDS, 1 to %d; default %d]\n",
                     kMaxSeconds, kDefaultSeconds);
        return 2;
    }
    const QString video = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(QFileInfo(video).absolutePath());
    TestVideoFormat format;
    // Wide enough for the control strip and the status line at the video's own size.
    format.width = 640;
    format.height = 360;
    format.microsecondsPerFrame = 40000;
    format.frames = seconds * 25;
    format.audio = true;
    format.frameCounter = true;
    // A few megabytes instead of two hundred, written in well under two seconds.
    format.codec = TestVideoCodec::MotionJpeg;
    if (!WriteTestAvi(video, format)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    QFile srt(QFileInfo(video).path() + QLatin1Char('/') + QFileInfo(video).completeBaseName()
              + QStringLiteral(".srt"));
    if (!srt.open(QIODevice::WriteOnly) || srt.write(subtitles(seconds * 1000)) < 0) {
        std::fprintf(stderr, "cannot write the subtitle file\n");
        return 1;
    }
    return 0;
}
