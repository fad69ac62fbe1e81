// The whole player on each engine against mpv's own command-line player, in the same run, on
// the demo and on a 1280x720 H.264 Matroska film (both with subtitles), all drawing for real on
// an X server of the bench's own (Xvfb, openbox):
//
//   start-up: from process start to playback running with the subtitle file loaded (the
//             player's status 4 with its reader loaded; mpv's "playback-restart" event), median
//             of several runs each;
//   CPU:      user + system time of each process, and of the X server, over the first 20 s of
//             playback;
//   RSS:      each process's resident memory at the end of those 20 s.
//
// mpv draws with its plain X11 output (--vo=x11), which is what it uses by itself where the
// only OpenGL is Mesa's software renderer; --with-mpv-opengl adds it forced through that
// OpenGL (--vo=gpu --gpu-sw=yes). The player draws as it does for users: on a software OpenGL
// both engines keep off it (--with-opengl-player adds the player forced through its OpenGL
// widget). Audio goes to a null output unless --audio. The player is veltrix-bench-player (the
// shell library with a hook that reports the moment); mpv reports it over its JSON IPC on an
// inherited socket.
#include "BenchProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
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
    bool openGLPlayer = false;
    bool openGLMpv = false;
    bool startup = true;
    bool cpu = true;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

QStringList playerCommand(const Options& options, const QString& video, int engine,
                          bool alwaysOpenGL = false)
{
    QStringList command = {QStringLiteral(VELTRIX_BENCH_PLAYER), QStringLiteral("--ready-fd=3"),
                           QStringLiteral("--engine=%1").arg(engine)};
    if (alwaysOpenGL)
        command << QStringLiteral("--always-opengl");
    if (!options.audio)
        command << QStringLiteral("--no-audio");
    return command << video;
}

// mpv's own player with the given video output.
QStringList mpvCommand(const Options& options, const QString& video, const QString& subtitles,
                       const QStringList& output)
{
    QStringList command = {QStringLiteral("mpv"), QStringLiteral("--no-config"),
                           QStringLiteral("--terminal=no"), QStringLiteral("--sub-auto=no"),
                           QStringLiteral("--input-ipc-client=fd://3"),
                           QStringLiteral("--sub-file=") + subtitles};
    command << output;
    if (!options.audio)
        command << QStringLiteral("--ao=null");
    return command << video;
}

struct Program {
    const char* name;
    QStringList command;
    QByteArray readyText;
    bool player;
};

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
    double residentMb = -1;
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
    const double resident = ResidentMegabytes(child.Pid());
    if (child.Running() && processStart >= 0 && processEnd >= 0) {
        use.process = processEnd - processStart;
        use.server = serverEnd - serverStart;
        use.residentMb = resident;
    }
    child.Stop();
    return use;
}

