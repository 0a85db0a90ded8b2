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

// A screen reader asks for these by the hundred in one read of the grid:
// each text is made in one buffer, appended to, rather than from pieces.
void AppendNumber(std::wstring& text, long long value)
{
    wchar_t digits[24];
    int n = 0;
    unsigned long long rest = value < 0 ? 0ull - static_cast<unsigned long long>(value)
                                        : static_cast<unsigned long long>(value);
    do {
        digits[n++] = static_cast<wchar_t>(L'0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (value < 0)
        text += L'-';
    while (n > 0)
        text += digits[--n];
}

std::wstring Number(long long value)
{
    std::wstring text;
    AppendNumber(text, value);
    return text;
}

// "7. Dezember 2026", "7. Dezember" or "7."
void AppendDayText(std::wstring& text, const year_month_day& ymd, bool withMonth, bool withYear)
{
    AppendNumber(text, static_cast<unsigned>(ymd.day()));
    text += L'.';
    if (withMonth)
        text.append(L" ").append(MonthName(ymd.month()));
    if (withYear) {
        text += L' ';
        AppendNumber(text, static_cast<int>(ymd.year()));
    }
}

std::wstring DayText(const year_month_day& ymd, bool withMonth, bool withYear)
{
    std::wstring text;
    text.reserve(24);
    AppendDayText(text, ymd, withMonth, withYear);
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
    std::wstring text;
    text.reserve(40);
    text.append(WeekdayName(weekday{day})).append(L", ");
    AppendDayText(text, year_month_day{day}, true, true);
    return text;
}

std::wstring DayAccessibleDescription(sys_days day, bool today, const HolidayNames& holidays)
{
    std::wstring text;
    text.reserve(holidays.empty() ? 16 : 64);
    text.append(L"Woche ");
    AppendNumber(text, IsoWeekOf(Representable(day)).week);
    if (today)
        text += L", heute";
    if (!holidays.empty()) {
        text += holidays.size() == 1 ? L", Feiertag: " : L", Feiertage: ";
        text += holidays.Joined();
    }
    return text;
}

} // namespace core
