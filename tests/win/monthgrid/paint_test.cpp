// What the grid paints where: each colour in its place, today's mark and
// the selection, and no GDI objects lost over many paints and fonts.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "core/dates.h"
#include "tests/core/date_oracles.h"
#include "grid_fixture.h"
#include "monthgrid/grid_clock.h"

namespace {

using namespace gridtest;
using namespace std::chrono;
namespace members = monthgrid::members;

// Distinct from each other and from the red of today's mark.
constexpr Colors kProbe{RGB(0x10, 0x20, 0xA0), RGB(0xF0, 0xF0, 0xD0), RGB(0x30, 0x90, 0x30),
                        RGB(0x80, 0x20, 0x80), RGB(0xFF, 0xFF, 0x00), RGB(0x00, 0xB0, 0xB0)};
constexpr COLORREF kTodayRed = RGB(0xE0, 0x10, 0x10);

sys_days Today()
{
    SYSTEMTIME st{};
    ::GetLocalTime(&st);
    return sys_days{year{st.wYear} / st.wMonth / st.wDay};
}

// Where a date sits in block `block` of a grid showing `first` first.
core::Rect CellOf(const core::GridLayout& layout, year_month first, int block, sys_days date)
{
    const core::MonthLayout month = core::LayoutMonth(core::AddMonths(first, block));
    const int i = month.IndexOf(date);
    return i < 0 ? core::Rect{} : layout.DayRect(block, i / 7, i % 7);
}

class MonthGridPaint : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        Configure(grid, kProbe, 2, 2, true);
    }
};

TEST_F(MonthGridPaint, EachColourWhereItBelongs)
{
    // March 2031 starts on a Saturday: its first line is mostly February.
    PutDate(grid, OleDate(2031, 3, 15));
    const Image image = Render(grid);
    const core::GridLayout layout = LayoutOf(grid);
    const year_month first = year{2031} / March;
    ASSERT_EQ(image.width, layout.TotalSize().width);

    // Around and between the blocks.
    EXPECT_EQ(image.At(0, 0), kProbe.back);
    const core::Rect m0 = layout.MonthRect(0), m1 = layout.MonthRect(1), m2 = layout.MonthRect(2);
    EXPECT_EQ(image.At((m0.right + m1.left) / 2, m0.top + m0.Height() / 2), kProbe.back);
    EXPECT_EQ(image.At(m0.left + 5, (m0.bottom + m2.top) / 2), kProbe.back);
    EXPECT_EQ(image.At(image.width - 1, image.height - 1), kProbe.back);

    // Title bars, their text and the arrows.
    for (int m = 0; m < 4; ++m) {
        const core::Rect t = layout.TitleRect(m);
        EXPECT_EQ(image.At(t.left + 1, t.bottom - 1), kProbe.titleBack) << m;
        EXPECT_GT(image.Count(layout.TitleTextRect(m), kProbe.titleFore), 10) << m;
    }
    EXPECT_GT(image.Count(layout.PrevArrowRect(), kProbe.titleFore), 4);
    EXPECT_GT(image.Count(layout.NextArrowRect(), kProbe.titleFore), 4);
    EXPECT_EQ(image.Count(layout.TitleRect(2), kProbe.titleFore),
              image.Count(layout.TitleTextRect(2), kProbe.titleFore)); // no arrows below the first row

    // The month's own area, away from any text: its bottom padding.
    EXPECT_EQ(image.At(m0.left + 1, m0.bottom - 1), kProbe.monthBack);
    EXPECT_EQ(image.At(m0.right - 2, layout.TitleRect(0).bottom + 1), kProbe.monthBack);

    // Header and week numbers.
    EXPECT_GT(image.Count(layout.WeekdayRect(0, 0), kProbe.fore), 3);
    EXPECT_GT(image.Count(layout.WeekNumberRect(0, 2), kProbe.titleBack), 3);
    EXPECT_EQ(image.Count(layout.WeekNumberRect(0, 2), kProbe.fore), 0);

    // A day of the month, a neighbour's day, in their colours only.
    const core::Rect own = CellOf(layout, first, 0, sys_days{year{2031} / March / 20});
    EXPECT_GT(image.Count(own, kProbe.fore), 3);
    EXPECT_EQ(image.Count(own, kProbe.trailingFore), 0);
    const core::Rect neighbour = CellOf(layout, first, 0, sys_days{year{2031} / February / 24});
    EXPECT_GT(image.Count(neighbour, kProbe.trailingFore), 3);
    EXPECT_EQ(image.Count(neighbour, kProbe.fore), 0);
    // The last block's trailing days after June.
    const core::Rect after = CellOf(layout, first, 3, sys_days{year{2031} / July / 3});
    EXPECT_GT(image.Count(after, kProbe.trailingFore), 3);

    // The selected day: filled in the title's colours.
    const core::Rect selected = CellOf(layout, first, 0, sys_days{year{2031} / March / 15});
    EXPECT_GT(image.Count(selected, kProbe.titleBack), selected.Width() * selected.Height() / 2);
    EXPECT_GT(image.Count(selected, kProbe.titleFore), 3);
    EXPECT_EQ(image.Count(selected, kProbe.fore), 0);
    // ...and only in its own month's block, not again as April's neighbour.
    const core::Rect again = CellOf(layout, first, 1, sys_days{year{2031} / March / 15});
    EXPECT_TRUE(again.Empty());
    const core::Rect lastOfMarchInApril = CellOf(layout, first, 1, sys_days{year{2031} / March / 31});
    EXPECT_EQ(image.Count(lastOfMarchInApril, kProbe.titleBack), 0);
}

