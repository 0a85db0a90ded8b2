#pragma once
// Text <-> value rules for what the profile and the dialog's number fields hold.
// Hand-edited profiles are common, so parsing is strict: a value either is a
// whole number in range or it is not a number at all (the caller then uses
// its default), never "the digits before the junk".
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// Optional surrounding blanks (space, tab), an optional sign, then one or more
// decimal digits, nothing else; the value must fit the type.
std::optional<std::int32_t> ParseInt32(std::wstring_view text);
std::optional<std::int16_t> ParseInt16(std::wstring_view text);

std::wstring FormatInt(std::int64_t value);

// Binary records are kept as upper-case hex text, two digits a byte.
// Decoding accepts either case and surrounding blanks; an odd number of
// digits or any other character makes the whole value invalid.
std::wstring HexEncode(std::span<const std::uint8_t> bytes);
std::optional<std::vector<std::uint8_t>> HexDecode(std::wstring_view text);

// One key's value in a section as the profile's section read lists it:
// "name=value" entries, each ended by a NUL. Found as the profile's string
// read finds it: the first entry whose name (blanks around it ignored)
// equals `key` ignoring ASCII case; the value with its blanks trimmed and a
// pair of matching quotes (' or ") around it taken off. An entry without
// '=' has an empty value. None when no entry has the name.
std::optional<std::wstring_view> FindSectionValue(std::wstring_view section, std::wstring_view key);

// `text` without the spaces and tabs around it.
std::wstring_view TrimBlanks(std::wstring_view text);
// Equal but for the case of ASCII letters.
bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b);

} // namespace core
