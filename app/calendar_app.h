#pragma once
// The application object: prepares the platform, runs the calendar window
// as the program's whole life, and ends the program when it closes. Where
// start-up fails it tells the user and ends with the failed step's exit
// code (app/startup_failure.h).
#include "app/startup_failure.h"
#include "framework/app.h"
#include "monthgrid/monthgrid.h"

#include <commctrl.h>
#include <ole2.h>

// The platform calls of start-up that can fail. The program makes the real
// ones; a test hands the application a set in which one of them fails.
struct StartupCalls {
    HRESULT(WINAPI* oleInitialize)(LPVOID) = &::OleInitialize;
    bool (*registerGridClass)(HINSTANCE) = &monthgrid::RegisterMonthGridClass;
    BOOL(WINAPI* initCommonControls)(const INITCOMMONCONTROLSEX*) = &::InitCommonControlsEx;
    decltype(&::CreateThread) createThread = &::CreateThread;
};

class CCalendarApp : public fw::CWinApp {
public:
    explicit CCalendarApp(const StartupCalls& calls = {}) : m_calls(calls) {}
    BOOL InitInstance() override;

private:
    // Everything after OLE: the window class, the common controls and the
    // calendar window's whole run; a failure's report and exit code.
    void RunCalendar();
    void Fail(const StartupError& error);

    StartupCalls m_calls;
};
