// Dates reach the grid from a script (OLE dates, any double at all), from
// navigation that runs into the ends of the range and from the system clock.
// Every path must stay defined and agree with a calendar computed without
// std::chrono.
#include "core/clock_text.h"
#include "core/dates.h"
#include "tests/core/date_oracles.h"
#include "tests/core/fuzz/fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <limits>
#include <string>

using namespace std::chrono;

namespace {

// Julian day numbers by hand (Fliegel & Van Flandern) and ISO weeks from
// the ordinal date; valid for years 1 .. 32767.
long long Jdn(long long y, long long m, long long d)
{
    const long long a = (14 - m) / 12;
    const long long yy = y + 4800 - a, mm = m + 12 * a - 3;
    return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
}
constexpr long long kUnixJdn = 2440588;
bool Leap(long long y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
unsigned MonthLength(long long y, unsigned m)
{
    return m == 2 ? (Leap(y) ? 29 : 28) : (m == 4 || m == 6 || m == 9 || m == 11) ? 30 : 31;
}
unsigned WeeksIn(long long y)
{
    auto p = [](long long v) { return (v + v / 4 - v / 100 + v / 400) % 7; };
    return p(y) == 4 || p(y - 1) == 3 ? 53 : 52;
}
core::IsoWeek OracleWeek(long long y, unsigned m, unsigned d)
{
    const long long jdn = Jdn(y, m, d);
    const long long mondayIndex = jdn % 7; // JDN 0 was a Monday
    const long long w = (jdn - Jdn(y, 1, 1) + 1 - (mondayIndex + 1) + 10) / 7;
    if (w < 1)
        return {static_cast<int>(y - 1), WeeksIn(y - 1)};
    if (w > WeeksIn(y))
        return {static_cast<int>(y + 1), 1};
    return {static_cast<int>(y), static_cast<unsigned>(w)};
}

constexpr long long kMsPerDay = 86'400'000;
const long long kOleEpoch = Jdn(1899, 12, 30) - kUnixJdn; // in days since 1970
const long long kOleFirst = Jdn(100, 1, 1) - kUnixJdn;
const long long kOleLast = Jdn(9999, 12, 31) - kUnixJdn;

long long Serial(year_month ym)
{
    return static_cast<int>(ym.year()) * 12LL + static_cast<unsigned>(ym.month()) - 1;
}

bool InRange(year_month ym) { return ym.ok() && ym >= core::kFirstMonth && ym <= core::kLastMonth; }

year_month AnyMonth(FuzzedDataProvider& p)
{
    const int y = p.ConsumeBool() ? p.ConsumeIntegral<std::int16_t>() : p.ConsumeIntegralInRange(1598, 10002);
    return year{y} /
           month{p.ConsumeBool() ? p.ConsumeIntegral<std::uint8_t>() : p.ConsumeIntegralInRange(0u, 13u)};
}

sys_days AnyDay(FuzzedDataProvider& p)
{
    switch (p.ConsumeIntegralInRange(0, 2)) {
    case 0:
        return sys_days{days{p.ConsumeIntegral<days::rep>()}};
    case 1:
        return sys_days{days{p.ConsumeIntegral<int>()}};
    default:
        return sys_days{days{p.ConsumeIntegralInRange<days::rep>(kOleFirst - 800, kOleLast + 800)}};
    }
}

// Days since the OLE epoch plus the time of day, in milliseconds, as the
// value means it: the fraction counts forward from the day even below zero.
long double OleMoment(double v)
{
    const long double whole = std::trunc(static_cast<long double>(v));
    return whole * kMsPerDay + std::fabs(static_cast<long double>(v) - whole) * kMsPerDay;
}

void CheckOle(double v)
{
    const auto dt = core::FromOleDate(v);
    if (!std::isfinite(v) || v <= -657435.0 || v >= 2958466.0) {
        FUZZ_CHECK(!dt);
        return;
    }
    // Only rounding up past the last midnight may still refuse a value.
    if (v < 2958465.5)
        FUZZ_CHECK(dt);
    if (!dt)
        return;
    const long long day = dt->day.time_since_epoch().count();
    FUZZ_CHECK(day >= kOleFirst && day <= kOleLast);
    FUZZ_CHECK(dt->timeOfDay.count() >= 0 && dt->timeOfDay.count() < kMsPerDay);
    const long double got = static_cast<long double>(day - kOleEpoch) * kMsPerDay + dt->timeOfDay.count();
    FUZZ_CHECK(std::fabs(got - OleMoment(v)) <= 0.5L + 1e-6L);

    const auto back = core::ToOleDate(*dt);
    FUZZ_CHECK(back && std::isfinite(*back));
    FUZZ_CHECK((*back < 0) == (day < kOleEpoch));
    FUZZ_CHECK(core::FromOleDate(*back) == dt);
}

void CheckDateTime(FuzzedDataProvider& p)
{
    const sys_days day = AnyDay(p);
    const long long ms =
        p.ConsumeBool() ? p.ConsumeIntegral<long long>() : p.ConsumeIntegralInRange(-2LL, kMsPerDay + 1);
    const auto v = core::ToOleDate({day, milliseconds{ms}});
    const long long count = day.time_since_epoch().count();
    FUZZ_CHECK(v.has_value() == (count >= kOleFirst && count <= kOleLast));
    if (!v)
        return;
    FUZZ_CHECK(std::isfinite(*v));
    const core::DateTime want{day, milliseconds{std::clamp(ms, 0LL, kMsPerDay - 1)}};
    FUZZ_CHECK(core::FromOleDate(*v) == want);
}

void CheckMonths(FuzzedDataProvider& p)
{
    const year_month ym = AnyMonth(p);
    const int n = p.ConsumeBool() ? p.ConsumeIntegral<int>() : p.ConsumeIntegralInRange(-200000, 200000);
    const int count = p.ConsumeBool() ? p.ConsumeIntegral<int>() : p.ConsumeIntegralInRange(-1, 14);

    const year_month c = core::ClampMonth(ym);
    FUZZ_CHECK(InRange(c));
    if (InRange(ym))
        FUZZ_CHECK(c == ym);
    if (static_cast<int>(ym.year()) < 1601)
        FUZZ_CHECK(c == core::kFirstMonth);
    if (static_cast<int>(ym.year()) > 9999)
        FUZZ_CHECK(c == core::kLastMonth);
    if (static_cast<int>(ym.year()) >= 1601 && static_cast<int>(ym.year()) <= 9999) {
        const unsigned m = static_cast<unsigned>(ym.month());
        FUZZ_CHECK(c.year() == ym.year());
        FUZZ_CHECK(static_cast<unsigned>(c.month()) == (m == 0 ? 1 : m > 12 ? 12 : m));
    }

    const year_month a = core::AddMonths(ym, n);
    FUZZ_CHECK(InRange(a));
    const long long want = std::clamp(Serial(c) + n, Serial(core::kFirstMonth), Serial(core::kLastMonth));
    FUZZ_CHECK(Serial(a) == want);
    FUZZ_CHECK(oracle::MonthsBetween(ym, a) == want - Serial(c));
    FUZZ_CHECK(oracle::MonthsBetween(a, ym) == Serial(c) - want);

    const year_month f = core::ClampFirstMonth(ym, count);
    const long long shown = std::clamp(count, 1, 12);
    FUZZ_CHECK(InRange(f));
    FUZZ_CHECK(Serial(f) + shown - 1 <= Serial(core::kLastMonth));
    FUZZ_CHECK(Serial(f) == std::min(Serial(c), Serial(core::kLastMonth) - (shown - 1)));

    const unsigned length = core::DaysInMonth(ym);
    FUZZ_CHECK(length == MonthLength(static_cast<int>(c.year()), static_cast<unsigned>(c.month())));
    const sys_days first = core::FirstDayOfMonth(ym);
    FUZZ_CHECK(first.time_since_epoch().count() ==
               Jdn(static_cast<int>(c.year()), static_cast<unsigned>(c.month()), 1) - kUnixJdn);

    FUZZ_CHECK(!core::MonthName(c.month()).empty());
    FUZZ_CHECK(core::MonthName(ym.month()).empty() == !ym.month().ok());
}

void CheckLayout(FuzzedDataProvider& p)
{
    const year_month ym = AnyMonth(p);
    const core::MonthLayout l = core::LayoutMonth(ym);
    const year_month c = core::ClampMonth(ym);
    FUZZ_CHECK(l.month == c);
    FUZZ_CHECK(weekday{l.cells[0].date} == Monday);
    const sys_days first = core::FirstDayOfMonth(c);
    const int lead = l.IndexOf(first);
    FUZZ_CHECK(lead >= 1 && lead <= 7); // never on the top edge
    int current = 0;
    for (int i = 0; i < static_cast<int>(l.cells.size()); ++i) {
        const core::DayCell& cell = l.cells[i];
        if (i > 0)
            FUZZ_CHECK(cell.date - l.cells[i - 1].date == days{1});
        FUZZ_CHECK(l.IndexOf(cell.date) == i);
        const year_month cellMonth = year_month_day{cell.date}.year() / year_month_day{cell.date}.month();
        const core::MonthPart want = cellMonth < c    ? core::MonthPart::Previous
                                     : cellMonth == c ? core::MonthPart::Current
                                                      : core::MonthPart::Next;
        FUZZ_CHECK(cell.part == want);
        current += cell.part == core::MonthPart::Current;
    }
    FUZZ_CHECK(current == static_cast<int>(core::DaysInMonth(c)));
    for (int line = 0; line < core::MonthLayout::kLines; ++line) {
        // A line is one ISO week, Monday to Sunday.
        const sys_days monday = l.cells[line * 7].date, sunday = l.cells[line * 7 + 6].date;
        FUZZ_CHECK(l.weekNumbers[line] == core::IsoWeekOf(monday).week);
        FUZZ_CHECK(core::IsoWeekOf(monday) == core::IsoWeekOf(sunday));
    }
    const sys_days other = AnyDay(p);
    const int at = l.IndexOf(other);
    FUZZ_CHECK(at >= -1 && at < static_cast<int>(l.cells.size()));
    FUZZ_CHECK(at == -1 ? (other < l.cells.front().date || other > l.cells.back().date)
                        : l.cells[at].date == other);
}

void CheckIsoWeek(FuzzedDataProvider& p)
{
    // Arbitrary days stay defined and plausible ...
    const sys_days any = AnyDay(p);
    const core::IsoWeek w = core::IsoWeekOf(any);
    FUZZ_CHECK(w.week >= 1 && w.week <= 53);
    // The first days of year -32767 belong to week 53 of -32768, a year
    // chrono (and so IsoWeeksInYear) does not hold.
    if (w.year >= static_cast<int>(year::min()))
        FUZZ_CHECK(w.week <= oracle::IsoWeeksInYear(w.year));
    const unsigned weeks = oracle::IsoWeeksInYear(p.ConsumeIntegral<int>());
    FUZZ_CHECK(weeks == 52 || weeks == 53);

    // ... and civil days agree with the oracle.
    const long long y = p.ConsumeIntegralInRange(2, 32766);
    const unsigned m = p.ConsumeIntegralInRange(1u, 12u);
    const unsigned d = p.ConsumeIntegralInRange(1u, MonthLength(y, m));
    const sys_days day{year{static_cast<int>(y)} / month{m} / d};
    FUZZ_CHECK(day.time_since_epoch().count() == Jdn(y, m, d) - kUnixJdn);
    FUZZ_CHECK(core::IsoWeekOf(day) == OracleWeek(y, m, d));
    FUZZ_CHECK(oracle::IsoWeeksInYear(static_cast<int>(y)) == WeeksIn(y));
}

void CheckLongDate(FuzzedDataProvider& p)
{
    core::CivilTime t;
    t.year = p.ConsumeBool() ? p.ConsumeIntegral<int>() : p.ConsumeIntegralInRange(-20, 10020);
    auto field = [&](unsigned hi) {
        return p.ConsumeBool() ? p.ConsumeIntegral<unsigned>() : p.ConsumeIntegralInRange(0u, hi);
    };
    t.month = field(13);
    t.day = field(32);
    t.weekday = field(8);
    t.hour = field(25);
    t.minute = field(61);
    t.second = field(61);
    const std::wstring text = core::GermanLongDate(t);

    // The weekday comes first whatever the field holds; the platform counts from Sunday.
    const std::wstring_view weekdayName = core::kWeekdayNames[(t.weekday % 7 + 6) % 7];
    FUZZ_CHECK(text.starts_with(weekdayName));
    FUZZ_CHECK(text.substr(weekdayName.size(), 2) == L", ");
    FUZZ_CHECK(text.size() <= 64);
    const auto twoDigits = [&](std::size_t at, unsigned value) {
        return text[at] == static_cast<wchar_t>(L'0' + value % 100 / 10) &&
               text[at + 1] == static_cast<wchar_t>(L'0' + value % 10);
    };
    const std::size_t dayAt = weekdayName.size() + 2;
    FUZZ_CHECK(text.size() >= dayAt + 4 + 8 + 2);
    FUZZ_CHECK(twoDigits(dayAt, t.day) && text.substr(dayAt + 2, 2) == L". ");
    const std::wstring_view monthName =
        t.month >= 1 && t.month <= 12 ? core::kMonthNames[t.month - 1] : std::wstring_view{};
    FUZZ_CHECK(text.substr(dayAt + 4, monthName.size()) == monthName);
    const std::size_t clock = text.size() - 8;
    FUZZ_CHECK(twoDigits(clock, t.hour) && text[clock + 2] == L':' && twoDigits(clock + 3, t.minute) &&
               text[clock + 5] == L':' && twoDigits(clock + 6, t.second));
    FUZZ_CHECK(text.substr(clock - 2, 2) == L"  ");
    const std::size_t yearAt = dayAt + 4 + monthName.size() + 1;
    FUZZ_CHECK(clock >= yearAt + 2);
    const std::wstring yearText = text.substr(yearAt, clock - 2 - yearAt);
    if (t.year >= 0 && t.year <= 9999) {
        FUZZ_CHECK(yearText.size() == 4 && std::wcstol(yearText.c_str(), nullptr, 10) == t.year);
    } else {
        FUZZ_CHECK(yearText.size() >= 4 && std::wcstoll(yearText.c_str(), nullptr, 10) == t.year);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider p(data, size);
    switch (p.ConsumeIntegralInRange(0, 7)) {
    case 0:
        CheckOle(std::bit_cast<double>(p.ConsumeIntegral<std::uint64_t>()));
        break;
    case 1:
        CheckOle(p.ConsumeFloatingPointInRange(-657440.0, 2958470.0));
        break;
    case 2: {
        // Exactly on or next to whole milliseconds, where rounding decides.
        const long long whole = p.ConsumeIntegralInRange(-657436LL, 2958467LL);
        const double v =
            whole + (whole < 0 ? -1.0 : 1.0) * p.ConsumeIntegralInRange(0LL, kMsPerDay) / double(kMsPerDay);
        const int steps = p.ConsumeIntegralInRange(-3, 3);
        CheckOle(steps == 0 ? v : std::nextafter(v, steps > 0 ? INFINITY : -INFINITY));
        break;
    }
    case 3:
        CheckDateTime(p);
        break;
    case 4:
        CheckMonths(p);
        break;
    case 5:
        CheckLayout(p);
        break;
    case 6:
        CheckIsoWeek(p);
        break;
    default:
        CheckLongDate(p);
        break;
    }
    return 0;
}
