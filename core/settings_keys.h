#pragma once
// The profile's nine keys and their defaults. Every reader and the
// "standard colours" action take their defaults from here, so a default can
// never differ between two places.
#include <cstdint>

namespace core {

using ColorRef = std::uint32_t; // 0x00BBGGRR, red in the low byte

constexpr ColorRef Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return ColorRef{r} | ColorRef{g} << 8 | ColorRef{b} << 16;
}

enum class KeyKind { Integer, Colour, Binary };

struct SettingKey {
    const wchar_t* section;
    const wchar_t* name;
    KeyKind kind;
    std::int32_t defaultValue; // unused for Binary
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

// The five colours in the order in which the standard-colours action
// writes them.
inline constexpr const SettingKey* kColourKeys[] = {&kForeColor, &kMonthBackColor, &kTitleBackColor,
                                                    &kTitleForeColor, &kTrailingForeColor};

inline constexpr const SettingKey* kAll[] = {&kColumns,        &kRows,           &kWeekNumbers,
                                             &kLogFont,        &kForeColor,      &kMonthBackColor,
                                             &kTitleBackColor, &kTitleForeColor, &kTrailingForeColor};
} // namespace keys

static_assert(keys::kMonthBackColor.defaultValue == 0x00C8D0D4);
static_assert(keys::kTitleBackColor.defaultValue == 0x00C08000);
static_assert(keys::kTrailingForeColor.defaultValue == 0x00808080);

} // namespace core
