// A high-contrast theme: the grid draws in the theme's colours while it is
// on, keeps the colours it was given for when it goes off, and follows the
// switch at the theme-change messages. Wine has no high-contrast switch
// (SPI_SETHIGHCONTRAST fails there), so the tests put the grid's answer in.
#include <gtest/gtest.h>

#include <chrono>

#include "core/dates.h"
#include "grid_fixture.h"
#include "monthgrid/grid_clock.h"
#include "monthgrid/grid_font.h"
#include "monthgrid/grid_painter.h"
#include "monthgrid/high_contrast.h"

namespace {

using namespace gridtest;
using namespace std::chrono;

// None of them a system colour of Wine's standard theme.
constexpr Colors kProbe{RGB(0x10, 0x20, 0xA0), RGB(0xF0, 0xF0, 0xD0), RGB(0x30, 0x90, 0x30),
                        RGB(0x80, 0x20, 0x80), RGB(0xFF, 0xFF, 0x00), RGB(0x00, 0xB0, 0xB0)};
constexpr COLORREF kTodayRed = RGB(0xE0, 0x10, 0x10);
constexpr sys_days kToday = sys_days{year{2031} / March / 15};

bool g_highContrast = false;
bool HighContrast() { return g_highContrast; }
monthgrid::LocalTime FixedClock() { return {kToday, hours{12}}; }

core::Rect CellOf(const core::GridLayout& layout, year_month first, int block, sys_days date)
{
    const int i = core::LayoutMonth(core::AddMonths(first, block)).IndexOf(date);
    return i < 0 ? core::Rect{} : layout.DayRect(block, i / 7, i % 7);
}

class MonthGridHighContrast : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        g_highContrast = false;
        monthgrid::SetHighContrastSource(&HighContrast);
        monthgrid::SetClockSource(&FixedClock);
        Configure(grid, kProbe, 2, 2, true);
        PutDate(grid, OleDate(2031, 3, 15));
    }
    void TearDown() override
    {
        monthgrid::SetHighContrastSource(nullptr);
        monthgrid::SetClockSource(nullptr);
    }
    void Switch(bool on, UINT message)
    {
        g_highContrast = on;
        ::SendMessageW(grid, message, message == WM_SETTINGCHANGE ? SPI_SETHIGHCONTRAST : 0, 0);
    }
    static int CountAny(const Image& image, const core::Rect& r, std::initializer_list<COLORREF> colours)
    {
        int n = 0;
        for (COLORREF c : colours)
            n += image.Count(r, c);
        return n;
    }
};

TEST_F(MonthGridHighContrast, TheThemesColoursReplaceThePutOnesWhileItIsOn)
{
    const COLORREF window = ::GetSysColor(COLOR_WINDOW), text = ::GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT),
                   highlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    const COLORREF grey = ::GetSysColor(COLOR_GRAYTEXT);
    const core::GridLayout layout = LayoutOf(grid);
    const year_month first = year{2031} / March;
    const core::Rect whole{0, 0, layout.TotalSize().width, layout.TotalSize().height};

    Switch(true, WM_SETTINGCHANGE);
    Image image = Render(grid);
    EXPECT_EQ(image.At(0, 0), window);
    const core::Rect m0 = layout.MonthRect(0);
    EXPECT_EQ(image.At(m0.left + 1, m0.bottom - 1), window);
    for (int m = 0; m < 4; ++m) {
        const core::Rect t = layout.TitleRect(m);
        EXPECT_EQ(image.At(t.left + 1, t.bottom - 1), highlight) << m;
        EXPECT_GT(image.Count(layout.TitleTextRect(m), highlightText), 10) << m;
    }
    const core::Rect own = CellOf(layout, first, 0, sys_days{year{2031} / March / 20});
    EXPECT_GT(image.Count(own, text), 3);
    const core::Rect neighbour = CellOf(layout, first, 0, sys_days{year{2031} / February / 24});
    EXPECT_GT(image.Count(neighbour, grey), 3);
    EXPECT_EQ(image.Count(neighbour, text), 0);
    // Today is the selected day: filled in highlight, its frame in
    // highlight text, where the theme promises contrast; no red.
    const core::Rect selected = CellOf(layout, first, 0, kToday);
    EXPECT_GT(image.Count(selected, highlight), selected.Width() * selected.Height() / 3);
    EXPECT_GT(image.Count(selected, highlightText), 2 * selected.Width());
    EXPECT_EQ(image.Count(whole, kTodayRed), 0);
    // Not one pixel of the colours put.
    EXPECT_EQ(CountAny(image, whole,
                       {kProbe.fore, kProbe.monthBack, kProbe.back, kProbe.titleBack, kProbe.titleFore,
                        kProbe.trailingFore}),
              0);

    // Off again, by the other message: the colours put are back.
    Switch(false, WM_SYSCOLORCHANGE);
    image = Render(grid);
    EXPECT_EQ(image.At(0, 0), kProbe.back);
    EXPECT_EQ(image.At(layout.TitleRect(1).left + 1, layout.TitleRect(1).bottom - 1), kProbe.titleBack);
    EXPECT_GT(image.Count(own, kProbe.fore), 3);
    EXPECT_GT(image.Count(selected, kTodayRed), 2 * selected.Width());
}

