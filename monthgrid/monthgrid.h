#pragma once
// The month-grid component: a window class registered under a class-ID
// string, so that a dialog template can create it as a control, and a
// dispatch interface through which its host sets it up.
//
// Hosting. The window answers fw::ControlDispatchMessage() with an
// AddRef'ed IDispatch*. Its members are listed once, in `members` below:
// write-only properties (DISPATCH_PROPERTYPUT, the value as the one
// argument, named DISPID_PROPERTYPUT) and one method. Each argument is
// coerced to its member's type with VariantChangeTypeEx, so VT_BYREF and
// convertible types are taken.
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
// RPC_E_DISCONNECTED once the window is gone. A holiday region that is no
// Land's code is refused with E_INVALIDARG.
//
// Initial state. kLoadStateMessage (wParam = byte count, lParam = bytes),
// sent by a dialog's init data, hands the grid the 36-byte record of
// core/monthgrid_state.h (magic "MGS1", version, columns, rows, flags, six
// colours). Anything that is not exactly one well-formed record is ignored
// and the message answers FALSE. Until a record or a put arrives the grid
// shows what core::MonthGridState{} holds: 1 x 1 months with week numbers,
// black on white, grey titles.
//
// The user moves through the months with the title arrows, the mouse
// wheel, PageUp/PageDown (Ctrl: a year), the arrow keys and Home (today);
// a click selects a day. Right-clicks are left to the parent (WM_CONTEXTMENU).
// Resting the pointer on a holiday shows its name, on a week number the
// week's days, in the platform's tooltip.
#include <windows.h>
#include <olectl.h>

#include "core/grid_geometry.h"
#include "core/monthgrid_state.h"
#include "monthgrid/class_name.h"

