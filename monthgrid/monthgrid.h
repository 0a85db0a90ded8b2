#pragma once
// The month-grid component: a window class registered under a class-ID
// string, so that a dialog template can create it as a control.
#include <windows.h>

namespace monthgrid {

inline constexpr wchar_t kClassName[] = L"{232E456A-87C3-11D1-8BE3-0000F8754DA1}";

// Dialog-init message that hands the control its initial state.
inline constexpr UINT kLoadStateMessage = WM_USER + 0x300;

// Registers the window class (idempotent). False when it cannot be registered.
bool RegisterMonthGridClass(HINSTANCE instance);

} // namespace monthgrid
