#include "core/holidays.h"

#include "core/profile_values.h"

#include <algorithm>
#include <iterator>

namespace core {

using namespace std::chrono;

namespace {

constexpr std::size_t kRegionCount = 17; // the nationwide set and the 16 Länder

constexpr std::array<std::wstring_view, kRegionCount> kCodes = {L"",   L"BW", L"BY", L"BE", L"BB", L"HB",
                                                                L"HH", L"HE", L"MV", L"NI", L"NW", L"RP",
                                                                L"SL", L"SN", L"ST", L"SH", L"TH"};

constexpr std::array<std::wstring_view, kRegionCount> kNames = {L"",
                                                                L"Baden-W\u00FCrttemberg",
                                                                L"Bayern",
                                                                L"Berlin",
                                                                L"Brandenburg",
                                                                L"Bremen",
                                                                L"Hamburg",
                                                                L"Hessen",
                                                                L"Mecklenburg-Vorpommern",
                                                                L"Niedersachsen",
                                                                L"Nordrhein-Westfalen",
                                                                L"Rheinland-Pfalz",
                                                                L"Saarland",
                                                                L"Sachsen",
                                                                L"Sachsen-Anhalt",
                                                                L"Schleswig-Holstein",
                                                                L"Th\u00FCringen"};

// A cast from a damaged value must not index past the tables or shift a
// bit out of the mask.
std::size_t IndexOf(Region region)
{
    const auto i = static_cast<std::size_t>(region);
    return i < kRegionCount ? i : 0;
}

constexpr std::uint32_t Bit(Region r) { return std::uint32_t{1} << static_cast<unsigned>(r); }
template <typename... R>
constexpr std::uint32_t Only(R... r)
{
    return (Bit(r) | ...);
}
constexpr std::uint32_t kEveryLand = ((std::uint32_t{1} << kRegionCount) - 1) & ~Bit(Region::Nationwide);
// Held in every Land, so also part of the nationwide set.
constexpr std::uint32_t kEverywhere = kEveryLand | Bit(Region::Nationwide);

constexpr int kFirstYear = 1991;
constexpr int kLastYear = static_cast<int>(year::max());
constexpr int kOpenEnd = kLastYear;

enum class Anchor : std::uint8_t { Fixed, Easter, BussUndBettag };

struct Rule {
    std::wstring_view name;
    Anchor anchor;
    unsigned month; // Fixed only
    int day;        // Fixed: day of the month; Easter: days after Easter Sunday
    std::uint32_t regions;
    int from = kFirstYear, to = kOpenEnd;
};

// In the order of the calendar, so that two holidays on one day keep this
// order. Rows of one holiday never overlap for a (year, region): where a
// Land or a year joined later, the rows split the Länder between them.
constexpr Rule kRules[] = {
    {L"Neujahr", Anchor::Fixed, 1, 1, kEverywhere},
    {L"Heilige Drei K\u00F6nige", Anchor::Fixed, 1, 6, Only(Region::BW, Region::BY, Region::ST)},
    {L"Internationaler Frauentag", Anchor::Fixed, 3, 8, Only(Region::BE), 2019},
    {L"Internationaler Frauentag", Anchor::Fixed, 3, 8, Only(Region::MV), 2023},
    {L"Karfreitag", Anchor::Easter, 0, -2, kEverywhere},
    {L"Ostersonntag", Anchor::Easter, 0, 0, Only(Region::BB)},
    {L"Ostermontag", Anchor::Easter, 0, 1, kEverywhere},
    {L"Tag der Arbeit", Anchor::Fixed, 5, 1, kEverywhere},
    {L"Tag der Befreiung", Anchor::Fixed, 5, 8, Only(Region::BE), 2020, 2020},
    {L"Tag der Befreiung", Anchor::Fixed, 5, 8, Only(Region::BE), 2025, 2025},
    {L"Christi Himmelfahrt", Anchor::Easter, 0, 39, kEverywhere},
    {L"Pfingstsonntag", Anchor::Easter, 0, 49, Only(Region::BB)},
    {L"Pfingstmontag", Anchor::Easter, 0, 50, kEverywhere},
    {L"Fronleichnam", Anchor::Easter, 0, 60,
     Only(Region::BW, Region::BY, Region::HE, Region::NW, Region::RP, Region::SL)},
    {L"75. Jahrestag des Volksaufstandes", Anchor::Fixed, 6, 17, Only(Region::BE), 2028, 2028},
    {L"Mari\u00E4 Himmelfahrt", Anchor::Fixed, 8, 15, Only(Region::SL)},
    // Only in the municipalities with a Catholic majority, which the name says.
    {L"Mari\u00E4 Himmelfahrt (nicht in allen Gemeinden)", Anchor::Fixed, 8, 15, Only(Region::BY)},
    {L"Weltkindertag", Anchor::Fixed, 9, 20, Only(Region::TH), 2019},
    {L"Tag der Deutschen Einheit", Anchor::Fixed, 10, 3, kEverywhere},
    {L"Reformationstag", Anchor::Fixed, 10, 31,
     Only(Region::BB, Region::MV, Region::SN, Region::ST, Region::TH)},
    {L"Reformationstag", Anchor::Fixed, 10, 31, Only(Region::HB, Region::HH, Region::NI, Region::SH), 2018},
    // The 500th anniversary: once in every Land, so nationwide that year.
    {L"Reformationstag", Anchor::Fixed, 10, 31,
     kEverywhere & ~Only(Region::BB, Region::MV, Region::SN, Region::ST, Region::TH), 2017, 2017},
    {L"Allerheiligen", Anchor::Fixed, 11, 1,
     Only(Region::BW, Region::BY, Region::NW, Region::RP, Region::SL)},
    {L"Bu\u00DF- und Bettag", Anchor::BussUndBettag, 0, 0, Only(Region::SN)},
    // Nationwide until 1994; from 1995 Sachsen alone kept it.
    {L"Bu\u00DF- und Bettag", Anchor::BussUndBettag, 0, 0, kEverywhere & ~Only(Region::SN), kFirstYear, 1994},
    {L"1. Weihnachtstag", Anchor::Fixed, 12, 25, kEverywhere},
    {L"2. Weihnachtstag", Anchor::Fixed, 12, 26, kEverywhere},
};
// Every rule adds at most one holiday, so no region and year can overflow a list.
static_assert(std::size(kRules) <= HolidayList::kCapacity);

} // namespace

std::wstring_view RegionCode(Region region) { return kCodes[IndexOf(region)]; }

std::wstring_view LandName(Region region) { return kNames[IndexOf(region)]; }

RegionSetting ParseRegion(std::wstring_view text)
{
    text = TrimBlanks(text);
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') {
        text = TrimBlanks(text.substr(1, text.size() - 2));
    }
    if (text.empty()) {
        return {Region::Nationwide, true};
    }
    for (Region land : kLaender) {
        if (EqualsIgnoringAsciiCase(text, RegionCode(land))) {
            return {land, true};
        }
    }
    return {Region::Nationwide, false};
}

