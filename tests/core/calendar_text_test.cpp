#include "core/calendar_text.h"

#include "core/dates.h"

#include <gtest/gtest.h>

#include <limits>

using namespace std::chrono;

namespace {

sys_days Day(int y, unsigned m, unsigned d) { return sys_days{year{y} / month{m} / day{d}}; }

core::HolidayNames Names(std::initializer_list<std::wstring_view> names)
{
    core::HolidayNames n;
    for (std::wstring_view name : names)
        n.Add(name);
    return n;
}

} // namespace

TEST(CalendarText, HolidayListLines)
{
    EXPECT_EQ(core::HolidayListLine({Day(2027, 3, 26), L"Karfreitag"}), L"Fr 26.03.2027  Karfreitag");
    EXPECT_EQ(core::HolidayListLine({Day(2026, 11, 18), L"Bu\u00DF- und Bettag"}),
              L"Mi 18.11.2026  Bu\u00DF- und Bettag");
    EXPECT_EQ(core::HolidayListLine({Day(2028, 1, 1), L"Neujahr"}), L"Sa 01.01.2028  Neujahr");
    EXPECT_EQ(core::HolidayListLine({Day(1601, 1, 1), L"x"}), L"Mo 01.01.1601  x");
    // Every line of a year's list, as the dialog shows it.
    std::wstring all;
    for (const core::Holiday& h : core::HolidaysOf(2008, core::Region::Nationwide))
        all += core::HolidayListLine(h) + L'\n';
    EXPECT_EQ(all, L"Di 01.01.2008  Neujahr\n"
                   L"Fr 21.03.2008  Karfreitag\n"
                   L"Mo 24.03.2008  Ostermontag\n"
                   L"Do 01.05.2008  Tag der Arbeit\n"
                   L"Do 01.05.2008  Christi Himmelfahrt\n"
                   L"Mo 12.05.2008  Pfingstmontag\n"
                   L"Fr 03.10.2008  Tag der Deutschen Einheit\n"
                   L"Do 25.12.2008  1. Weihnachtstag\n"
                   L"Fr 26.12.2008  2. Weihnachtstag\n");
}

TEST(CalendarText, WeekTooltips)
{
    // Any day of the week gives the same text.
    for (unsigned d = 7; d <= 13; ++d)
        EXPECT_EQ(core::WeekTooltip(Day(2026, 12, d)), L"Woche 50: 7. \u2013 13. Dezember 2026") << d;
    EXPECT_EQ(core::WeekTooltip(Day(2027, 1, 3)), L"Woche 53: 28. Dezember 2026 \u2013 3. Januar 2027");
    EXPECT_EQ(core::WeekTooltip(Day(2025, 12, 29)), L"Woche 1: 29. Dezember 2025 \u2013 4. Januar 2026");
    EXPECT_EQ(core::WeekTooltip(Day(2024, 1, 29)), L"Woche 5: 29. Januar \u2013 4. Februar 2024");
    // Leap years: the week over 29 February, and the one after it.
    EXPECT_EQ(core::WeekTooltip(Day(2024, 2, 29)), L"Woche 9: 26. Februar \u2013 3. M\u00E4rz 2024");
    EXPECT_EQ(core::WeekTooltip(Day(2025, 2, 28)), L"Woche 9: 24. Februar \u2013 2. M\u00E4rz 2025");
    EXPECT_EQ(core::WeekTooltip(Day(2100, 3, 1)), L"Woche 9: 1. \u2013 7. M\u00E4rz 2100"); // no 29th in 2100
    EXPECT_EQ(core::WeekTooltip(Day(2000, 2, 29)), L"Woche 9: 28. Februar \u2013 5. M\u00E4rz 2000");
    // The ends of the grid's range.
    EXPECT_EQ(core::WeekTooltip(Day(1601, 1, 1)), L"Woche 1: 1. \u2013 7. Januar 1601");
    EXPECT_EQ(core::WeekTooltip(Day(9999, 12, 31)), L"Woche 52: 27. Dezember 9999 \u2013 2. Januar 10000");
    // Days chrono cannot name still give a defined text.
    using limits = std::numeric_limits<days::rep>;
    EXPECT_TRUE(core::WeekTooltip(sys_days{days{limits::min()}}).starts_with(L"Woche "));
    EXPECT_TRUE(core::WeekTooltip(sys_days{days{limits::max()}}).ends_with(L" 32767"));
}

TEST(CalendarText, DayNames)
{
    EXPECT_EQ(core::DayAccessibleName(Day(2026, 12, 7)), L"Montag, 7. Dezember 2026");
    EXPECT_EQ(core::DayAccessibleName(Day(2024, 2, 29)), L"Donnerstag, 29. Februar 2024");
    EXPECT_EQ(core::DayAccessibleName(Day(2027, 3, 28)), L"Sonntag, 28. M\u00E4rz 2027");
    EXPECT_EQ(core::DayAccessibleName(Day(2026, 12, 31)), L"Donnerstag, 31. Dezember 2026");
    EXPECT_EQ(core::DayAccessibleName(Day(2027, 1, 1)), L"Freitag, 1. Januar 2027");
    // The ends of what chrono can name, a year before the common era among
    // them (weekdays checked by the 400-year cycle: as 7.1.2033, 25.12.2367).
    using limits = std::numeric_limits<days::rep>;
    EXPECT_EQ(core::DayAccessibleName(sys_days{days{limits::min()}}), L"Freitag, 7. Januar -32767");
    EXPECT_EQ(core::DayAccessibleName(sys_days{days{limits::max()}}), L"Montag, 25. Dezember 32767");
    // The month's own name is the title text.
    EXPECT_EQ(core::MonthTitle(year{2026} / December), L"Dezember 2026");
}

TEST(CalendarText, DayDescriptions)
{
    EXPECT_EQ(core::DayAccessibleDescription(Day(2026, 12, 7), false, {}), L"Woche 50");
    EXPECT_EQ(core::DayAccessibleDescription(Day(2026, 12, 7), true, {}), L"Woche 50, heute");
    EXPECT_EQ(core::DayAccessibleDescription(Day(2027, 3, 26), true, Names({L"Karfreitag"})),
              L"Woche 12, heute, Feiertag: Karfreitag");
    EXPECT_EQ(core::DayAccessibleDescription(Day(2027, 3, 26), false, Names({L"Karfreitag"})),
              L"Woche 12, Feiertag: Karfreitag");
    // The ISO week, not the calendar year's: 1 January 2027 is in week 53 of 2026.
    EXPECT_EQ(core::DayAccessibleDescription(Day(2027, 1, 1), false, Names({L"Neujahr"})),
              L"Woche 53, Feiertag: Neujahr");
    const core::HolidayCalendar calendar(core::Region::Nationwide);
    EXPECT_EQ(core::DayAccessibleDescription(Day(2008, 5, 1), false, calendar.NamesOf(Day(2008, 5, 1))),
              L"Woche 18, Feiertage: Tag der Arbeit und Christi Himmelfahrt");
}
