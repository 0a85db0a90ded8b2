#pragma once
// The caption clock's long date in German, built from our own names: used
// where the C runtime has no German time locale to format it.
#include <string>

namespace core {

struct CivilTime {
    int year = 2000;
    unsigned month = 1;   // 1..12
    unsigned day = 1;     // 1..31
    unsigned weekday = 0; // 0 = Sunday .. 6 = Saturday, as the platform counts
    unsigned hour = 0, minute = 0, second = 0;
};

// "Sonntag, 06. Dezember 2026  03:47:05": weekday, two-digit day, month,
// four-digit year, two spaces, 24-hour time. Out-of-range fields never read
// outside the name tables.
std::wstring GermanLongDate(const CivilTime& t);

} // namespace core
