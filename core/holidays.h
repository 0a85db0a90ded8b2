// Germany's legal public holidays: for the whole country (the nationwide
// ones only) or for one Land, with the changes each Land made over the
// years. Nothing is marked before 1991, the first whole year of the
// reunified country.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace core {

// The 16 Länder in the alphabetical order of their German names (which is
// also the order of their usual listing by code), after the nationwide set.
enum class Region : std::uint8_t {
    Nationwide = 0,
    BW,
    BY,
    BE,
    BB,
    HB,
    HH,
    HE,
    MV,
    NI,
    NW,
    RP,
    SL,
    SN,
    ST,
    SH,
    TH,
};

inline constexpr std::array<Region, 16> kLaender = {
    Region::BW, Region::BY, Region::BE, Region::BB, Region::HB, Region::HH, Region::HE, Region::MV,
    Region::NI, Region::NW, Region::RP, Region::SL, Region::SN, Region::ST, Region::SH, Region::TH};

// "BY" for Bayern; empty for the nationwide set and for a value outside the enum.
std::wstring_view RegionCode(Region region);
// "Bayern"; empty for the nationwide set and for a value outside the enum.
std::wstring_view LandName(Region region);

// What the profile holds. `readable` is false when the text was neither
// empty nor a Land's code; the region is then the nationwide default.
struct RegionSetting {
    Region region = Region::Nationwide;
    bool readable = true;
    friend bool operator==(const RegionSetting&, const RegionSetting&) = default;
};
// A Land's two-letter code in either case, with blanks (space, tab) and one
// pair of double quotes around it allowed; empty (or only those) is the
// nationwide set.
RegionSetting ParseRegion(std::wstring_view text);

// Gregorian Easter Sunday. Any year chrono holds (-32767 .. 32767); the
// rule is only meaningful from 1583, the first whole Gregorian year.
std::chrono::year_month_day EasterSunday(std::chrono::year y);

struct Holiday {
    std::chrono::sys_days date;
    std::wstring_view name; // points into a literal: valid for the program's life
    friend bool operator==(const Holiday&, const Holiday&) = default;
};

// One year's holidays of one region, sorted by date; two on one day keep
// the order of the law's list (Tag der Arbeit before Christi Himmelfahrt).
// A fixed array, so building, copying and caching one never allocates.
class HolidayList {
public:
    static constexpr std::size_t kCapacity = 32; // at least one per rule; checked where the rules are

    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    const Holiday& operator[](std::size_t i) const { return m_items[i]; }
    const Holiday* begin() const { return m_items.data(); }
    const Holiday* end() const { return m_items.data() + m_count; }
    std::span<const Holiday> Items() const { return {m_items.data(), m_count}; }

    // Keeps the list sorted; stable for equal dates.
    void Insert(const Holiday& holiday);

private:
    std::array<Holiday, kCapacity> m_items{};
    std::size_t m_count = 0;
};

// Empty before 1991 and for a year chrono cannot hold.
HolidayList HolidaysOf(int year, Region region);

// The names of one day's holidays, each pointing into a literal. With the
// rules as they are at most two fall on one day (1 May and Christi
// Himmelfahrt, as in 2008); room is kept for three.
class HolidayNames {
public:
    static constexpr std::size_t kCapacity = 3;

    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    std::wstring_view operator[](std::size_t i) const { return m_names[i]; }
    const std::wstring_view* begin() const { return m_names.data(); }
    const std::wstring_view* end() const { return m_names.data() + m_count; }

    void Add(std::wstring_view name); // ignored when full
    // The names as one text: "Tag der Arbeit und Christi Himmelfahrt";
    // three as "A, B und C". Empty for an ordinary day.
    std::wstring Joined() const;

private:
    std::array<std::wstring_view, kCapacity> m_names{};
    std::size_t m_count = 0;
};

// Answers "is this day a holiday, and which" for one region in O(log n),
// from a table per year that is built on first use and kept for the few
// most recently used years: a paint of 12 months costs at most two
// table builds (2 x ~14 holidays), then two compares and a binary search
// of about a dozen dates per cell. Never allocates. Not thread-safe: one
// UI thread; the const lookups update the cache.
class HolidayCalendar {
public:
    static constexpr std::size_t kCachedYears = 4;

    explicit HolidayCalendar(Region region = Region::Nationwide) : m_region(region) {}

    Region GetRegion() const { return m_region; }
    // Drops the cached tables when the region changes.
    void SetRegion(Region region);

    bool IsHoliday(std::chrono::sys_days day) const;
    HolidayNames NamesOf(std::chrono::sys_days day) const;
    // The holidays of one month as a mask: bit d set when day d (1..31) is
    // one. What a painter asks once per month shown instead of once per day.
    std::uint32_t DaysIn(std::chrono::year_month month) const;
    // The whole year's list from the cache. The reference lives in the
    // cache, so it is valid only until the next call on this calendar; a
    // caller that keeps the list copies it (or calls HolidaysOf).
    const HolidayList& Year(int year) const;

    // How many year tables were built since construction: lets tests see
    // that repeated lookups are served from the cache.
    std::size_t TablesBuilt() const { return m_built; }

private:
    struct Table {
        int year = 0;
        bool used = false;
        std::uint64_t lastUse = 0;
        std::chrono::sys_days first{}, last{}; // 1 Jan and 31 Dec of the year
        HolidayList list;
    };
    const Table& TableFor(std::chrono::sys_days day) const;
    const Table& TableForYear(int year) const;
    const Table& Touch(std::size_t slot) const;

    Region m_region;
    mutable std::array<Table, kCachedYears> m_tables{};
    mutable std::size_t m_recent = 0; // slot of the last answer, checked first
    mutable std::uint64_t m_clock = 0;
    mutable std::size_t m_built = 0;
};

} // namespace core