namespace monthgrid {

inline constexpr wchar_t kClassName[] = L"" MONTHGRID_CLASS_NAME;

// Dialog-init message that hands the control its initial state.
inline constexpr UINT kLoadStateMessage = core::kMonthGridLoadStateMessage;
static_assert(kLoadStateMessage == WM_USER + 0x300);

// Read-only view of what the grid shows; lParam = GridInfo*, whose cbSize
// must be set. Answers TRUE when filled.
inline constexpr UINT kGetInfoMessage = WM_USER + 0x301;

// Today's date. The grid marks the day its clock (grid_clock.h) reads and
// follows the clock when it jumps. A clock that is set, changes its zone
// or wakes from sleep is announced only to top-level windows
// (WM_TIMECHANGE, WM_SETTINGCHANGE, WM_POWERBROADCAST): the host passes
// them on to the grid. A time sync or a sleep may move the clock without a
// word, so a host that wakes every second anyway sends kCheckDateMessage
// then (wParam, lParam 0; answers 0). Each of these repaints only when the
// date has changed; the months shown stay where the user left them.
inline constexpr UINT kCheckDateMessage = WM_USER + 0x302;

struct GridInfo {
    UINT cbSize = sizeof(GridInfo);
    core::FontMetrics metrics; // measured for the current font and DPI
    core::GridShape shape;     // as drawn, after core::ClampGrid
    bool showWeekNumbers = false;
    int firstYear = 0;  // the first (top-left) month shown
    int firstMonth = 0; // 1..12
    int selectedYear = 0;
    int selectedMonth = 0;
    int selectedDay = 0;
    int todayYear = 0; // the day marked as today
    int todayMonth = 0;
    int todayDay = 0;
};

// The colours the grid draws in.
enum class ColorSlot { Fore, MonthBack, Back, TitleBack, TitleFore, TrailingFore, HolidayFore, Count };

enum class MemberKind { Property, Method };

// One member of the dispatch interface: the grid's IDispatch answers names
// and DISPIDs from these, and CMonthView puts through them.
struct Member {
    DISPID dispid;
    const wchar_t* name;
    VARTYPE type; // what a put's argument is coerced to; VT_EMPTY for the method
    MemberKind kind = MemberKind::Property;
    ColorSlot slot = ColorSlot::Count; // colours only
};

namespace members {
// Day numbers and weekday header.
inline constexpr Member kForeColor{DISPID_FORECOLOR, L"ForeColor", VT_I4, MemberKind::Property,
                                   ColorSlot::Fore};
// Behind the days.
inline constexpr Member kMonthBackColor{8, L"MonthBackColor", VT_I4, MemberKind::Property,
                                        ColorSlot::MonthBack};
// Around and between the months.
inline constexpr Member kBackColor{DISPID_BACKCOLOR, L"BackColor", VT_I4, MemberKind::Property,
                                   ColorSlot::Back};
// Title bars, the selected day, week numbers.
inline constexpr Member kTitleBackColor{20, L"TitleBackColor", VT_I4, MemberKind::Property,
                                        ColorSlot::TitleBack};
// Title text, arrows, the selected day's number.
inline constexpr Member kTitleForeColor{21, L"TitleForeColor", VT_I4, MemberKind::Property,
                                        ColorSlot::TitleFore};
// Days of the neighbouring months.
inline constexpr Member kTrailingForeColor{22, L"TrailingForeColor", VT_I4, MemberKind::Property,
                                           ColorSlot::TrailingFore};
// ISO week numbers left of each week.
inline constexpr Member kShowWeekNumbers{18, L"ShowWeekNumbers", VT_BOOL};
// Months side by side.
inline constexpr Member kMonthColumns{9, L"MonthColumns", VT_I2};
// Months one below another.
inline constexpr Member kMonthRows{10, L"MonthRows", VT_I2};
// An IFont(Disp), or null for the GUI font; put or putref. The grid copies
// the description and keeps no reference.
inline constexpr Member kFont{DISPID_FONT, L"Font", VT_DISPATCH};
// The selected day; its month is shown first.
inline constexpr Member kValue{23, L"Value", VT_DATE};
// Another name of Value.
inline constexpr Member kCurrentDate{23, L"CurrentDate", VT_DATE};
// Sizes the window to the grid and repaints it.
inline constexpr Member kRefresh{DISPID_REFRESH, L"Refresh", VT_EMPTY, MemberKind::Method};
// Germany's public holidays (core/holidays.h), each day drawn bold in the
// holiday colour, with its name as a tooltip: on or off (off until put).
inline constexpr Member kShowHolidays{100, L"ShowHolidays", VT_BOOL};
// Whose holidays: a Land's two-letter code, either case, or "" for the
// nationwide ones (the start). Any other text is refused (E_INVALIDARG).
inline constexpr Member kHolidayRegion{101, L"HolidayRegion", VT_BSTR};
// The holidays' day numbers; 192 (dark red) until put.
inline constexpr Member kHolidayForeColor{102, L"HolidayForeColor", VT_I4, MemberKind::Property,
                                          ColorSlot::HolidayFore};

inline constexpr const Member* kAll[] = {&kForeColor,       &kMonthBackColor,
                                         &kBackColor,       &kTitleBackColor,
                                         &kTitleForeColor,  &kTrailingForeColor,
                                         &kShowWeekNumbers, &kMonthColumns,
                                         &kMonthRows,       &kFont,
                                         &kValue,           &kCurrentDate,
                                         &kRefresh,         &kShowHolidays,
                                         &kHolidayRegion,   &kHolidayForeColor};

// Each DISPID names one member; Value and CurrentDate are one member's two
// names.
constexpr bool DispidsAreDistinct()
{
    for (const Member* a : kAll) {
        for (const Member* b : kAll) {
            if (a != b && a->dispid == b->dispid && !(a->dispid == kValue.dispid && a->type == b->type))
                return false;
        }
    }
    return true;
}
static_assert(DispidsAreDistinct());
} // namespace members

// The member of a DISPID (the first of its names), or null.
const Member* FindMember(DISPID dispid);

// Registers the window class (idempotent). False when it cannot be registered.
bool RegisterMonthGridClass(HINSTANCE instance);

} // namespace monthgrid
