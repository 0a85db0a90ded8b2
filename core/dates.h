// Calendar arithmetic for the month grid: German names, ISO 8601 weeks,
// month stepping, the 6x7 day layout of one month and OLE Automation dates.
//
// Weeks start on Monday everywhere in this file: a "weekday index" is
// 0 = Monday .. 6 = Sunday.
#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace core {

// Names are wide literals with the umlaut escaped, so they are the same
// UTF-16 text under mingw (16-bit wchar_t) and UTF-32 natively. Every view
// points into a literal, so data() is NUL-terminated and can go straight to
// a W function.
inline constexpr std::array<std::wstring_view, 12> kMonthNames = {
    L"Januar", L"Februar", L"M\u00E4rz", L"April",   L"Mai",      L"Juni",
    L"Juli",   L"August",  L"September", L"Oktober", L"November", L"Dezember"};
inline constexpr std::array<std::wstring_view, 7> kWeekdayNames = {
    L"Montag", L"Dienstag", L"Mittwoch", L"Donnerstag", L"Freitag", L"Samstag", L"Sonntag"};
inline constexpr std::array<std::wstring_view, 7> kWeekdayAbbreviations = {L"Mo", L"Di", L"Mi", L"Do",
                                                                           L"Fr", L"Sa", L"So"};

// Empty for a month or weekday that is not ok().
std::wstring_view MonthName(std::chrono::month m);
std::wstring_view WeekdayName(std::chrono::weekday wd);
std::wstring_view WeekdayAbbreviation(std::chrono::weekday wd); // "Mo" .. "So"
// "Dezember 2026"; a month outside the grid's range is clamped into it.
std::wstring MonthTitle(std::chrono::year_month ym);
// The same into a caller's buffer, without allocating (for painting); the
// number of characters written.
int FormatMonthTitle(std::chrono::year_month ym, wchar_t (&out)[32]);
// 0 = Monday .. 6 = Sunday; a weekday that is not ok() counts as Monday.
unsigned WeekdayIndex(std::chrono::weekday wd);

// ISO 8601: week 1 is the week holding the year's first Thursday, so the
// first days of January may belong to the previous year's last week and the
// last days of December to week 1 of the next year.
struct IsoWeek {
    int year = 0;
    unsigned week = 0; // 1..53
    friend bool operator==(const IsoWeek&, const IsoWeek&) = default;
};
IsoWeek IsoWeekOf(std::chrono::sys_days day);

// The months the grid may show. 1601 is where Windows' own date types
// (FILETIME, SYSTEMTIME) begin; stopping at 9999 keeps every shown day,
// trailing days of December 9999 included, inside chrono's year range.
inline constexpr std::chrono::year_month kFirstMonth{std::chrono::year{1601}, std::chrono::January};
inline constexpr std::chrono::year_month kLastMonth{std::chrono::year{9999}, std::chrono::December};

// Pulls any year_month, including ones that are not ok(), into
// [kFirstMonth, kLastMonth]; a month number of 0 reads as January and one
// above 12 as December.
std::chrono::year_month ClampMonth(std::chrono::year_month ym);
// ym + n months, saturating at the ends of the range so navigation at the
// edges stops instead of wrapping or overflowing.
std::chrono::year_month AddMonths(std::chrono::year_month ym, int n);
// The first month of a grid showing monthCount (1..12) months, moved so
// that every one of them lies inside the range.
std::chrono::year_month ClampFirstMonth(std::chrono::year_month first, int monthCount);
std::chrono::sys_days FirstDayOfMonth(std::chrono::year_month ym); // ym clamped
unsigned DaysInMonth(std::chrono::year_month ym);                  // ym clamped

// Which month a cell of the layout belongs to, relative to the laid-out one.
enum class MonthPart : signed char { Previous = -1, Current = 0, Next = 1 };

struct DayCell {
    std::chrono::sys_days date;
    MonthPart part = MonthPart::Current;
};

// One month block: 6 week lines of 7 days, Monday first. The first line
// starts on the Monday before the 1st, a whole week before when the 1st is
// itself a Monday, so the month never touches the top edge and 6 lines
// always suffice (at most 7 + 31 days).
struct MonthLayout {
    static constexpr int kLines = 6;
    static constexpr int kDaysPerLine = 7;

    std::chrono::year_month month;
    std::array<DayCell, kLines * kDaysPerLine> cells; // [line * 7 + weekday index]
    std::array<unsigned, kLines> weekNumbers;         // ISO week of each line

    // Cell index of a date, or -1 when the layout does not show it.
    int IndexOf(std::chrono::sys_days day) const;
};
MonthLayout LayoutMonth(std::chrono::year_month ym); // ym clamped
// How many days of the month before a month's block shows ahead of its
// 1st: the block's first line starts on the Monday before the 1st, a whole
// week before it when the 1st is a Monday (1..7).
int LeadingDays(std::chrono::year_month ym); // ym clamped
// Months from `from` to `to` (negative when `to` comes first).
long long MonthsBetween(std::chrono::year_month from, std::chrono::year_month to);

// OLE Automation dates: days since 30 Dec 1899 00:00, time of day as the
// fraction. Below zero the fraction still counts forward from the day, so
// -1.25 is 29 Dec 1899 06:00, not 28 Dec 18:00.
struct DateTime {
    std::chrono::sys_days day;
    std::chrono::milliseconds timeOfDay{0}; // 0 .. 86'399'999
    friend bool operator==(const DateTime&, const DateTime&) = default;
};
// The time is rounded to the millisecond. Nothing for NaN, infinities and
// anything outside 1 Jan 100 00:00 .. 31 Dec 9999 23:59:59.999.
std::optional<DateTime> FromOleDate(double value);
// Nothing for a day outside 1 Jan 100 .. 31 Dec 9999; the time of day is
// clamped into one day.
std::optional<double> ToOleDate(const DateTime& dt);

} // namespace core