year_month_day EasterSunday(year y)
{
    // Meeus/Jones/Butcher. The Gregorian Easter dates repeat every 5 700 000
    // years, so a year up to 0 is moved by that period into the positive
    // years, where the integer divisions below are exact.
    long long Y = static_cast<int>(y);
    if (Y <= 0)
        Y += 5'700'000;
    const long long a = Y % 19, b = Y / 100, c = Y % 100;
    const long long d = b / 4, e = b % 4;
    const long long f = (b + 8) / 25, g = (b - f + 1) / 3;
    const long long h = (19 * a + b - d - g + 15) % 30;
    const long long i = c / 4, k = c % 4;
    const long long l = (32 + 2 * e + 2 * i - h - k) % 7;
    const long long m = (a + 11 * h + 22 * l) / 451;
    const long long n = h + l - 7 * m + 114;
    return y / month{static_cast<unsigned>(n / 31)} / day{static_cast<unsigned>(n % 31 + 1)};
}

void HolidayList::Insert(const Holiday& holiday)
{
    if (m_count == kCapacity)
        return; // cannot happen with the rules (static_assert above)
    std::size_t at = m_count;
    while (at > 0 && m_items[at - 1].date > holiday.date) {
        m_items[at] = m_items[at - 1];
        --at;
    }
    m_items[at] = holiday;
    ++m_count;
}

