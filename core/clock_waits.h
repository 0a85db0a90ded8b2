#pragma once
// When the two clocks of the program look at the time again, computed from
// the local time of day alone, so that it is tested natively.
#include <chrono>
#include <optional>

namespace core {

// The caption clock fires just after each second boundary rather than
// every 1000 ms: a free-running timer drifts until one second shows twice
// and the next is skipped. `intoSecond` is the milliseconds part of now.
inline constexpr std::chrono::milliseconds kTickSlack{20};
std::chrono::milliseconds UntilNextSecondTick(std::chrono::milliseconds intoSecond);

// The grid looks at the date again just past midnight, but at least once an
// hour, so that a day of 23 or 25 hours (daylight saving) or a machine that
// slept is caught up soon after; and not sooner than a second from now.
inline constexpr std::chrono::milliseconds kPastMidnight{500};
inline constexpr std::chrono::milliseconds kMaxDateCheckWait = std::chrono::hours{1};
inline constexpr std::chrono::milliseconds kMinDateCheckWait = std::chrono::seconds{1};
std::chrono::milliseconds UntilDateCheck(std::chrono::milliseconds timeOfDay);

// The day of a civil date as the platform's clock gives it; nothing when
// the fields do not form a valid date.
std::optional<std::chrono::sys_days> CivilDay(int year, unsigned month, unsigned day);

} // namespace core
