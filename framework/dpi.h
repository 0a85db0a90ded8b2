#pragma once
// Dots per inch. The process declares itself per-monitor aware (version 2)
// where Windows offers it: a window then has the DPI of the monitor it is
// on, which may differ from the system DPI that GDI's logical inch
// (LOGPIXELSY) and the stock fonts keep for the whole session.
#include <windows.h>

namespace fw {

inline constexpr UINT kDefaultDpi = 96;

// The system DPI: GDI's logical inch, the same on every monitor.
UINT SystemDpi();
// The DPI `window` is shown at: GetDpiForWindow where the system has it,
// otherwise the system DPI.
UINT WindowDpi(HWND window);
// `px` pixels at 96 DPI, at `dpi` (rounded).
int ScaleForDpi(int px, UINT dpi);

// Where a window's DPI is read from instead of the system. Windows gives a
// window on another monitor that monitor's DPI (and then sends it
// WM_DPICHANGED); Wine keeps every window at the system DPI, so tests put a
// source of their own here to do what Windows would. Null (the default): the
// system's answer. Returns the previous source.
using WindowDpiSource = UINT (*)(HWND window);
WindowDpiSource SetWindowDpiSource(WindowDpiSource source);

// Keeps the dialog manager from resizing a dialog, laying out its controls
// and changing their fonts when its DPI changes (per-monitor v2 does that
// for templates): for a dialog that sizes itself. False where the system
// has no such behaviour to turn off.
bool DisableDialogDpiScaling(HWND dialog);

} // namespace fw
