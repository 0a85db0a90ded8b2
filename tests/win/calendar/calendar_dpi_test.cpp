// The calendar with the real month grid at the system DPI the harness runs
// it at (96, 120, 144 and 192; MORVELIN_DPI names it), and after a change of
// the window's DPI as Windows makes one for a per-monitor aware window moved
// to another monitor: the font keeps its size in points, the window fits the
// grid exactly and is centred, no text of the grid is cut, and the rules,
// the arrows and today's frame grow with the DPI.
#include "app/private_messages.h"
#include "app/settings_store.h"
#include "calendar_fixture.h"
#include "core/clock_waits.h"
#include "core/dates.h"
#include "core/window_geometry.h"
#include "framework/core_rect.h"
#include "framework/dpi.h"
#include "framework/handles.h"
#include "grid_fixture.h"
#include "monthgrid/monthgrid.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <olectl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace core::keys;
using testsupport::ModalDriver;
using testsupport::RunCalendar;

namespace {

UINT HarnessDpi()
{
    const char* dpi = std::getenv("MORVELIN_DPI");
    return dpi ? static_cast<UINT>(std::atoi(dpi)) : fw::kDefaultDpi;
}

// Windows gives a window on a monitor of another DPI that DPI before it
// sends WM_DPICHANGED; Wine keeps every window at the system DPI.
UINT g_windowDpi = 0;
UINT FakeWindowDpi(HWND) { return g_windowDpi; }

struct CalendarAtDpi : ::testing::Test {
    void SetUp() override
    {
        testsupport::ResetProfile();
        monthgrid::RegisterMonthGridClass(::GetModuleHandleW(nullptr));
        // The harness's session must be at the DPI it names, or nothing
        // below tests what it says.
        ASSERT_EQ(fw::SystemDpi(), HarnessDpi());
    }
    void TearDown() override
    {
        fw::SetWindowDpiSource(nullptr);
        g_windowDpi = 0;
    }
};

LONGLONG SizeOf(IDispatch* disp)
{
    fw::ComPtr<IFont> font;
    disp->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.put()));
    CY size{};
    if (font)
        font->get_Size(&size);
    return size.int64;
}

LOGFONTW GridFont(HWND grid)
{
    LOGFONTW lf{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(grid, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf;
}

// Pixels of the font's em at a DPI: points x DPI / 72, rounded, from the
// size the font object holds (1/10000 point).
int EmPixels(LONGLONG cy, UINT dpi) { return static_cast<int>((cy * dpi + 360000) / 720000); }

int Width(HDC dc, std::wstring_view text)
{
    SIZE s{};
    ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &s);
    return s.cx;
}

// The grid's text, measured in the font it draws with, against the
// rectangles it draws it in: day and week numbers, weekday names, titles.
void ExpectNoTextCut(HWND grid, const core::GridLayout& g, int firstYear, int firstMonth)
{
    fw::WindowDC dc(grid);
    fw::SelectObjectScope font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(grid, WM_GETFONT, 0, 0)));
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc.get(), &tm);
    EXPECT_LE(tm.tmHeight, g.CellHeight());
    EXPECT_LE(tm.tmHeight, g.TitleHeight());
    int widestDay = 0, widestWeek = 0, widestWeekday = 0;
    for (int n = 1; n <= 53; ++n) {
        const int w = Width(dc.get(), std::to_wstring(n));
        widestWeek = std::max(widestWeek, w);
        if (n <= 31)
            widestDay = std::max(widestDay, w);
    }
    for (std::wstring_view name : core::kWeekdayAbbreviations)
        widestWeekday = std::max(widestWeekday, Width(dc.get(), name));
    EXPECT_LE(widestDay, g.CellWidth());
    EXPECT_LE(widestWeekday, g.WeekdayRect(0, 0).Width());
    if (g.ShowsWeekNumbers()) {
        EXPECT_LE(widestWeek, g.WeekNumberWidth() - g.LineWidth());
    }
    for (int m = 0; m < g.MonthCount(); ++m) {
        const auto ym = core::AddMonths(std::chrono::year{firstYear} / std::chrono::month(firstMonth), m);
        const std::wstring title =
            std::wstring(core::MonthName(ym.month())) + L' ' + std::to_wstring(static_cast<int>(ym.year()));
        EXPECT_LE(Width(dc.get(), title), g.TitleTextRect(m).Width()) << m;
    }
}

