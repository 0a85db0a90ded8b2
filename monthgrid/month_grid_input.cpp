// The user's moves: keys, clicks on days and on the title arrows (held
// down, an arrow repeats), and the mouse wheel. Each maps onto a
// core::GridNavigation operation; the window repaints when one changed
// what the grid shows.
#include "monthgrid/month_grid_control.h"

#include "monthgrid/grid_clock.h"

namespace monthgrid {

namespace {

// A held title arrow scrolls once at the press, again after the first
// delay and then at every interval while the pointer stays on it.
constexpr UINT kRepeatDelayMs = 400;
constexpr UINT kRepeatIntervalMs = 120;
constexpr int kDaysPerWeek = 7;
constexpr int kMonthsPerYear = 12;

} // namespace

void MonthGridControl::Changed(bool changed)
{
    if (!changed)
        return;
    InvalidateAll();
    AnnounceChanges();
}

void MonthGridControl::OnKeyDown(UINT key)
{
    const int pageMonths = ::GetKeyState(VK_CONTROL) < 0 ? kMonthsPerYear : 1;
    switch (key) {
    case VK_LEFT:
        Changed(m_nav.MoveByDays(-1));
        break;
    case VK_RIGHT:
        Changed(m_nav.MoveByDays(1));
        break;
    case VK_UP:
        Changed(m_nav.MoveByDays(-kDaysPerWeek));
        break;
    case VK_DOWN:
        Changed(m_nav.MoveByDays(kDaysPerWeek));
        break;
    case VK_PRIOR:
        Changed(m_nav.MoveByMonths(-pageMonths));
        break;
    case VK_NEXT:
        Changed(m_nav.MoveByMonths(pageMonths));
        break;
    case VK_HOME:
        Changed(m_nav.GoToToday(Today()));
        break;
    default:
        break;
    }
}

void MonthGridControl::OnLButtonDown(POINT p)
{
    if (::GetFocus() != m_hWnd)
        ::SetFocus(m_hWnd);
    if (!m_hWnd)
        return;
    const core::HitResult hit = Layout().HitTest({p.x, p.y});
    switch (hit.kind) {
    case core::HitKind::PrevArrow:
    case core::HitKind::NextArrow:
        m_nRepeatDirection = hit.kind == core::HitKind::PrevArrow ? -1 : 1;
        m_bRepeatOverArrow = true;
        Changed(m_nav.Scroll(m_nRepeatDirection));
        ::SetCapture(m_hWnd);
        ::SetTimer(m_hWnd, kRepeatTimer, kRepeatDelayMs, nullptr);
        break;
    case core::HitKind::Day: {
        const core::MonthLayout month = core::LayoutMonth(core::AddMonths(m_nav.First(), hit.month));
        const auto& cell = month.cells[static_cast<std::size_t>(hit.line * kDaysPerWeek + hit.weekday)];
        Changed(m_nav.Select(cell.date));
        break;
    }
    default:
        break;
    }
}

void MonthGridControl::OnMouseMove(POINT p)
{
    if (m_nRepeatDirection == 0)
        return;
    const core::HitKind arrow = m_nRepeatDirection < 0 ? core::HitKind::PrevArrow : core::HitKind::NextArrow;
    m_bRepeatOverArrow = Layout().HitTest({p.x, p.y}).kind == arrow;
}

LRESULT MonthGridControl::OnCaptureChanged(WPARAM, LPARAM)
{
    if (m_nRepeatDirection != 0) {
        m_nRepeatDirection = 0;
        ::KillTimer(m_hWnd, kRepeatTimer);
    }
    return 0;
}

void MonthGridControl::StopRepeat()
{
    if (m_nRepeatDirection == 0)
        return;
    m_nRepeatDirection = 0;
    ::KillTimer(m_hWnd, kRepeatTimer);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

void MonthGridControl::OnRepeatTimer()
{
    if (m_nRepeatDirection == 0) {
        ::KillTimer(m_hWnd, kRepeatTimer);
        return;
    }
    if (m_bRepeatOverArrow)
        Changed(m_nav.Scroll(m_nRepeatDirection));
    ::SetTimer(m_hWnd, kRepeatTimer, kRepeatIntervalMs, nullptr);
}

void MonthGridControl::OnMouseWheel(int delta)
{
    // Turning the wheel away from the user goes back in time, as scrolling
    // up does in a list.
    if (const int notches = m_wheel.Add(delta); notches != 0)
        Changed(m_nav.Scroll(-notches));
}

} // namespace monthgrid
