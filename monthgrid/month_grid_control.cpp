// The grid's state and size: its object's lifetime, the properties its host
// puts, the initial state of a dialog's init data, and fitting the window to
// the grid.
#include "monthgrid/month_grid_control.h"

#include <algorithm>
#include <iterator>
#include <new>
#include <span>

#include "framework/dpi.h"
#include "monthgrid/grid_clock.h"
#include "monthgrid/month_grid_dispatch.h"

namespace monthgrid {

using namespace std::chrono;

namespace {

// A host watching the resize may change the frame again; the client area
// is fitted a few times at most.
constexpr int kResizeAttempts = 3;
// The holidays' colour until one is put: a dark red.
constexpr COLORREF kDefaultHolidayColor = RGB(192, 0, 0);

} // namespace

MonthGridControl::MonthGridControl() : m_today(monthgrid::Today()), m_nav(m_today)
{
    m_colors[static_cast<int>(ColorSlot::HolidayFore)] = kDefaultHolidayColor;
    ApplyState(core::MonthGridState{});
}

MonthGridControl::~MonthGridControl()
{
    DisconnectDispatch();
    DisconnectAccessible();
}

void MonthGridControl::PostNcDestroy()
{
    DisconnectDispatch();
    DisconnectAccessible();
}

IDispatch* MonthGridControl::NewDispatchReference()
{
    if (!m_pDispatch)
        m_pDispatch = new (std::nothrow) GridDispatch(this);
    if (m_pDispatch)
        m_pDispatch->AddRef();
    return m_pDispatch;
}

void MonthGridControl::DisconnectDispatch()
{
    // The host may hold the interface longer than the window lives.
    if (GridDispatch* dispatch = std::exchange(m_pDispatch, nullptr)) {
        dispatch->Disconnect();
        dispatch->Release();
    }
}

void MonthGridControl::ApplyState(const core::MonthGridState& state)
{
    m_colors[static_cast<int>(ColorSlot::Fore)] = state.foreColor;
    m_colors[static_cast<int>(ColorSlot::MonthBack)] = state.monthBackColor;
    m_colors[static_cast<int>(ColorSlot::Back)] = state.backColor;
    m_colors[static_cast<int>(ColorSlot::TitleBack)] = state.titleBackColor;
    m_colors[static_cast<int>(ColorSlot::TitleFore)] = state.titleForeColor;
    m_colors[static_cast<int>(ColorSlot::TrailingFore)] = state.trailingForeColor;
    m_bShowWeekNumbers = state.ShowWeekNumbers();
    SetShape(state.columns, state.rows);
}

void MonthGridControl::SetShape(int columns, int rows)
{
    m_nColumns = columns;
    m_nRows = rows;
    const core::GridShape shape = core::ClampGrid(m_nColumns, m_nRows);
    m_nav.SetMonthCount(shape.columns * shape.rows);
}

void MonthGridControl::FillInfo(GridInfo& info)
{
    info.metrics = m_font.Metrics(m_hWnd, CurrentDpi());
    info.shape = core::ClampGrid(m_nColumns, m_nRows);
    info.showWeekNumbers = m_bShowWeekNumbers;
    const year_month first = m_nav.First();
    info.firstYear = static_cast<int>(first.year());
    info.firstMonth = static_cast<int>(static_cast<unsigned>(first.month()));
    const year_month_day sel{m_nav.Selected()};
    info.selectedYear = static_cast<int>(sel.year());
    info.selectedMonth = static_cast<int>(static_cast<unsigned>(sel.month()));
    info.selectedDay = static_cast<int>(static_cast<unsigned>(sel.day()));
    const year_month_day today{m_today};
    info.todayYear = static_cast<int>(today.year());
    info.todayMonth = static_cast<int>(static_cast<unsigned>(today.month()));
    info.todayDay = static_cast<int>(static_cast<unsigned>(today.day()));
}

void MonthGridControl::InvalidateAll()
{
    if (!m_hWnd)
        return;
    m_repaint.WholeWindowInvalid();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

// Property puts leave the invalidation to a message of their own, posted
// once for a run of puts. A host's layout pass puts every property each
// time, columns to 1 and back among them, and usually ends where it
// started: invalidating on each put would repaint the whole grid for
// nothing. A Refresh in the same run repaints at once if anything changed.
void MonthGridControl::PropertyChanged()
{
    if (!m_hWnd || m_repaint.CatchUpPosted())
        return;
    if (::PostMessageW(m_hWnd, kCatchUpMessage, 0, 0))
        m_repaint.SetCatchUpPosted(true);
    else
        InvalidateAll();
}

void MonthGridControl::SetColor(ColorSlot slot, COLORREF color)
{
    const int i = static_cast<int>(slot);
    if (i < 0 || i >= static_cast<int>(m_colors.size()) || m_colors[i] == color)
        return;
    m_colors[i] = color;
    PropertyChanged();
}

void MonthGridControl::SetShowWeekNumbers(bool show)
{
    if (m_bShowWeekNumbers == show)
        return;
    m_bShowWeekNumbers = show;
    PropertyChanged();
}

void MonthGridControl::SetShowHolidays(bool show)
{
    if (m_bShowHolidays == show)
        return;
    m_bShowHolidays = show;
    PropertyChanged();
}

void MonthGridControl::SetHolidayRegion(core::Region region)
{
    if (m_holidays.GetRegion() == region)
        return;
    m_holidays.SetRegion(region);
    PropertyChanged();
}

core::HolidayNames MonthGridControl::HolidayNamesOn(sys_days day) const
{
    return m_bShowHolidays ? m_holidays.NamesOf(day) : core::HolidayNames{};
}

std::uint32_t MonthGridControl::HolidaysIn(year_month ym) const
{
    return m_bShowHolidays ? m_holidays.DaysIn(ym) : 0;
}

void MonthGridControl::SetColumns(int columns)
{
    if (m_nColumns == columns)
        return;
    SetShape(columns, m_nRows);
    PropertyChanged();
}

void MonthGridControl::SetRows(int rows)
{
    if (m_nRows == rows)
        return;
    SetShape(m_nColumns, rows);
    PropertyChanged();
}

void MonthGridControl::SetFont(const FontDescription* font)
{
    if (!m_font.Set(font))
        return;
    Font(); // made now, at the window's DPI
    PropertyChanged();
}

void MonthGridControl::SetCurrentDate(sys_days day)
{
    m_nav.SetCurrentDate(day);
    InvalidateAll();
    AnnounceChanges();
}

void MonthGridControl::Refresh()
{
    if (!m_hWnd)
        return;
    const core::Size size = Layout().TotalSize();
    const RECT now = GetClientRect();
    if (now.right - now.left != size.width || now.bottom - now.top != size.height)
        ResizeToGrid(size);
    if (!m_hWnd)
        return; // destroyed by whoever watched the resize
    // Repainting what is already on the screen would change no pixel.
    if (ShowsCurrentState())
        return;
    m_repaint.WholeWindowInvalid();
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void MonthGridControl::ResizeToGrid(core::Size size)
{
    // The client area, not the window, must get the grid's size: a border
    // given by the host's template is added around it.
    const LONG style = static_cast<LONG>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    const LONG exStyle = static_cast<LONG>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
    RECT want{0, 0, size.width, size.height};
    ::AdjustWindowRectEx(&want, static_cast<DWORD>(style), FALSE, static_cast<DWORD>(exStyle));
    int width = want.right - want.left;
    int height = want.bottom - want.top;
    for (int attempt = 0; attempt < kResizeAttempts; ++attempt) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (!m_hWnd)
            return;
        const RECT client = GetClientRect();
        const int dx = size.width - (client.right - client.left);
        const int dy = size.height - (client.bottom - client.top);
        if (dx == 0 && dy == 0)
            break;
        width += dx;
        height += dy;
    }
}

int MonthGridControl::CurrentDpi() const { return static_cast<int>(fw::WindowDpi(m_hWnd)); }

core::GridLayout MonthGridControl::Layout()
{
    return core::GridLayout(m_font.Metrics(m_hWnd, CurrentDpi()), m_nColumns, m_nRows, m_bShowWeekNumbers);
}

MonthGridControl* MonthGridControl::FromHandle(HWND hwnd)
{
    wchar_t name[64] = {};
    if (!hwnd || !::GetClassNameW(hwnd, name, static_cast<int>(std::size(name))) ||
        ::CompareStringOrdinal(name, -1, kClassName, -1, TRUE) != CSTR_EQUAL)
        return nullptr;
    // The window class keeps its object in the window's extra bytes
    // (fw::CWnd::RegisterOwnWindowClass).
    return dynamic_cast<MonthGridControl*>(reinterpret_cast<fw::CWnd*>(::GetWindowLongPtrW(hwnd, 0)));
}

bool RegisterMonthGridClass(HINSTANCE instance)
{
    return fw::CWnd::RegisterOwnWindowClass<MonthGridControl>(instance, kClassName, CS_DBLCLKS,
                                                              ::LoadCursorW(nullptr, IDC_ARROW),
                                                              nullptr); // Paint covers every pixel
}

} // namespace monthgrid
