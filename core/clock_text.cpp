#include "core/clock_text.h"

#include "core/dates.h"

#include <cwchar>

namespace core {

std::wstring GermanLongDate(const CivilTime& t)
{
    // The platform counts from Sunday, as chrono does.
    const std::wstring_view weekday = WeekdayName(std::chrono::weekday{t.weekday % 7});
    const std::wstring_view month =
        (t.month >= 1 && t.month <= 12) ? kMonthNames[t.month - 1] : std::wstring_view();
    wchar_t numbers[64];
    std::swprintf(numbers, std::size(numbers), L"%04d  %02u:%02u:%02u", t.year, t.hour % 100, t.minute % 100,
                  t.second % 100);
    wchar_t day[8];
    std::swprintf(day, std::size(day), L"%02u", t.day % 100);
    std::wstring text;
    text.reserve(48);
    text.append(weekday).append(L", ").append(day).append(L". ").append(month).append(L" ").append(numbers);
    return text;
}

} // namespace core
