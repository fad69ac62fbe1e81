// The flat button against Qt's own push button drawing the same caption, and how soon a hover
// ends when the pointer leaves without a move event reaching the button (its watchdog looks every
// 50 ms; a user sees a button stay lit when that grows).
#include "controls/XFlatButton.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <clocale>

namespace {

// Both buttons paint into an image of their size, in turn, so that a busy machine slows both
// alike; the counter is the flat button's time over the push button's.
void PaintAgainstQPushButton(benchmark::State& state)
{
    XFlatButton flat;
    QPushButton push;
    for (QWidget* button : {static_cast<QWidget*>(&flat), static_cast<QWidget*>(&push)})
        button->resize(120, 40);
    flat.SetText(QStringLiteral("Play"));
    push.setText(QStringLiteral("Play"));
    QImage target(120, 40, QImage::Format_ARGB32_Premultiplied);
    const auto paint = [&target](QWidget& button) {
        QElapsedTimer clock;
        clock.start();
        button.render(&target);
        return clock.nsecsElapsed();
    };
    double flatTotal = 0, pushTotal = 0;
    for (auto _ : state) {
        const qint64 flatTime = paint(flat);
        pushTotal += double(paint(push));
        flatTotal += double(flatTime);
        state.SetIterationTime(double(flatTime) / 1e9);
    }
    state.counters["vs_QPushButton"] = pushTotal > 0 ? flatTotal / pushTotal : 0;
}
BENCHMARK(PaintAgainstQPushButton)->UseManualTime()->Unit(benchmark::kMicrosecond);

void StopHoverAfterThePointerLeaves(benchmark::State& state)
{
    QWidget form;
    form.resize(300, 200);
    auto* button = new XFlatButton(&form);
    button->setGeometry(10, 10, 120, 40);
    form.show();
    QWidget* under = button;
    button->SetPointerProbe([&under] { return under; });
    QSignalSpy stopped(button, &XFlatButton::StopHover);
    double worst = 0;
    for (auto _ : state) {
        under = button;
        // Qt drops a move to where the pointer already is.
        QTest::mouseMove(button, QPoint(21, 21));
        QTest::mouseMove(button, QPoint(20, 20));
        stopped.clear();
        QElapsedTimer clock;
        clock.start();
        under = &form;
        if (!stopped.wait(1000)) {
            state.SkipWithError("the hover never ended");
            break;
        }
        const double seconds = double(clock.nsecsElapsed()) / 1e9;
        worst = std::max(worst, seconds * 1000);
        state.SetIterationTime(seconds);
    }
    state.counters["worst_ms"] = worst;
}
BENCHMARK(StopHoverAfterThePointerLeaves)->UseManualTime()->Iterations(20)->Unit(
    benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
