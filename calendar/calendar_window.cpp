#include "calendar/calendar_window.h"

#include "app/private_messages.h"
#include "app/settings_store.h"
#include "core/clock_waits.h"
#include "core/dates.h"
#include "framework/app.h"
#include "framework/dpi.h"
#include "framework/exceptions.h"
#include "framework/handles.h"
#include "holidays/holiday_dialog.h"
#include "framework/step_trace.h"
#include "parameters/parameter_dialog.h"
#include "resource.h"

#include <oleauto.h>
#include <optional>
#include <windowsx.h>

namespace {

// How long closing waits for the start-up worker, and how often it looks.
constexpr DWORD kWorkerWaitMs = 5000;
constexpr DWORD kWorkerPollMs = 100;
// System commands carry flags in their low four bits.
constexpr UINT kSysCommandMask = 0xFFF0;

} // namespace

CAboutDlg::CAboutDlg() : fw::CDialog(IDD_ABOUTBOX) {}

decltype(CCalendarDlg::kMessageMap) CCalendarDlg::kMessageMap{
    fw::On<WM_SYSCOMMAND, &CCalendarDlg::OnSysCommand>(),
    fw::OnCommand<IDM_ABOUTBOX, &CCalendarDlg::OnAbout>(),
    fw::OnCommand<IDM_PARAMETER, &CCalendarDlg::OnParameters>(),
    fw::OnCommand<IDM_HOLIDAYS, &CCalendarDlg::OnHolidays>(),
    fw::OnCommand<IDM_REFRESH, &CCalendarDlg::OnRefresh>(),
    fw::OnCommand<ID_PROGRAM_END, &CCalendarDlg::OnProgramEnd>(),
    fw::OnCommand<ID_MINIMIZE, &CCalendarDlg::OnMinimize>(),
    fw::On<WM_NCLBUTTONDBLCLK, &CCalendarDlg::OnNcLButtonDblClk>(),
    fw::On<WM_TIMER, &CCalendarDlg::OnTimer>(),
    // Only top-level windows hear of the clock moving: the grid is told too.
    fw::OnNotice<WM_TIMECHANGE, &CCalendarDlg::OnTimeChange>(),
    fw::OnMessage<WM_SETTINGCHANGE, &CCalendarDlg::OnSettingChange>(),
    fw::OnMessage<WM_POWERBROADCAST, &CCalendarDlg::OnPowerBroadcast>(),
    fw::OnMessage<WM_FONT_CHANGED, &CCalendarDlg::OnFontChanged>(),
    fw::OnMessage<WM_SETTINGS_CHANGED, &CCalendarDlg::OnSettingsChanged>(),
    fw::On<WM_PAINT, &CCalendarDlg::OnPaint>(),
    fw::On<WM_QUERYDRAGICON, &CCalendarDlg::OnQueryDragIcon>(),
    fw::OnMessage<WM_SIZE, &CCalendarDlg::OnSize>(),
    fw::OnMessage<WM_SYSCOLORCHANGE, &CCalendarDlg::OnSysColorChange>(),
    fw::OnMessage<WM_DPICHANGED, &CCalendarDlg::OnDpiChanged>(),
};

