#include "core/profile_values.h"

#include <algorithm>
#include <limits>

namespace core {
namespace {

std::optional<std::int64_t> ParseBounded(std::wstring_view text, std::int64_t lo, std::int64_t hi)
{
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    // The ranges are at most 32-bit, so a 64-bit accumulator that stops
    // growing past 2^40 cannot overflow and still tells "too large".
    std::int64_t magnitude = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        if (magnitude < (std::int64_t{1} << 40))
            magnitude = magnitude * 10 + (c - L'0');
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < lo || value > hi)
        return std::nullopt;
    return value;
}

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    return -1;
}

template <class T>
std::optional<T> ParseWhole(std::wstring_view text)
{
    const auto v = ParseBounded(text, std::numeric_limits<T>::min(), std::numeric_limits<T>::max());
    if (!v)
        return std::nullopt;
    return static_cast<T>(*v);
}

} // namespace

std::optional<std::int32_t> ParseInt32(std::wstring_view text) { return ParseWhole<std::int32_t>(text); }

std::optional<std::int16_t> ParseInt16(std::wstring_view text) { return ParseWhole<std::int16_t>(text); }

std::wstring FormatInt(std::int64_t value)
{
    // Built by hand: the result must not depend on any locale.
    wchar_t buf[24];
    wchar_t* end = buf + 24;
    wchar_t* p = end;
    const bool negative = value < 0;
    std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        *--p = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative)
        *--p = L'-';
    return std::wstring(p, end);
}

std::wstring HexEncode(std::span<const std::uint8_t> bytes)
{
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        text.push_back(kDigits[b >> 4]);
        text.push_back(kDigits[b & 0x0F]);
    }
    return text;
}

std::optional<std::vector<std::uint8_t>> HexDecode(std::wstring_view text)
{
    text = TrimBlanks(text);
    if (text.size() % 2 != 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int hi = HexDigit(text[i]);
        const int lo = HexDigit(text[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(hi << 4 | lo));
    }
    return bytes;
}

namespace {

// The profile's blanks: white space, and ^Z (an old DOS end of file).
bool IsProfileBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f' || c == 0x1A;
}

std::wstring_view TrimProfileBlanks(std::wstring_view text)
{
    while (!text.empty() && IsProfileBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsProfileBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

wchar_t FoldAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

} // namespace

std::optional<std::wstring_view> FindSectionValue(std::wstring_view section, std::wstring_view key)
{
    key = TrimProfileBlanks(key);
    while (!section.empty()) {
        const std::size_t end = std::min(section.find(L'\0'), section.size());
        const std::wstring_view entry = section.substr(0, end);
        section.remove_prefix(std::min(end + 1, section.size()));
        const std::size_t equals = entry.find(L'=');
        if (!EqualsIgnoringAsciiCase(TrimProfileBlanks(entry.substr(0, equals)), key))
            continue;
        if (equals == std::wstring_view::npos)
            return std::wstring_view{};
        std::wstring_view value = TrimProfileBlanks(entry.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return value;
    }
    return std::nullopt;
}

std::wstring_view TrimBlanks(std::wstring_view text)
{
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    }
    return true;
}

} // namespace core
