#include "core/dates.h"

#include "core/grid_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>

namespace core {

using namespace std::chrono;

namespace {

// Months counted from year 0, so month arithmetic is plain integer maths.
// long long because a clamped-away year can be anything chrono holds.
long long SerialMonth(year_month ym)
{
    const long long m = std::clamp(static_cast<unsigned>(ym.month()), 1u, 12u);
    return static_cast<long long>(static_cast<int>(ym.year())) * 12 + (m - 1);
}

year_month FromSerialMonth(long long serial)
{
    serial = std::clamp(serial, SerialMonth(kFirstMonth), SerialMonth(kLastMonth));
    return year{static_cast<int>(serial / 12)} / month{static_cast<unsigned>(serial % 12 + 1)};
}

constexpr sys_days kOleEpoch = sys_days{year{1899} / December / 30};
constexpr sys_days kOleFirstDay = sys_days{year{100} / January / 1};
constexpr sys_days kOleLastDay = sys_days{year{9999} / December / 31};
constexpr long long kMsPerDay = 86'400'000;

} // namespace

std::wstring_view MonthName(month m)
{
    return m.ok() ? kMonthNames[static_cast<unsigned>(m) - 1] : std::wstring_view{};
}

std::wstring_view WeekdayName(weekday wd)
{
    return wd.ok() ? kWeekdayNames[WeekdayIndex(wd)] : std::wstring_view{};
}

std::wstring_view WeekdayAbbreviation(weekday wd)
{
    return wd.ok() ? kWeekdayAbbreviations[WeekdayIndex(wd)] : std::wstring_view{};
}

int FormatMonthTitle(year_month ym, wchar_t (&out)[32])
{
    ym = ClampMonth(ym);
    int n = 0;
    for (wchar_t ch : MonthName(ym.month()))
        out[n++] = ch;
    out[n++] = L' ';
    wchar_t digits[8];
    int d = 0;
    for (int y = std::max(0, static_cast<int>(ym.year())); d == 0 || y > 0; y /= 10)
        digits[d++] = static_cast<wchar_t>(L'0' + y % 10);
    while (d > 0)
        out[n++] = digits[--d];
    return n;
}

std::wstring MonthTitle(year_month ym)
{
    wchar_t text[32];
    return std::wstring(text, static_cast<std::size_t>(FormatMonthTitle(ym, text)));
}

unsigned WeekdayIndex(weekday wd) { return wd.ok() ? wd.iso_encoding() - 1 : 0; }

IsoWeek IsoWeekOf(sys_days day)
{
    // Keeps the day arithmetic below far from the limits of the day count.
    day = std::clamp(day, sys_days{year::min() / January / 1}, sys_days{year::max() / December / 28});
    // The Thursday of a week decides which year the week belongs to.
    const sys_days thursday = day + days{3 - static_cast<int>(WeekdayIndex(weekday{day}))};
    const year y = year_month_day{thursday}.year();
    const auto dayOfYear = (thursday - sys_days{y / January / 1}).count();
    return {static_cast<int>(y), static_cast<unsigned>(dayOfYear / 7 + 1)};
}

year_month ClampMonth(year_month ym) { return FromSerialMonth(SerialMonth(ym)); }

year_month AddMonths(year_month ym, int n) { return FromSerialMonth(SerialMonth(ClampMonth(ym)) + n); }

year_month ClampFirstMonth(year_month first, int monthCount)
{
    monthCount = std::clamp(monthCount, 1, kMaxMonths);
    return FromSerialMonth(
        std::min(SerialMonth(ClampMonth(first)), SerialMonth(kLastMonth) - (monthCount - 1)));
}

sys_days FirstDayOfMonth(year_month ym) { return sys_days{ClampMonth(ym) / 1}; }

unsigned DaysInMonth(year_month ym) { return static_cast<unsigned>((ClampMonth(ym) / last).day()); }

int MonthLayout::IndexOf(sys_days day) const
{
    // Compared before subtracting: the caller's day may lie anywhere in the
    // day count, where the difference itself would overflow.
    const sys_days first = cells.front().date;
    if (day < first || day >= first + days{std::ssize(cells)}) {
        return -1;
    }
    return static_cast<int>((day - first).count());
}

int LeadingDays(year_month ym)
{
    const unsigned leading = WeekdayIndex(weekday{FirstDayOfMonth(ClampMonth(ym))});
    return static_cast<int>(leading == 0 ? 7 : leading);
}

long long MonthsBetween(year_month from, year_month to) { return SerialMonth(to) - SerialMonth(from); }

MonthLayout LayoutMonth(year_month ym)
{
    MonthLayout layout;
    layout.month = ClampMonth(ym);
    const sys_days first = FirstDayOfMonth(layout.month);
    const sys_days afterLast = first + days{DaysInMonth(layout.month)};
    sys_days day = first - days{LeadingDays(layout.month)};

    for (std::size_t i = 0; i < layout.cells.size(); ++i, day += days{1}) {
        const MonthPart part = day < first       ? MonthPart::Previous
                               : day < afterLast ? MonthPart::Current
                                                 : MonthPart::Next;
        layout.cells[i] = {day, part};
    }
    for (std::size_t line = 0; line < layout.weekNumbers.size(); ++line) {
        layout.weekNumbers[line] = IsoWeekOf(layout.cells[line * MonthLayout::kDaysPerLine].date).week;
    }
    return layout;
}

std::optional<DateTime> FromOleDate(double value)
{
    // Bounds first: only a finite value well inside long long may be cast.
    // -657434.x still lies on 1 Jan 100, since the fraction counts forward.
    if (!std::isfinite(value) || value <= -657435.0 || value >= 2958466.0) {
        return std::nullopt;
    }
    const double whole = std::trunc(value);
    long long ms = std::llround(std::fabs(value - whole) * kMsPerDay);
    sys_days day = kOleEpoch + days{static_cast<long long>(whole)};
    if (ms >= kMsPerDay) { // rounded up to the next midnight
        ms -= kMsPerDay;
        day += days{1};
    }
    if (day < kOleFirstDay || day > kOleLastDay) {
        return std::nullopt;
    }
    return DateTime{day, milliseconds{ms}};
}

std::optional<double> ToOleDate(const DateTime& dt)
{
    if (dt.day < kOleFirstDay || dt.day > kOleLastDay) {
        return std::nullopt;
    }
    const auto whole = static_cast<double>((dt.day - kOleEpoch).count());
    const auto ms = std::clamp<long long>(dt.timeOfDay.count(), 0, kMsPerDay - 1);
    const double fraction = static_cast<double>(ms) / kMsPerDay;
    return whole < 0 ? whole - fraction : whole + fraction;
}

} // namespace core
