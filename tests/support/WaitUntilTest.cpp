// A wait that returned quietly when its condition never held would turn every timing fault in
// the suite into a pass.
#include "WaitUntil.h"

#include <QElapsedTimer>

#include <gtest/gtest-spi.h>

TEST(WaitUntil, ConditionThatNeverHoldsFailsTheTestAfterItsTime)
{
    EXPECT_FATAL_FAILURE(ASSERT_TRUE(WaitUntil([] { return false; }, 50)),
                         "did not hold within 50 ms");
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(WaitUntil([] { return false; }, 200));
    EXPECT_GE(clock.elapsed(), 200);
    EXPECT_LT(clock.elapsed(), 5000);
}
