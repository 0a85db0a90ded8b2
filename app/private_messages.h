#pragma once
// The program's private messages to its main window, the calendar window.
// Both are sent synchronously, with zero parameters, and answered with 0.
#include <windows.h>

// "LogFont" was written: the calendar reloads its font and re-applies the
// layout.
inline constexpr UINT WM_FONT_CHANGED = WM_USER + 1;
// Any other key was written (also sent by the start-up worker): the
// calendar re-applies the layout.
inline constexpr UINT WM_SETTINGS_CHANGED = WM_USER + 2;
