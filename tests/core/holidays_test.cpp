#include "core/holidays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

using namespace std::chrono;
using core::Region;

namespace {

sys_days Day(int y, unsigned m, unsigned d) { return sys_days{year{y} / month{m} / day{d}}; }

// Gauss's Easter formula in Lichtenberg's form, kept apart from the
// Meeus/Jones/Butcher arithmetic in core: March day number, above 31 in April.
year_month_day GaussEaster(int y)
{
    const int k = y / 100;
    const int m = 15 + (3 * k + 3) / 4 - (8 * k + 13) / 25;
    const int s = 2 - (3 * k + 3) / 4;
    const int a = y % 19;
    const int d = (19 * a + m) % 30;
    const int r = (d + a / 11) / 29;
    const int og = 21 + d - r;
    const int sz = 7 - (y + y / 4 + s) % 7;
    const int oe = 7 - (og - sz) % 7;
    const int os = og + oe;
    return os <= 31 ? year{y} / March / day(os) : year{y} / April / day(os - 31);
}

// "dd.mm." and a name, so the hand-written lists below read like a calendar.
struct Entry {
    std::wstring_view date;
    std::wstring_view name;
};

void ExpectList(int y, Region region, std::initializer_list<Entry> want)
{
    const core::HolidayList got = core::HolidaysOf(y, region);
    std::vector<std::wstring> gotText, wantText;
    for (const core::Holiday& h : got) {
        const year_month_day ymd{h.date};
        wchar_t buf[8];
        std::swprintf(buf, 8, L"%02u.%02u.", static_cast<unsigned>(ymd.day()),
                      static_cast<unsigned>(ymd.month()));
        EXPECT_EQ(ymd.year(), year{y});
        gotText.push_back(std::wstring(buf) + L' ' + std::wstring(h.name));
    }
    for (const Entry& e : want)
        wantText.push_back(std::wstring(e.date) + L' ' + std::wstring(e.name));
    EXPECT_EQ(gotText, wantText) << y << ' ' << static_cast<int>(region);
}

std::vector<std::wstring_view> NamesOn(int y, Region region, sys_days day)
{
    std::vector<std::wstring_view> names;
    for (const core::Holiday& h : core::HolidaysOf(y, region))
        if (h.date == day)
            names.push_back(h.name);
    return names;
}

bool Has(Region region, sys_days day, std::wstring_view name)
{
    const int y = static_cast<int>(year_month_day{day}.year());
    const auto names = NamesOn(y, region, day);
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::vector<Region> AllRegions()
{
    std::vector<Region> all{Region::Nationwide};
    all.insert(all.end(), core::kLaender.begin(), core::kLaender.end());
    return all;
}

const std::wstring_view kReformation = L"Reformationstag";
const std::wstring_view kBuss = L"Bu\u00DF- und Bettag";
const std::wstring_view kFrauentag = L"Internationaler Frauentag";

} // namespace

TEST(Easter, MatchesGaussEveryGregorianYear)
{
    // The grid shows 1601..9999; the holiday lists are asked up to 32767.
    for (int y = 1583; y <= 32767; ++y) {
        const year_month_day e = core::EasterSunday(year{y});
        ASSERT_EQ(e, GaussEaster(y)) << y;
        ASSERT_EQ(weekday{sys_days{e}}, Sunday) << y;
        ASSERT_GE(e, year{y} / March / 22) << y;
        ASSERT_LE(e, year{y} / April / 25) << y;
    }
}

TEST(Easter, PublishedDates)
{
    // Including the years where Gauss's plain formula needs its two
    // exceptions (1954, 1981, 2049, 2076) and the earliest and latest dates.
    const year_month_day published[] = {
        2024y / March / 31, 2025y / April / 20, 2026y / April / 5,  2027y / March / 28, 2038y / April / 25,
        2285y / March / 22, 1818y / March / 22, 1943y / April / 25, 1583y / April / 10, 2008y / March / 23,
        1954y / April / 18, 1981y / April / 19, 2049y / April / 18, 2076y / April / 19, 2000y / April / 23};
    for (const year_month_day& e : published)
        EXPECT_EQ(core::EasterSunday(e.year()), e) << static_cast<int>(e.year());
}

TEST(Easter, YearsBeforeTheCalendarStayDefined)
{
    // Only meaningful from 1583, but no year chrono holds may trip the arithmetic.
    for (int y : {-32767, -1, 0, 1, 100, 1582, 32767}) {
        const year_month_day e = core::EasterSunday(year{y});
        EXPECT_TRUE(e.ok()) << y;
        EXPECT_EQ(e.year(), year{y});
        EXPECT_EQ(weekday{sys_days{e}}, Sunday) << y;
        EXPECT_GE(e, year{y} / March / 22) << y;
        EXPECT_LE(e, year{y} / April / 25) << y;
    }
}

TEST(HolidayRules, NothingBefore1991)
{
    for (Region r : AllRegions()) {
        EXPECT_TRUE(core::HolidaysOf(1990, r).empty());
        EXPECT_TRUE(core::HolidaysOf(1601, r).empty());
        EXPECT_TRUE(core::HolidaysOf(-5, r).empty());
        EXPECT_EQ(core::HolidaysOf(1991, r)[0].date, Day(1991, 1, 1));
        EXPECT_TRUE(core::HolidaysOf(40000, r).empty()); // beyond chrono's years
    }
    EXPECT_EQ(core::HolidaysOf(9999, Region::BY).size(), 13u);
    EXPECT_EQ(core::HolidaysOf(32767, Region::BY).size(), 13u);
}

TEST(HolidayRules, ReformationstagIn2017EverywhereAndInTheNorthFrom2018)
{
    const Region always[] = {Region::BB, Region::MV, Region::SN, Region::ST, Region::TH};
    const Region from2018[] = {Region::HB, Region::HH, Region::NI, Region::SH};
    const Region never[] = {Region::BW, Region::BY, Region::BE, Region::HE,
                            Region::NW, Region::RP, Region::SL};
    for (int y : {1991, 2016, 2017, 2018, 2019}) {
        for (Region r : always)
            EXPECT_TRUE(Has(r, Day(y, 10, 31), kReformation)) << y;
        for (Region r : from2018)
            EXPECT_EQ(Has(r, Day(y, 10, 31), kReformation), y >= 2017) << y;
        for (Region r : never)
            EXPECT_EQ(Has(r, Day(y, 10, 31), kReformation), y == 2017) << y;
        EXPECT_EQ(Has(Region::Nationwide, Day(y, 10, 31), kReformation), y == 2017) << y;
    }
    // Never twice, where the rows for 2017 and the Länder that always keep it meet.
    for (Region r : AllRegions())
        EXPECT_LE(NamesOn(2017, r, Day(2017, 10, 31)).size(), 1u);
}

TEST(HolidayRules, BussUndBettagEverywhereUntil1994ThenSachsenOnly)
{
    // The Wednesday before 23 November: 16th to 22nd.
    const struct {
        int y;
        unsigned d;
    } dates[] = {{1991, 20}, {1992, 18}, {1993, 17}, {1994, 16},
                 {1995, 22}, {2026, 18}, {2027, 17}, {2028, 22}};
    for (const auto& [y, d] : dates) {
        for (Region r : AllRegions()) {
            EXPECT_EQ(Has(r, Day(y, 11, d), kBuss), y <= 1994 || r == Region::SN) << y;
            for (unsigned other = 16; other <= 22; ++other)
                if (other != d)
                    EXPECT_FALSE(Has(r, Day(y, 11, other), kBuss)) << y << ' ' << other;
        }
    }
    EXPECT_EQ(weekday{Day(2028, 11, 22)}, Wednesday); // the 22nd itself still counts
}

TEST(HolidayRules, LaterAdditions)
{
    EXPECT_FALSE(Has(Region::BE, Day(2018, 3, 8), kFrauentag));
    EXPECT_TRUE(Has(Region::BE, Day(2019, 3, 8), kFrauentag));
    EXPECT_FALSE(Has(Region::MV, Day(2022, 3, 8), kFrauentag));
    EXPECT_TRUE(Has(Region::MV, Day(2023, 3, 8), kFrauentag));
    EXPECT_FALSE(Has(Region::Nationwide, Day(2023, 3, 8), kFrauentag));
    EXPECT_FALSE(Has(Region::BB, Day(2023, 3, 8), kFrauentag));
    EXPECT_FALSE(Has(Region::TH, Day(2018, 9, 20), L"Weltkindertag"));
    EXPECT_TRUE(Has(Region::TH, Day(2019, 9, 20), L"Weltkindertag"));
    EXPECT_FALSE(Has(Region::SN, Day(2019, 9, 20), L"Weltkindertag"));
}

TEST(HolidayRules, BerlinOneOffDays)
{
    for (int y = 2018; y <= 2030; ++y) {
        EXPECT_EQ(Has(Region::BE, Day(y, 5, 8), L"Tag der Befreiung"), y == 2020 || y == 2025) << y;
        EXPECT_EQ(Has(Region::BE, Day(y, 6, 17), L"75. Jahrestag des Volksaufstandes"), y == 2028) << y;
        EXPECT_EQ(Has(Region::BE, Day(y, 3, 8), kFrauentag), y >= 2019) << y;
        for (Region r : AllRegions()) {
            if (r == Region::BE)
                continue;
            EXPECT_TRUE(NamesOn(y, r, Day(y, 5, 8)).empty()) << y;
            EXPECT_TRUE(NamesOn(y, r, Day(y, 6, 17)).empty()) << y;
        }
    }
}

TEST(HolidayRules, MariaeHimmelfahrtIsNamedForBayernsMunicipalities)
{
    EXPECT_EQ(NamesOn(2026, Region::SL, Day(2026, 8, 15)),
              std::vector<std::wstring_view>{L"Mari\u00E4 Himmelfahrt"});
    EXPECT_EQ(NamesOn(2026, Region::BY, Day(2026, 8, 15)),
              std::vector<std::wstring_view>{L"Mari\u00E4 Himmelfahrt (nicht in allen Gemeinden)"});
    EXPECT_TRUE(NamesOn(2026, Region::Nationwide, Day(2026, 8, 15)).empty());
    EXPECT_TRUE(NamesOn(2026, Region::BW, Day(2026, 8, 15)).empty());
}

TEST(HolidayRules, TwoOnOneDayAreBothKeptInTheLawsOrder)
{
    // Easter on 23 March puts Christi Himmelfahrt on 1 May.
    const std::vector<std::wstring_view> both{L"Tag der Arbeit", L"Christi Himmelfahrt"};
    for (Region r : AllRegions())
        EXPECT_EQ(NamesOn(2008, r, Day(2008, 5, 1)), both);
    EXPECT_EQ(core::HolidaysOf(2008, Region::Nationwide).size(), 9u);
}

TEST(HolidayRules, EveryListSortedAndWithinItsYear)
{
    // Also proves the fixed capacities: at most 14 holidays a year, at most
    // two on one day.
    std::size_t most = 0, mostOnADay = 0;
    for (int y = 1991; y <= 9999; ++y) {
        for (Region r : AllRegions()) {
            const core::HolidayList list = core::HolidaysOf(y, r);
            ASSERT_GE(list.size(), 9u);
            most = std::max(most, list.size());
            std::size_t run = 1;
            for (std::size_t i = 0; i < list.size(); ++i) {
                ASSERT_EQ(year_month_day{list[i].date}.year(), year{y});
                ASSERT_FALSE(list[i].name.empty());
                if (i == 0)
                    continue;
                ASSERT_LE(list[i - 1].date, list[i].date) << y;
                run = list[i - 1].date == list[i].date ? run + 1 : 1;
                ASSERT_FALSE(run > 1 && list[i - 1].name == list[i].name) << y;
                mostOnADay = std::max(mostOnADay, run);
            }
        }
    }
    EXPECT_EQ(most, 14u); // Bayern 1991-1994
    EXPECT_EQ(mostOnADay, 2u);
    EXPECT_LE(mostOnADay, core::HolidayNames::kCapacity);
}

TEST(HolidayRules, NationwideSet)
{
    ExpectList(2026, Region::Nationwide,
               {{L"01.01.", L"Neujahr"},
                {L"03.04.", L"Karfreitag"},
                {L"06.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"14.05.", L"Christi Himmelfahrt"},
                {L"25.05.", L"Pfingstmontag"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
    ExpectList(2017, Region::Nationwide,
               {{L"01.01.", L"Neujahr"},
                {L"14.04.", L"Karfreitag"},
                {L"17.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"25.05.", L"Christi Himmelfahrt"},
                {L"05.06.", L"Pfingstmontag"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"31.10.", L"Reformationstag"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
    ExpectList(1994, Region::Nationwide,
               {{L"01.01.", L"Neujahr"},
                {L"01.04.", L"Karfreitag"},
                {L"04.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"12.05.", L"Christi Himmelfahrt"},
                {L"23.05.", L"Pfingstmontag"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"16.11.", L"Bu\u00DF- und Bettag"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
    ExpectList(1995, Region::Nationwide,
               {{L"01.01.", L"Neujahr"},
                {L"14.04.", L"Karfreitag"},
                {L"17.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"25.05.", L"Christi Himmelfahrt"},
                {L"05.06.", L"Pfingstmontag"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
    // The nationwide set is exactly what every Land has.
    for (int y : {1991, 1994, 1995, 2008, 2016, 2017, 2018, 2020, 2028}) {
        for (const core::Holiday& h : core::HolidaysOf(y, Region::Nationwide))
            for (Region land : core::kLaender)
                EXPECT_TRUE(Has(land, h.date, h.name)) << y;
        for (const core::Holiday& h : core::HolidaysOf(y, Region::BE)) {
            const bool everywhere = std::all_of(core::kLaender.begin(), core::kLaender.end(),
                                                [&](Region land) { return Has(land, h.date, h.name); });
            EXPECT_EQ(everywhere, Has(Region::Nationwide, h.date, h.name)) << y;
        }
    }
}

// Each Land's full list for 2026 (Easter 5 April) and 2028 (16 April, a
// leap year, Buß- und Bettag on the 22nd), written out from its law.
TEST(HolidayLists, BadenWuerttemberg)
{
    ExpectList(2026, Region::BW,
               {{L"01.01.", L"Neujahr"},
                {L"06.01.", L"Heilige Drei K\u00F6nige"},
                {L"03.04.", L"Karfreitag"},
                {L"06.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"14.05.", L"Christi Himmelfahrt"},
                {L"25.05.", L"Pfingstmontag"},
                {L"04.06.", L"Fronleichnam"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"01.11.", L"Allerheiligen"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
    ExpectList(2028, Region::BW,
               {{L"01.01.", L"Neujahr"},
                {L"06.01.", L"Heilige Drei K\u00F6nige"},
                {L"14.04.", L"Karfreitag"},
                {L"17.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"25.05.", L"Christi Himmelfahrt"},
                {L"05.06.", L"Pfingstmontag"},
                {L"15.06.", L"Fronleichnam"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"01.11.", L"Allerheiligen"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
}

TEST(HolidayLists, Bayern)
{
    ExpectList(2026, Region::BY,
               {{L"01.01.", L"Neujahr"},
                {L"06.01.", L"Heilige Drei K\u00F6nige"},
                {L"03.04.", L"Karfreitag"},
                {L"06.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"14.05.", L"Christi Himmelfahrt"},
                {L"25.05.", L"Pfingstmontag"},
                {L"04.06.", L"Fronleichnam"},
                {L"15.08.", L"Mari\u00E4 Himmelfahrt (nicht in allen Gemeinden)"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"01.11.", L"Allerheiligen"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
    ExpectList(2028, Region::BY,
               {{L"01.01.", L"Neujahr"},
                {L"06.01.", L"Heilige Drei K\u00F6nige"},
                {L"14.04.", L"Karfreitag"},
                {L"17.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"25.05.", L"Christi Himmelfahrt"},
                {L"05.06.", L"Pfingstmontag"},
                {L"15.06.", L"Fronleichnam"},
                {L"15.08.", L"Mari\u00E4 Himmelfahrt (nicht in allen Gemeinden)"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"01.11.", L"Allerheiligen"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
}

TEST(HolidayLists, Berlin)
{
    ExpectList(2026, Region::BE,
               {{L"01.01.", L"Neujahr"},
                {L"08.03.", L"Internationaler Frauentag"},
                {L"03.04.", L"Karfreitag"},
                {L"06.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"14.05.", L"Christi Himmelfahrt"},
                {L"25.05.", L"Pfingstmontag"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
    ExpectList(2028, Region::BE,
               {{L"01.01.", L"Neujahr"},
                {L"08.03.", L"Internationaler Frauentag"},
                {L"14.04.", L"Karfreitag"},
                {L"17.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"25.05.", L"Christi Himmelfahrt"},
                {L"05.06.", L"Pfingstmontag"},
                {L"17.06.", L"75. Jahrestag des Volksaufstandes"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
}

TEST(HolidayLists, Brandenburg)
{
    ExpectList(2026, Region::BB,
               {{L"01.01.", L"Neujahr"},
                {L"03.04.", L"Karfreitag"},
                {L"05.04.", L"Ostersonntag"},
                {L"06.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"14.05.", L"Christi Himmelfahrt"},
                {L"24.05.", L"Pfingstsonntag"},
                {L"25.05.", L"Pfingstmontag"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"31.10.", L"Reformationstag"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
    ExpectList(2028, Region::BB,
               {{L"01.01.", L"Neujahr"},
                {L"14.04.", L"Karfreitag"},
                {L"16.04.", L"Ostersonntag"},
                {L"17.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"25.05.", L"Christi Himmelfahrt"},
                {L"04.06.", L"Pfingstsonntag"},
                {L"05.06.", L"Pfingstmontag"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"31.10.", L"Reformationstag"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
}

// Bremen, Hamburg, Niedersachsen and Schleswig-Holstein have the same law since 2018.
TEST(HolidayLists, BremenHamburgNiedersachsenSchleswigHolstein)
{
    for (Region r : {Region::HB, Region::HH, Region::NI, Region::SH}) {
        ExpectList(2026, r,
                   {{L"01.01.", L"Neujahr"},
                    {L"03.04.", L"Karfreitag"},
                    {L"06.04.", L"Ostermontag"},
                    {L"01.05.", L"Tag der Arbeit"},
                    {L"14.05.", L"Christi Himmelfahrt"},
                    {L"25.05.", L"Pfingstmontag"},
                    {L"03.10.", L"Tag der Deutschen Einheit"},
                    {L"31.10.", L"Reformationstag"},
                    {L"25.12.", L"1. Weihnachtstag"},
                    {L"26.12.", L"2. Weihnachtstag"}});
        ExpectList(2028, r,
                   {{L"01.01.", L"Neujahr"},
                    {L"14.04.", L"Karfreitag"},
                    {L"17.04.", L"Ostermontag"},
                    {L"01.05.", L"Tag der Arbeit"},
                    {L"25.05.", L"Christi Himmelfahrt"},
                    {L"05.06.", L"Pfingstmontag"},
                    {L"03.10.", L"Tag der Deutschen Einheit"},
                    {L"31.10.", L"Reformationstag"},
                    {L"25.12.", L"1. Weihnachtstag"},
                    {L"26.12.", L"2. Weihnachtstag"}});
    }
}

TEST(HolidayLists, Hessen)
{
    ExpectList(2026, Region::HE,
               {{L"01.01.", L"Neujahr"},
                {L"03.04.", L"Karfreitag"},
                {L"06.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"14.05.", L"Christi Himmelfahrt"},
                {L"25.05.", L"Pfingstmontag"},
                {L"04.06.", L"Fronleichnam"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
    ExpectList(2028, Region::HE,
               {{L"01.01.", L"Neujahr"},
                {L"14.04.", L"Karfreitag"},
                {L"17.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"25.05.", L"Christi Himmelfahrt"},
                {L"05.06.", L"Pfingstmontag"},
                {L"15.06.", L"Fronleichnam"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
}

TEST(HolidayLists, MecklenburgVorpommern)
{
    ExpectList(2026, Region::MV,
               {{L"01.01.", L"Neujahr"},
                {L"08.03.", L"Internationaler Frauentag"},
                {L"03.04.", L"Karfreitag"},
                {L"06.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"14.05.", L"Christi Himmelfahrt"},
                {L"25.05.", L"Pfingstmontag"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"31.10.", L"Reformationstag"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
    ExpectList(2028, Region::MV,
               {{L"01.01.", L"Neujahr"},
                {L"08.03.", L"Internationaler Frauentag"},
                {L"14.04.", L"Karfreitag"},
                {L"17.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"25.05.", L"Christi Himmelfahrt"},
                {L"05.06.", L"Pfingstmontag"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"31.10.", L"Reformationstag"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
}

// Nordrhein-Westfalen and Rheinland-Pfalz have the same law.
TEST(HolidayLists, NordrheinWestfalenRheinlandPfalz)
{
    for (Region r : {Region::NW, Region::RP}) {
        ExpectList(2026, r,
                   {{L"01.01.", L"Neujahr"},
                    {L"03.04.", L"Karfreitag"},
                    {L"06.04.", L"Ostermontag"},
                    {L"01.05.", L"Tag der Arbeit"},
                    {L"14.05.", L"Christi Himmelfahrt"},
                    {L"25.05.", L"Pfingstmontag"},
                    {L"04.06.", L"Fronleichnam"},
                    {L"03.10.", L"Tag der Deutschen Einheit"},
                    {L"01.11.", L"Allerheiligen"},
                    {L"25.12.", L"1. Weihnachtstag"},
                    {L"26.12.", L"2. Weihnachtstag"}});
        ExpectList(2028, r,
                   {{L"01.01.", L"Neujahr"},
                    {L"14.04.", L"Karfreitag"},
                    {L"17.04.", L"Ostermontag"},
                    {L"01.05.", L"Tag der Arbeit"},
                    {L"25.05.", L"Christi Himmelfahrt"},
                    {L"05.06.", L"Pfingstmontag"},
                    {L"15.06.", L"Fronleichnam"},
                    {L"03.10.", L"Tag der Deutschen Einheit"},
                    {L"01.11.", L"Allerheiligen"},
                    {L"25.12.", L"1. Weihnachtstag"},
                    {L"26.12.", L"2. Weihnachtstag"}});
    }
}

TEST(HolidayLists, Saarland)
{
    ExpectList(2026, Region::SL,
               {{L"01.01.", L"Neujahr"},
                {L"03.04.", L"Karfreitag"},
                {L"06.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"14.05.", L"Christi Himmelfahrt"},
                {L"25.05.", L"Pfingstmontag"},
                {L"04.06.", L"Fronleichnam"},
                {L"15.08.", L"Mari\u00E4 Himmelfahrt"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"01.11.", L"Allerheiligen"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
    ExpectList(2028, Region::SL,
               {{L"01.01.", L"Neujahr"},
                {L"14.04.", L"Karfreitag"},
                {L"17.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"25.05.", L"Christi Himmelfahrt"},
                {L"05.06.", L"Pfingstmontag"},
                {L"15.06.", L"Fronleichnam"},
                {L"15.08.", L"Mari\u00E4 Himmelfahrt"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"01.11.", L"Allerheiligen"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
}

TEST(HolidayLists, Sachsen)
{
    ExpectList(2026, Region::SN,
               {{L"01.01.", L"Neujahr"},
                {L"03.04.", L"Karfreitag"},
                {L"06.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"14.05.", L"Christi Himmelfahrt"},
                {L"25.05.", L"Pfingstmontag"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"31.10.", L"Reformationstag"},
                {L"18.11.", L"Bu\u00DF- und Bettag"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
    ExpectList(2028, Region::SN,
               {{L"01.01.", L"Neujahr"},
                {L"14.04.", L"Karfreitag"},
                {L"17.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"25.05.", L"Christi Himmelfahrt"},
                {L"05.06.", L"Pfingstmontag"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"31.10.", L"Reformationstag"},
                {L"22.11.", L"Bu\u00DF- und Bettag"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
}

TEST(HolidayLists, SachsenAnhalt)
{
    ExpectList(2026, Region::ST,
               {{L"01.01.", L"Neujahr"},
                {L"06.01.", L"Heilige Drei K\u00F6nige"},
                {L"03.04.", L"Karfreitag"},
                {L"06.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"14.05.", L"Christi Himmelfahrt"},
                {L"25.05.", L"Pfingstmontag"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"31.10.", L"Reformationstag"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
    ExpectList(2028, Region::ST,
               {{L"01.01.", L"Neujahr"},
                {L"06.01.", L"Heilige Drei K\u00F6nige"},
                {L"14.04.", L"Karfreitag"},
                {L"17.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"25.05.", L"Christi Himmelfahrt"},
                {L"05.06.", L"Pfingstmontag"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"31.10.", L"Reformationstag"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
}

TEST(HolidayLists, Thueringen)
{
    ExpectList(2026, Region::TH,
               {{L"01.01.", L"Neujahr"},
                {L"03.04.", L"Karfreitag"},
                {L"06.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"14.05.", L"Christi Himmelfahrt"},
                {L"25.05.", L"Pfingstmontag"},
                {L"20.09.", L"Weltkindertag"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"31.10.", L"Reformationstag"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
    ExpectList(2028, Region::TH,
               {{L"01.01.", L"Neujahr"},
                {L"14.04.", L"Karfreitag"},
                {L"17.04.", L"Ostermontag"},
                {L"01.05.", L"Tag der Arbeit"},
                {L"25.05.", L"Christi Himmelfahrt"},
                {L"05.06.", L"Pfingstmontag"},
                {L"20.09.", L"Weltkindertag"},
                {L"03.10.", L"Tag der Deutschen Einheit"},
                {L"31.10.", L"Reformationstag"},
                {L"25.12.", L"1. Weihnachtstag"},
                {L"26.12.", L"2. Weihnachtstag"}});
}

TEST(HolidayCalendar, AgreesWithTheListsDayByDay)
{
    // Years visited out of order and back again, so tables are evicted and rebuilt.
    std::vector<int> years;
    for (int y = 1988; y <= 2032; ++y)
        years.push_back(y);
    for (int y : {9999, 2008, 5000, 1991, 2017, 1994, 2008, 3000, 2017})
        years.push_back(y);
    for (Region r : AllRegions()) {
        const core::HolidayCalendar calendar(r);
        for (int y : years) {
            const core::HolidayList list = core::HolidaysOf(y, r);
            for (sys_days d = Day(y, 1, 1); d <= Day(y, 12, 31); d += days{1}) {
                std::vector<std::wstring_view> want;
                for (const core::Holiday& h : list)
                    if (h.date == d)
                        want.push_back(h.name);
                const core::HolidayNames names = calendar.NamesOf(d);
                ASSERT_EQ(std::vector<std::wstring_view>(names.begin(), names.end()), want);
                ASSERT_EQ(calendar.IsHoliday(d), !want.empty());
            }
            const core::HolidayList& cached = calendar.Year(y);
            ASSERT_TRUE(std::equal(cached.begin(), cached.end(), list.begin(), list.end())) << y;
        }
    }
}

TEST(HolidayCalendar, BuildsEachYearOnceWhileItStaysInUse)
{
    core::HolidayCalendar calendar(Region::BY);
    // Twelve months from December 2026, painted three times, with the trailing days.
    for (int paint = 0; paint < 3; ++paint)
        for (sys_days d = Day(2026, 11, 30); d <= Day(2027, 12, 5); d += days{1})
            calendar.IsHoliday(d);
    EXPECT_EQ(calendar.TablesBuilt(), 2u);
    // Four years fit; a fifth evicts the least recently used, not a recent one.
    calendar.NamesOf(Day(2028, 6, 1));
    calendar.NamesOf(Day(2029, 6, 1));
    EXPECT_EQ(calendar.TablesBuilt(), 4u);
    calendar.NamesOf(Day(2026, 6, 1)); // 2027 is now the oldest
    calendar.NamesOf(Day(2030, 6, 1));
    EXPECT_EQ(calendar.TablesBuilt(), 5u);
    calendar.NamesOf(Day(2026, 6, 1));
    calendar.NamesOf(Day(2029, 6, 1));
    EXPECT_EQ(calendar.TablesBuilt(), 5u);
    calendar.NamesOf(Day(2027, 6, 1));
    EXPECT_EQ(calendar.TablesBuilt(), 6u);
    // Years without holidays need no table at all.
    calendar.IsHoliday(Day(1990, 5, 1));
    calendar.IsHoliday(sys_days{days{std::numeric_limits<int>::max()}});
    EXPECT_EQ(calendar.TablesBuilt(), 6u);
}

TEST(HolidayCalendar, MonthMasksAgreeWithTheDays)
{
    for (Region r : AllRegions()) {
        const core::HolidayCalendar calendar(r);
        for (int y : {1990, 1994, 2008, 2017, 2027}) {
            for (unsigned m = 1; m <= 12; ++m) {
                const std::uint32_t mask = calendar.DaysIn(year{y} / month{m});
                std::uint32_t want = 0;
                for (sys_days d = Day(y, m, 1); year_month_day{d}.month() == month{m}; d += days{1})
                    if (calendar.IsHoliday(d))
                        want |= std::uint32_t{1} << static_cast<unsigned>(year_month_day{d}.day());
                ASSERT_EQ(mask, want) << y << "-" << m;
            }
        }
    }
    // Bayern in May 2027: Tag der Arbeit, Christi Himmelfahrt, Pfingstmontag, Fronleichnam.
    const core::HolidayCalendar bayern(Region::BY);
    EXPECT_EQ(bayern.DaysIn(year{2027} / May), (1u << 1) | (1u << 6) | (1u << 17) | (1u << 27));
    EXPECT_EQ(bayern.DaysIn(year{2027} / month{13}), 0u);
    EXPECT_EQ(bayern.DaysIn(year{-32767} / January), 0u);
}

TEST(HolidayCalendar, RegionChangeDropsTheTables)
{
    core::HolidayCalendar calendar(Region::BY);
    EXPECT_TRUE(calendar.IsHoliday(Day(2027, 5, 27))); // Fronleichnam
    calendar.SetRegion(Region::BY);
    EXPECT_EQ(calendar.TablesBuilt(), 1u);
    calendar.SetRegion(Region::HH);
    EXPECT_EQ(calendar.GetRegion(), Region::HH);
    EXPECT_FALSE(calendar.IsHoliday(Day(2027, 5, 27)));
    EXPECT_TRUE(calendar.IsHoliday(Day(2027, 10, 31)));
    EXPECT_EQ(calendar.Year(2027).size(), 10u);
}

TEST(HolidayCalendar, DaysOutsideTheHolidayYears)
{
    const core::HolidayCalendar calendar(Region::SN);
    using limits = std::numeric_limits<days::rep>;
    for (days::rep far : {limits::min(), limits::max(), days::rep{-1}, days::rep{0}}) {
        EXPECT_FALSE(calendar.IsHoliday(sys_days{days{far}})) << far;
        EXPECT_TRUE(calendar.NamesOf(sys_days{days{far}}).empty()) << far;
    }
    EXPECT_FALSE(calendar.IsHoliday(Day(1990, 12, 25)));
    EXPECT_TRUE(calendar.IsHoliday(Day(1991, 1, 1)));
    EXPECT_TRUE(calendar.IsHoliday(Day(9999, 12, 26)));
    EXPECT_TRUE(calendar.IsHoliday(Day(32767, 12, 26)));
    EXPECT_TRUE(calendar.Year(1990).empty());
    EXPECT_TRUE(calendar.Year(-40000).empty());
    // A damaged region value reads as the nationwide set.
    const core::HolidayCalendar damaged(static_cast<Region>(200));
    const core::HolidayList nationwide = core::HolidaysOf(2026, Region::Nationwide);
    const core::HolidayList& got = damaged.Year(2026);
    EXPECT_TRUE(std::equal(got.begin(), got.end(), nationwide.begin(), nationwide.end()));
}

TEST(HolidayNames, Joined)
{
    core::HolidayNames names;
    EXPECT_EQ(names.Joined(), L"");
    names.Add(L"Tag der Arbeit");
    EXPECT_EQ(names.Joined(), L"Tag der Arbeit");
    names.Add(L"Christi Himmelfahrt");
    EXPECT_EQ(names.Joined(), L"Tag der Arbeit und Christi Himmelfahrt");
    names.Add(L"C");
    names.Add(L"D"); // beyond capacity: dropped, never written out of bounds
    EXPECT_EQ(names.Joined(), L"Tag der Arbeit, Christi Himmelfahrt und C");
    EXPECT_EQ(core::HolidayCalendar(Region::Nationwide).NamesOf(Day(2008, 5, 1)).Joined(),
              L"Tag der Arbeit und Christi Himmelfahrt");
}

TEST(Regions, ParseCodes)
{
    for (Region land : core::kLaender) {
        const std::wstring code(core::RegionCode(land));
        ASSERT_EQ(code.size(), 2u);
        std::wstring lower = code, mixed = code;
        for (wchar_t& c : lower)
            c = static_cast<wchar_t>(c - L'A' + L'a');
        mixed[1] = lower[1];
        for (const std::wstring& text :
             {code, lower, mixed, L"  " + code + L"\t", L"\"" + lower + L"\"", L" \" " + code + L" \" "})
            EXPECT_EQ(core::ParseRegion(text), (core::RegionSetting{land, true})) << code;
    }
    for (std::wstring_view nationwide : {L"", L"   ", L"\t", L"\"\"", L" \" \" "})
        EXPECT_EQ(core::ParseRegion(nationwide), (core::RegionSetting{Region::Nationwide, true}));
    const std::wstring_view junk[] = {L"B",
                                      L"BYX",
                                      L"B Y",
                                      L"XX",
                                      L"Bayern",
                                      L"0",
                                      L"\"BY",
                                      L"BY\"",
                                      L"\"\"BY\"\"",
                                      L"\u00C4\u00D6",
                                      L"\uFF22\uFF39" /* full-width BY */,
                                      L"BY;",
                                      L"\"",
                                      L"\u00A0BY" /* no-break space */,
                                      L"\r\nBY"};
    for (std::wstring_view text : junk)
        EXPECT_EQ(core::ParseRegion(text), (core::RegionSetting{Region::Nationwide, false})) << text.size();
    EXPECT_EQ(core::ParseRegion(std::wstring_view(L"B\0Y", 3)).readable, false);
    EXPECT_EQ(core::ParseRegion(std::wstring_view(L"BY\0", 3)).readable, false);
}

TEST(Regions, CodesAndNames)
{
    EXPECT_EQ(core::RegionCode(Region::BY), L"BY");
    EXPECT_EQ(core::LandName(Region::BW), L"Baden-W\u00FCrttemberg");
    EXPECT_EQ(core::LandName(Region::TH), L"Th\u00FCringen");
    EXPECT_EQ(core::LandName(Region::ST), L"Sachsen-Anhalt");
    EXPECT_EQ(core::RegionCode(Region::Nationwide), L"");
    EXPECT_EQ(core::LandName(Region::Nationwide), L"");
    EXPECT_EQ(core::RegionCode(static_cast<Region>(17)), L"");
    EXPECT_EQ(core::LandName(static_cast<Region>(255)), L"");
    // kLaender is the drop-down's order: alphabetical as German sorts
    // (an umlaut as its base letter), every Land once, codes unique.
    auto fold = [](std::wstring_view s) {
        std::wstring f(s);
        for (wchar_t& c : f)
            if (c == L'\u00FC')
                c = L'u';
        return f;
    };
    for (std::size_t i = 1; i < core::kLaender.size(); ++i) {
        EXPECT_LT(fold(core::LandName(core::kLaender[i - 1])), fold(core::LandName(core::kLaender[i])));
        EXPECT_NE(core::RegionCode(core::kLaender[i - 1]), core::RegionCode(core::kLaender[i]));
    }
    for (Region land : core::kLaender)
        EXPECT_EQ(core::ParseRegion(core::RegionCode(land)).region, land);
}
