#include "core/calendar_text.h"

#include "core/dates.h"

#include <algorithm>
#include <cwchar>
#include <iterator>

namespace core {

using namespace std::chrono;

namespace {

constexpr std::wstring_view kDash = L" \u2013 ";

// The days whose whole week chrono can still name: a week is asked for
// Monday to Sunday, so a week away from either end of its year range.
sys_days Representable(sys_days day)
{
    constexpr sys_days kFirst = sys_days{year::min() / January / 1} + days{6};
    constexpr sys_days kLast = sys_days{year::max() / December / 31} - days{6};
    return std::clamp(day, kFirst, kLast);
}

std::wstring Number(long long value) { return std::to_wstring(value); }

// "7. Dezember 2026", "7. Dezember" or "7."
std::wstring DayText(const year_month_day& ymd, bool withMonth, bool withYear)
{
    std::wstring text = Number(static_cast<unsigned>(ymd.day())) + L'.';
    if (withMonth)
        text.append(L" ").append(MonthName(ymd.month()));
    if (withYear)
        text.append(L" ").append(Number(static_cast<int>(ymd.year())));
    return text;
}

} // namespace

std::wstring HolidayListLine(const Holiday& holiday)
{
    const sys_days day = Representable(holiday.date);
    const year_month_day ymd{day};
    wchar_t date[32];
    std::swprintf(date, std::size(date), L"%02u.%02u.%04d", static_cast<unsigned>(ymd.day()),
                  static_cast<unsigned>(ymd.month()), static_cast<int>(ymd.year()));
    std::wstring text;
    text.reserve(16 + holiday.name.size());
    text.append(WeekdayAbbreviation(weekday{day}))
        .append(L" ")
        .append(date)
        .append(L"  ")
        .append(holiday.name);
    return text;
}

std::wstring WeekTooltip(sys_days day)
{
    day = Representable(day);
    const sys_days monday = day - days{WeekdayIndex(weekday{day})};
    const year_month_day first{monday}, last{monday + days{6}};
    const bool sameYear = first.year() == last.year();
    const bool sameMonth = sameYear && first.month() == last.month();
    return L"Woche " + Number(IsoWeekOf(monday).week) + L": " + DayText(first, !sameMonth, !sameYear) +
           std::wstring(kDash) + DayText(last, true, true);
}

std::wstring DayAccessibleName(sys_days day)
{
    day = Representable(day);
    return std::wstring(WeekdayName(weekday{day})) + L", " + DayText(year_month_day{day}, true, true);
}

std::wstring DayAccessibleDescription(sys_days day, bool today, const HolidayNames& holidays)
{
    std::wstring text = L"Woche " + Number(IsoWeekOf(Representable(day)).week);
    if (today)
        text += L", heute";
    if (!holidays.empty()) {
        text += holidays.size() == 1 ? L", Feiertag: " : L", Feiertage: ";
        text += holidays.Joined();
    }
    return text;
}

} // namespace core
