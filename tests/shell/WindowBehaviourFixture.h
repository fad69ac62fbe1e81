#pragma once

// A main window on an X server of the test's own with openbox, and a probe that reads what the
// server and the window manager hold and sends real input.
#include "ShellFixture.h"
#include "window/ScreenPixels.h"

#include <QProcess>

// Last: Xlib's macros would spoil the Qt headers.
#include "window/XProbe.h"

class WindowBehaviourTest : public ShellTest {
protected:
    void SetUp() override
    {
        if (!OnAnXDisplay())
            GTEST_SKIP() << "needs an X display";
        ShellTest::SetUp();
        ASSERT_TRUE(probe);
    }
    void TearDown() override
    {
        ShellTest::TearDown();
        if (other.state() != QProcess::NotRunning) {
            other.kill();
            other.waitForFinished(2000);
        }
    }

    // Until the window manager has given the window the keyboard, as a user's click would.
    ::testing::AssertionResult Activated(QWidget& w)
    {
        w.activateWindow();
        return probe.WaitActive(&w);
    }

    // The window shown and active, playing a generated clip of 20 seconds.
    frmMain& StartPlayingActive()
    {
        frmMain& w = StartPlaying(500);
        EXPECT_TRUE(Activated(w));
        return w;
    }

    // Another program with a window of its own, shown and managed.
    unsigned long StartOtherProgram()
    {
        other.start(QStringLiteral("xmessage"),
                    {QStringLiteral("-name"), QStringLiteral("veltrix-other"),
                     QStringLiteral("another program")});
        if (!other.waitForStarted(3000))
            return 0;
        unsigned long found = 0;
        // A program's start takes long on a busy machine: xmessage loads its fonts first.
        return WaitUntil([&] { return (found = probe.ClientNamed("veltrix-other")) != 0; },
                         15000)
                   ? found
                   : 0;
    }

    XProbe probe;
    QProcess other;
};
