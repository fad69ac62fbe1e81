// Open-to-playing time of each engine through the controller, against the engine's own
// command-line player reaching playback of the same file in the same run, and the cost of the
// status and position getters the 25 ms tick calls. Prints one line per measurement.
#include "mediagen/TestVideo.h"

#include "media/MediaPlayerController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 5;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Engine creation and OpenFile until status 4, in milliseconds.
double controllerOpen(int engine, const QString& file)
{
    EngineOptions options;
    options.videoOutput = false;
    options.audioOutput = false;
    MediaPlayerController player;
    player.SetEngineOptions(options);
    QElapsedTimer timer;
    timer.start();
    if (!player.SetMP(engine) || !player.OpenFile(file))
        return -1;
    return timer.nsecsElapsed() / 1e6;
}

// With versionOnly, the same program only starting and printing its version: the part of its time
// that is process start-up rather than opening the file.
double commandLineOpen(int engine, const QString& file, bool versionOnly = false)
{
    QStringList arguments;
    QString program;
    if (versionOnly) {
        program = engine == 2 ? QStringLiteral("mpv") : QStringLiteral("gst-launch-1.0");
        arguments = {"--version"};
    } else if (engine == 2) {
        program = QStringLiteral("mpv");
        arguments = {"--no-config", "--vo=null", "--ao=null", "--frames=1", "--really-quiet", file};
    } else {
        // The video sink ends the stream after its first buffer, shown in time.
        program = QStringLiteral("gst-launch-1.0");
        arguments = {"-q", "playbin", "uri=" + QUrl::fromLocalFile(file).toString(),
                     "flags=video", "video-sink=fakesink sync=true num-buffers=1"};
    }
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return -1;
    return timer.nsecsElapsed() / 1e6;
}

double getterNanoseconds(MediaPlayerController& player, bool position)
{
    constexpr int calls = 20000;
    double sink = 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < calls; ++i)
        sink += position ? player.Position() : double(player.Status());
    const double each = double(timer.nsecsElapsed()) / calls;
    return sink >= 0 ? each : -each;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bench.avi"));
    TestVideoFormat format;
    format.audio = true;
    if (!WriteTestAvi(file, format)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return 1;
    }
    for (int engine : {1, 2}) {
        const char* name = engine == 1 ? "GStreamer" : "mpv";
        std::vector<double> ours;
        std::vector<double> peer;
        std::vector<double> startup;
        for (int run = 0; run < kRuns; ++run) {
            ours.push_back(controllerOpen(engine, file));
            peer.push_back(commandLineOpen(engine, file));
            startup.push_back(commandLineOpen(engine, file, true));
        }
        const double a = median(ours);
        const double b = median(peer);
        std::printf("%-9s open to playing: controller %.1f ms (first, cold: %.1f ms), "
                    "command line %.1f ms, difference %+.1f ms (medians of %d)\n",
                    name, a, ours.front(), b, a - b, kRuns);
        std::printf("%-9s command line without its start-up (--version: %.1f ms): %.1f ms\n", name,
                    median(startup), b - median(startup));

        EngineOptions options;
        options.videoOutput = false;
        options.audioOutput = false;
        MediaPlayerController player;
        player.SetEngineOptions(options);
        if (player.SetMP(engine) && player.OpenFile(file)) {
            std::printf("%-9s Status(): %.0f ns per call, Position(): %.0f ns per call\n", name,
                        getterNanoseconds(player, false), getterNanoseconds(player, true));
        }
    }
    return 0;
}
