// What assistive technology sees of the grid and is told about it: the
// window's answer to WM_GETOBJECT (the objects are in grid_accessible.h),
// the events that follow the grid's changes, and the actions the objects
// take on the grid.
#include "monthgrid/month_grid_control.h"

#include <new>
#include <utility>

#include "framework/accessible.h"
#include "monthgrid/grid_accessible.h"
#include "monthgrid/grid_clock.h"

namespace monthgrid {

using namespace std::chrono;

LRESULT MonthGridControl::OnGetObject(WPARAM w, LPARAM objectId)
{
    if (!fw::AsksForClientObject(objectId))
        return Default();
    if (!m_pConnection)
        m_pConnection = new (std::nothrow) GridConnection(this, m_hWnd);
    IAccessible* grid = m_pConnection ? NewGridAccessible(m_pConnection) : nullptr;
    if (!grid)
        return Default();
    const LRESULT result = fw::LresultFromAccessible(grid, w);
    grid->Release();
    return result ? result : Default();
}

void MonthGridControl::DisconnectAccessible()
{
    // Clients may hold the objects longer than the window lives.
    if (GridConnection* connection = std::exchange(m_pConnection, nullptr)) {
        connection->Disconnect();
        connection->Release();
    }
}

MonthGridControl::Announced MonthGridControl::Observed() const
{
    Announced now;
    now.first = m_nav.First();
    now.count = m_nav.MonthCount();
    now.today = m_today;
    now.selected = m_nav.Selected();
    const year_month_day selected{now.selected};
    now.selectedShown = m_nav.Shows(selected.year() / selected.month());
    return now;
}

void MonthGridControl::AnnounceChanges()
{
    if (!m_hWnd)
        return;
    const Announced now = Observed();
    const Announced before = std::exchange(m_announced, now);

    if (now.first != before.first || now.count != before.count || now.today != before.today)
        fw::NotifyClientEvent(EVENT_OBJECT_REORDER, m_hWnd, CHILDID_SELF);
    if (now.selected == before.selected && now.selectedShown == before.selectedShown)
        return;
    if (now.selectedShown)
        fw::NotifyClientEvent(EVENT_OBJECT_SELECTION, m_hWnd, DayChildId(now.selected));
    if (m_bFocused)
        AnnounceFocus();
}

void MonthGridControl::AnnounceFocus()
{
    // The selected day has the focus while the tree holds it; scrolled out
    // of view, it leaves the focus with the grid itself.
    const sys_days selected = m_nav.Selected();
    const year_month_day ymd{selected};
    const bool shown = m_nav.Shows(ymd.year() / ymd.month());
    fw::NotifyClientEvent(EVENT_OBJECT_FOCUS, m_hWnd, shown ? DayChildId(selected) : CHILDID_SELF);
}

void MonthGridControl::SelectDay(sys_days day) { Changed(m_nav.Select(day)); }

void MonthGridControl::ScrollMonths(int months) { Changed(m_nav.Scroll(months)); }

void MonthGridControl::TakeFocus()
{
    if (m_hWnd && ::GetFocus() != m_hWnd)
        ::SetFocus(m_hWnd);
}

} // namespace monthgrid
