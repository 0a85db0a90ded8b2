#pragma once
// Date arithmetic that only the tests need, as oracles for what core/ and
// the grid do: month distances and the number of ISO weeks of a year.
#include <algorithm>
#include <chrono>

#include "core/dates.h"

namespace oracle {

// Signed number of months from `from` to `to`, both pulled into core's range.
inline int MonthsBetween(std::chrono::year_month from, std::chrono::year_month to)
{
    auto serial = [](std::chrono::year_month ym) {
        const std::chrono::year_month c = core::ClampMonth(ym);
        return static_cast<long long>(static_cast<int>(c.year())) * 12 + static_cast<unsigned>(c.month()) - 1;
    };
    return static_cast<int>(serial(to) - serial(from));
}

// 52 or 53: 28 December always lies in the year's last week.
inline unsigned IsoWeeksInYear(int isoYear)
{
    using namespace std::chrono;
    isoYear = std::clamp(isoYear, static_cast<int>(year::min()), static_cast<int>(year::max()));
    return core::IsoWeekOf(sys_days{year{isoYear} / December / 28}).week;
}

} // namespace oracle