TEST_F(MonthGridPaint, TodayAndSelectionAreBothVisible)
{
    const sys_days today = Today();
    const year_month_day ymd{today};
    PutDate(grid, *core::ToOleDate({today}));
    const year_month first = ymd.year() / ymd.month();
    const core::GridLayout layout = LayoutOf(grid);

    // On the same day: the frame around the fill.
    Image image = Render(grid);
    const core::Rect cell = CellOf(layout, first, 0, today);
    EXPECT_GT(image.Count(cell, kTodayRed), 2 * cell.Width());
    EXPECT_GT(image.Count(cell, kProbe.titleBack), cell.Width() * cell.Height() / 3);

    // Apart: each mark on its own day. A week on stays within the four
    // months shown, so nothing scrolls.
    ::SendMessageW(grid, WM_KEYDOWN, VK_DOWN, 0);
    image = Render(grid);
    const monthgrid::GridInfo info = Info(grid);
    ASSERT_EQ(year{info.firstYear} / info.firstMonth, first);
    const sys_days selected = today + days{7};
    EXPECT_EQ(sys_days{year{info.selectedYear} / info.selectedMonth / info.selectedDay}, selected);
    EXPECT_GT(image.Count(cell, kTodayRed), 2 * cell.Width());
    EXPECT_EQ(image.Count(cell, kProbe.titleBack), 0);
    const year_month_day s{selected};
    const core::Rect selectedCell =
        CellOf(layout, first, oracle::MonthsBetween(first, s.year() / s.month()), selected);
    EXPECT_GT(image.Count(selectedCell, kProbe.titleBack), selectedCell.Width() * selectedCell.Height() / 2);
    EXPECT_EQ(image.Count(selectedCell, kTodayRed), 0);
}

// A clock of the test's own: 23:59:59.900 on the day set.
sys_days g_clockDay;
monthgrid::LocalTime TestClock() { return {g_clockDay, hours{24} - milliseconds{100}}; }

