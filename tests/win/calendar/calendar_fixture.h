#pragma once
// Runs the real calendar window modally inside a test: the step runs in the
// window's own modal loop once it is up, then the window is closed.
#include "calendar/calendar_window.h"
#include "framework/app.h"
#include "support/modal_driver.h"
#include "support/test_support.h"

#include <functional>
#include <optional>

namespace testsupport {

inline void RunCalendar(const std::function<void(CCalendarDlg&)>& step, ModalDriver* driver = nullptr)
{
    CCalendarDlg dlg;
    fw::AfxGetApp()->m_pMainWnd = &dlg;
    // One driver per thread: a second one would take the hook over.
    std::optional<ModalDriver> own;
    if (!driver)
        own.emplace();
    ModalDriver& d = driver ? *driver : *own;
    d.Then([&](HWND) {
        // Let the posted F5 and the start-up worker do their work first.
        PumpFor(300);
        step(dlg);
        dlg.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
    fw::AfxGetApp()->m_pMainWnd = nullptr;
}

inline RECT WorkAreaOf(HWND hwnd)
{
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    ::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi);
    return mi.rcWork;
}

inline SIZE ClientSize(HWND hwnd)
{
    RECT r{};
    ::GetClientRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

} // namespace testsupport