// One line: each program's median, then each player's ratio to mpv's X11 output (the last
// program of the list is the peer unless --with-mpv-opengl put another one after it).
void report(const char* what, const std::vector<Program>& programs,
            const std::vector<std::vector<double>>& values, const char* format, size_t peer)
{
    for (const auto& list : values) {
        if (list.empty())
            return;
    }
    std::printf("%s:", what);
    for (size_t p = 0; p < programs.size(); ++p) {
        std::printf(" %s ", programs[p].name);
        std::printf(format, median(values[p]));
    }
    std::printf("\n");
    for (size_t p = 0; p < programs.size(); ++p) {
        if (p != peer && programs[p].player)
            std::printf("  ratio %s / %s: %.2f\n", programs[p].name, programs[peer].name,
                        median(values[p]) / median(values[peer]));
    }
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
        else if (arg == QLatin1String("--with-opengl-player"))
            options.openGLPlayer = true;
        else if (arg == QLatin1String("--with-mpv-opengl"))
            options.openGLMpv = true;
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

// A 1280x720 H.264 film with AAC sound in Matroska, as films are; false without ffmpeg.
bool writeFilm(const QString& path, int seconds)
{
    const QString length = QString::number(seconds);
    return RunQuietly({QStringLiteral("ffmpeg"), QStringLiteral("-nostdin"), QStringLiteral("-y"),
                       QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                       QStringLiteral("testsrc2=size=1280x720:rate=25:duration=") + length,
                       QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                       QStringLiteral("sine=frequency=440:duration=") + length,
                       QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-preset"),
                       QStringLiteral("veryfast"), QStringLiteral("-pix_fmt"),
                       QStringLiteral("yuv420p"), QStringLiteral("-c:a"), QStringLiteral("aac"),
                       path})
        == 0;
}

// Start-up and CPU of every program on one video, with its subtitles beside it.
int measure(const Options& options, const QString& video, const QString& subtitles,
            pid_t server)
{
    std::vector<Program> programs = {
        {"player mpv", playerCommand(options, video, 2), "ready", true},
        {"player GStreamer", playerCommand(options, video, 1), "ready", true},
    };
    // The players forced through their OpenGL widgets, as on a machine with a graphics driver.
    if (options.openGLPlayer) {
        programs.push_back({"player mpv OpenGL", playerCommand(options, video, 2, true), "ready",
                            true});
        programs.push_back({"player GStreamer OpenGL", playerCommand(options, video, 1, true),
                            "ready", true});
    }
    const size_t peer = programs.size();
    programs.push_back({"mpv X11", mpvCommand(options, video, subtitles,
                                              {QStringLiteral("--vo=x11")}),
                        "\"playback-restart\"", false});
    if (options.openGLMpv)
        programs.push_back({"mpv OpenGL",
                            mpvCommand(options, video, subtitles,
                                       {QStringLiteral("--vo=gpu"),
                                        QStringLiteral("--gpu-sw=yes")}),
                            "\"playback-restart\"", false});
    int failures = 0;
    if (options.startup) {
        // One untimed run of each first: the file and the libraries come into the page cache.
        for (const Program& program : programs)
            startUp(program.command, program.readyText);
        std::vector<std::vector<double>> times(programs.size());
        for (int run = 0; run < options.startupRuns; ++run) {
            std::printf("start-up run %d:", run + 1);
            for (size_t p = 0; p < programs.size(); ++p) {
                const double ms = startUp(programs[p].command, programs[p].readyText);
                std::printf(" %s %.0f ms%s", programs[p].name, ms,
                            p + 1 < programs.size() ? "," : "\n");
                if (ms < 0)
                    ++failures;
                else
                    times[p].push_back(ms);
            }
        }
        report("start-up, median ms", programs, times, "%.0f", peer);
    }
    if (options.cpu) {
        std::vector<std::vector<double>> process(programs.size());
        std::vector<std::vector<double>> withServer(programs.size());
        std::vector<std::vector<double>> resident(programs.size());
        for (int run = 0; run < options.cpuRuns; ++run) {
            std::printf("CPU run %d over %d s:", run + 1, options.cpuSeconds);
            for (size_t p = 0; p < programs.size(); ++p) {
                const CpuUse use = cpuWhilePlaying(programs[p].command, programs[p].readyText,
                                                   options.cpuSeconds, server);
                std::printf(" %s %.2f s (X server %.2f s) %.0f MB%s", programs[p].name,
                            use.process, use.server, use.residentMb,
                            p + 1 < programs.size() ? "," : "\n");
                if (use.process < 0) {
                    ++failures;
                    continue;
                }
                process[p].push_back(use.process);
                withServer[p].push_back(use.process + use.server);
                resident[p].push_back(use.residentMb);
            }
        }
        report("CPU user+system, median s", programs, process, "%.2f", peer);
        report("CPU with the X server's, median s", programs, withServer, "%.2f", peer);
        report("RSS at the end, median MB", programs, resident, "%.0f", peer);
    }
    return failures;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Options options;
    if (!parse(QCoreApplication::arguments(), options)) {
        std::fprintf(stderr, "usage: shell_bench [--startup-only | --cpu-only] [--audio]\n"
                             "  [--with-opengl-player] [--with-mpv-opengl]\n"
                             "  [--startup-runs=N (7)] [--cpu-runs=N (2)]"
                             " [--cpu-seconds=S (20)]\n");
        return 2;
    }
    QTemporaryDir dir;
    const QString demo = dir.filePath(QStringLiteral("Veltrix Demo.avi"));
    const QString demoSubtitles = dir.filePath(QStringLiteral("Veltrix Demo.srt"));
    const QString film = dir.filePath(QStringLiteral("Veltrix Film.mkv"));
    const QString filmSubtitles = dir.filePath(QStringLiteral("Veltrix Film.srt"));
    // Long enough for the CPU interval after start-up, with a margin before the end.
    const int length = options.cpuSeconds + 5;
    if (RunQuietly({QStringLiteral(VELTRIX_MAKE_DEMO), demo, QString::number(length)}) != 0
        || !QFile::copy(demoSubtitles, filmSubtitles)) {
        std::fprintf(stderr, "shell_bench: cannot write the demo\n");
        return 1;
    }
    const bool haveFilm = writeFilm(film, length);
    if (!haveFilm)
        std::fprintf(stderr, "shell_bench: no film (ffmpeg with libx264 is needed)\n");
    // Each run starts on an empty registry, as a first start does.
    qputenv("VELTRIX_REGISTRY", dir.filePath(QStringLiteral("registry.db")).toLocal8Bit());
    BenchDisplay display;
    if (!display.Start()) {
        std::fprintf(stderr, "shell_bench: cannot start Xvfb and openbox\n");
        return 1;
    }
    std::printf("demo: 640x360 uncompressed AVI, 25 fps, %d s, audio to %s output\n",
                length, options.audio ? "the default" : "a null");
    int failures = measure(options, demo, demoSubtitles, display.ServerPid());
    if (haveFilm) {
        std::printf("film: 1280x720 H.264 in Matroska, 25 fps, %d s\n", length);
        failures += measure(options, film, filmSubtitles, display.ServerPid());
    }
    if (failures)
        std::printf("%d run(s) failed: a program did not reach playback or quit early\n",
                    failures);
    return failures ? 1 : 0;
}
