// German texts about days and weeks that the grid's tooltips, the holiday
// dialog and the grid's accessible objects show. A month's own name
// ("Dezember 2026") is MonthTitle in dates.h.
//
// Every function takes any sys_days: a day beyond the years chrono holds
// is read as the nearest one it does, so no text is ever undefined.
#pragma once

#include "core/holidays.h"

#include <chrono>
#include <string>

namespace core {

// A line of the holiday dialog's list: "Fr 26.03.2027  Karfreitag" (the
// weekday as the grid's header abbreviates it, two blanks before the name).
std::wstring HolidayListLine(const Holiday& holiday);

// The tooltip of a week number, for the ISO week holding `day`, Monday to
// Sunday; the dash is an en dash with a blank either side:
//   "Woche 50: 7. – 13. Dezember 2026"               (one month)
//   "Woche 5: 29. Januar – 4. Februar 2027"          (two months of a year)
//   "Woche 53: 28. Dezember 2026 – 3. Januar 2027"   (two years)
std::wstring WeekTooltip(std::chrono::sys_days day);

// A day's accessible name: "Montag, 7. Dezember 2026".
std::wstring DayAccessibleName(std::chrono::sys_days day);

// A day's accessible description: its ISO week, then whether it is today,
// then its holidays: "Woche 50", "Woche 13, heute, Feiertag: Karfreitag",
// "Woche 18, Feiertage: Tag der Arbeit und Christi Himmelfahrt".
std::wstring DayAccessibleDescription(std::chrono::sys_days day, bool today, const HolidayNames& holidays);

} // namespace core
