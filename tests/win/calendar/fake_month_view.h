#pragma once
// A stand-in for the month grid, registered under the grid's class name so
// that the calendar window's template creates it instead. It records every
// dispatch call and takes a predictable natural size on Refresh:
// 150 x 120 pixels per month, plus 40 pixels when week numbers are shown.
#include <windows.h>
#include <oaidl.h>

#include <utility>
#include <string>
#include <vector>

namespace fake {

struct Call {
    DISPID dispid;
    WORD flags;
    VARTYPE type;
    LONGLONG value; // integers, booleans (as 0/-1), dates as whole days
    IDispatch* object = nullptr;
    std::wstring text = {}; // strings
};

struct State {
    std::vector<Call> calls;
    int columns = 1, rows = 1;
    bool weekNumbers = false;
    int maxMonths = 0; // largest columns x rows ever set
    int refreshes = 0;
    HRESULT failFont = S_OK; // answer to a font put, for failure tests
    // The clock's messages that reached the grid: the date check and the
    // notices passed on (message, wParam).
    std::vector<std::pair<UINT, WPARAM>> clockMessages;
};

// Registers the stand-in class (replacing nothing: the real grid's class
// must not be registered in a test that uses this).
void Register();
State& Current();
void Reset();

inline constexpr int kMonthWidth = 150;
inline constexpr int kMonthHeight = 120;
inline constexpr int kWeekColumn = 40;

} // namespace fake
