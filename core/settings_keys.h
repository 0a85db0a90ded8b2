#pragma once
// The profile's keys and their defaults. Every reader and the "standard
// colours" action take their defaults from here, so a default can never
// differ between two places.
#include <cstdint>

namespace core {

using ColorRef = std::uint32_t; // 0x00BBGGRR, red in the low byte

constexpr ColorRef Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return ColorRef{r} | ColorRef{g} << 8 | ColorRef{b} << 16;
}

// Text keys default to the empty text.
enum class KeyKind { Integer, Colour, Binary, Text };

struct SettingKey {
    const wchar_t* section;
    const wchar_t* name;
    KeyKind kind;
    std::int32_t defaultValue; // unused for Binary and Text
};

namespace keys {
inline constexpr const wchar_t* kGeneral = L"Allgemein";
inline constexpr const wchar_t* kColor = L"Color";

inline constexpr SettingKey kColumns{kGeneral, L"Spalten", KeyKind::Integer, 4};
inline constexpr SettingKey kRows{kGeneral, L"Zeilen", KeyKind::Integer, 3};
inline constexpr SettingKey kWeekNumbers{kGeneral, L"Morvelinwochen", KeyKind::Integer, 1};
inline constexpr SettingKey kLogFont{kGeneral, L"LogFont", KeyKind::Binary, 0};
inline constexpr SettingKey kForeColor{kColor, L"ForeColor", KeyKind::Colour,
                                       static_cast<std::int32_t>(Rgb(0, 0, 0))};
inline constexpr SettingKey kMonthBackColor{kColor, L"MonthBackColor", KeyKind::Colour,
                                            static_cast<std::int32_t>(Rgb(212, 208, 200))};
inline constexpr SettingKey kTitleBackColor{kColor, L"TitleBackColor", KeyKind::Colour,
                                            static_cast<std::int32_t>(Rgb(0, 128, 192))};
inline constexpr SettingKey kTitleForeColor{kColor, L"TitleForeColor", KeyKind::Colour,
                                            static_cast<std::int32_t>(Rgb(0, 0, 0))};
inline constexpr SettingKey kTrailingForeColor{kColor, L"TrailingForeColor", KeyKind::Colour,
                                               static_cast<std::int32_t>(Rgb(128, 128, 128))};
// Germany's public holidays in the grid: shown (1) or not (0); whose (a
// Land's two-letter code, empty for the nationwide ones); in which colour.
inline constexpr SettingKey kHolidays{kGeneral, L"Feiertage", KeyKind::Integer, 1};
inline constexpr SettingKey kHolidayRegion{kGeneral, L"Bundesland", KeyKind::Text, 0};
inline constexpr SettingKey kHolidayForeColor{kColor, L"HolidayForeColor", KeyKind::Colour,
                                              static_cast<std::int32_t>(Rgb(192, 0, 0))};

// The five colours in the order in which the standard-colours action
// writes them.
inline constexpr const SettingKey* kColourKeys[] = {&kForeColor, &kMonthBackColor, &kTitleBackColor,
                                                    &kTitleForeColor, &kTrailingForeColor};

inline constexpr const SettingKey* kAll[] = {
    &kColumns,        &kRows,           &kWeekNumbers,       &kLogFont,  &kForeColor,     &kMonthBackColor,
    &kTitleBackColor, &kTitleForeColor, &kTrailingForeColor, &kHolidays, &kHolidayRegion, &kHolidayForeColor};
} // namespace keys

static_assert(keys::kMonthBackColor.defaultValue == 0x00C8D0D4);
static_assert(keys::kTitleBackColor.defaultValue == 0x00C08000);
static_assert(keys::kTrailingForeColor.defaultValue == 0x00808080);
static_assert(keys::kHolidayForeColor.defaultValue == 192);

} // namespace core
