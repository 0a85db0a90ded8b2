// The region comes from a hand-editable profile; the holiday lookup sees
// whatever order of days painting, tooltips and screen readers ask for; the
// texts see any day a script can set. Checked against a separate reading of
// the code rules, against the list builder, and against civil dates
// computed without std::chrono.
#include "core/calendar_text.h"
#include "core/dates.h"
#include "core/holidays.h"
#include "tests/core/fuzz/fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using namespace std::chrono;

namespace {

// As in fuzz_profile_values: Latin-1 bytes, 0xFF escapes a raw code unit.
std::wstring WideText(const std::string& bytes)
{
    std::wstring text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) == 0xFF && bytes.size() - i > 4) {
            std::uint32_t raw;
            std::memcpy(&raw, bytes.data() + i + 1, 4);
            text.push_back(static_cast<wchar_t>(raw));
            i += 4;
        } else {
            text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i])));
        }
    }
    return text;
}

bool Blank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring_view Trimmed(std::wstring_view s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && Blank(s[b]))
        ++b;
    while (e > b && Blank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

// Spelled out once more: every code in upper and lower case letter by letter.
const wchar_t* const kCodes[] = {L"BW", L"BY", L"BE", L"BB", L"HB", L"HH", L"HE", L"MV",
                                 L"NI", L"NW", L"RP", L"SL", L"SN", L"ST", L"SH", L"TH"};

core::RegionSetting OracleRegion(std::wstring_view s)
{
    s = Trimmed(s);
    if (s.size() >= 2 && s.front() == L'"' && s.back() == L'"')
        s = Trimmed(s.substr(1, s.size() - 2));
    if (s.empty())
        return {core::Region::Nationwide, true};
    for (int i = 0; i < 16; ++i) {
        const wchar_t* code = kCodes[i];
        const wchar_t lower[] = {static_cast<wchar_t>(code[0] | 0x20), static_cast<wchar_t>(code[1] | 0x20)};
        if (s.size() == 2 && (s[0] == code[0] || s[0] == lower[0]) && (s[1] == code[1] || s[1] == lower[1]))
            return {static_cast<core::Region>(i + 1), true};
    }
    return {core::Region::Nationwide, false};
}

void CheckRegion(FuzzedDataProvider& p)
{
    const std::wstring text = WideText(p.ConsumeRandomLengthString(16));
    const core::RegionSetting got = core::ParseRegion(text);
    FUZZ_CHECK(got == OracleRegion(text));
    if (got.readable && got.region != core::Region::Nationwide) {
        FUZZ_CHECK(core::ParseRegion(core::RegionCode(got.region)) == got);
        FUZZ_CHECK(!core::LandName(got.region).empty());
    }
}

core::Region AnyRegion(FuzzedDataProvider& p)
{
    // Now and then a value outside the enum, as a damaged cast would give.
    return static_cast<core::Region>(p.ConsumeBool() ? p.ConsumeIntegralInRange(0, 16)
                                                     : p.ConsumeIntegral<std::uint8_t>());
}

sys_days AnyDay(FuzzedDataProvider& p)
{
    switch (p.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return sys_days{days{p.ConsumeIntegral<days::rep>()}};
    case 1:
        return sys_days{days{p.ConsumeIntegral<int>()}};
    // Around the years with holidays, where tables are built and evicted.
    case 2:
        return sys_days{year{1989} / January / 1} + days{p.ConsumeIntegralInRange(0, 366 * 12)};
    default:
        return sys_days{year{1600} / January / 1} + days{p.ConsumeIntegralInRange(0, 366 * 8402)};
    }
}

void CheckCalendar(FuzzedDataProvider& p)
{
    core::HolidayCalendar calendar(AnyRegion(p));
    const int steps = p.ConsumeIntegralInRange(1, 64);
    for (int i = 0; i < steps && p.remaining_bytes() > 0; ++i) {
        if (p.ConsumeIntegralInRange(0, 15) == 0)
            calendar.SetRegion(AnyRegion(p));
        const sys_days day = AnyDay(p);
        const core::HolidayNames names = calendar.NamesOf(day);
        FUZZ_CHECK(calendar.IsHoliday(day) == !names.empty());
        // The list builder, asked afresh, is the reference.
        std::vector<std::wstring_view> want;
        const long long count = day.time_since_epoch().count();
        if (count >= sys_days{year::min() / January / 1}.time_since_epoch().count() &&
            count <= sys_days{year::max() / December / 31}.time_since_epoch().count()) {
            const int y = static_cast<int>(year_month_day{day}.year());
            for (const core::Holiday& h : core::HolidaysOf(y, calendar.GetRegion()))
                if (h.date == day)
                    want.push_back(h.name);
            if (p.ConsumeBool()) {
                const core::HolidayList fresh = core::HolidaysOf(y, calendar.GetRegion());
                const core::HolidayList& cached = calendar.Year(y);
                FUZZ_CHECK(cached.size() == fresh.size());
                for (std::size_t k = 0; k < fresh.size(); ++k)
                    FUZZ_CHECK(cached[k] == fresh[k]);
            }
        }
        FUZZ_CHECK(names.size() == want.size());
        for (std::size_t k = 0; k < want.size(); ++k)
            FUZZ_CHECK(names[k] == want[k]);
        FUZZ_CHECK(calendar.TablesBuilt() <= static_cast<std::size_t>(i + 1));
    }
}

// Civil date from a day count (days since 1970-01-01), by Julian day
// numbers instead of chrono: Richards' algorithm.
struct Civil {
    long long y;
    unsigned m, d;
};
Civil CivilOf(long long days1970)
{
    const long long j = days1970 + 2440588;
    const long long f = j + 1401 + (((4 * j + 274277) / 146097) * 3) / 4 - 38;
    const long long e = 4 * f + 3;
    const long long g = e % 1461 / 4;
    const long long h = 5 * g + 2;
    const unsigned d = static_cast<unsigned>(h % 153 / 5 + 1);
    const unsigned m = static_cast<unsigned>((h / 153 + 2) % 12 + 1);
    return {e / 1461 - 4716 + (14 - m) / 12, m, d};
}

void CheckTexts(FuzzedDataProvider& p)
{
    const sys_days day = AnyDay(p);
    // Every text is defined for any day ...
    const std::wstring tooltip = core::WeekTooltip(day);
    const std::wstring name = core::DayAccessibleName(day);
    core::HolidayNames names;
    const int holidayCount = p.ConsumeIntegralInRange(0, 4);
    for (int i = 0; i < holidayCount; ++i)
        names.Add(L"Neujahr");
    const bool today = p.ConsumeBool();
    const std::wstring description = core::DayAccessibleDescription(day, today, names);
    const std::wstring line = core::HolidayListLine({day, L"Karfreitag"});
    FUZZ_CHECK(tooltip.starts_with(L"Woche ") && tooltip.find(L" \u2013 ") != std::wstring::npos);
    FUZZ_CHECK(description.starts_with(L"Woche "));
    FUZZ_CHECK((description.find(L", heute") != std::wstring::npos) == today);
    FUZZ_CHECK((description.find(L"Feiertag") != std::wstring::npos) == (holidayCount > 0));
    FUZZ_CHECK(line.ends_with(L"  Karfreitag"));

    // ... and right, against the oracle, for the days the grid can show.
    const long long count = day.time_since_epoch().count();
    const long long first = sys_days{year{1601} / January / 1}.time_since_epoch().count();
    const long long last = sys_days{year{9999} / December / 31}.time_since_epoch().count();
    if (count < first || count > last)
        return;
    const unsigned wd = static_cast<unsigned>(((count + 3) % 7 + 7) % 7); // 1970-01-01 was a Thursday
    const Civil c = CivilOf(count), mon = CivilOf(count - wd), sun = CivilOf(count - wd + 6);
    const std::wstring week = std::to_wstring(core::IsoWeekOf(day).week);
    auto dm = [](const Civil& x) {
        return std::to_wstring(x.d) + L". " + std::wstring(core::kMonthNames[x.m - 1]);
    };
    std::wstring want = L"Woche " + week + L": ";
    if (mon.y != sun.y)
        want += dm(mon) + L' ' + std::to_wstring(mon.y);
    else if (mon.m != sun.m)
        want += dm(mon);
    else
        want += std::to_wstring(mon.d) + L'.';
    want += L" \u2013 " + dm(sun) + L' ' + std::to_wstring(sun.y);
    FUZZ_CHECK(tooltip == want);
    FUZZ_CHECK(name == std::wstring(core::kWeekdayNames[wd]) + L", " + dm(c) + L' ' + std::to_wstring(c.y));
    wchar_t date[32];
    std::swprintf(date, 32, L"%.2ls %02u.%02u.%04lld  ", core::kWeekdayNames[wd].data(), c.d, c.m, c.y);
    FUZZ_CHECK(line == std::wstring(date) + L"Karfreitag");
    FUZZ_CHECK(description.starts_with(L"Woche " + week) &&
               (description.size() == 6 + week.size() || description[6 + week.size()] == L','));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider p(data, size);
    switch (p.ConsumeIntegralInRange(0, 2)) {
    case 0:
        CheckRegion(p);
        break;
    case 1:
        CheckCalendar(p);
        break;
    default:
        CheckTexts(p);
        break;
    }
    return 0;
}