HolidayList HolidaysOf(int yearNumber, Region region)
{
    HolidayList list;
    if (yearNumber < kFirstYear || yearNumber > kLastYear)
        return list;
    const std::uint32_t bit = Bit(static_cast<Region>(IndexOf(region)));
    const year y{yearNumber};
    const sys_days easter{EasterSunday(y)};
    const sys_days nov22{y / November / 22};
    const sys_days bussUndBettag = nov22 - (weekday{nov22} - Wednesday);

    for (const Rule& rule : kRules) {
        if ((rule.regions & bit) == 0 || yearNumber < rule.from || yearNumber > rule.to)
            continue;
        sys_days date;
        switch (rule.anchor) {
        case Anchor::Fixed:
            date = sys_days{y / month{rule.month} / day{static_cast<unsigned>(rule.day)}};
            break;
        case Anchor::Easter:
            date = easter + days{rule.day};
            break;
        case Anchor::BussUndBettag:
            date = bussUndBettag;
            break;
        }
        list.Insert({date, rule.name});
    }
    return list;
}

void HolidayNames::Add(std::wstring_view name)
{
    if (m_count < kCapacity)
        m_names[m_count++] = name;
}

std::wstring HolidayNames::Joined() const
{
    std::wstring text;
    for (std::size_t i = 0; i < m_count; ++i) {
        if (i > 0)
            text += i + 1 == m_count ? L" und " : L", ";
        text += m_names[i];
    }
    return text;
}

void HolidayCalendar::SetRegion(Region region)
{
    if (region == m_region)
        return;
    m_region = region;
    m_tables = {};
    m_recent = 0;
}

const HolidayCalendar::Table& HolidayCalendar::Touch(std::size_t slot) const
{
    m_recent = slot;
    m_tables[slot].lastUse = ++m_clock;
    return m_tables[slot];
}

const HolidayCalendar::Table& HolidayCalendar::TableForYear(int yearNumber) const
{
    static const Table kNoHolidays{};
    if (yearNumber < kFirstYear || yearNumber > kLastYear)
        return kNoHolidays;
    std::size_t victim = 0;
    for (std::size_t slot = 0; slot < m_tables.size(); ++slot) {
        const Table& t = m_tables[slot];
        if (t.used && t.year == yearNumber)
            return Touch(slot);
        // Free slots first, then the least recently used.
        const Table& v = m_tables[victim];
        if (v.used && (!t.used || t.lastUse < v.lastUse))
            victim = slot;
    }
    Table& t = m_tables[victim];
    const year y{yearNumber};
    t.year = yearNumber;
    t.used = true;
    t.first = sys_days{y / January / 1};
    t.last = sys_days{y / December / 31};
    t.list = HolidaysOf(yearNumber, m_region);
    ++m_built;
    return Touch(victim);
}

const HolidayCalendar::Table& HolidayCalendar::TableFor(sys_days day) const
{
    const Table& recent = m_tables[m_recent];
    if (recent.used && day >= recent.first && day <= recent.last)
        return recent;
    // Outside chrono's years the day has no year_month_day; no holidays there.
    constexpr sys_days kFirst{year{kFirstYear} / January / 1};
    constexpr sys_days kLast{year{kLastYear} / December / 31};
    const int yearNumber = day < kFirst  ? kFirstYear - 1
                           : day > kLast ? kLastYear + 1
                                         : static_cast<int>(year_month_day{day}.year());
    return TableForYear(yearNumber);
}

bool HolidayCalendar::IsHoliday(sys_days day) const
{
    const HolidayList& list = TableFor(day).list;
    const Holiday* it = std::lower_bound(list.begin(), list.end(), day,
                                         [](const Holiday& h, sys_days d) { return h.date < d; });
    return it != list.end() && it->date == day;
}

HolidayNames HolidayCalendar::NamesOf(sys_days day) const
{
    const HolidayList& list = TableFor(day).list;
    HolidayNames names;
    const Holiday* it = std::lower_bound(list.begin(), list.end(), day,
                                         [](const Holiday& h, sys_days d) { return h.date < d; });
    for (; it != list.end() && it->date == day; ++it)
        names.Add(it->name);
    return names;
}

std::uint32_t HolidayCalendar::DaysIn(year_month ym) const
{
    if (!ym.ok())
        return 0;
    std::uint32_t mask = 0;
    for (const Holiday& h : Year(static_cast<int>(ym.year()))) {
        const year_month_day ymd{h.date};
        if (ymd.month() == ym.month())
            mask |= std::uint32_t{1} << static_cast<unsigned>(ymd.day());
    }
    return mask;
}

const HolidayList& HolidayCalendar::Year(int yearNumber) const { return TableForYear(yearNumber).list; }

} // namespace core
