#pragma once
// The calendar window: the program's one main window.
#include "framework/dialog.h"

class CCalendarDlg : public fw::CDialog {
public:
    CCalendarDlg();
};
