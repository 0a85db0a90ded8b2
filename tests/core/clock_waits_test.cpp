// When the caption clock and the grid's date check look at the time again.
#include <gtest/gtest.h>

#include "core/clock_waits.h"

namespace {

using namespace std::chrono;

TEST(ClockWaits, TheCaptionTicksJustPastTheNextSecond)
{
    EXPECT_EQ(core::UntilNextSecondTick(0ms), 1020ms);
    EXPECT_EQ(core::UntilNextSecondTick(999ms), 21ms);
    EXPECT_EQ(core::UntilNextSecondTick(500ms), 520ms);
    // A broken millisecond field never gives a wait of nothing or of ages.
    EXPECT_EQ(core::UntilNextSecondTick(5000ms), 21ms);
    EXPECT_EQ(core::UntilNextSecondTick(-3ms), 1020ms);
}

TEST(ClockWaits, TheDateIsCheckedJustPastMidnightAndAtLeastHourly)
{
    // The last hour of the day: just past midnight.
    EXPECT_EQ(core::UntilDateCheck(hours{23} + minutes{30}), minutes{30} + 500ms);
    EXPECT_EQ(core::UntilDateCheck(hours{24} - 2s), 2500ms);
    // Earlier in the day: an hour, so a changed clock is seen soon.
    EXPECT_EQ(core::UntilDateCheck(0ms), hours{1});
    EXPECT_EQ(core::UntilDateCheck(hours{12}), hours{1});
    // Just before midnight or past the end of a day (a 25-hour day): never
    // sooner than a second.
    EXPECT_EQ(core::UntilDateCheck(hours{24} - 1ms), 1s);
    EXPECT_EQ(core::UntilDateCheck(hours{24} + 800ms), 1s);
}

TEST(ClockWaits, CivilDaysAreCheckedDates)
{
    EXPECT_EQ(core::CivilDay(2024, 2, 29), sys_days{2024y / February / 29});
    EXPECT_FALSE(core::CivilDay(2023, 2, 29));
    EXPECT_FALSE(core::CivilDay(2026, 0, 1));
    EXPECT_FALSE(core::CivilDay(2026, 13, 1));
    EXPECT_FALSE(core::CivilDay(2026, 1, 0));
}

} // namespace
