#include "core/dates.h"
#include "tests/core/date_oracles.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

using namespace std::chrono;

namespace {

// Oracle kept apart from std::chrono: Julian day numbers by hand
// (Fliegel & Van Flandern) and ISO weeks from the ordinal date.
long long Jdn(int y, int m, int d)
{
    const int a = (14 - m) / 12;
    const long long yy = y + 4800 - a, mm = m + 12 * a - 3;
    return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
}
int MonthLength(int y, int m)
{
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 ? (leap ? 29 : 28) : (m == 4 || m == 6 || m == 9 || m == 11) ? 30 : 31;
}
int WeeksIn(int y)
{
    auto p = [](int v) { return (v + v / 4 - v / 100 + v / 400) % 7; };
    return p(y) == 4 || p(y - 1) == 3 ? 53 : 52;
}
core::IsoWeek OracleWeek(int y, int m, int d)
{
    const long long jdn = Jdn(y, m, d);
    const int mondayIndex = static_cast<int>(jdn % 7); // JDN 0 was a Monday
    const int w = static_cast<int>((jdn - Jdn(y, 1, 1) + 1 - (mondayIndex + 1) + 10) / 7);
    if (w < 1)
        return {y - 1, static_cast<unsigned>(WeeksIn(y - 1))};
    if (w > WeeksIn(y))
        return {y + 1, 1};
    return {y, static_cast<unsigned>(w)};
}
sys_days Day(int y, unsigned m, unsigned d) { return sys_days{year{y} / month{m} / day{d}}; }

} // namespace

TEST(Dates, EveryDay1900To2100MatchesOracle)
{
    for (int y = 1900; y <= 2100; ++y) {
        ASSERT_EQ(oracle::IsoWeeksInYear(y), static_cast<unsigned>(WeeksIn(y))) << y;
        for (int m = 1; m <= 12; ++m) {
            ASSERT_EQ(core::DaysInMonth(year{y} / m), static_cast<unsigned>(MonthLength(y, m)));
            for (int d = 1; d <= MonthLength(y, m); ++d) {
                const sys_days sd = Day(y, m, d);
                const long long jdn = Jdn(y, m, d);
                ASSERT_EQ(sd.time_since_epoch().count(), jdn - 2440588) << y << '-' << m << '-' << d;
                ASSERT_EQ(core::WeekdayIndex(weekday{sd}), jdn % 7) << y << '-' << m << '-' << d;
                ASSERT_EQ(core::IsoWeekOf(sd), OracleWeek(y, m, d)) << y << '-' << m << '-' << d;
            }
        }
    }
}

TEST(Dates, IsoWeekAtYearBoundaries)
{
    EXPECT_EQ(core::IsoWeekOf(Day(2021, 1, 3)), (core::IsoWeek{2020, 53}));
    EXPECT_EQ(core::IsoWeekOf(Day(2021, 1, 4)), (core::IsoWeek{2021, 1}));
    EXPECT_EQ(core::IsoWeekOf(Day(2025, 12, 29)), (core::IsoWeek{2026, 1}));
    EXPECT_EQ(core::IsoWeekOf(Day(2027, 1, 1)), (core::IsoWeek{2026, 53}));
    EXPECT_EQ(core::IsoWeekOf(Day(2005, 1, 2)), (core::IsoWeek{2004, 53}));
    EXPECT_EQ(oracle::IsoWeeksInYear(2015), 53u);
    EXPECT_EQ(oracle::IsoWeeksInYear(2024), 52u);
    EXPECT_GE(oracle::IsoWeeksInYear(INT_MIN), 52u); // junk year stays defined
    EXPECT_GE(core::IsoWeekOf(sys_days{days{std::numeric_limits<int>::max()}}).week, 1u);
}

