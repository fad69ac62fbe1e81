// Main of the real-window media tests: on X11 (the Xvfb display the test script provides) with a
// window manager, since the engines' windows behave differently without one. Without a display
// every test skips.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>

#include <clocale>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    const bool display = qEnvironmentVariableIsSet("DISPLAY");
    qputenv("QT_QPA_PLATFORM", display ? "xcb" : "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QProcess windowManager;
    if (display && !GTEST_FLAG_GET(list_tests)) {
        // Exits at once by itself when another window manager already runs.
        windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        windowManager.waitForStarted(3000);
        QProcess::execute(QStringLiteral("sleep"), {QStringLiteral("0.3")});
    }
    const int result = RUN_ALL_TESTS();
    if (windowManager.state() != QProcess::NotRunning) {
        windowManager.terminate();
        windowManager.waitForFinished(3000);
    }
    return result;
}
