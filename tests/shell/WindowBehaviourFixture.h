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

    XProbe probe;
    QProcess other;
};
