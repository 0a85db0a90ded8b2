#pragma once
// The month-grid component: a window class registered under a class-ID
// string, so that a dialog template can create it as a control, and a
// dispatch interface through which its host sets it up.
//
// Hosting. The window answers fw::ControlDispatchMessage() with an
// AddRef'ed IDispatch*. The members below are write-only properties
// (DISPATCH_PROPERTYPUT, the value as the one argument, named
// DISPID_PROPERTYPUT) and one method. Each argument is coerced to its type
// with VariantChangeTypeEx, so VT_BYREF and convertible types are taken.
//
//   DISPID  name               type         meaning
//    -513   ForeColor          VT_I4        day numbers and weekday header
//       8   MonthBackColor     VT_I4        behind the days
//    -501   BackColor          VT_I4        around and between the months
//      20   TitleBackColor     VT_I4        title bars, the selected day, week numbers
//      21   TitleForeColor     VT_I4        title text, arrows, the selected day's number
//      22   TrailingForeColor  VT_I4        days of the neighbouring months
//      18   ShowWeekNumbers    VT_BOOL      ISO week numbers left of each week
//       9   MonthColumns       VT_I2        months side by side
//      10   MonthRows          VT_I2        months one below another
//    -512   Font               VT_DISPATCH  an IFont(Disp), or null for the GUI font
//                                           (put or putref; the grid copies the
//                                           description and keeps no reference)
//      23   Value              VT_DATE      the selected day; its month is shown first.
//                                           "CurrentDate" names the same member.
//    -550   Refresh            method       sizes the window to the grid and repaints
//
// Colours are COLORREF values (0x00BBGGRR); an OLE system colour
// (0x800000nn) means GetSysColor(nn). Puts only store the value (a put that
// changes nothing does nothing); the window is repainted at the next Refresh,
// or by the message loop soon after the put, and takes its new size at the
// next Refresh. That size depends on the counts, the week-number switch and
// the font alone.
//
// Counts: columns and rows are kept as given and drawn through
// core::ClampGrid, so the grid shows 1..12 months whatever arrives.
//
// Errors of Invoke: DISP_E_UNKNOWNINTERFACE (riid not IID_NULL),
// DISP_E_MEMBERNOTFOUND (unknown DISPID, or a kind the member does not
// have: a get, a method call on a property, a put on Refresh),
// DISP_E_BADPARAMCOUNT, DISP_E_PARAMNOTFOUND (a named argument other than
// DISPID_PROPERTYPUT), DISP_E_NONAMEDARGS (named arguments to Refresh),
// DISP_E_TYPEMISMATCH / DISP_E_OVERFLOW with *puArgErr = 0 (argument not
// coercible, or a dispatch that is not a font), E_INVALIDARG (a date that is
// no OLE date), RPC_E_WRONG_THREAD (not the window's thread) and
// RPC_E_DISCONNECTED once the window is gone.
//
// Initial state. kLoadStateMessage (wParam = byte count, lParam = bytes),
// sent by a dialog's init data, hands the grid the 36-byte record of
// core/monthgrid_state.h (magic "MGS1", version, columns, rows, flags, six
// colours). Anything that is not exactly one well-formed record is ignored
// and the message answers FALSE. Until a record or a put arrives the grid
// shows 1 x 1 months with week numbers, black on white, grey titles.
//
// The user moves through the months with the title arrows, the mouse
// wheel, PageUp/PageDown (Ctrl: a year), the arrow keys and Home (today);
// a click selects a day. Right-clicks are left to the parent (WM_CONTEXTMENU).
#include <windows.h>

#include "core/grid_geometry.h"

namespace monthgrid {

inline constexpr wchar_t kClassName[] = L"{232E456A-87C3-11D1-8BE3-0000F8754DA1}";

// Dialog-init message that hands the control its initial state.
inline constexpr UINT kLoadStateMessage = WM_USER + 0x300;

// Read-only view of what the grid shows; lParam = GridInfo*, whose cbSize
// must be set. Answers TRUE when filled.
inline constexpr UINT kGetInfoMessage = WM_USER + 0x301;

struct GridInfo {
    UINT cbSize = sizeof(GridInfo);
    core::FontMetrics metrics;  // measured for the current font and DPI
    core::GridShape shape;      // as drawn, after core::ClampGrid
    bool showWeekNumbers = false;
    int firstYear = 0;  // the first (top-left) month shown
    int firstMonth = 0; // 1..12
    int selectedYear = 0;
    int selectedMonth = 0;
    int selectedDay = 0;
};

namespace dispid {
inline constexpr DISPID kForeColor = -513;         // DISPID_FORECOLOR
inline constexpr DISPID kMonthBackColor = 8;
inline constexpr DISPID kBackColor = -501;         // DISPID_BACKCOLOR
inline constexpr DISPID kMonthColumns = 9;
inline constexpr DISPID kMonthRows = 10;
inline constexpr DISPID kShowWeekNumbers = 18;
inline constexpr DISPID kTitleBackColor = 20;
inline constexpr DISPID kTitleForeColor = 21;
inline constexpr DISPID kTrailingForeColor = 22;
inline constexpr DISPID kValue = 23;
inline constexpr DISPID kFont = -512;              // DISPID_FONT
inline constexpr DISPID kRefresh = -550;           // DISPID_REFRESH
} // namespace dispid

// Registers the window class (idempotent). False when it cannot be registered.
bool RegisterMonthGridClass(HINSTANCE instance);

} // namespace monthgrid
