#pragma once
// The application object: prepares the platform, runs the calendar window
// as the program's whole life, and ends the program when it closes.
#include "framework/app.h"

class CCalendarApp : public fw::CWinApp {
public:
    CCalendarApp() = default;
    BOOL InitInstance() override;
};
