// The whole player against mpv's own command-line player, in the same run, on the demo with its
// subtitles, both drawing for real on an X server of the bench's own (Xvfb, openbox):
//
//   start-up: from process start to playback running with the subtitle file loaded (the
//             player's status 4 with its reader loaded; mpv's "playback-restart" event), median
//             of several runs each;
//   CPU:      user + system time of each process over the first 20 s of playback.
//
// Both use the same Mesa software OpenGL: mpv its own GL output (--vo=gpu, --gpu-sw=yes allows
// the software renderer), the player mpv's render API inside Qt. Audio goes to a null output
// in both unless --audio is given. The player is veltrix-bench-player (the shell library with
// a hook that reports the moment); mpv reports it over its JSON IPC on an inherited socket.
#include "BenchProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Options {
    int startupRuns = 7;
    int cpuRuns = 2;
    int cpuSeconds = 20;
    bool audio = false;
    bool startup = true;
    bool cpu = true;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

QStringList playerCommand(const Options& options, const QString& video)
{
    QStringList command = {QStringLiteral(VELTRIX_BENCH_PLAYER), QStringLiteral("--ready-fd=3")};
    if (!options.audio)
        command << QStringLiteral("--no-audio");
    return command << video;
}

QStringList mpvCommand(const Options& options, const QString& video, const QString& subtitles)
{
    QStringList command = {QStringLiteral("mpv"), QStringLiteral("--no-config"),
                           QStringLiteral("--terminal=no"), QStringLiteral("--vo=gpu"),
                           QStringLiteral("--gpu-sw=yes"), QStringLiteral("--sub-auto=no"),
                           QStringLiteral("--input-ipc-client=fd://3"),
                           QStringLiteral("--sub-file=") + subtitles};
    if (!options.audio)
        command << QStringLiteral("--ao=null");
    return command << video;
}

// Milliseconds from spawning to the ready line, or a negative number when it never came.
double startUp(const QStringList& command, const QByteArray& readyText)
{
    BenchChild child(command);
    const double ms = child.WaitFor(readyText, 30000);
    child.Stop();
    return ms;
}

struct CpuUse {
    double process = -1;   // seconds of user + system time
    double server = -1;    // the X server's, in the same interval
};

CpuUse cpuWhilePlaying(const QStringList& command, const QByteArray& readyText, int seconds,
                       pid_t server)
{
    BenchChild child(command);
    CpuUse use;
    if (child.WaitFor(readyText, 30000) < 0) {
        child.Stop();
        return use;
    }
    const double processStart = CpuSeconds(child.Pid());
    const double serverStart = CpuSeconds(server);
    child.Drain(seconds * 1000);
    const double processEnd = CpuSeconds(child.Pid());
    const double serverEnd = CpuSeconds(server);
    if (child.Running() && processStart >= 0 && processEnd >= 0) {
        use.process = processEnd - processStart;
        use.server = serverEnd - serverStart;
    }
    child.Stop();
    return use;
}

bool parse(const QStringList& arguments, Options& options)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        bool ok = true;
        if (arg == QLatin1String("--startup-only"))
            options.cpu = false;
        else if (arg == QLatin1String("--cpu-only"))
            options.startup = false;
        else if (arg == QLatin1String("--audio"))
            options.audio = true;
        else if (arg.startsWith(QLatin1String("--startup-runs=")))
            options.startupRuns = arg.section(QLatin1Char('='), 1).toInt(&ok);
        else if (arg.startsWith(QLatin1String("--cpu-runs=")))
            options.cpuRuns = arg.section(QLatin1Char('='), 1).toInt(&ok);
        else if (arg.startsWith(QLatin1String("--cpu-seconds=")))
            options.cpuSeconds = arg.section(QLatin1Char('='), 1).toInt(&ok);
        else
            ok = false;
        if (!ok || options.startupRuns < 1 || options.cpuRuns < 1 || options.cpuSeconds < 1
            || options.cpuSeconds > 300)
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Options options;
    if (!parse(QCoreApplication::arguments(), options)) {
        std::fprintf(stderr, "usage: shell_bench [--startup-only | --cpu-only] [--audio]\n"
                             "  [--startup-runs=N (7)] [--cpu-runs=N (2)] [--cpu-seconds=S (20)]\n");
        return 2;
    }
    QTemporaryDir dir;
    const QString video = dir.filePath(QStringLiteral("Veltrix Demo.avi"));
    const QString subtitles = dir.filePath(QStringLiteral("Veltrix Demo.srt"));
    // Long enough for the CPU interval after start-up, with a margin before the end.
    const int length = options.cpuSeconds + 5;
    if (RunQuietly({QStringLiteral(VELTRIX_MAKE_DEMO), video, QString::number(length)}) != 0) {
        std::fprintf(stderr, "shell_bench: cannot write the demo\n");
        return 1;
    }
    // Each run starts on an empty registry, as a first start does.
    qputenv("VELTRIX_REGISTRY", dir.filePath(QStringLiteral("registry.db")).toLocal8Bit());
    BenchDisplay display;
    if (!display.Start()) {
        std::fprintf(stderr, "shell_bench: cannot start Xvfb and openbox\n");
        return 1;
    }
    const QStringList player = playerCommand(options, video);
    const QStringList mpv = mpvCommand(options, video, subtitles);
    const QByteArray playerReady = "ready";
    const QByteArray mpvReady = "\"playback-restart\"";
    std::printf("demo: 640x360, 25 fps, %d s, audio %s\n", length,
                options.audio ? "to the default output" : "to a null output");
    int failures = 0;

    if (options.startup) {
        // One untimed run of each first: the file and the libraries come into the page cache.
        startUp(player, playerReady);
        startUp(mpv, mpvReady);
        std::vector<double> ours, theirs;
        for (int run = 0; run < options.startupRuns; ++run) {
            const double a = startUp(player, playerReady);
            const double b = startUp(mpv, mpvReady);
            if (a < 0 || b < 0) {
                ++failures;
                continue;
            }
            ours.push_back(a);
            theirs.push_back(b);
            std::printf("start-up run %d: player %.0f ms, mpv %.0f ms\n", run + 1, a, b);
        }
        if (!ours.empty()) {
            const double a = median(ours), b = median(theirs);
            std::printf("start-up median of %zu: player %.0f ms, mpv %.0f ms, ratio %.2f\n",
                        ours.size(), a, b, a / b);
        }
    }
    if (options.cpu) {
        std::vector<double> ours, theirs;
        for (int run = 0; run < options.cpuRuns; ++run) {
            const CpuUse a = cpuWhilePlaying(player, playerReady, options.cpuSeconds,
                                             display.ServerPid());
            const CpuUse b = cpuWhilePlaying(mpv, mpvReady, options.cpuSeconds,
                                             display.ServerPid());
            if (a.process < 0 || b.process < 0) {
                ++failures;
                continue;
            }
            ours.push_back(a.process);
            theirs.push_back(b.process);
            std::printf("CPU run %d over %d s: player %.2f s (X server %.2f s), "
                        "mpv %.2f s (X server %.2f s)\n",
                        run + 1, options.cpuSeconds, a.process, a.server, b.process, b.server);
        }
        if (!ours.empty()) {
            const double a = median(ours), b = median(theirs);
            std::printf("CPU median of %zu: player %.2f s, mpv %.2f s, ratio %.2f\n",
                        ours.size(), a, b, a / b);
        }
    }
    if (failures)
        std::printf("%d run(s) failed: a program did not reach playback or quit early\n",
                    failures);
    return failures ? 1 : 0;
}
