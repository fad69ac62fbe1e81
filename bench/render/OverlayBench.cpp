// ShowSubtitle runs on every playback tick (40 a second): the time of one call for a two-line
// caption over a 1280-pixel picture, with the same caption again (every tick but the first)
// and with a caption never seen before (the first tick of each caption).
#include "render/SubtitleOverlay.h"

#include <QApplication>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <clocale>

namespace {

QWidget* mainWindow = nullptr;

OverlayScene Scene()
{
    OverlayScene scene;
    scene.container = QRect(0, 0, 1280, 720);
    scene.pictureWidth = 1280;
    scene.videoHeight = 720;
    scene.mainWindow = mainWindow;
    return scene;
}

SubtitlePtr TwoLines(int variant)
{
    auto entry = std::make_shared<Subtitle>();
    entry->Text = QStringLiteral("I told you we would never find the way back, not in this fog,\r\n"
                                 "and now look where we are (%1)").arg(variant);
    return entry;
}

void SameCaptionEveryTick(benchmark::State& state)
{
    SubtitleOverlay overlay(nullptr);
    const SubtitlePtr entry = TwoLines(0);
    overlay.Show(entry, Scene());
    for (auto _ : state)
        benchmark::DoNotOptimize(overlay.Show(entry, Scene()));
}
BENCHMARK(SameCaptionEveryTick)->Unit(benchmark::kMicrosecond);

void NewCaptionEveryTick(benchmark::State& state)
{
    SubtitleOverlay overlay(nullptr);
    int variant = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(overlay.Show(TwoLines(++variant), Scene()));
}
BENCHMARK(NewCaptionEveryTick)->Unit(benchmark::kMicrosecond);

}   // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QWidget window;
    window.setGeometry(0, 0, 1280, 720);
    window.show();
    QApplication::processEvents();
    mainWindow = &window;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