CCalendarDlg::CCalendarDlg(ThreadStart createThread)
    : WithMessageMap(IDD_MORVELIN_DIALOG),
      m_hIcon(::LoadIconW(fw::AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_createThread(createThread)
{}

CCalendarDlg::~CCalendarDlg()
{
    // The window is gone by now, so the worker's next look at it ends it.
    WaitForWorker();
}

void CCalendarDlg::WaitForWorker()
{
    if (!m_worker)
        return;
    // Keep answering sent messages: the worker may be inside a
    // SendMessage to this thread right now. A worker that is merely slow
    // (a busy machine) is waited for up to the limit, not given up on at
    // the first quiet moment.
    const HANDLE worker = m_worker.get();
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < kWorkerWaitMs) {
        const DWORD r = ::MsgWaitForMultipleObjects(1, &worker, FALSE, kWorkerPollMs, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0 || r == WAIT_FAILED)
            break;
        if (r == WAIT_OBJECT_0 + 1) {
            MSG msg;
            ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
    m_worker.reset();
}

void CCalendarDlg::DoDataExchange(fw::CDataExchange* dx) { fw::DDX_Control(dx, IDC_MONTHVIEW, m_monthView); }

namespace {

// "Feiertage ..." directly below "Parameter ...": the menu resource stays
// as it is, the entry is the loaded copy's. Without its text, no entry.
void AddHolidaysEntry(HMENU popup)
{
    const std::wstring text = fw::AfxLoadString(IDS_HOLIDAYS);
    if (text.empty())
        return;
    const int count = ::GetMenuItemCount(popup);
    int at = 0;
    while (at < count && ::GetMenuItemID(popup, at) != IDM_PARAMETER)
        ++at;
    ::InsertMenuW(popup, at < count ? at + 1 : 0, MF_BYPOSITION | MF_STRING, IDM_HOLIDAYS, text.c_str());
}

void AppendSystemMenuEntry(HMENU menu, UINT stringId, UINT command)
{
    const std::wstring text = fw::AfxLoadString(stringId);
    if (text.empty())
        return;
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, command, text.c_str());
}

} // namespace

void CCalendarDlg::FailStartup(StartupError error)
{
    m_startupFailure = error;
    // Closed before it was ever shown; DoModal answers -1.
    EndDialog(-1);
}

BOOL CCalendarDlg::OnInitDialog()
{
    try {
        fw::StepScope step("init.controls");
        fw::CDialog::OnInitDialog();
    } catch (const std::exception&) {
        // Without its month view (a damaged template) the window has
        // nothing to show.
        FailStartup({StartupStep::WindowSetup});
        return TRUE;
    }

    // The month view covers the whole client area: the window's own paint
    // need not erase the area under it first (a screenful of pixels on
    // every paint, the first among them).
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(GetStyle() | WS_CLIPCHILDREN));

    if (HMENU sys = GetSystemMenu(FALSE)) {
        AppendSystemMenuEntry(sys, IDS_ABOUTBOX, IDM_ABOUTBOX);
        AppendSystemMenuEntry(sys, IDS_PARAMETER, IDM_PARAMETER);
        AppendSystemMenuEntry(sys, IDS_REFRESH, IDM_REFRESH);
    }

    // The small icon first: a big one set alone makes the platform scale a
    // small copy of it, which the small one would throw away again at
    // once (0.4 ms at start-up, measured under Wine).
    SetIcon(m_hIcon, FALSE);
    SetIcon(m_hIcon, TRUE);

    // The window fits itself to the grid at every DPI (OnDpiChanged): the
    // dialog manager must not scale the template's size over it.
    fw::DisableDialogDpiScaling(m_hWnd);

    // Each start-up step on its own: a failure is shown and the window
    // still comes up.
    fw::CallReporting([this] { ApplyCalendarFont(); });
    fw::CallReporting([this] { ApplyCalendarSettings(); });
    fw::CallReporting([this] {
        fw::StepScope step("init.date");
        SYSTEMTIME now;
        ReadCaptionClock(now);
        const auto today = core::CivilDay(now.wYear, now.wMonth, now.wDay);
        if (const auto date = today ? core::ToOleDate({*today}) : std::nullopt)
            m_monthView.SetCurrentDate(*date);
    });

    // One more layout pass through the pre-filter once the modal loop runs.
    PostMessage(WM_KEYDOWN, VK_F5, 0);

    TickTitleClock(); // the caption, then its timer

    // A window that the worker never settles is not what the user should
    // get: no thread to be had ends start-up.
    fw::StepScope step("init.worker");
    m_worker.reset(m_createThread(nullptr, 0, &SettleWorker, m_hWnd, 0, nullptr));
    if (!m_worker)
        FailStartup({StartupStep::Worker, ::GetLastError()});
    return TRUE;
}

BOOL CCalendarDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_F5) {
        ApplyCalendarSettings();
    } else if (msg->message == WM_RBUTTONDOWN) {
        // The position is in the client coordinates of the window that got
        // the click (normally the month view at our client origin).
        POINT pt{GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam)};
        ::ClientToScreen(msg->hwnd, &pt);
        ShowContextMenu(pt);
    }
    return fw::CDialog::PreTranslateMessage(msg);
}

