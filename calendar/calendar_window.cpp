#include "calendar/calendar_window.h"

#include "resource.h"

CCalendarDlg::CCalendarDlg() : fw::CDialog(IDD_MORVELIN_DIALOG) {}
