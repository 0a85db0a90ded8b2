#pragma once
// What a dialog does around each setting it writes: it tells the calendar
// window once the value is stored, and tells the user once per action
// whose value did not reach the profile (the store itself shows nothing).
#include <windows.h>

// Sends `message` (WM_SETTINGS_CHANGED or WM_FONT_CHANGED) to the main
// window: the calendar has re-read the store when this returns. Without a
// main window there is nobody to tell.
void NotifyCalendar(UINT message);

// The message that a setting could not be saved, naming the profile.
void ReportSaveFailure();