// Runs of `color` from `x` rightwards on line `y`.
int RunFrom(const gridtest::Image& image, int x, int y, COLORREF color)
{
    int n = 0;
    while (x + n < image.width && image.At(x + n, y) == color)
        ++n;
    return n;
}

// The grid as drawn: today's frame and the rule beside the week numbers are
// their scaled pixels wide, and the title arrow keeps its share of the
// title bar.
void ExpectMarksScaled(HWND grid, const core::GridLayout& g, UINT dpi)
{
    const gridtest::Image image = gridtest::Render(grid);
    ASSERT_GT(image.width, 0);
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const auto today = core::CivilDay(now.wYear, now.wMonth, now.wDay);
    ASSERT_TRUE(today);
    const std::chrono::year_month_day ymd{*today};
    const core::MonthLayout month = core::LayoutMonth(ymd.year() / ymd.month());
    const int at = month.IndexOf(*today);
    ASSERT_GE(at, 0);
    const core::Rect cell = g.DayRect(0, at / 7, at % 7); // the grid opens on today's month
    const COLORREF red = RGB(0xE0, 0x10, 0x10);
    const int middle = (cell.top + cell.bottom) / 2;
    EXPECT_EQ(RunFrom(image, cell.left, middle, red), fw::ScaleForDpi(2, dpi));
    EXPECT_EQ(g.MarkWidth(), fw::ScaleForDpi(2, dpi));

    // On a line without today, whose fill has the rule's colour.
    const core::Rect week = g.WeekNumberRect(0, at / 7 == 2 ? 3 : 2);
    const COLORREF titleBack = kTitleBackColor.defaultValue;
    EXPECT_EQ(RunFrom(image, week.right - g.LineWidth(), (week.top + week.bottom) / 2, titleBack),
              fw::ScaleForDpi(1, dpi));

    // The arrow's ink: a good third of the title bar's height, whatever
    // the DPI (a fixed-size arrow would shrink to a speck at 192).
    const core::Rect arrow = g.PrevArrowRect();
    int top = arrow.bottom, bottom = arrow.top;
    for (int y = arrow.top; y < arrow.bottom; ++y) {
        for (int x = arrow.left; x < arrow.right; ++x) {
            if (image.At(x, y) == kTitleForeColor.defaultValue) {
                top = std::min(top, y);
                bottom = std::max(bottom, y + 1);
            }
        }
    }
    ASSERT_LT(top, bottom) << "no arrow drawn";
    EXPECT_GE(3 * (bottom - top), g.TitleHeight()) << bottom - top << " of " << g.TitleHeight();
    EXPECT_LE(2 * (bottom - top), g.TitleHeight()) << bottom - top << " of " << g.TitleHeight();
}

// The window's client area is the grid, and the grid is the layout's size
// for the DPI it measured at; the window is centred on its work area.
void ExpectFittedAndCentred(CCalendarDlg& dlg, UINT dpi)
{
    HWND grid = dlg.MonthView().m_hWnd;
    const monthgrid::GridInfo info = gridtest::Info(grid);
    EXPECT_EQ(info.metrics.dpi, static_cast<int>(dpi));
    const core::GridLayout g = gridtest::LayoutOf(grid);
    const SIZE client = testsupport::ClientSize(dlg.m_hWnd);
    const SIZE view = testsupport::ClientSize(grid);
    EXPECT_EQ(view.cx, g.TotalSize().width);
    EXPECT_EQ(view.cy, g.TotalSize().height);
    EXPECT_EQ(client.cx, view.cx);
    EXPECT_EQ(client.cy, view.cy);
    RECT r{};
    ::GetWindowRect(dlg.m_hWnd, &r);
    const core::Rect work = fw::ToCore(testsupport::WorkAreaOf(dlg.m_hWnd));
    const core::Point want = core::CenterOver(r.right - r.left, r.bottom - r.top, work, work);
    EXPECT_EQ(r.left, want.x);
    EXPECT_EQ(r.top, want.y);
    if (dpi == fw::SystemDpi()) {
        // The harness's screen is as many inches at every DPI: there is
        // room for the default grid, so it is really centred.
        EXPECT_GT(r.left, work.left);
        EXPECT_LT(r.bottom, work.bottom);
    }
    ExpectNoTextCut(grid, g, info.firstYear, info.firstMonth);
    ExpectMarksScaled(grid, g, dpi);
}

} // namespace

