// The layout pass and the start-up worker that settles it.
#include "calendar/calendar_window.h"

#include "app/private_messages.h"
#include "app/settings_store.h"
#include "core/holidays.h"
#include "core/window_geometry.h"
#include "framework/core_rect.h"
#include "framework/step_trace.h"

#include <vector>

using fw::ToCore;

namespace {

// The start-up worker waits for the window to show and then for its
// rectangle to settle, looking every poll, each wait bounded by the rounds
// (ten seconds each).
constexpr int kSettleRounds = 1000;
constexpr DWORD kSettlePollMs = 10;

void PlaceAtOrigin(HWND child, HWND parent)
{
    RECT r{};
    ::GetWindowRect(child, &r);
    POINT origin{r.left, r.top};
    ::MapWindowPoints(nullptr, parent, &origin, 1);
    if (origin.x != 0 || origin.y != 0)
        ::SetWindowPos(child, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

LRESULT CCalendarDlg::ApplyCalendarSettings(WPARAM, LPARAM)
{
    using namespace core::keys;
    fw::StepScope step("layout");
    // Everything is read afresh: another program instance or the parameter
    // dialog may have changed any of it. Read a section at a time: key by
    // key, the reads were most of a pass.
    SettingsStore::Sections stored;
    const auto colour = [&](const core::SettingKey& key) { return static_cast<COLORREF>(stored.Int(key)); };
    const int columns = stored.Int(kColumns);
    const int rows = stored.Int(kRows);
    m_monthView.SetForeColor(colour(kForeColor));
    const COLORREF monthBack = colour(kMonthBackColor);
    m_monthView.SetMonthBackColor(monthBack);
    m_monthView.SetBackColor(monthBack);
    m_monthView.SetTitleBackColor(colour(kTitleBackColor));
    m_monthView.SetTitleForeColor(colour(kTitleForeColor));
    m_monthView.SetTrailingForeColor(colour(kTrailingForeColor));
    m_monthView.SetShowWeekNumbers(stored.Int(kWeekNumbers) != 0);
    // Columns go to 1 first, so that rows x columns never exceeds what the
    // stored pair allows at any moment.
    m_monthView.SetMonthColumns(1);
    m_monthView.SetMonthRows(static_cast<short>(rows));
    m_monthView.SetMonthColumns(static_cast<short>(columns));
    // The holidays: a Land the store cannot read shows the nationwide ones.
    m_monthView.SetHolidayForeColor(colour(kHolidayForeColor));
    m_monthView.SetShowHolidays(stored.Int(kHolidays) != 0);
    m_monthView.SetHolidayRegion(core::RegionCode(core::ParseRegion(stored.Text(kHolidayRegion)).region));
    // The view sits at our client origin and takes its natural size from
    // Refresh. It is not squeezed to nothing first: that would make it and
    // the area behind it repaint on every pass, changed or not.
    PlaceAtOrigin(m_monthView.m_hWnd, m_hWnd);
    m_monthView.Refresh();
    FitToMonthView();
    return 0;
}

void CCalendarDlg::FitToMonthView()
{
    if (IsIconic()) {
        m_fitPending = true;
        return;
    }
    m_fitPending = false;
    const RECT view = m_monthView.GetClientRect();
    const RECT client = GetClientRect();
    const RECT window = GetWindowRect();
    const core::Rect fitted = core::FitWindowToContent(ToCore(view), ToCore(window), ToCore(client));
    // Fitted and centred in one move: two were a second round of the window
    // system's and the X server's work (1 ms at start-up), and showed the
    // new size in the old place for a moment.
    CenterWindowAtSize(fitted.Width(), fitted.Height(), m_dpiMonitor);
}

LRESULT CCalendarDlg::OnSize(WPARAM w, LPARAM)
{
    if (w == SIZE_RESTORED && m_fitPending)
        FitToMonthView();
    return Default();
}

// Windows sends this when the window comes to a monitor of another DPI, or
// its monitor's DPI changes, having given the window and the grid their new
// DPI. The grid makes its font for it at the layout pass: the font object
// keeps its size in points, and the stored record, in pixels at the system
// DPI, is neither read nor written. The window then moves where Windows
// suggests, which puts it on the new monitor, and the pass fits it to the
// grid and centres it on that monitor's work area.
LRESULT CCalendarDlg::OnDpiChanged(WPARAM, LPARAM suggested)
{
    const auto* rect = reinterpret_cast<const RECT*>(suggested);
    if (rect) {
        ::SetWindowPos(m_hWnd, nullptr, rect->left, rect->top, rect->right - rect->left,
                       rect->bottom - rect->top, SWP_NOZORDER | SWP_NOACTIVATE);
        m_dpiMonitor = ::MonitorFromRect(rect, MONITOR_DEFAULTTONEAREST);
    }
    struct Done {
        HMONITOR& monitor;
        ~Done() { monitor = nullptr; }
    } done{m_dpiMonitor};
    ApplyCalendarSettings();
    return 0;
}

DWORD WINAPI CCalendarDlg::SettleWorker(LPVOID window)
{
    HWND hwnd = static_cast<HWND>(window);
    for (int i = 0; i < kSettleRounds; ++i) {
        if (!::IsWindow(hwnd))
            return 0;
        if (::IsWindowVisible(hwnd))
            break;
        ::Sleep(kSettlePollMs);
    }
    for (int round = 0; round < kSettleRounds; ++round) {
        RECT before{}, after{};
        if (!::GetWindowRect(hwnd, &before))
            return 0;
        ::SendMessageW(hwnd, WM_SETTINGS_CHANGED, 0, 0);
        if (!::GetWindowRect(hwnd, &after))
            return 0;
        if (::EqualRect(&before, &after))
            break;
        ::Sleep(kSettlePollMs);
    }
    return 0;
}