TEST(Dates, GermanNames)
{
    EXPECT_EQ(core::MonthName(March), L"M\u00E4rz");
    EXPECT_EQ(core::MonthName(March).size(), 4u); // one code unit for the umlaut, also in UTF-16
    EXPECT_EQ(static_cast<unsigned>(core::MonthName(March)[1]), 0xE4u);
    EXPECT_EQ(core::WeekdayName(Sunday), L"Sonntag");
    for (unsigned i = 0; i < 7; ++i) {
        const weekday wd{i + 1}; // Monday .. Sunday
        EXPECT_EQ(core::WeekdayIndex(wd), i);
        EXPECT_EQ(core::kWeekdayAbbreviations[i].size(), 2u);
        EXPECT_EQ(core::WeekdayName(wd).substr(0, 2), core::kWeekdayAbbreviations[i]);
    }
    EXPECT_TRUE(core::MonthName(month{13}).empty());
    EXPECT_TRUE(core::WeekdayName(weekday{9}).empty());
}

TEST(Dates, MonthArithmeticSaturatesAtTheEnds)
{
    EXPECT_EQ(core::AddMonths(2024y / November, 2), 2025y / January);
    EXPECT_EQ(core::AddMonths(2024y / January, -1), 2023y / December);
    EXPECT_EQ(core::AddMonths(2024y / March, -27), 2021y / December);
    EXPECT_EQ(core::AddMonths(9999y / November, 5), core::kLastMonth);
    EXPECT_EQ(core::AddMonths(2000y / June, INT_MAX), core::kLastMonth);
    EXPECT_EQ(core::AddMonths(2000y / June, INT_MIN), core::kFirstMonth);
    EXPECT_EQ(core::ClampMonth(year{-32767} / month{200}), core::kFirstMonth);
    EXPECT_EQ(core::ClampMonth(year{32767} / month{0}), core::kLastMonth);
    EXPECT_EQ(oracle::MonthsBetween(2023y / December, 2025y / February), 14);
    EXPECT_EQ(oracle::MonthsBetween(2025y / February, 2023y / December), -14);
    EXPECT_EQ(core::ClampFirstMonth(9999y / December, 12), 9999y / January);
    EXPECT_EQ(core::ClampFirstMonth(9999y / October, 3), 9999y / October);
    EXPECT_EQ(core::ClampFirstMonth(1500y / June, INT_MAX), core::kFirstMonth);
    EXPECT_EQ(core::DaysInMonth(1900y / February), 28u);
    EXPECT_EQ(core::DaysInMonth(2000y / February), 29u);
    EXPECT_EQ(core::FirstDayOfMonth(2024y / month{13}), Day(2024, 12, 1));
}

