// The grid window's messages. Input has its own file
// (month_grid_input.cpp), painting too (month_grid_paint.cpp).
#include "monthgrid/month_grid_control.h"

#include <span>

#include "framework/control_site.h"
#include "framework/step_trace.h"
#include "monthgrid/grid_clock.h"
#include "monthgrid/high_contrast.h"

namespace monthgrid {

using namespace std::chrono;
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
    // The clock: checked each second by the host, announced by the system.
    fw::OnMessage<kCheckDateMessage, &C::OnCheckDate>(),
    fw::OnMessage<WM_TIMECHANGE, &C::OnTimeChange>(),
    fw::OnNotice<WM_SETTINGCHANGE, &C::OnSettingChange>(),
    fw::OnMessage<WM_POWERBROADCAST, &C::OnPowerBroadcast>(),
    fw::OnMessage<WM_SETFOCUS, &C::OnSetFocus>(),
    fw::OnMessage<WM_KILLFOCUS, &C::OnKillFocus>(),
    fw::OnMessage<WM_GETOBJECT, &C::OnGetObject>(),
    fw::OnMessage<WM_NOTIFY, &C::OnNotify>(),
    fw::OnMessage<WM_DESTROY, &C::OnDestroy>(),
    // A high-contrast theme switched on or off, or its colours changed.
    fw::OnNotice<WM_SYSCOLORCHANGE, &C::OnThemeChange>(),
    // Changes that the next paint shows; the font is remade for a new DPI
    // at its next use.
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
    m_bHighContrast = HighContrastOn();
    m_announced = Observed(); // the tree comes with the window: nothing has changed yet
    return 0;
}

LRESULT MonthGridControl::OnCatchUp(WPARAM, LPARAM)
{
    m_repaint.SetCatchUpPosted(false);
    if (!m_repaint.Known() || !m_repaint.Shows(CurrentPaintState()))
        InvalidateAll();
    AnnounceChanges(); // a run of puts that changed the shape
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
    AnnounceChanges();
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
    // Before the paint begins, so that a date found changed invalidates
    // what this paint then covers rather than asking for another.
    FollowClock();
    fw::PaintDC dc(m_hWnd);
    m_repaint.PaintStarts();
    if (dc.get())
        Paint(dc.get(), dc.info().rcPaint);
    m_repaint.PaintEnded();
    // What the screen shows now is what the tooltips talk about.
    SyncTips();
}

inline LRESULT MonthGridControl::OnPrintClient(WPARAM dc, LPARAM)
{
    FollowClock();
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
        ClockMoved();
    } else if (id == kRepeatTimer) {
        OnRepeatTimer();
    }
}

sys_days MonthGridControl::Today()
{
    FollowClock();
    return m_today;
}

bool MonthGridControl::FollowClock()
{
    // Only the mark moves: the months shown and the selection stay where
    // the user left them, whatever the clock did.
    const sys_days today = monthgrid::Today();
    if (today == m_today)
        return false;
    m_today = today;
    InvalidateAll();
    // The wait for the next midnight was worked out from the old date.
    MidnightTimer::Arm(m_hWnd);
    AnnounceChanges(); // today's day is another
    return true;
}

void MonthGridControl::ClockMoved()
{
    if (!FollowClock())
        MidnightTimer::Arm(m_hWnd);
}

inline LRESULT MonthGridControl::OnCheckDate(WPARAM, LPARAM)
{
    // Every second: a look at the clock, and nothing more unless the date
    // changed (setting a timer each second would cost the idle machine).
    FollowClock();
    return 0;
}

inline LRESULT MonthGridControl::OnTimeChange(WPARAM, LPARAM)
{
    ClockMoved();
    return 0;
}

void MonthGridControl::OnSettingChange()
{
    // A new time zone comes as a setting; other settings may change how
    // the grid looks.
    ClockMoved();
    OnThemeChange();
}

inline LRESULT MonthGridControl::OnPowerBroadcast(WPARAM event, LPARAM)
{
    // Back from sleep or hibernation, perhaps days later.
    if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND)
        ClockMoved();
    return TRUE;
}

// The focus rectangle is drawn whenever the grid has the focus, whatever
// the window's UI state (UISF_HIDEFOCUS) says: the grid takes the arrow
// keys, so the dialog manager never sees the navigation key that would
// reveal hidden cues, and the mark sits inside the selected day's fill,
// where it costs a mouse user nothing.
inline LRESULT MonthGridControl::OnSetFocus(WPARAM, LPARAM)
{
    m_bFocused = true;
    InvalidateAll();
    AnnounceFocus();
    return 0;
}

inline LRESULT MonthGridControl::OnKillFocus(WPARAM, LPARAM)
{
    m_bFocused = false;
    InvalidateAll();
    return 0;
}

void MonthGridControl::OnThemeChange()
{
    m_bHighContrast = HighContrastOn();
    InvalidateAll();
}

inline LRESULT MonthGridControl::OnNotify(WPARAM, LPARAM l)
{
    auto* header = reinterpret_cast<NMHDR*>(l);
    if (header && header->hwndFrom == m_tips.Window() && m_tips.Window() && header->code == TTN_GETDISPINFOW)
        return OnTipText(*reinterpret_cast<NMTTDISPINFOW*>(l));
    return 0;
}

inline LRESULT MonthGridControl::OnDestroy(WPARAM, LPARAM)
{
    // The tooltip window is the grid's, not its top-level window's.
    m_tips.Destroy();
    return 0;
}

} // namespace monthgrid
