#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <gtest/gtest.h>

#include <functional>

// Runs the event loop until done() holds or the time is up. Use it inside an assertion,
// ASSERT_TRUE(WaitUntil([&] { return ...; })), so that a condition that never comes true fails
// the test with the time it waited; [[nodiscard]] keeps a wait from being used as a sleep.
[[nodiscard]] inline ::testing::AssertionResult WaitUntil(const std::function<bool()>& done,
                                                          int milliseconds = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() >= milliseconds)
            return ::testing::AssertionFailure()
                << "the condition did not hold within " << milliseconds << " ms";
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return ::testing::AssertionSuccess();
}