// No stored font: the stock GUI font, whose pixels are the system DPI's,
// reaches the grid at its size in points.
TEST_F(CalendarAtDpi, TheDefaultFontKeepsItsPointSizeAndTheWindowFitsTheGridCentred)
{
    const UINT dpi = HarnessDpi();
    LOGFONTW stock{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof stock, &stock);
    RunCalendar([&](CCalendarDlg& dlg) {
        const LONGLONG cy = SizeOf(dlg.CurrentFont());
        EXPECT_NEAR(static_cast<double>(cy), std::abs(stock.lfHeight) * 720000.0 / dpi, 720000.0 / dpi);
        const LOGFONTW used = GridFont(dlg.MonthView().m_hWnd);
        EXPECT_EQ(-used.lfHeight, EmPixels(cy, dpi));
        ExpectFittedAndCentred(dlg, dpi);
    });
}

// The font chooser, run from the parameter dialog at this DPI, writes 8
// points as pixels of this DPI; the calendar shows them as 8 points again.
TEST_F(CalendarAtDpi, AnEightPointFontFromTheChooserIsEightPoints)
{
    const UINT dpi = HarnessDpi();
    LOGFONTA start{};
    start.lfHeight = -40;
    std::strcpy(start.lfFaceName, "Tahoma");
    ASSERT_TRUE(SettingsStore::WriteLogFont(start));
    ModalDriver driver;
    RunCalendar(
        [&](CCalendarDlg& dlg) {
            driver.Then([](HWND parameters) {
                testsupport::Click(parameters, IDC_FONT); // the chooser's step runs in its own loop
                testsupport::Click(parameters, IDCANCEL);
            });
            driver.Then([](HWND chooser) {
                // Picked from the size list, as a user would.
                HWND sizes = ::GetDlgItem(chooser, 0x472);
                const LRESULT eight = ::SendMessageW(sizes, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                     reinterpret_cast<LPARAM>(L"8"));
                ASSERT_NE(eight, CB_ERR);
                ::SendMessageW(sizes, CB_SETCURSEL, static_cast<WPARAM>(eight), 0);
                ::SendMessageW(chooser, WM_COMMAND, MAKEWPARAM(0x472, CBN_SELCHANGE),
                               reinterpret_cast<LPARAM>(sizes));
                testsupport::Click(chooser, IDOK);
            });
            dlg.SendMessage(WM_COMMAND, IDM_PARAMETER, 0);
            const auto stored = SettingsStore::ReadLogFont();
            ASSERT_TRUE(stored);
            EXPECT_EQ(stored->lfHeight, -::MulDiv(8, static_cast<int>(dpi), 72));
            const LONGLONG cy = SizeOf(dlg.CurrentFont());
            EXPECT_NEAR(static_cast<double>(cy), 80000.0, 360000.0 / dpi); // within half a pixel
            HWND grid = dlg.MonthView().m_hWnd;
            const LOGFONTW used = GridFont(grid);
            EXPECT_EQ(-used.lfHeight, ::MulDiv(8, static_cast<int>(dpi), 72));
            // And the font made has that em: its cell less its leading.
            fw::WindowDC dc(grid);
            fw::SelectObjectScope font(dc.get(),
                                       reinterpret_cast<HFONT>(::SendMessageW(grid, WM_GETFONT, 0, 0)));
            TEXTMETRICW tm{};
            ::GetTextMetricsW(dc.get(), &tm);
            EXPECT_NEAR(tm.tmHeight - tm.tmInternalLeading, ::MulDiv(8, static_cast<int>(dpi), 72), 1);
            ExpectFittedAndCentred(dlg, dpi);
        },
        &driver);
    EXPECT_EQ(driver.StepsLeft(), 0u);
}

