#include "core/clock.h"
#include "device/base_utils.h"

#include <gtest/gtest.h>

using namespace qx;

TEST(Clock, DelayOnVirtualClockCostsNoRealTimeAndWaitsTheFullSpan)
{
    VirtualClock clock;
    DelayMs(clock, 4000);
    EXPECT_EQ(clock.nowMs(), 4000);
    DelayMs(clock, 0);
    EXPECT_EQ(clock.nowMs(), 4000);
}

TEST(Clock, SystemClockIsMonotonicAndSleeps)
{
    SystemClock clock;
    const int64_t t0 = clock.nowMs();
    clock.sleepMs(20);
    EXPECT_GE(clock.nowMs() - t0, 20);
}