TEST_F(MonthGridPaint, TheTodayMarkMovesOnAtTheDateCheck)
{
    g_clockDay = sys_days{year{2031} / March / 10};
    monthgrid::SetClockSource(&TestClock);
    PutDate(grid, OleDate(2031, 3, 20));
    const core::GridLayout layout = LayoutOf(grid);
    const year_month first = year{2031} / March;
    const core::Rect tenth = CellOf(layout, first, 0, g_clockDay);
    const core::Rect eleventh = CellOf(layout, first, 0, g_clockDay + days{1});
    EXPECT_GT(Render(grid).Count(tenth, kTodayRed), 2 * tenth.Width());

    // Midnight passes: the date check finds the new day and repaints.
    ::ShowWindow(host.get(), SW_SHOWNA);
    ::UpdateWindow(host.get());
    ::ValidateRect(grid, nullptr);
    g_clockDay += days{1};
    RECT pending{};
    ::SendMessageW(grid, WM_TIMER, monthgrid::MidnightTimer::kId, 0);
    EXPECT_TRUE(::GetUpdateRect(grid, &pending, FALSE));
    const Image image = Render(grid);
    EXPECT_EQ(image.Count(tenth, kTodayRed), 0);
    EXPECT_GT(image.Count(eleventh, kTodayRed), 2 * eleventh.Width());
    monthgrid::SetClockSource(nullptr);
}

TEST_F(MonthGridPaint, SelectionStaysVisibleWhenTitleAndDaysShareAColour)
{
    PutI4(grid, members::kTitleBackColor.dispid, static_cast<LONG>(kProbe.monthBack));
    PutDate(grid, OleDate(2031, 3, 15));
    const core::GridLayout layout = LayoutOf(grid);
    const Image image = Render(grid);
    const core::Rect selected = CellOf(layout, year{2031} / March, 0, sys_days{year{2031} / March / 15});
    EXPECT_GT(image.Count(selected, kProbe.fore), selected.Width() * selected.Height() / 2);
}