void CCalendarDlg::ShowContextMenu(POINT screen)
{
    fw::UniqueMenu menu(::LoadMenuW(fw::AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_CONTEXT_MENU)));
    if (!menu)
        return;
    HMENU popup = ::GetSubMenu(menu.get(), 0);
    if (!popup)
        return;
    AddHolidaysEntry(popup);
    ::TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_LEFTALIGN, screen.x, screen.y, 0, m_hWnd, nullptr);
}

void CCalendarDlg::OnOK() { fw::CDialog::OnOK(); }

void CCalendarDlg::OnSysCommand(UINT id, LPARAM)
{
    switch (id & kSysCommandMask) {
    case IDM_ABOUTBOX:
        OnAbout();
        break;
    case IDM_PARAMETER:
        OnParameters();
        break;
    case IDM_REFRESH:
        ApplyCalendarSettings();
        break;
    default:
        Default();
        break;
    }
}

void CCalendarDlg::OnAbout()
{
    CAboutDlg dlg;
    dlg.DoModal();
}

void CCalendarDlg::OnParameters()
{
    CParameterDlg dlg;
    dlg.DoModal();
}

void CCalendarDlg::OnHolidays()
{
    // The list shows the holidays of the first year the grid shows.
    int year = 0;
    if (const std::optional<int> shown = m_monthView.FirstShownYear()) {
        year = *shown;
    } else {
        SYSTEMTIME now;
        ReadCaptionClock(now);
        year = now.wYear;
    }
    CHolidayDlg dlg(year);
    dlg.DoModal();
}

void CCalendarDlg::OnRefresh() { ApplyCalendarSettings(); }

void CCalendarDlg::OnProgramEnd() { EndDialog(IDOK); }

void CCalendarDlg::OnMinimize() { ShowWindow(SW_MINIMIZE); }

void CCalendarDlg::OnNcLButtonDblClk(UINT hitTest, POINT)
{
    // Never the default: a caption double-click would otherwise try to
    // maximise the window.
    if (hitTest == HTCAPTION)
        ApplyCalendarSettings();
}

void CCalendarDlg::OnTimer(UINT_PTR)
{
    TickTitleClock();
    // The grid's look at the date rides on the tick: a clock moved by a
    // time sync or a sleep sends no notice, and a timer of the grid's own
    // would wake the program a second time each second.
    m_monthView.CheckDate();
    Default();
}

void CCalendarDlg::OnTimeChange()
{
    m_monthView.PassOnNotice(WM_TIMECHANGE, 0, 0);
    TickTitleClock();
}

LRESULT CCalendarDlg::OnSettingChange(WPARAM w, LPARAM l)
{
    // A new time zone arrives as a setting, and so does a high-contrast
    // theme switched on or off, which the grid must follow at once.
    m_monthView.PassOnNotice(WM_SETTINGCHANGE, w, l);
    TickTitleClock();
    return Default();
}

LRESULT CCalendarDlg::OnPowerBroadcast(WPARAM event, LPARAM l)
{
    if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND) {
        m_monthView.PassOnNotice(WM_POWERBROADCAST, event, l);
        TickTitleClock();
    }
    return TRUE;
}

void CCalendarDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    fw::PaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0);
    const RECT client = GetClientRect();
    const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc.get(), x, y, m_hIcon);
}

HCURSOR CCalendarDlg::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(m_hIcon); }

LRESULT CCalendarDlg::OnSettingsChanged(WPARAM, LPARAM) { return ApplyCalendarSettings(); }

// Windows tells top-level windows only of changed system colours; the grid
// draws in a high-contrast theme's colours and must follow them at once.
LRESULT CCalendarDlg::OnSysColorChange(WPARAM w, LPARAM l)
{
    m_monthView.PassOnNotice(WM_SYSCOLORCHANGE, w, l);
    return Default();
}
