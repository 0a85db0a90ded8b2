// The grid window's messages. Input has its own file
// (month_grid_input.cpp), painting too (month_grid_paint.cpp).
#include "monthgrid/month_grid_control.h"

#include <span>

#include "framework/control_site.h"
#include "framework/step_trace.h"
#include "monthgrid/grid_clock.h"

namespace monthgrid {

using C = MonthGridControl;

decltype(MonthGridControl::kMessageMap) MonthGridControl::kMessageMap{
    fw::OnRegisteredMessage<&fw::ControlDispatchMessage, &C::OnGetDispatch>(),
    fw::OnMessage<WM_CREATE, &C::OnCreate>(),
    fw::OnMessage<kCatchUpMessage, &C::OnCatchUp>(),
    fw::OnMessage<kLoadStateMessage, &C::OnLoadState>(),
    fw::OnMessage<kGetInfoMessage, &C::OnGetInfo>(),
    fw::On<WM_PAINT, &C::OnPaint>(),
    fw::OnMessage<WM_PRINTCLIENT, &C::OnPrintClient>(),
    fw::OnMessage<WM_ERASEBKGND, &C::OnEraseBkgnd>(),
    fw::OnMessage<WM_SIZE, &C::OnSize>(),
    fw::OnMessage<WM_GETDLGCODE, &C::OnGetDlgCode>(),
    fw::OnMessage<WM_GETFONT, &C::OnGetFont>(),
    fw::On<WM_KEYDOWN, &C::OnKeyDown>(),
    fw::On<WM_LBUTTONDOWN, &C::OnLButtonDown>(),
    // A quick second click on an arrow is one more month.
    fw::On<WM_LBUTTONDBLCLK, &C::OnLButtonDown>(),
    fw::On<WM_MOUSEMOVE, &C::OnMouseMove>(),
    fw::On<WM_LBUTTONUP, &C::OnLButtonUp>(),
    fw::OnMessage<WM_CAPTURECHANGED, &C::OnCaptureChanged>(),
    fw::On<WM_MOUSEWHEEL, &C::OnMouseWheel>(),
    fw::On<WM_TIMER, &C::OnTimer>(),
    fw::OnMessage<WM_TIMECHANGE, &C::OnTimeChange>(),
    fw::OnMessage<WM_SETFOCUS, &C::OnFocusChange>(),
    fw::OnMessage<WM_KILLFOCUS, &C::OnFocusChange>(),
    // Changes that the next paint shows; the font is remade for a new DPI
    // at its next use.
    fw::OnNotice<WM_UPDATEUISTATE, &C::InvalidateAll>(),
    fw::OnNotice<WM_SYSCOLORCHANGE, &C::InvalidateAll>(),
    fw::OnNotice<WM_SETTINGCHANGE, &C::InvalidateAll>(),
    fw::OnNotice<WM_DISPLAYCHANGE, &C::InvalidateAll>(),
    fw::OnNotice<WM_DPICHANGED_AFTERPARENT, &C::InvalidateAll>(),
};

// The small handlers are inline: the map's entry is their one caller, and
// the program keeps no copy of them of their own.
inline LRESULT MonthGridControl::OnGetDispatch(WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>(NewDispatchReference());
}

inline LRESULT MonthGridControl::OnCreate(WPARAM, LPARAM)
{
    MidnightTimer::Arm(m_hWnd);
    return 0;
}

LRESULT MonthGridControl::OnCatchUp(WPARAM, LPARAM)
{
    m_repaint.SetCatchUpPosted(false);
    if (!m_repaint.Known() || !m_repaint.Shows(CurrentPaintState()))
        InvalidateAll();
    return 0;
}

LRESULT MonthGridControl::OnLoadState(WPARAM length, LPARAM bytes)
{
    if (!bytes)
        return FALSE;
    // The length is checked before a single byte is read.
    const auto state = core::DecodeMonthGridState(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes), length));
    if (!state)
        return FALSE;
    ApplyState(*state);
    InvalidateAll();
    return TRUE;
}

LRESULT MonthGridControl::OnGetInfo(WPARAM, LPARAM l)
{
    auto* info = reinterpret_cast<GridInfo*>(l);
    if (!info || info->cbSize != sizeof(GridInfo))
        return FALSE;
    FillInfo(*info);
    return TRUE;
}

void MonthGridControl::OnPaint()
{
    fw::StepScope step("grid.paint");
    fw::PaintDC dc(m_hWnd);
    m_repaint.PaintStarts();
    if (dc.get())
        Paint(dc.get(), dc.info().rcPaint, true);
    m_repaint.PaintEnded();
}

inline LRESULT MonthGridControl::OnPrintClient(WPARAM dc, LPARAM)
{
    Paint(reinterpret_cast<HDC>(dc), GetClientRect());
    return 0;
}

inline LRESULT MonthGridControl::OnEraseBkgnd(WPARAM, LPARAM)
{
    return 1; // Paint covers every pixel
}

inline LRESULT MonthGridControl::OnSize(WPARAM, LPARAM)
{
    InvalidateAll();
    return 0;
}

inline LRESULT MonthGridControl::OnGetDlgCode(WPARAM, LPARAM) { return DLGC_WANTARROWS; }

inline LRESULT MonthGridControl::OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(Font()); }

void MonthGridControl::OnTimer(UINT_PTR id)
{
    if (id == MidnightTimer::kId) {
        if (Today() != m_shownToday)
            InvalidateAll();
        MidnightTimer::Arm(m_hWnd);
    } else if (id == kRepeatTimer) {
        OnRepeatTimer();
    }
}

inline LRESULT MonthGridControl::OnTimeChange(WPARAM, LPARAM)
{
    MidnightTimer::Arm(m_hWnd);
    InvalidateAll();
    return 0;
}

inline LRESULT MonthGridControl::OnFocusChange(WPARAM, LPARAM)
{
    InvalidateAll();
    return 0;
}

} // namespace monthgrid
