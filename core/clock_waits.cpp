#include "core/clock_waits.h"

#include <algorithm>

namespace core {

using namespace std::chrono;

milliseconds UntilNextSecondTick(milliseconds intoSecond)
{
    const milliseconds rest = seconds{1} - std::clamp(intoSecond, milliseconds{0}, milliseconds{999});
    return rest + kTickSlack;
}

milliseconds UntilDateCheck(milliseconds timeOfDay)
{
    const milliseconds untilMidnight = days{1} - timeOfDay + kPastMidnight;
    return std::clamp(untilMidnight, kMinDateCheckWait, kMaxDateCheckWait);
}

std::optional<sys_days> CivilDay(int y, unsigned m, unsigned d)
{
    const year_month_day ymd{year{y}, month{m}, day{d}};
    if (!ymd.ok())
        return std::nullopt;
    return sys_days{ymd};
}

} // namespace core
