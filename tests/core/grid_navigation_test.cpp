// Where the user's moves take the grid: which month is shown first and
// which day is selected, including both ends of the calendar's range.
#include <gtest/gtest.h>

#include "core/grid_navigation.h"

namespace {

using namespace std::chrono;
using core::GridNavigation;

constexpr sys_days Day(int y, unsigned m, unsigned d) { return sys_days{year{y} / month{m} / d}; }
constexpr year_month Month(int y, unsigned m) { return year{y} / month{m}; }

GridNavigation Grid(sys_days selected, int count)
{
    GridNavigation nav(Day(2026, 6, 15));
    nav.SetMonthCount(count);
    nav.SetCurrentDate(selected);
    return nav;
}

TEST(MonthGridNavigation, HostDateIsSelectedAndItsMonthShownFirst)
{
    GridNavigation nav = Grid(Day(2026, 12, 24), 12);
    EXPECT_EQ(nav.First(), Month(2026, 12));
    EXPECT_EQ(nav.Last(), Month(2027, 11));
    EXPECT_EQ(nav.Selected(), Day(2026, 12, 24));
    // Near the end of the range the grid starts early enough to stay inside.
    nav.SetCurrentDate(Day(9999, 11, 3));
    EXPECT_EQ(nav.First(), Month(9999, 1));
    EXPECT_EQ(nav.Selected(), Day(9999, 11, 3));
    // Days outside the range are pulled to its ends.
    nav.SetCurrentDate(Day(1500, 5, 5));
    EXPECT_EQ(nav.Selected(), Day(1601, 1, 1));
    EXPECT_EQ(nav.First(), Month(1601, 1));
}

TEST(MonthGridNavigation, MonthCountIsClampedAndRespectsTheEnd)
{
    GridNavigation nav = Grid(Day(9999, 12, 1), 1);
    EXPECT_EQ(nav.First(), Month(9999, 12));
    nav.SetMonthCount(3);
    EXPECT_EQ(nav.First(), Month(9999, 10));
    nav.SetMonthCount(0);
    EXPECT_EQ(nav.MonthCount(), 1);
    EXPECT_EQ(nav.First(), Month(9999, 12)); // the request was kept
    nav.SetMonthCount(144);
    EXPECT_EQ(nav.MonthCount(), 12);
    EXPECT_EQ(nav.Last(), Month(9999, 12));
}

TEST(MonthGridNavigation, PagingMovesGridAndSelectionAndKeepsTheDayWherePossible)
{
    GridNavigation nav = Grid(Day(2024, 1, 31), 1);
    EXPECT_TRUE(nav.MoveByMonths(1));
    EXPECT_EQ(nav.First(), Month(2024, 2));
    EXPECT_EQ(nav.Selected(), Day(2024, 2, 29)); // leap year
    nav.MoveByMonths(12);
    EXPECT_EQ(nav.Selected(), Day(2025, 2, 28));
    EXPECT_EQ(nav.First(), Month(2025, 2));
    nav.MoveByMonths(-13);
    EXPECT_EQ(nav.Selected(), Day(2024, 1, 28)); // the day was cut in February
    EXPECT_EQ(nav.First(), Month(2024, 1));
}

TEST(MonthGridNavigation, PagingStopsAtBothEnds)
{
    GridNavigation nav = Grid(Day(9999, 12, 31), 4);
    EXPECT_FALSE(nav.MoveByMonths(1));
    EXPECT_FALSE(nav.MoveByMonths(12));
    EXPECT_EQ(nav.Selected(), Day(9999, 12, 31));
    EXPECT_EQ(nav.Last(), Month(9999, 12));
    nav.SetCurrentDate(Day(1601, 1, 1));
    EXPECT_FALSE(nav.MoveByMonths(-1));
    EXPECT_FALSE(nav.MoveByDays(-1));
    EXPECT_FALSE(nav.Scroll(-100000));
    EXPECT_EQ(nav.First(), Month(1601, 1));
    EXPECT_EQ(nav.Selected(), Day(1601, 1, 1));
}

TEST(MonthGridNavigation, DayStepsScrollByOneMonthWhenLeavingTheShownMonths)
{
    GridNavigation nav = Grid(Day(2026, 2, 27), 2); // Feb, Mar 2026
    EXPECT_TRUE(nav.MoveByDays(7));                 // 6 Mar: still shown
    EXPECT_EQ(nav.First(), Month(2026, 2));
    nav.SetCurrentDate(Day(2026, 2, 1)); // shows Feb, Mar
    nav.MoveByDays(58);                  // 31 Mar
    EXPECT_EQ(nav.First(), Month(2026, 2));
    nav.MoveByDays(1); // 1 Apr: one month on
    EXPECT_EQ(nav.First(), Month(2026, 3));
    EXPECT_EQ(nav.Selected(), Day(2026, 4, 1));
    nav.MoveByDays(-32); // 28 Feb: one month back
    EXPECT_EQ(nav.First(), Month(2026, 2));
    EXPECT_EQ(nav.Selected(), Day(2026, 2, 28));
}

TEST(MonthGridNavigation, ScrollingLeavesTheSelection)
{
    GridNavigation nav = Grid(Day(2026, 5, 5), 3);
    EXPECT_TRUE(nav.Scroll(5));
    EXPECT_EQ(nav.First(), Month(2026, 10));
    EXPECT_EQ(nav.Selected(), Day(2026, 5, 5));
    EXPECT_FALSE(nav.Shows(Month(2026, 5)));
    // The next key press brings the selection back into view.
    nav.MoveByDays(1);
    EXPECT_EQ(nav.First(), Month(2026, 5));
}

TEST(MonthGridNavigation, ClickOnANeighbourDaySelectsItAndScrollsOnlyWhenNeeded)
{
    GridNavigation nav = Grid(Day(2026, 3, 10), 2); // Mar, Apr
    EXPECT_TRUE(nav.Select(Day(2026, 4, 2)));       // shown in both blocks
    EXPECT_EQ(nav.First(), Month(2026, 3));
    nav.Select(Day(2026, 5, 3)); // trailing day after April
    EXPECT_EQ(nav.First(), Month(2026, 4));
    nav.Select(Day(2026, 3, 30)); // trailing day before April
    EXPECT_EQ(nav.First(), Month(2026, 3));
    EXPECT_FALSE(nav.Select(Day(2026, 3, 30)));
}

TEST(MonthGridNavigation, TodayReturnsFromAnywhere)
{
    GridNavigation nav = Grid(Day(1700, 1, 1), 6);
    nav.Scroll(40);
    EXPECT_TRUE(nav.GoToToday(Day(2026, 12, 7)));
    EXPECT_EQ(nav.First(), Month(2026, 12));
    EXPECT_EQ(nav.Selected(), Day(2026, 12, 7));
}

} // namespace

namespace {

TEST(WheelNotches, WholeNotchesGoAndTheRestWaitsForTheSameDirection)
{
    core::WheelNotches wheel;
    EXPECT_EQ(wheel.Add(120), 1);
    EXPECT_EQ(wheel.Add(-360), -3);
    // Fine-grained wheels: a notch is made of small steps.
    EXPECT_EQ(wheel.Add(60), 0);
    EXPECT_EQ(wheel.Add(60), 1);
    EXPECT_EQ(wheel.Add(90), 0);
    // A turn back drops the 90 left over instead of cancelling against it.
    EXPECT_EQ(wheel.Add(-40), 0);
    EXPECT_EQ(wheel.Add(-80), -1);
}

} // namespace
