// The layout pass and the start-up worker that settles it.
#include "calendar/calendar_window.h"

#include "app/settings_store.h"
#include "core/window_geometry.h"

namespace {

COLORREF ReadColour(const core::SettingKey& key)
{
    return static_cast<COLORREF>(SettingsStore::ReadInt(key));
}

core::Rect ToCore(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

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
    // Everything is read afresh: another program instance or the parameter
    // dialog may have changed any of it.
    const int columns = SettingsStore::ReadInt(kColumns);
    const int rows = SettingsStore::ReadInt(kRows);
    m_monthView.SetForeColor(ReadColour(kForeColor));
    const COLORREF monthBack = ReadColour(kMonthBackColor);
    m_monthView.SetMonthBackColor(monthBack);
    m_monthView.SetBackColor(monthBack);
    m_monthView.SetTitleBackColor(ReadColour(kTitleBackColor));
    m_monthView.SetTitleForeColor(ReadColour(kTitleForeColor));
    m_monthView.SetTrailingForeColor(ReadColour(kTrailingForeColor));
    m_monthView.SetShowWeekNumbers(SettingsStore::ReadInt(kWeekNumbers) != 0);
    // Columns go to 1 first, so that rows x columns never exceeds what the
    // stored pair allows at any moment.
    m_monthView.SetMonthColumns(1);
    m_monthView.SetMonthRows(static_cast<short>(rows));
    m_monthView.SetMonthColumns(static_cast<short>(columns));
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
    if (!(fitted == ToCore(window)))
        MoveWindow(fitted.left, fitted.top, fitted.Width(), fitted.Height(), TRUE);
    CenterWindow();
}

LRESULT CCalendarDlg::OnSize(WPARAM w, LPARAM)
{
    if (w == SIZE_RESTORED && m_fitPending)
        FitToMonthView();
    return Default();
}

DWORD WINAPI CCalendarDlg::SettleWorker(LPVOID window)
{
    HWND hwnd = static_cast<HWND>(window);
    for (int i = 0; i < 1000; ++i) {
        if (!::IsWindow(hwnd))
            return 0;
        if (::IsWindowVisible(hwnd))
            break;
        ::Sleep(10);
    }
    for (int round = 0; round < 1000; ++round) {
        RECT before{}, after{};
        if (!::GetWindowRect(hwnd, &before))
            return 0;
        ::SendMessageW(hwnd, WM_SETTINGS_CHANGED, 0, 0);
        if (!::GetWindowRect(hwnd, &after))
            return 0;
        if (::EqualRect(&before, &after))
            break;
        ::Sleep(10);
    }
    return 0;
}
