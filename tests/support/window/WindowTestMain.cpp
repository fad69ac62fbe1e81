// Main of every real-window test. They need X11 and a window manager, and they click and take
// screenshots, so they must not share a screen with other tests that ctest runs at the same
// time: when a display is given, they run on an X server of their own (Xvfb) with openbox.
// Without a display every test skips.
#include "WaitUntil.h"
#include "window/XProbe.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>

#include <clocale>
#include <iostream>

namespace {

// Starts Xvfb on a free display; returns that display (":12") or empty when it cannot.
QByteArray startPrivateServer(QProcess& server)
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
        return {};
    // The screen the window-fitting checks were specified on; VELTRIX_TEST_SCREEN may change it.
    const QString size = qEnvironmentVariable("VELTRIX_TEST_SCREEN", QStringLiteral("1600x1000"));
    server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", size + "x24",
                                          "-nolisten", "tcp"});
    if (!server.waitForStarted(5000))
        return {};
    // Xvfb writes the display number once it accepts connections.
    while (!server.canReadLine() && server.waitForReadyRead(10000)) {
    }
    const QByteArray number = server.readLine().trimmed();
    return number.isEmpty() ? QByteArray() : ":" + number;
}

void stop(QProcess& process)
{
    process.terminate();
    if (!process.waitForFinished(3000))
        process.kill();
    process.waitForFinished(1000);
}

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    const bool listing = GTEST_FLAG_GET(list_tests);
    bool display = qEnvironmentVariableIsSet("DISPLAY");
    QProcess server;
    if (display && !listing) {
        const QByteArray privateDisplay = startPrivateServer(server);
        if (!privateDisplay.isEmpty())
            qputenv("DISPLAY", privateDisplay);
    }
    qputenv("QT_QPA_PLATFORM", display ? "xcb" : "offscreen");
    int result = 0;
    {
        QApplication app(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
        QProcess windowManager;
        if (display && !listing) {
            windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
            // Until the manager runs nothing is managed, stacked or focused: wait for its sign.
            XProbe probe;
            if (!windowManager.waitForStarted(3000) || !probe
                || !WaitUntil([&] { return probe.WindowManagerRunning(); }, 10000)) {
                std::cerr << "openbox did not start on the private X server\n";
                result = 1;
            }
        }
        if (result == 0)
            result = RUN_ALL_TESTS();
        stop(windowManager);
    }
    // Only now that the application has closed its connection may the server go.
    stop(server);
    return result;
}
