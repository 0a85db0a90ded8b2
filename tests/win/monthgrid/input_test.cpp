// Keyboard and mouse: paging, day steps, today, the title arrows, the wheel
// and clicks on days; right-clicks stay with the parent.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "core/dates.h"
#include "tests/core/date_oracles.h"
#include "grid_fixture.h"
#include "support/test_support.h"

namespace {

using namespace gridtest;
using namespace std::chrono;
namespace members = monthgrid::members;

struct View {
    year_month first;
    sys_days selected;
};

View ViewOf(HWND grid)
{
    const monthgrid::GridInfo i = Info(grid);
    return {year{i.firstYear} / i.firstMonth,
            sys_days{year{i.selectedYear} / i.selectedMonth / i.selectedDay}};
}

constexpr sys_days Day(int y, unsigned m, unsigned d) { return sys_days{year{y} / month{m} / d}; }
constexpr year_month Month(int y, unsigned m) { return year{y} / month{m}; }

POINT Centre(const core::Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class MonthGridInput : public GridTest {
protected:
    void SetUp() override { GridTest::SetUp(); }
    void TearDown() override { SetCtrl(false); }

    void Shape(int columns, int rows)
    {
        PutI2(grid, members::kMonthColumns.dispid, static_cast<SHORT>(columns));
        PutI2(grid, members::kMonthRows.dispid, static_cast<SHORT>(rows));
        FitGrid(grid);
    }
    void Key(UINT vk) { ::SendMessageW(grid, WM_KEYDOWN, vk, 1); }
    static void SetCtrl(bool down)
    {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = down ? 0x80 : 0;
        ::SetKeyboardState(keys);
    }
    void Click(POINT p, bool doubleClick = false)
    {
        const LPARAM at = MAKELPARAM(p.x, p.y);
        ::SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(grid, WM_LBUTTONUP, 0, at);
        if (doubleClick) {
            ::SendMessageW(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
            ::SendMessageW(grid, WM_LBUTTONUP, 0, at);
        }
    }
    void Wheel(int delta) { ::SendMessageW(grid, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), 0); }
    POINT DayPoint(int block, sys_days date)
    {
        const View v = ViewOf(grid);
        const core::MonthLayout month = core::LayoutMonth(core::AddMonths(v.first, block));
        const int i = month.IndexOf(date);
        EXPECT_GE(i, 0);
        return Centre(LayoutOf(grid).DayRect(block, i / 7, i % 7));
    }
};

TEST_F(MonthGridInput, ArrowKeysAreWantedTheRestStaysWithTheDialog)
{
    EXPECT_EQ(::SendMessageW(grid, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}

TEST_F(MonthGridInput, PageKeysMoveAMonthAndWithCtrlAYear)
{
    Shape(1, 1);
    PutDate(grid, OleDate(2031, 3, 31));
    Key(VK_NEXT);
    EXPECT_EQ(ViewOf(grid).first, Month(2031, 4));
    EXPECT_EQ(ViewOf(grid).selected, Day(2031, 4, 30));
    Key(VK_PRIOR);
    EXPECT_EQ(ViewOf(grid).first, Month(2031, 3));
    EXPECT_EQ(ViewOf(grid).selected, Day(2031, 3, 30));
    SetCtrl(true);
    Key(VK_NEXT);
    EXPECT_EQ(ViewOf(grid).first, Month(2032, 3));
    Key(VK_PRIOR);
    Key(VK_PRIOR);
    EXPECT_EQ(ViewOf(grid).first, Month(2030, 3));
    EXPECT_EQ(ViewOf(grid).selected, Day(2030, 3, 30));
}

TEST_F(MonthGridInput, DayStepsFollowTheSelectionMonthByMonth)
{
    Shape(2, 1);
    PutDate(grid, OleDate(2031, 4, 30)); // April, May
    Key(VK_RIGHT);
    EXPECT_EQ(ViewOf(grid).first, Month(2031, 4));
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_DOWN); // 5 June: one month on
    EXPECT_EQ(ViewOf(grid).selected, Day(2031, 6, 5));
    EXPECT_EQ(ViewOf(grid).first, Month(2031, 5));
    for (int i = 0; i < 36; ++i)
        Key(VK_LEFT); // 30 April
    EXPECT_EQ(ViewOf(grid).selected, Day(2031, 4, 30));
    EXPECT_EQ(ViewOf(grid).first, Month(2031, 4));
    Key(VK_UP);
    EXPECT_EQ(ViewOf(grid).selected, Day(2031, 4, 23));
}

TEST_F(MonthGridInput, HomeReturnsToToday)
{
    SYSTEMTIME st{};
    ::GetLocalTime(&st);
    Shape(3, 1);
    PutDate(grid, OleDate(1999, 1, 1));
    Key(VK_NEXT);
    Key(VK_HOME);
    const View v = ViewOf(grid);
    EXPECT_EQ(v.selected, Day(st.wYear, st.wMonth, st.wDay));
    EXPECT_EQ(v.first, Month(st.wYear, st.wMonth));
}

TEST_F(MonthGridInput, TitleArrowsMoveTheWholeGrid)
{
    Shape(3, 2);
    PutDate(grid, OleDate(2031, 3, 15));
    const core::GridLayout layout = LayoutOf(grid);
    Click(Centre(layout.NextArrowRect()));
    EXPECT_EQ(ViewOf(grid).first, Month(2031, 4));
    EXPECT_EQ(ViewOf(grid).selected, Day(2031, 3, 15));
    Click(Centre(layout.NextArrowRect()), true); // a quick second click counts too
    EXPECT_EQ(ViewOf(grid).first, Month(2031, 6));
    Click(Centre(layout.PrevArrowRect()));
    EXPECT_EQ(ViewOf(grid).first, Month(2031, 5));
    // The titles themselves do nothing.
    Click(Centre(layout.TitleTextRect(4)));
    EXPECT_EQ(ViewOf(grid).first, Month(2031, 5));
}

TEST_F(MonthGridInput, HoldingAnArrowKeepsScrolling)
{
    Shape(1, 1);
    PutDate(grid, OleDate(2031, 3, 15));
    const POINT next = Centre(LayoutOf(grid).NextArrowRect());
    ::SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(next.x, next.y));
    testsupport::PumpFor(900);
    ::SendMessageW(grid, WM_LBUTTONUP, 0, MAKELPARAM(next.x, next.y));
    const year_month reached = ViewOf(grid).first;
    EXPECT_GT(oracle::MonthsBetween(Month(2031, 3), reached), 2);
    testsupport::PumpFor(300);
    EXPECT_EQ(ViewOf(grid).first, reached); // stops on release
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(MonthGridInput, WheelTurnsAMonthPerNotch)
{
    Shape(2, 2);
    PutDate(grid, OleDate(2031, 3, 15));
    Wheel(-WHEEL_DELTA);
    EXPECT_EQ(ViewOf(grid).first, Month(2031, 4));
    Wheel(WHEEL_DELTA / 2);
    EXPECT_EQ(ViewOf(grid).first, Month(2031, 4));
    Wheel(WHEEL_DELTA / 2); // two halves make a notch
    EXPECT_EQ(ViewOf(grid).first, Month(2031, 3));
    // Halves that change direction are forgotten, not added up.
    Wheel(WHEEL_DELTA / 2);
    Wheel(-WHEEL_DELTA / 2);
    Wheel(WHEEL_DELTA / 2);
    EXPECT_EQ(ViewOf(grid).first, Month(2031, 3));
    Wheel(-3 * WHEEL_DELTA);
    EXPECT_EQ(ViewOf(grid).first, Month(2031, 6));
    EXPECT_EQ(ViewOf(grid).selected, Day(2031, 3, 15));
}

TEST_F(MonthGridInput, ClickSelectsADayAndANeighboursDayScrollsIntoView)
{
    Shape(2, 1);
    PutDate(grid, OleDate(2031, 3, 15)); // March, April
    Click(DayPoint(0, Day(2031, 3, 20)));
    EXPECT_EQ(ViewOf(grid).selected, Day(2031, 3, 20));
    Click(DayPoint(1, Day(2031, 3, 31))); // March again, from April's block
    EXPECT_EQ(ViewOf(grid).selected, Day(2031, 3, 31));
    EXPECT_EQ(ViewOf(grid).first, Month(2031, 3));
    Click(DayPoint(1, Day(2031, 5, 2))); // after the last month shown
    EXPECT_EQ(ViewOf(grid).selected, Day(2031, 5, 2));
    EXPECT_EQ(ViewOf(grid).first, Month(2031, 4));
    Click(DayPoint(0, Day(2031, 3, 31))); // before the first
    EXPECT_EQ(ViewOf(grid).first, Month(2031, 3));
    // Week numbers and the gaps select nothing.
    const View before = ViewOf(grid);
    Click(Centre(LayoutOf(grid).WeekNumberRect(0, 2)));
    Click({1, 1});
    EXPECT_EQ(ViewOf(grid).selected, before.selected);
}

TEST_F(MonthGridInput, TheEndsOfTheRangeHold)
{
    Shape(4, 3);
    PutDate(grid, OleDate(9999, 12, 31));
    Key(VK_NEXT);
    Key(VK_RIGHT);
    Key(VK_DOWN);
    Click(Centre(LayoutOf(grid).NextArrowRect()));
    Wheel(-5 * WHEEL_DELTA);
    EXPECT_EQ(ViewOf(grid).selected, Day(9999, 12, 31));
    EXPECT_EQ(ViewOf(grid).first, Month(9999, 1));
    // The last block's trailing January 10000 is drawn but not selectable.
    Click(DayPoint(11, Day(9999, 12, 31) + days{3}));
    EXPECT_EQ(ViewOf(grid).selected, Day(9999, 12, 31));

    PutDate(grid, OleDate(1601, 1, 1));
    Key(VK_PRIOR);
    Key(VK_LEFT);
    Click(Centre(LayoutOf(grid).PrevArrowRect()));
    Wheel(5 * WHEEL_DELTA);
    EXPECT_EQ(ViewOf(grid).selected, Day(1601, 1, 1));
    EXPECT_EQ(ViewOf(grid).first, Month(1601, 1));
}

LRESULT CALLBACK CountContextMenus(HWND hwnd, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR count)
{
    if (msg == WM_CONTEXTMENU)
        ++*reinterpret_cast<int*>(count);
    return ::DefSubclassProc(hwnd, msg, w, l);
}

TEST_F(MonthGridInput, RightClicksReachTheParentsContextMenu)
{
    int menus = 0;
    ::SetWindowSubclass(host.get(), &CountContextMenus, 1, reinterpret_cast<DWORD_PTR>(&menus));
    Shape(1, 1);
    PutDate(grid, OleDate(2031, 3, 15));
    const POINT p = DayPoint(0, Day(2031, 3, 20));
    ::SendMessageW(grid, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y));
    ::SendMessageW(grid, WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    EXPECT_EQ(menus, 1);
    EXPECT_EQ(ViewOf(grid).selected, Day(2031, 3, 15));
    ::RemoveWindowSubclass(host.get(), &CountContextMenus, 1);
}

TEST_F(MonthGridInput, AClickTakesTheFocus)
{
    ::ShowWindow(host.get(), SW_SHOW);
    ::SetForegroundWindow(host.get());
    ::SetFocus(host.get());
    Shape(1, 1);
    const POINT p = DayPoint(0, ViewOf(grid).selected);
    Click(p);
    EXPECT_EQ(::GetFocus(), grid);
}

} // namespace
