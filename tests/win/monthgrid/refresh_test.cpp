// What a Refresh repaints and what reaches the window: a layout pass that
// changes nothing paints nothing, and every change still reaches the
// screen, with or without a Refresh.
#include <gtest/gtest.h>

#include "grid_fixture.h"
#include "support/test_support.h"

namespace {

using namespace gridtest;
namespace members = monthgrid::members;

int g_paints = 0;
HWND g_watched = nullptr;

// WM_PAINT arrives sent (UpdateWindow, RedrawWindow) or from the queue.
LRESULT CALLBACK SentHook(int code, WPARAM w, LPARAM l)
{
    const auto* c = reinterpret_cast<const CWPSTRUCT*>(l);
    if (code == HC_ACTION && c->hwnd == g_watched && c->message == WM_PAINT)
        ++g_paints;
    return ::CallNextHookEx(nullptr, code, w, l);
}

LRESULT CALLBACK QueuedHook(int code, WPARAM w, LPARAM l)
{
    const auto* m = reinterpret_cast<const MSG*>(l);
    if (code == HC_ACTION && w == PM_REMOVE && m->hwnd == g_watched && m->message == WM_PAINT)
        ++g_paints;
    return ::CallNextHookEx(nullptr, code, w, l);
}

COLORREF OnScreen(HWND grid, int x, int y)
{
    HDC dc = ::GetDC(grid);
    const COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(grid, dc);
    return c;
}

constexpr COLORREF kOther = RGB(0x12, 0x34, 0x56);

class MonthGridRefresh : public GridTest {
protected:
    void SetUp() override
    {
        ::ShowWindow(host.get(), SW_SHOWNOACTIVATE);
        GridTest::SetUp();
        Configure(grid, kCalendarColors, 4, 3, true);
        testsupport::PumpFor(200);
        g_watched = grid;
        g_paints = 0;
        sent = ::SetWindowsHookExW(WH_CALLWNDPROC, &SentHook, nullptr, ::GetCurrentThreadId());
        queued = ::SetWindowsHookExW(WH_GETMESSAGE, &QueuedHook, nullptr, ::GetCurrentThreadId());
    }
    void TearDown() override
    {
        ::UnhookWindowsHookEx(sent);
        ::UnhookWindowsHookEx(queued);
        g_watched = nullptr;
    }

    HHOOK sent = nullptr;
    HHOOK queued = nullptr;
};

} // namespace

TEST_F(MonthGridRefresh, APassThatChangesNothingPaintsNothing)
{
    // As the calendar's layout pass: every property again, columns through 1.
    ApplyColors(grid, kCalendarColors);
    PutBool(grid, members::kShowWeekNumbers.dispid, true);
    PutI2(grid, members::kMonthColumns.dispid, 1);
    PutI2(grid, members::kMonthRows.dispid, 3);
    PutI2(grid, members::kMonthColumns.dispid, 4);
    CallRefresh(grid);
    testsupport::PumpFor(200);
    EXPECT_EQ(g_paints, 0);
}

TEST_F(MonthGridRefresh, AChangeIsOnTheScreenWhenRefreshReturns)
{
    PutI4(grid, members::kBackColor.dispid, kOther);
    CallRefresh(grid);
    EXPECT_EQ(g_paints, 1);
    EXPECT_EQ(OnScreen(grid, 0, 0), kOther);
    testsupport::PumpFor(200);
    EXPECT_EQ(g_paints, 1);
}

TEST_F(MonthGridRefresh, AChangeWithoutRefreshIsPaintedByTheMessageLoop)
{
    PutI4(grid, members::kBackColor.dispid, kOther);
    testsupport::PumpFor(200);
    EXPECT_EQ(g_paints, 1);
    EXPECT_EQ(OnScreen(grid, 0, 0), kOther);
}

TEST_F(MonthGridRefresh, AChangeUndoneBeforeRefreshPaintsNothing)
{
    PutI4(grid, members::kBackColor.dispid, kOther);
    PutI4(grid, members::kBackColor.dispid, kCalendarColors.back);
    CallRefresh(grid);
    testsupport::PumpFor(200);
    EXPECT_EQ(g_paints, 0);
    EXPECT_EQ(OnScreen(grid, 0, 0), kCalendarColors.back);
}

TEST_F(MonthGridRefresh, SomeoneElsesInvalidationIsRepaintedByRefresh)
{
    HDC dc = ::GetDC(grid);
    const RECT corner{0, 0, 5, 5};
    ::SetDCBrushColor(dc, kOther);
    ::FillRect(dc, &corner, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    ::ReleaseDC(grid, dc);
    ::InvalidateRect(grid, &corner, FALSE);
    CallRefresh(grid);
    EXPECT_EQ(g_paints, 1);
    EXPECT_EQ(OnScreen(grid, 0, 0), kCalendarColors.back);
}

TEST_F(MonthGridRefresh, TheSameFontAgainKeepsItsGdiFontAndPaintsNothing)
{
    PutFont(grid, MakeFont(L"Tahoma", 9).get());
    FitGrid(grid);
    testsupport::PumpFor(100);
    g_paints = 0;
    const auto before = ::SendMessageW(grid, WM_GETFONT, 0, 0);
    PutFont(grid, MakeFont(L"Tahoma", 9).get());
    CallRefresh(grid);
    testsupport::PumpFor(100);
    EXPECT_EQ(g_paints, 0);
    EXPECT_EQ(::SendMessageW(grid, WM_GETFONT, 0, 0), before);
    PutFont(grid, MakeFont(L"Tahoma", 12).get());
    CallRefresh(grid);
    EXPECT_EQ(g_paints, 1);
}

TEST_F(MonthGridRefresh, ChangesWhileHiddenShowOnceShown)
{
    ::ShowWindow(host.get(), SW_HIDE);
    PutI4(grid, members::kBackColor.dispid, kOther);
    CallRefresh(grid);
    testsupport::PumpFor(100);
    ::ShowWindow(host.get(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(host.get());
    testsupport::PumpFor(100);
    EXPECT_EQ(OnScreen(grid, 0, 0), kOther);
    g_paints = 0;
    CallRefresh(grid);
    EXPECT_EQ(g_paints, 0);
}

TEST_F(MonthGridRefresh, FocusRepaintsItsCue)
{
    ::SetFocus(grid);
    testsupport::PumpFor(100);
    EXPECT_GE(g_paints, 1);
    const int painted = g_paints;
    CallRefresh(grid);
    EXPECT_EQ(g_paints, painted);
}