TEST_F(MonthGridPaint, SystemColoursAreResolved)
{
    PutI4(grid, members::kBackColor.dispid, static_cast<LONG>(0x80000000u | COLOR_HIGHLIGHT));
    EXPECT_EQ(Render(grid).At(0, 0), ::GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(MonthGridPaint, StartsLegibleBeforeAnySettings)
{
    HWND fresh = CreateGrid(host.get());
    const SIZE size = FitGrid(fresh);
    const monthgrid::GridInfo info = Info(fresh);
    EXPECT_EQ(info.shape, (core::GridShape{1, 1}));
    EXPECT_TRUE(info.showWeekNumbers);
    const Image image = Render(fresh);
    EXPECT_EQ(image.width, size.cx);
    EXPECT_EQ(image.At(0, 0), RGB(255, 255, 255));
    const core::GridLayout layout = LayoutOf(fresh);
    EXPECT_GT(image.Count(layout.WeekdayRect(0, 0), RGB(0, 0, 0)), 3);
}

TEST_F(MonthGridPaint, NoGdiObjectsLostOverPaintsFontsAndSizes)
{
    const long before = fw::LiveGdiObjects();
    {
        HostWindow shown;
        ::ShowWindow(shown.get(), SW_SHOWNOACTIVATE);
        HWND g = CreateGrid(shown.get());
        PutI2(g, members::kMonthColumns.dispid, 4);
        PutI2(g, members::kMonthRows.dispid, 3);
        PutFont(g, MakeFont(L"Tahoma", 9).get());
        FitGrid(g);
        const long steady = fw::LiveGdiObjects();

        HDC screen = ::GetDC(nullptr);
        HDC memory = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 2000, 2000);
        ::ReleaseDC(nullptr, screen);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        const auto start = steady_clock::now();
        for (int i = 0; i < 500; ++i)
            ::SendMessageW(g, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
        const auto elapsed = duration_cast<microseconds>(steady_clock::now() - start).count();
        std::printf("4 x 3 months: %.3f ms per paint\n", elapsed / 500.0 / 1000.0);
        for (int i = 0; i < 500; ++i)
            ::RedrawWindow(g, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_EQ(fw::LiveGdiObjects(), steady);

        for (int i = 0; i < 100; ++i) {
            PutFont(g, MakeFont(i % 2 ? L"Tahoma" : L"Courier New", 6 + i % 20).get());
            FitGrid(g); // a new size each time: the buffer is remade too
            ::SendMessageW(g, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
        }
        PutFont(g, MakeFont(L"Tahoma", 9).get());
        FitGrid(g);
        EXPECT_EQ(fw::LiveGdiObjects(), steady);

        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
    }
    EXPECT_EQ(fw::LiveGdiObjects(), before);
}

// The window's pixels as they are on screen, not painted anew.
std::vector<std::uint32_t> ScreenPixels(HWND window, int width, int height)
{
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof bi.bmiHeader, width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC source = ::GetDC(window);
    HDC dc = ::CreateCompatibleDC(source);
    HBITMAP dib = ::CreateDIBSection(source, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(dc, dib);
    ::BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
    ::GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(p, p + static_cast<std::size_t>(width) * height);
    ::SelectObject(dc, old);
    ::DeleteObject(dib);
    ::DeleteDC(dc);
    ::ReleaseDC(window, source);
    return pixels;
}

TEST_F(MonthGridPaint, APartialRepaintDrawsExactlyItsPartOfTheWholePicture)
{
    HostWindow shown;
    ::ShowWindow(shown.get(), SW_SHOWNOACTIVATE);
    HWND g = CreateGrid(shown.get());
    ApplyColors(g, kProbe);
    PutI2(g, members::kMonthColumns.dispid, 3);
    PutI2(g, members::kMonthRows.dispid, 2);
    FitGrid(g);
    RECT client{};
    ::GetClientRect(g, &client);
    const int w = client.right, h = client.bottom;
    ASSERT_GT(w, 200);
    ::RedrawWindow(g, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const auto whole = ScreenPixels(g, w, h);

    // Paint over the window behind its back, then let it repaint an odd
    // part that crosses months, titles and gaps: what it draws there must
    // line up with the whole picture, and nothing outside may change.
    constexpr COLORREF kMagenta = RGB(0xFF, 0x00, 0xFF);
    HDC dc = ::GetDC(g);
    HBRUSH brush = ::CreateSolidBrush(kMagenta);
    ::FillRect(dc, &client, brush);
    ::DeleteObject(brush);
    ::ReleaseDC(g, dc);
    const RECT part{37, 23, w * 2 / 3 + 1, h - 17};
    ::InvalidateRect(g, &part, FALSE);
    ::UpdateWindow(g);
    const auto after = ScreenPixels(g, w, h);

    int wrongInside = 0, wrongOutside = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * w + x;
            const POINT pt{x, y};
            if (::PtInRect(&part, pt))
                wrongInside += after[i] != whole[i];
            else
                wrongOutside += after[i] != 0x00FF00FFu;
        }
    }
    EXPECT_EQ(wrongInside, 0);
    EXPECT_EQ(wrongOutside, 0);
}

TEST_F(MonthGridPaint, PaintingIntoAZeroSizedOrForeignTargetIsHarmless)
{
    ::MoveWindow(grid, 0, 0, 0, 0, FALSE);
    EXPECT_EQ(Render(grid).width, 0);
    HDC bare = ::CreateCompatibleDC(nullptr); // a one-bit target
    ::MoveWindow(grid, 0, 0, 300, 200, FALSE);
    ::SendMessageW(grid, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(bare), PRF_CLIENT);
    ::SendMessageW(grid, WM_PRINTCLIENT, 0, PRF_CLIENT);
    ::DeleteDC(bare);
    EXPECT_EQ(::SendMessageW(grid, WM_ERASEBKGND, 0, 0), 1);
    ::SendMessageW(grid, WM_TIMECHANGE, 0, 0);
    EXPECT_TRUE(::IsWindow(grid));
}

} // namespace
