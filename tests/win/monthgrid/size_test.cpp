// The natural size: after a move to (0,0,0,0) and Refresh the grid's client
// area is exactly what its rows, columns, week numbers and font need.
#include <gtest/gtest.h>

#include "framework/dpi.h"
#include "grid_fixture.h"

namespace {

using namespace gridtest;
namespace members = monthgrid::members;

class MonthGridSize : public GridTest {
protected:
    void Shape(int columns, int rows) { SetShape(grid, columns, rows); }
    SIZE SizeOf(int columns, int rows)
    {
        Shape(columns, rows);
        return FitGrid(grid);
    }
};

TEST_F(MonthGridSize, RefreshGivesTheLayoutsSizeAndTheSameEveryTime)
{
    for (int columns = 1; columns <= 12; ++columns) {
        for (int rows = 1; columns * rows <= 12; ++rows) {
            const SIZE size = SizeOf(columns, rows);
            const core::Size want = LayoutOf(grid).TotalSize();
            EXPECT_EQ(size.cx, want.width) << columns << 'x' << rows;
            EXPECT_EQ(size.cy, want.height) << columns << 'x' << rows;
            EXPECT_EQ(Info(grid).shape, (core::GridShape{columns, rows}));
            EXPECT_EQ(FitGrid(grid), size) << "second pass " << columns << 'x' << rows;
        }
    }
    // Only the settings count, not the months shown.
    const SIZE before = SizeOf(4, 3);
    PutDate(grid, OleDate(2031, 9, 1));
    EXPECT_EQ(FitGrid(grid), before);
}

TEST_F(MonthGridSize, ABorderFromTheTemplateIsAddedAroundTheClientArea)
{
    HWND framed = CreateGrid(host.get(), 0, 0, 50, 50, WS_BORDER);
    ::SetWindowLongPtrW(framed, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
    ::SetWindowPos(framed, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    const SIZE size = FitGrid(framed);
    EXPECT_EQ(size, FitGrid(grid));
    RECT window{};
    ::GetWindowRect(framed, &window);
    EXPECT_GT(window.right - window.left, size.cx);
}

TEST_F(MonthGridSize, PutsWaitForRefresh)
{
    const SIZE small = SizeOf(1, 1);
    Shape(3, 2);
    PutBool(grid, members::kShowWeekNumbers.dispid, false);
    PutFont(grid, MakeFont(L"Tahoma", 16).get());
    RECT r{};
    ::GetClientRect(grid, &r);
    EXPECT_EQ((SIZE{r.right, r.bottom}), small);
    CallRefresh(grid);
    ::GetClientRect(grid, &r);
    EXPECT_GT(r.right, small.cx);
}

TEST_F(MonthGridSize, LargerFontGivesLargerGrid)
{
    Shape(3, 2);
    SIZE last{};
    for (double points : {6.0, 8.0, 10.0, 12.0, 18.0, 28.0}) {
        PutFont(grid, MakeFont(L"Tahoma", points).get());
        const SIZE size = FitGrid(grid);
        EXPECT_GT(size.cx, last.cx) << points;
        EXPECT_GT(size.cy, last.cy) << points;
        last = size;
    }
    // Back to a font used before: its size again.
    PutFont(grid, MakeFont(L"Tahoma", 10).get());
    const SIZE ten = FitGrid(grid);
    PutFont(grid, MakeFont(L"Tahoma", 12).get());
    FitGrid(grid);
    PutFont(grid, MakeFont(L"Tahoma", 10).get());
    EXPECT_EQ(FitGrid(grid), ten);
}

// A grid on a monitor of another DPI than the system's (per-monitor
// awareness on Windows; Wine has one DPI, so the test gives the window its
// DPI): the same font in points at that DPI, the stock font too, and the
// size the layout gives for it.
TEST_F(MonthGridSize, AtTheWindowsOwnDpiTheFontKeepsItsPoints)
{
    static UINT windowDpi = 0;
    fw::SetWindowDpiSource([](HWND) { return windowDpi; });
    struct Reset {
        ~Reset() { fw::SetWindowDpiSource(nullptr); }
    } reset;
    const int system = static_cast<int>(fw::SystemDpi());
    LOGFONTW stock{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof stock, &stock);
    auto fontHeight = [&] {
        LOGFONTW lf{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(grid, WM_GETFONT, 0, 0)), sizeof lf, &lf);
        return lf.lfHeight;
    };
    Shape(2, 1);
    for (const bool described : {false, true}) {
        if (described)
            PutFont(grid, MakeFont(L"Tahoma", 9).get());
        const LONG atSystem = described ? -::MulDiv(9, system, 72) : stock.lfHeight;
        windowDpi = 0;
        const SIZE small = FitGrid(grid);
        EXPECT_EQ(fontHeight(), atSystem) << described;
        windowDpi = 2 * system;
        const SIZE large = FitGrid(grid);
        EXPECT_EQ(fontHeight(), 2 * atSystem) << described;
        EXPECT_EQ(Info(grid).metrics.dpi, 2 * system);
        EXPECT_EQ(large.cx, LayoutOf(grid).TotalSize().width);
        // About twice (the stock font's face at 96 DPI is a bitmap one with
        // metrics of its own).
        EXPECT_NEAR(large.cx, 2 * small.cx, small.cx / 5) << described;
        EXPECT_NEAR(large.cy, 2 * small.cy, small.cy / 5) << described;
        windowDpi = 0;
        EXPECT_EQ(FitGrid(grid), small) << described;
    }
}

TEST_F(MonthGridSize, AbsurdFontSizesStayBounded)
{
    fw::ComPtr<IDispatch> font = MakeFont(L"Tahoma", 12);
    fw::ComPtr<IFont> f = font.query<IFont>(IID_IFont);
    ASSERT_TRUE(f);
    CY huge{};
    huge.int64 = 10'000LL * 100'000; // 100000 pt
    f->put_Size(huge);
    PutFont(grid, font.get());
    const SIZE big = SizeOf(4, 3);
    EXPECT_GT(big.cx, 0);
    EXPECT_LT(big.cx, 32767);
    EXPECT_LT(big.cy, 32767);
    Render(grid);
    BSTR empty = ::SysAllocString(L"");
    f->put_Name(empty); // an empty face: the GUI font's face
    ::SysFreeString(empty);
    PutFont(grid, font.get());
    EXPECT_GT(FitGrid(grid).cx, 0);
}

TEST_F(MonthGridSize, WeekNumbersWidenButDoNotHeighten)
{
    Shape(2, 2);
    PutBool(grid, members::kShowWeekNumbers.dispid, false);
    const SIZE off = FitGrid(grid);
    PutBool(grid, members::kShowWeekNumbers.dispid, true);
    const SIZE on = FitGrid(grid);
    EXPECT_GT(on.cx, off.cx);
    EXPECT_EQ(on.cy, off.cy);
}

TEST_F(MonthGridSize, CountsOutsideTheRuleAreClampedToAtMostTwelveMonths)
{
    struct Case {
        int columns, rows;
    };
    for (const Case c : {Case{0, 5}, Case{-3, -3}, Case{0, 0}, Case{13, 1}, Case{5, 3}, Case{12, 12},
                         Case{1, 13}, Case{4, -1}, Case{32767, 32767}, Case{-32768, 2}}) {
        const SIZE size = SizeOf(c.columns, c.rows);
        const core::GridShape clamped = core::ClampGrid(c.columns, c.rows);
        EXPECT_LE(clamped.columns * clamped.rows, 12);
        EXPECT_EQ(Info(grid).shape, clamped) << c.columns << 'x' << c.rows;
        EXPECT_EQ(size, SizeOf(clamped.columns, clamped.rows)) << c.columns << 'x' << c.rows;
        Render(grid);
    }
    // 1 x 12 to 12 x 1 by way of 1 x 1, as the calendar switches.
    EXPECT_EQ(SizeOf(1, 12), SizeOf(1, 12));
    PutI2(grid, members::kMonthColumns.dispid, 1);
    PutI2(grid, members::kMonthRows.dispid, 1);
    PutI2(grid, members::kMonthColumns.dispid, 12);
    EXPECT_EQ(Info(grid).shape, (core::GridShape{12, 1}));
}

} // namespace
