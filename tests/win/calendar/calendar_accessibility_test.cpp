// The real calendar window with the real month grid, as a keyboard user, a
// screen reader and a high-contrast theme meet it.
#include "calendar_fixture.h"
#include "core/calendar_text.h"
#include "core/dates.h"
#include "monthgrid/high_contrast.h"
#include "monthgrid/monthgrid.h"
#include "support/accessible_probe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

using namespace std::chrono;

using testsupport::RunCalendar;

// The window's pixels as they are on the screen.
struct Screen {
    int width = 0;
    std::vector<COLORREF> pixels;

    explicit Screen(HWND window)
    {
        RECT r{};
        ::GetClientRect(window, &r);
        width = r.right;
        pixels.resize(static_cast<std::size_t>(r.right) * r.bottom);
        fw::WindowDC dc(window);
        for (int y = 0; y < r.bottom; ++y) {
            for (int x = 0; x < r.right; ++x)
                pixels[static_cast<std::size_t>(y) * width + x] = ::GetPixel(dc.get(), x, y);
        }
    }
    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    // Pixels in the rectangle of none of `colours`.
    int Other(const core::Rect& r, std::initializer_list<COLORREF> colours) const
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x)
                n += std::find(colours.begin(), colours.end(), At(x, y)) == colours.end();
        }
        return n;
    }
};

monthgrid::GridInfo InfoOf(HWND grid)
{
    monthgrid::GridInfo info;
    ::SendMessageW(grid, monthgrid::kGetInfoMessage, 0, reinterpret_cast<LPARAM>(&info));
    return info;
}

core::GridLayout LayoutOf(HWND grid)
{
    const monthgrid::GridInfo i = InfoOf(grid);
    return core::GridLayout(i.metrics, i.shape.columns, i.shape.rows, i.showWeekNumbers);
}

// The selected day's cell.
core::Rect SelectedCell(HWND grid)
{
    const monthgrid::GridInfo i = InfoOf(grid);
    const year_month first = year{i.firstYear} / i.firstMonth;
    const sys_days selected = sys_days{year{i.selectedYear} / i.selectedMonth / i.selectedDay};
    const year_month_day s{selected};
    const int block = (static_cast<int>(s.year()) - i.firstYear) * 12 +
                      static_cast<int>(static_cast<unsigned>(s.month())) - i.firstMonth;
    const int cell = core::LayoutMonth(core::AddMonths(first, block)).IndexOf(selected);
    return LayoutOf(grid).DayRect(block, cell / 7, cell % 7);
}

bool g_highContrast = false;
bool HighContrast() { return g_highContrast; }

struct CalendarAccessibility : ::testing::Test {
    void SetUp() override
    {
        testsupport::ResetProfile();
        monthgrid::RegisterMonthGridClass(::GetModuleHandleW(nullptr));
    }
    void TearDown() override { monthgrid::SetHighContrastSource(nullptr); }
};

TEST_F(CalendarAccessibility, TheGridHasTheFocusAtOnceAndShowsItOnTheSelectedDay)
{
    HWND focus = nullptr, grid = nullptr;
    int selectedDay = 0, dayAfter = 0, marksFocused = 0, marksUnfocused = 0;
    std::wstring focusedName;
    RunCalendar([&](CCalendarDlg& dlg) {
        grid = dlg.MonthView().m_hWnd;
        focus = ::GetFocus();
        // The cell holds its fill, its number and maybe today's frame; the
        // focus rectangle's dots are none of these.
        const COLORREF titleBack = RGB(0x00, 0x80, 0xC0), red = RGB(0xE0, 0x10, 0x10);
        marksFocused = Screen(grid).Other(SelectedCell(grid), {titleBack, RGB(0, 0, 0), red});
        focusedName = a11y::Name(a11y::Focus(a11y::ClientObject(grid).get()));

        selectedDay = InfoOf(grid).selectedDay;
        ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_RIGHT, 0);
        testsupport::PumpFor(100);
        dayAfter = InfoOf(grid).selectedDay;

        ::SetFocus(nullptr);
        testsupport::PumpFor(100);
        marksUnfocused = Screen(grid).Other(SelectedCell(grid), {titleBack, RGB(0, 0, 0), red});
    });
    EXPECT_EQ(focus, grid);
    EXPECT_GT(marksFocused, 8);
    EXPECT_EQ(marksUnfocused, 0);
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    EXPECT_EQ(focusedName, core::DayAccessibleName(sys_days{year{now.wYear} / now.wMonth / now.wDay}));
    EXPECT_NE(dayAfter, selectedDay) << "the arrow keys work at once";
}

TEST_F(CalendarAccessibility, AHighContrastThemeIsFollowedWhileTheCalendarRuns)
{
    monthgrid::SetHighContrastSource(&HighContrast);
    COLORREF before = 0, during = 0, duringBack = 0, after = 0;
    RunCalendar([&](CCalendarDlg& dlg) {
        HWND grid = dlg.MonthView().m_hWnd;
        const core::Rect title = LayoutOf(grid).TitleRect(1);
        auto titlePixel = [&] { return Screen(grid).At(title.left + 1, title.bottom - 1); };
        before = titlePixel();
        // As Windows tells the top-level windows when the theme switches.
        g_highContrast = true;
        dlg.SendMessage(WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        testsupport::PumpFor(100);
        during = titlePixel();
        duringBack = Screen(grid).At(0, 0);
        g_highContrast = false;
        dlg.SendMessage(WM_SYSCOLORCHANGE, 0, 0);
        testsupport::PumpFor(100);
        after = titlePixel();
    });
    EXPECT_EQ(before, RGB(0x00, 0x80, 0xC0)) << "the stored title colour";
    EXPECT_EQ(during, ::GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(duringBack, ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(after, RGB(0x00, 0x80, 0xC0));
    EXPECT_EQ(testsupport::ProfileText(), "") << "the stored colours stay as they are";
}

} // namespace
