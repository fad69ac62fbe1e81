// The wait every test relies on must fail the test when its condition never holds; a wait that
// returned quietly would turn every timing fault in the suite into a pass.
#include "WaitUntil.h"

#include <QElapsedTimer>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

TEST(WaitUntil, ConditionThatNeverHoldsFailsTheTestAfterItsTime)
{
    EXPECT_FATAL_FAILURE(ASSERT_TRUE(WaitUntil([] { return false; }, 50)),
                         "did not hold within 50 ms");
    EXPECT_NONFATAL_FAILURE(EXPECT_TRUE(WaitUntil([] { return false; }, 50)),
                            "did not hold within 50 ms");
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(WaitUntil([] { return false; }, 200));
    EXPECT_GE(clock.elapsed(), 200);
    EXPECT_LT(clock.elapsed(), 5000);
}
