// Whole-process time to load a 100,000-entry SubRip file (about 10 MB): veltrix-inspect against
// FFmpeg reading the same file, alternating, median of five runs each. Beside it, what the whole
// process is made of: the inspector's start-up on a file of two entries, and the reader's own
// throughput loading the file inside this process.
#include "SrtGenerator.h"

#include "subtitles/SubtitleReader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// FFmpeg reads the whole subtitle file while opening it, then ends with "Output file does not
// contain any stream" (the null muxer takes no subtitles): its exit status is not the point,
// the time it took to read the file is. Ours must succeed.
double runMilliseconds(const QString& program, const QStringList& args, bool mustSucceed)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, args);
    if (!process.waitForFinished(120000) || (mustSucceed && process.exitCode() != 0)) {
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
        return -1;
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Megabytes a second of SubtitleReader::Load on the file, median of five loads.
double readerMegabytesPerSecond(const QString& path)
{
    std::vector<double> seconds;
    for (int run = 0; run < 5; ++run) {
        SubtitleReader reader;
        QElapsedTimer timer;
        timer.start();
        if (!reader.Load(path))
            return -1;
        seconds.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    return static_cast<double>(QFile(path).size()) / 1e6 / median(seconds);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.srt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(GenerateSrt(100000)) < 0)
        return 1;
    file.close();
    const QString tiny = dir.filePath(QStringLiteral("tiny.srt"));
    QFile tinyFile(tiny);
    if (!tinyFile.open(QIODevice::WriteOnly) || tinyFile.write(GenerateSrt(2)) < 0)
        return 1;
    tinyFile.close();

    std::vector<double> ours, startUp, theirs;
    for (int run = 0; run < 5; ++run) {
        ours.push_back(runMilliseconds(QStringLiteral(VELTRIX_INSPECT),
                                       {"subtitles", path, "--summary"}, true));
        startUp.push_back(runMilliseconds(QStringLiteral(VELTRIX_INSPECT),
                                          {"subtitles", tiny, "--summary"}, true));
        if (!ffmpeg.isEmpty())
            theirs.push_back(runMilliseconds(ffmpeg, {"-v", "error", "-i", path, "-c", "copy",
                                                      "-f", "null", "-"}, false));
    }
    std::printf("file: %lld bytes, 100000 entries\n", static_cast<long long>(QFile(path).size()));
    std::printf("veltrix-inspect --summary: median %.1f ms\n", median(ours));
    std::printf("  of which start-up:       median %.1f ms (the same on a file of two entries)\n",
                median(startUp));
    std::printf("  reader in-process:       %.0f MB/s\n", readerMegabytesPerSecond(path));
    if (theirs.empty()) {
        std::printf("ffmpeg not found: no peer measured\n");
        return 0;
    }
    std::printf("ffmpeg -c copy -f null:    median %.1f ms\n", median(theirs));
    std::printf("ratio (ffmpeg / veltrix):  %.1fx\n", median(theirs) / median(ours));
    return 0;
}
