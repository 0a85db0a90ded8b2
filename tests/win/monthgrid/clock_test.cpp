// The today mark follows the clock when it jumps: a day forward, an hour
// back across midnight, midnight while minimised, the turn of the year, a
// leap day, a resume from sleep. The months shown and the selection stay
// where they were, and a look at the clock that finds the same date
// repaints nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "core/dates.h"
#include "grid_fixture.h"
#include "monthgrid/grid_clock.h"
#include "tests/core/date_oracles.h"

namespace {

using namespace gridtest;
using namespace std::chrono;

constexpr COLORREF kTodayRed = RGB(0xE0, 0x10, 0x10);

// The clock the grid reads, set by each test.
monthgrid::LocalTime g_now;
monthgrid::LocalTime TestClock() { return g_now; }
void SetClock(year_month_day day, milliseconds timeOfDay) { g_now = {sys_days{day}, timeOfDay}; }

// Every day whose cell carries the today frame, as the grid paints now.
std::vector<sys_days> MarkedDays(HWND grid)
{
    const core::GridLayout layout = LayoutOf(grid);
    const monthgrid::GridInfo info = Info(grid);
    const year_month first = year{info.firstYear} / info.firstMonth;
    const Image image = Render(grid);
    std::vector<sys_days> marked;
    for (int m = 0; m < layout.MonthCount(); ++m) {
        const core::MonthLayout month = core::LayoutMonth(core::AddMonths(first, m));
        for (int i = 0; i < static_cast<int>(month.cells.size()); ++i) {
            const core::Rect cell = layout.DayRect(m, i / 7, i % 7);
            if (image.Count(cell, kTodayRed) > 2 * cell.Width())
                marked.push_back(month.cells[static_cast<std::size_t>(i)].date);
        }
    }
    return marked;
}

sys_days TodayOf(HWND grid)
{
    const monthgrid::GridInfo info = Info(grid);
    return sys_days{year{info.todayYear} / info.todayMonth / info.todayDay};
}

bool RepaintPending(HWND grid)
{
    RECT pending{};
    return ::GetUpdateRect(grid, &pending, FALSE) != FALSE;
}

class GridClock : public GridTest {
protected:
    void SetUp() override
    {
        // The grid starts on the test's date: its clock is in before it is made.
        SetClock(2026y / December / 7, hours{12});
        monthgrid::SetClockSource(&TestClock);
        GridTest::SetUp();
        Configure(grid, kCalendarColors, 2, 2, true);
        ::ShowWindow(host.get(), SW_SHOWNA);
        Settle();
    }
    void TearDown() override { monthgrid::SetClockSource(nullptr); }

