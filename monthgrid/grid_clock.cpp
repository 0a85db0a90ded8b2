#include "monthgrid/grid_clock.h"

#include <atomic>

#include "core/clock_waits.h"

namespace monthgrid {

using namespace std::chrono;

namespace {

// What a broken clock reads as.
constexpr sys_days kFallbackDay{year{2000} / January / 1};

LocalTime PlatformNow()
{
    SYSTEMTIME st{};
    ::GetLocalTime(&st);
    const milliseconds timeOfDay =
        hours{st.wHour} + minutes{st.wMinute} + seconds{st.wSecond} + milliseconds{st.wMilliseconds};
    return {core::CivilDay(st.wYear, st.wMonth, st.wDay).value_or(kFallbackDay), timeOfDay};
}

std::atomic<ClockSource> g_source{nullptr};

} // namespace

LocalTime Now()
{
    const ClockSource source = g_source.load();
    return source ? source() : PlatformNow();
}

void SetClockSource(ClockSource source) { g_source = source; }

void MidnightTimer::Arm(HWND window)
{
    if (!window)
        return;
    const milliseconds wait = core::UntilDateCheck(Now().timeOfDay);
    ::SetTimer(window, kId, static_cast<UINT>(wait.count()), nullptr);
}

} // namespace monthgrid
