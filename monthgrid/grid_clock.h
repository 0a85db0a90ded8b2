#pragma once
// The grid's clock: today's date and the time of day come from here, and
// the timer that looks at the date again after midnight. Tests put a clock
// of their own in to drive the today mark across a date change.
#include <windows.h>

#include <chrono>

namespace monthgrid {

struct LocalTime {
    std::chrono::sys_days day;
    std::chrono::milliseconds timeOfDay{0};
};

using ClockSource = LocalTime (*)();

// The local time now, by the platform's clock or the one put in.
LocalTime Now();
inline std::chrono::sys_days Today() { return Now().day; }
// Replaces the platform's clock; null goes back to it.
void SetClockSource(ClockSource source);

// Looks at the date again just past midnight, and at least hourly.
class MidnightTimer {
public:
    static constexpr UINT_PTR kId = 1;
    static void Arm(HWND window);
};

} // namespace monthgrid