    // Painted, and nothing left to paint.
    void Settle()
    {
        ::UpdateWindow(host.get());
        ::UpdateWindow(grid);
        ASSERT_FALSE(RepaintPending(grid));
    }
    year_month FirstShown() const
    {
        const monthgrid::GridInfo info = Info(grid);
        return year{info.firstYear} / info.firstMonth;
    }
    sys_days Selected() const
    {
        const monthgrid::GridInfo info = Info(grid);
        return sys_days{year{info.selectedYear} / info.selectedMonth / info.selectedDay};
    }
    void Check() { ::SendMessageW(grid, monthgrid::kCheckDateMessage, 0, 0); }
    void MidnightTimer() { ::SendMessageW(grid, WM_TIMER, monthgrid::MidnightTimer::kId, 0); }
};

TEST_F(GridClock, AClockSetADayForwardMovesOnlyTheMarkAtTheNextCheck)
{
    EXPECT_EQ(MarkedDays(grid), std::vector{sys_days{2026y / December / 7}});
    Settle();

    // The user sets the date, or the machine wakes a day later: no notice.
    SetClock(2026y / December / 8, hours{12} + seconds{3});
    Check();
    EXPECT_TRUE(RepaintPending(grid));
    EXPECT_EQ(TodayOf(grid), sys_days{2026y / December / 8});
    EXPECT_EQ(MarkedDays(grid), std::vector{sys_days{2026y / December / 8}});
    EXPECT_EQ(FirstShown(), 2026y / December);
    EXPECT_EQ(Selected(), sys_days{2026y / December / 7});
}

TEST_F(GridClock, ALookThatFindsTheSameDateRepaintsNothing)
{
    // Each way the grid hears of the clock, with the date unchanged (an
    // hour forward, then back to the small hours of the same day).
    SetClock(2026y / December / 7, hours{13});
    Check();
    EXPECT_FALSE(RepaintPending(grid));
    SetClock(2026y / December / 7, hours{2});
    ::SendMessageW(grid, WM_TIMECHANGE, 0, 0);
    EXPECT_FALSE(RepaintPending(grid));
    MidnightTimer();
    EXPECT_FALSE(RepaintPending(grid));
    ::SendMessageW(grid, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_FALSE(RepaintPending(grid));
    // A paint of its own accord marks the same day as before.
    ::InvalidateRect(grid, nullptr, FALSE);
    Settle();
    EXPECT_EQ(MarkedDays(grid), std::vector{sys_days{2026y / December / 7}});
}

TEST_F(GridClock, AnHourBackAcrossMidnightTakesTheMarkBack)
{
    SetClock(2026y / December / 8, minutes{30});
    ::SendMessageW(grid, WM_TIMECHANGE, 0, 0);
    EXPECT_EQ(MarkedDays(grid), std::vector{sys_days{2026y / December / 8}});
    Settle();

    SetClock(2026y / December / 7, hours{23} + minutes{30});
    ::SendMessageW(grid, WM_TIMECHANGE, 0, 0);
    EXPECT_TRUE(RepaintPending(grid));
    EXPECT_EQ(MarkedDays(grid), std::vector{sys_days{2026y / December / 7}});
    EXPECT_EQ(FirstShown(), 2026y / December);
}

TEST_F(GridClock, MidnightPassesWhileTheWindowIsMinimised)
{
    ::ShowWindow(host.get(), SW_MINIMIZE);
    SetClock(2026y / December / 8, milliseconds{500});
    MidnightTimer();
    // Nothing is painted while minimised, but the grid knows the day.
    EXPECT_EQ(TodayOf(grid), sys_days{2026y / December / 8});
    // More ticks while minimised find nothing new.
    Check();
    Check();
    EXPECT_EQ(TodayOf(grid), sys_days{2026y / December / 8});

    ::ShowWindow(host.get(), SW_RESTORE);
    ::UpdateWindow(host.get());
    ::UpdateWindow(grid);
    EXPECT_EQ(MarkedDays(grid), std::vector{sys_days{2026y / December / 8}});
    EXPECT_EQ(FirstShown(), 2026y / December);
    EXPECT_EQ(Selected(), sys_days{2026y / December / 7});
}

TEST_F(GridClock, TheYearTurnsAndTheLeapDayComesAndGoes)
{
    // December and January are both shown (with February and March): the
    // first of January is marked in its own month, not among December's
    // trailing days.
    SetClock(2026y / December / 31, hours{24} - milliseconds{100});
    Check();
    EXPECT_EQ(MarkedDays(grid), std::vector{sys_days{2026y / December / 31}});
    Settle();
    SetClock(2027y / January / 1, milliseconds{400});
    MidnightTimer();
    EXPECT_TRUE(RepaintPending(grid));
    EXPECT_EQ(MarkedDays(grid), std::vector{sys_days{2027y / January / 1}});
    EXPECT_EQ(FirstShown(), 2026y / December);

    // A leap year's February, brought into view by the user.
    SetClock(2028y / February / 28, hours{23});
    ::SendMessageW(grid, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(FirstShown(), 2028y / February);
    EXPECT_EQ(MarkedDays(grid), std::vector{sys_days{2028y / February / 28}});
    for (const sys_days next : {sys_days{2028y / February / 29}, sys_days{2028y / March / 1}}) {
        SetClock(year_month_day{next}, milliseconds{400});
        MidnightTimer();
        EXPECT_EQ(MarkedDays(grid), std::vector{next});
    }
    EXPECT_EQ(FirstShown(), 2028y / February);
}

TEST_F(GridClock, ResumeFromSleepAndANewTimeZoneAreFollowed)
{
    // Three days asleep: the resume notice moves the mark at once.
    SetClock(2026y / December / 10, hours{7});
    ::SendMessageW(grid, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_EQ(TodayOf(grid), sys_days{2026y / December / 7});
    ::SendMessageW(grid, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_EQ(TodayOf(grid), sys_days{2026y / December / 10});
    EXPECT_EQ(MarkedDays(grid), std::vector{sys_days{2026y / December / 10}});

    // A time zone further east is already tomorrow.
    SetClock(2026y / December / 11, hours{1});
    ::SendMessageW(grid, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
    EXPECT_EQ(MarkedDays(grid), std::vector{sys_days{2026y / December / 11}});
    EXPECT_EQ(FirstShown(), 2026y / December);
}

TEST_F(GridClock, HomeGoesToTheDayTheClockReadsEvenBeforeAnyCheck)
{
    SetClock(2027y / March / 28, hours{3});
    ::SendMessageW(grid, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(Selected(), sys_days{2027y / March / 28});
    EXPECT_EQ(FirstShown(), 2027y / March);
    EXPECT_EQ(MarkedDays(grid), std::vector{sys_days{2027y / March / 28}});
}

TEST_F(GridClock, TodayOutsideTheMonthsShownIsMarkedNowhere)
{
    // Back to October: not among December to March, nor their neighbours'
    // days.
    SetClock(2026y / October / 24, hours{12});
    Check();
    EXPECT_TRUE(MarkedDays(grid).empty());
    EXPECT_EQ(TodayOf(grid), sys_days{2026y / October / 24});
    EXPECT_EQ(FirstShown(), 2026y / December);
}

} // namespace
