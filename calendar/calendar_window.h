#pragma once
// The calendar window: the program's one main window. A dialog whose client
// area is the month view; it fits itself around the grid, keeps a clock in
// its caption and offers its commands through the system menu, a context
// menu, F5 and a double-click on the caption.
#include "app/startup_failure.h"
#include "framework/dialog.h"
#include "framework/dispatch_driver.h"
#include "framework/handles.h"
#include "monthview/month_view.h"

#include <ocidl.h>
#include <olectl.h>

#include <optional>
#include <string>

class CAboutDlg : public fw::CDialog {
public:
    CAboutDlg();
};

class CCalendarDlg : public fw::WithMessageMap<CCalendarDlg, fw::CDialog> {
public:
    // How the start-up worker's thread is made: CreateThread, unless a test
    // hands in one that fails.
    using ThreadStart = decltype(&::CreateThread);

    explicit CCalendarDlg(ThreadStart createThread = &::CreateThread);
    ~CCalendarDlg() override;

    // Set when the window's own initialisation failed so that it cannot run
    // (it then closes before it is shown, and DoModal answers -1).
    const std::optional<StartupError>& StartupFailure() const { return m_startupFailure; }

    // Re-reads every setting, pushes it to the month view, lets the view
    // take its natural size and fits and centres the window around it.
    LRESULT ApplyCalendarSettings(WPARAM = 0, LPARAM = 0);
    // Turns the stored font record into a font object for the month view.
    void ApplyCalendarFont();
    LRESULT OnFontChanged(WPARAM, LPARAM);
    // Writes the clock into the caption, for now or for a given instant.
    void UpdateTitleClock();
    void UpdateTitleClockAt(const SYSTEMTIME& now);

    // Waits for the window to show, then re-applies the layout until the
    // window's rectangle stops changing. Its argument is the window handle:
    // it never touches the C++ object, which may be gone by then.
    static DWORD WINAPI SettleWorker(LPVOID window);

    CMonthView& MonthView() { return m_monthView; }
    IDispatch* CurrentFont() const { return m_font.m_lpDispatch; }

    static const fw::MessageMap<CCalendarDlg, 19> kMessageMap;

protected:
    void DoDataExchange(fw::CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnOK() override;

private:
    void OnSysCommand(UINT id, LPARAM l);
    void OnAbout();
    void OnParameters();
    void OnHolidays();
    void OnRefresh();
    void OnProgramEnd();
    void OnMinimize();
    void OnNcLButtonDblClk(UINT hitTest, POINT pt);
    void OnTimer(UINT_PTR id);
    void OnTimeChange();
    LRESULT OnSettingChange(WPARAM, LPARAM);
    LRESULT OnPowerBroadcast(WPARAM event, LPARAM);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    LRESULT OnSettingsChanged(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnSysColorChange(WPARAM w, LPARAM l);
    LRESULT OnDpiChanged(WPARAM, LPARAM suggested);
    void FitToMonthView();
    void ShowContextMenu(POINT client);
    // The caption clock's tick: the caption follows the clock, and the
    // next tick is set from the same reading (title_clock.cpp).
    void TickTitleClock();
    void ArmClockTimer(const SYSTEMTIME& now);
    void WaitForWorker();
    void FailStartup(StartupError error);

    fw::COleDispatchDriver m_font; // the one reference to the month view's font
    CMonthView m_monthView;
    HICON m_hIcon;
    fw::UniqueKernelHandle m_worker; // the start-up worker, while it may run
    ThreadStart m_createThread;
    std::optional<StartupError> m_startupFailure;
    // A layout pass while minimised fits the frame only once restored: the
    // rectangles of a minimised window are not the ones to fit.
    bool m_fitPending = false;
    // The instant the caption shows (to the second), and whether in the
    // short form.
    std::optional<SYSTEMTIME> m_shown;
    bool m_shownShort = false;
    // The monitor a change of DPI moves the window to, while that change's
    // layout pass runs; otherwise null (the monitor the window is on).
    HMONITOR m_dpiMonitor = nullptr;
};

// Where the calendar window reads the local time: GetLocalTime, or a clock
// a test puts in; null goes back to the platform's.
using LocalClock = void(WINAPI*)(LPSYSTEMTIME);
void SetCaptionClock(LocalClock clock);
void ReadCaptionClock(SYSTEMTIME& now);

// A new OLE font object (IFontDisp, one reference for the caller) made from
// a GDI font, or from the stock GUI font when `font` is null; null when no
// font can be had. The font given is not deleted.
IFontDisp* CreateOleFont(HFONT font);

// The font object's description of a LOGFONT at a vertical resolution:
// the face name converted from the ANSI code page within its 32 bytes
// (into `name`, which must outlive the result), the size in points as
// |lfHeight| x 720000 / dpi computed exactly, weight, character set and
// the three effects.
FONTDESC DescribeFont(const LOGFONTA& lf, int dpi, std::wstring& name);

inline constexpr UINT_PTR kClockTimerId = 100;
