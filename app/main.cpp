// The program's entry point and its one application object.
#include "app/calendar_app.h"

CCalendarApp theApp;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCmd)
{
    return fw::AfxWinMain(instance, showCmd);
}
