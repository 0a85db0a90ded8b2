#include "app/calendar_app.h"

#include "calendar/calendar_window.h"
#include "framework/step_trace.h"

#include <optional>

BOOL CCalendarApp::InitInstance()
{
    // OLE for the month view's dispatch calls and the font objects.
    HRESULT ole = E_FAIL;
    {
        fw::StepScope step("app.ole");
        ole = m_calls.oleInitialize(nullptr);
    }
    if (FAILED(ole)) {
        Fail({StartupStep::Ole, static_cast<DWORD>(ole)});
        return FALSE;
    }
    RunCalendar();
    ::OleUninitialize();
    // No message loop of our own: the program ends here.
    return FALSE;
}

void CCalendarApp::RunCalendar()
{
    {
        // Control hosting: the calendar window's template creates the month
        // grid by its class name, and a dialog with an unregistered control
        // class fails to create at all.
        fw::StepScope step("app.grid_class");
        if (!m_calls.registerGridClass(m_hInstance)) {
            Fail({StartupStep::GridClass, ::GetLastError()});
            return;
        }
    }
    {
        // The controls' three-dimensional look comes from the visual-styles
        // manifest; the common controls only need to be loaded.
        fw::StepScope step("app.common_controls");
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
        if (!m_calls.initCommonControls(&icc)) {
            Fail({StartupStep::CommonControls, ::GetLastError()});
            return;
        }
    }

    std::optional<StartupError> failure;
    {
        CCalendarDlg dlg(m_calls.createThread);
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
        if (dlg.StartupFailure())
            failure = *dlg.StartupFailure();
        else if (dlg.LastOpenFailure() == fw::CDialog::OpenFailure::Template)
            failure = StartupError{StartupStep::WindowTemplate, dlg.LastOpenError()};
        else if (dlg.LastOpenFailure() == fw::CDialog::OpenFailure::Window)
            failure = StartupError{StartupStep::Window, dlg.LastOpenError()};
    }
    // Told once the window is gone, so that the message is the only thing
    // of the program on the screen.
    if (failure)
        Fail(*failure);
}

void CCalendarApp::Fail(const StartupError& error) { m_nExitCode = ReportStartupFailure(error); }
