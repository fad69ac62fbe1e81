// Whole-process time to load a 100,000-entry SubRip file (about 10 MB): veltrix-inspect against
// FFmpeg reading the same file, alternating, median of five runs each, by the wall clock and by
// the processor time the process took (steadier on a busy machine). Beside it, what the whole
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
#include <ctime>
#include <utility>

#include <cstdio>
#include <vector>

#include <sys/resource.h>

namespace {

// FFmpeg reads the whole subtitle file while opening it, then ends with "Output file does not
// contain any stream" (the null muxer takes no subtitles): its exit status is not the point,
// the time it took to read the file is. Ours must succeed.
struct Timing
{
    double wallMs = -1;
    double cpuMs = -1;   // user and system time of the process: what it costs on a busy machine
};

double childCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
         + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

Timing timeProcess(const QString& program, const QStringList& args, bool mustSucceed)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    const double cpuBefore = childCpuMs();
    QElapsedTimer timer;
    timer.start();
    process.start(program, args);
    if (!process.waitForFinished(120000) || (mustSucceed && process.exitCode() != 0)) {
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
        return {};
    }
    return {static_cast<double>(timer.nsecsElapsed()) / 1e6, childCpuMs() - cpuBefore};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Megabytes a second of SubtitleReader::Load on the file, median of five loads, by the clock on
// the wall and by the processor time the load took.
std::pair<double, double> readerMegabytesPerSecond(const QString& path)
{
    std::vector<double> wall, cpu;
    for (int run = 0; run < 5; ++run) {
        SubtitleReader reader;
        QElapsedTimer timer;
        timer.start();
        const double cpuBefore = threadCpuSeconds();
        if (!reader.Load(path))
            return {-1, -1};
        cpu.push_back(threadCpuSeconds() - cpuBefore);
        wall.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    const double megabytes = static_cast<double>(QFile(path).size()) / 1e6;
    return {megabytes / median(wall), megabytes / median(cpu)};
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

    std::vector<Timing> ours, startUp, theirs;
    for (int run = 0; run < 5; ++run) {
        const QString inspect = QStringLiteral(VELTRIX_INSPECT);
        ours.push_back(timeProcess(inspect, {"subtitles", path, "--summary"}, true));
        startUp.push_back(timeProcess(inspect, {"subtitles", tiny, "--summary"}, true));
        if (!ffmpeg.isEmpty())
            theirs.push_back(timeProcess(
                ffmpeg, {"-v", "error", "-i", path, "-c", "copy", "-f", "null", "-"}, false));
    }
    auto wall = [](const std::vector<Timing>& t) {
        std::vector<double> values;
        for (const Timing& one : t)
            values.push_back(one.wallMs);
        return median(values);
    };
    auto cpu = [](const std::vector<Timing>& t) {
        std::vector<double> values;
        for (const Timing& one : t)
            values.push_back(one.cpuMs);
        return median(values);
    };
    const auto [readerWall, readerCpu] = readerMegabytesPerSecond(path);
    std::printf("file: %lld bytes, 100000 entries; medians of five, wall and processor time\n",
                static_cast<long long>(QFile(path).size()));
    std::printf("veltrix-inspect --summary: %7.1f ms wall %7.1f ms cpu\n", wall(ours), cpu(ours));
    std::printf("  start-up, two entries:   %7.1f ms wall %7.1f ms cpu\n", wall(startUp),
                cpu(startUp));
    std::printf("  reader in-process:       %7.0f MB/s wall %5.0f MB/s cpu\n", readerWall,
                readerCpu);
    if (theirs.empty()) {
        std::printf("ffmpeg not found: no peer measured\n");
        return 0;
    }
    std::printf("ffmpeg -c copy -f null:    %7.1f ms wall %7.1f ms cpu\n", wall(theirs),
                cpu(theirs));
    std::printf("ratio (ffmpeg / veltrix):  %7.1fx wall  %6.1fx cpu\n", wall(theirs) / wall(ours),
                cpu(theirs) / cpu(ours));
    return 0;
}
