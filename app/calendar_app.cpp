#include "app/calendar_app.h"

#include "calendar/calendar_window.h"
#include "monthgrid/monthgrid.h"

#include <commctrl.h>

BOOL CCalendarApp::InitInstance()
{
    // Control hosting: the calendar window's template creates the month grid
    // by its class name, and a dialog with an unregistered control class
    // fails to create at all.
    // Without it the calendar window cannot be created: the program ends
    // here, as it would when that creation failed.
    if (!monthgrid::RegisterMonthGridClass(m_hInstance))
        return FALSE;
    // The controls' three-dimensional look comes from the visual-styles
    // manifest; the common controls only need to be loaded.
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);

    {
        CCalendarDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
    }
    // No message loop of our own: the program ends here.
    return FALSE;
}