// What Windows does when the window comes to a monitor of another DPI:
// the window and its children have the new DPI, the grid hears of it before
// and after its parent, and the parent gets WM_DPICHANGED with the new DPI
// and a suggested rectangle on the new monitor.
TEST_F(CalendarAtDpi, ADpiChangeRescalesTheFontRefitsAndCentresWithoutWritingTheProfile)
{
    const UINT dpi = HarnessDpi();
    const UINT other = dpi == 96 ? 144 : dpi == 120 ? 192 : dpi == 144 ? 96 : 120;
    LOGFONTA lf{};
    lf.lfHeight = -::MulDiv(9, static_cast<int>(dpi), 72);
    std::strcpy(lf.lfFaceName, "Tahoma");
    ASSERT_TRUE(SettingsStore::WriteLogFont(lf));
    const std::string profile = testsupport::ProfileText();
    ModalDriver driver;
    RunCalendar(
        [&](CCalendarDlg& dlg) {
            HWND grid = dlg.MonthView().m_hWnd;
            const LONGLONG cy = SizeOf(dlg.CurrentFont());
            const SIZE before = testsupport::ClientSize(dlg.m_hWnd);
            auto moveTo = [&](UINT newDpi) {
                RECT r{};
                ::GetWindowRect(dlg.m_hWnd, &r);
                const RECT work = testsupport::WorkAreaOf(dlg.m_hWnd);
                // Scaled about its top-left corner, near the work area's.
                const int w =
                    ::MulDiv(r.right - r.left, static_cast<int>(newDpi), static_cast<int>(g_windowDpi));
                const int h =
                    ::MulDiv(r.bottom - r.top, static_cast<int>(newDpi), static_cast<int>(g_windowDpi));
                RECT suggested{work.left + 20, work.top + 30, work.left + 20 + w, work.top + 30 + h};
                g_windowDpi = newDpi;
                ::SendMessageW(grid, WM_DPICHANGED_BEFOREPARENT, 0, 0);
                EXPECT_EQ(dlg.SendMessage(WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi),
                                          reinterpret_cast<LPARAM>(&suggested)),
                          0);
                ::SendMessageW(grid, WM_DPICHANGED_AFTERPARENT, 0, 0);
                testsupport::PumpPending();
            };
            g_windowDpi = dpi;
            fw::SetWindowDpiSource(&FakeWindowDpi);

            moveTo(other);
            EXPECT_EQ(SizeOf(dlg.CurrentFont()), cy) << "the font object keeps its points";
            EXPECT_EQ(-GridFont(grid).lfHeight, EmPixels(cy, other));
            ExpectFittedAndCentred(dlg, other);
            const SIZE there = testsupport::ClientSize(dlg.m_hWnd);
            EXPECT_EQ(there.cx > before.cx, other > dpi);

            // Dialogs open over the calendar, on its monitor.
            RECT calendar{};
            ::GetWindowRect(dlg.m_hWnd, &calendar);
            driver.Then([&](HWND parameters) {
                RECT r{};
                ::GetWindowRect(parameters, &r);
                EXPECT_EQ(::MonitorFromWindow(parameters, MONITOR_DEFAULTTONULL),
                          ::MonitorFromWindow(dlg.m_hWnd, MONITOR_DEFAULTTONULL));
                EXPECT_NEAR((r.left + r.right) / 2, (calendar.left + calendar.right) / 2, 1);
                EXPECT_NEAR((r.top + r.bottom) / 2, (calendar.top + calendar.bottom) / 2, 1);
                testsupport::Click(parameters, IDCANCEL);
            });
            dlg.SendMessage(WM_COMMAND, IDM_PARAMETER, 0);

            // And back: the very same size again.
            moveTo(dpi);
            EXPECT_EQ(-GridFont(grid).lfHeight, EmPixels(cy, dpi));
            EXPECT_EQ(testsupport::ClientSize(dlg.m_hWnd), before);
            ExpectFittedAndCentred(dlg, dpi);
        },
        &driver);
    EXPECT_EQ(driver.StepsLeft(), 0u);
    EXPECT_EQ(testsupport::ProfileText(), profile) << "a change of DPI writes nothing";
}