TEST_F(MonthGridHighContrast, TheSwitchIsPaintedAtOnce)
{
    ::ShowWindow(host.get(), SW_SHOWNA);
    ::UpdateWindow(host.get());
    RECT pending{};
    ASSERT_FALSE(::GetUpdateRect(grid, &pending, FALSE));
    Switch(true, WM_SYSCOLORCHANGE);
    EXPECT_TRUE(::GetUpdateRect(grid, &pending, FALSE));
    ::UpdateWindow(grid);
    // Nothing changed since: a Refresh finds nothing to paint.
    Switch(true, WM_SETTINGCHANGE);
    ::UpdateWindow(grid);
    CallRefresh(grid);
    EXPECT_FALSE(::GetUpdateRect(grid, &pending, FALSE));
}

// Holidays are underlined where colour alone must not tell them apart. The
// days' drawing step, on its own, with two holidays.
TEST(MonthGridPainter, MarkedCellsAreUnderlinedInTheirTextColour)
{
    HostWindow host;
    monthgrid::GridFont font;
    const HFONT hfont = font.Get(96);
    const core::FontMetrics metrics = font.Metrics(host.get(), 96);
    const core::GridLayout layout(metrics, 1, 1, false);
    const core::Size size = layout.TotalSize();

    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof bi.bmiHeader, size.width, -size.height, 1, 32, BI_RGB};
    void* bits = nullptr;
    fw::UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
    fw::UniqueBitmap dib(::CreateDIBSection(dc.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(dib);
    fw::SelectObjectScope keepBitmap(dc.get(), dib.get());
    fw::SelectObjectScope keepFont(dc.get(), hfont);
    fw::SelectObjectScope keepBrush(dc.get(), ::GetStockObject(DC_BRUSH));
    ::SetBkMode(dc.get(), TRANSPARENT);

    std::array<COLORREF, static_cast<int>(monthgrid::ColorSlot::Count)> colours{
        kProbe.fore, kProbe.monthBack, kProbe.back, kProbe.titleBack, kProbe.titleFore, kProbe.trailingFore};
    const monthgrid::Palette pal = monthgrid::MakePalette(colours, true);
    monthgrid::Fill(dc.get(), RECT{0, 0, size.width, size.height}, pal.monthBack);
    const core::MonthLayout month = core::LayoutMonth(year{2026} / December);
    const sys_days christmas = sys_days{year{2026} / December / 25};
    const int c25 = month.IndexOf(christmas), c26 = c25 + 1, c24 = c25 - 1;
    const monthgrid::DayContext context{sys_days{}, christmas + days{1}, false, true};
    monthgrid::Painter painter(dc.get(), layout, pal, hfont, font.TextHeight(), font.DigitWidths());
    painter.Days(0, month, context, (1u << 25) | (1u << 26), true);
    painter.HolidayNumbers();
    ::GdiFlush();

    // The bottom line of the text in each cell.
    auto line = [&](int cell, COLORREF colour) {
        const core::Rect r = layout.DayRect(0, cell / 7, cell % 7);
        const int y = r.top + (r.Height() - font.TextHeight()) / 2 + font.TextHeight() - 1;
        int n = 0;
        for (int x = r.left; x < r.right; ++x) {
            const std::uint32_t p = static_cast<const std::uint32_t*>(bits)[y * size.width + x];
            n += RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF) == colour;
        }
        return n;
    };
    EXPECT_GE(line(c25, pal.fore), 2 * font.DigitWidths()[5] - 1) << "under both digits of 25";
    EXPECT_GE(line(c26, pal.selectedFore), 2 * font.DigitWidths()[6] - 1)
        << "the selected day, in its colour";
    EXPECT_EQ(line(c24, pal.fore), 0);
}

} // namespace