TEST(Dates, LayoutOfSampleMonths)
{
    struct Case {
        year_month ym;
        sys_days firstCell;
        int leading;
        std::array<unsigned, 6> weeks;
    };
    const Case cases[] = {
        {2024y / January, Day(2023, 12, 25), 7, {52, 1, 2, 3, 4, 5}},      // 1st on Monday
        {2023y / October, Day(2023, 9, 25), 6, {39, 40, 41, 42, 43, 44}},  // 1st on Sunday
        {2021y / February, Day(2021, 1, 25), 7, {4, 5, 6, 7, 8, 9}},       // 28 days from Monday
        {2024y / February, Day(2024, 1, 29), 3, {5, 6, 7, 8, 9, 10}},      // leap February
        {2020y / December, Day(2020, 11, 30), 1, {49, 50, 51, 52, 53, 1}}, // into a 53-week year's end
        {2025y / December, Day(2025, 11, 24), 7, {48, 49, 50, 51, 52, 1}}, // 29 Dec is week 1
        {2021y / January, Day(2020, 12, 28), 4, {53, 1, 2, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        const core::MonthLayout l = core::LayoutMonth(c.ym);
        EXPECT_EQ(l.cells[0].date, c.firstCell);
        EXPECT_EQ(l.weekNumbers, c.weeks);
        EXPECT_EQ(l.IndexOf(core::FirstDayOfMonth(c.ym)), c.leading);
        EXPECT_EQ(l.cells[c.leading - 1].part, core::MonthPart::Previous);
        EXPECT_EQ(l.cells[c.leading].part, core::MonthPart::Current);
        const int last = c.leading + static_cast<int>(core::DaysInMonth(c.ym)) - 1;
        EXPECT_EQ(l.cells[last].part, core::MonthPart::Current);
        EXPECT_EQ(l.cells[last + 1].part, core::MonthPart::Next);
        EXPECT_EQ(l.IndexOf(c.firstCell - days{1}), -1);
        EXPECT_EQ(l.IndexOf(c.firstCell + days{42}), -1);
    }
}

TEST(Dates, LayoutInvariantsForEveryMonth1900To2100AndTheEnds)
{
    auto check = [](year_month ym) {
        const core::MonthLayout l = core::LayoutMonth(ym);
        ASSERT_EQ(weekday{l.cells[0].date}, Monday);
        int current = 0;
        for (std::size_t i = 0; i < l.cells.size(); ++i) {
            if (i > 0)
                ASSERT_EQ(l.cells[i].date - l.cells[i - 1].date, days{1});
            if (i > 0)
                ASSERT_GE(l.cells[i].part, l.cells[i - 1].part);
            current += l.cells[i].part == core::MonthPart::Current;
        }
        ASSERT_EQ(l.cells[0].part, core::MonthPart::Previous);
        ASSERT_EQ(l.cells[41].part, core::MonthPart::Next);
        ASSERT_EQ(current, static_cast<int>(core::DaysInMonth(ym)));
    };
    for (int y = 1900; y <= 2100; ++y)
        for (unsigned m = 1; m <= 12; ++m)
            check(year{y} / month{m});
    check(core::kFirstMonth);
    check(core::kLastMonth);
    EXPECT_EQ(core::LayoutMonth(year{20000} / 1).month, core::kLastMonth);
    EXPECT_EQ(core::LayoutMonth(core::kLastMonth).cells[41].date, Day(10000, 1, 9));
}

TEST(Dates, OleDatesConvertBothWays)
{
    const long long epoch = Jdn(1899, 12, 30);
    auto ole = [&](int y, int m, int d) { return static_cast<double>(Jdn(y, m, d) - epoch); };
    auto at = [](sys_days d, int h, int min = 0) { return core::DateTime{d, hours{h} + minutes{min}}; };

    EXPECT_EQ(core::FromOleDate(0.0), at(Day(1899, 12, 30), 0));
    EXPECT_EQ(core::FromOleDate(-1.25), at(Day(1899, 12, 29), 6)); // fraction counts forward
    EXPECT_EQ(core::FromOleDate(-1.75), at(Day(1899, 12, 29), 18));
    EXPECT_EQ(core::FromOleDate(-0.5), at(Day(1899, 12, 30), 12));
    EXPECT_EQ(core::FromOleDate(ole(2024, 1, 1) + 0.5), at(Day(2024, 1, 1), 12));
    EXPECT_EQ(core::FromOleDate(ole(100, 1, 1) - 0.75), at(Day(100, 1, 1), 18));
    EXPECT_EQ(core::FromOleDate(ole(9999, 12, 31)), at(Day(9999, 12, 31), 0));
    EXPECT_EQ(core::FromOleDate(1.9999999999), at(Day(1900, 1, 1), 0)); // rounds up past midnight
    EXPECT_EQ(core::ToOleDate(at(Day(1899, 12, 29), 6)), -1.25);
    EXPECT_EQ(core::ToOleDate(at(Day(2024, 1, 1), 18)), ole(2024, 1, 1) + 0.75);

    const double rejects[] = {std::nan(""),
                              INFINITY,
                              -INFINITY,
                              ole(100, 1, 1) - 1.0,
                              ole(99, 12, 31),
                              ole(10000, 1, 1),
                              ole(9999, 12, 31) + 0.999999999,
                              1e300,
                              -1e300};
    for (double v : rejects)
        EXPECT_FALSE(core::FromOleDate(v)) << v;
    EXPECT_FALSE(core::ToOleDate(at(Day(99, 12, 31), 0)));
    EXPECT_FALSE(core::ToOleDate(at(Day(10000, 1, 1), 0)));
    EXPECT_EQ(core::ToOleDate({Day(2000, 1, 1), hours{-5}}), ole(2000, 1, 1)); // clamped to the day

    for (int y : {100, 1066, 1899, 1900, 1970, 2024, 9999}) {
        for (int ms : {0, 1, 21'600'000, 43'199'999, 86'399'999}) {
            const core::DateTime dt{Day(y, 12, 30), milliseconds{ms}};
            const auto v = core::ToOleDate(dt);
            ASSERT_TRUE(v);
            EXPECT_EQ(core::FromOleDate(*v), dt) << y << ' ' << ms;
        }
    }
}
