// Profile text is hand-edited, so the number and hex readers see anything a
// user can type or paste. Checked against a separate reading of the rules
// and by round trips through the writers.
#include "core/profile_values.h"
#include "tests/core/fuzz/fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

// Bytes read as Latin-1, so a seed file is just the text it holds; 0xFF
// escapes four raw bytes into one code unit, reaching characters outside
// Latin-1 and values wchar_t arithmetic could trip over.
std::wstring WideText(const std::uint8_t* data, std::size_t size)
{
    std::wstring text;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && size - i > 4) {
            std::uint32_t raw;
            std::memcpy(&raw, data + i + 1, 4);
            text.push_back(static_cast<wchar_t>(raw));
            i += 4;
        } else {
            text.push_back(static_cast<wchar_t>(data[i]));
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

// Counts significant digits instead of accumulating, so it shares no
// overflow guard with the reader under test.
std::optional<std::int64_t> OracleParse(std::wstring_view s, std::int64_t lo, std::int64_t hi)
{
    s = Trimmed(s);
    bool negative = false;
    if (!s.empty() && (s[0] == L'+' || s[0] == L'-')) {
        negative = s[0] == L'-';
        s.remove_prefix(1);
    }
    if (s.empty())
        return std::nullopt;
    for (wchar_t c : s)
        if (!(c >= L'0' && c <= L'9'))
            return std::nullopt;
    while (s.size() > 1 && s[0] == L'0')
        s.remove_prefix(1);
    if (s.size() > 10)
        return std::nullopt;
    std::int64_t v = 0;
    for (wchar_t c : s)
        v = v * 10 + (c - L'0');
    if (negative)
        v = -v;
    if (v < lo || v > hi)
        return std::nullopt;
    return v;
}

int OracleHexDigit(wchar_t c)
{
    const std::wstring_view digits = L"0123456789abcdef0123456789ABCDEF";
    const std::size_t at = digits.find(c);
    return at == std::wstring_view::npos ? -1 : static_cast<int>(at % 16);
}

// The parse of `text` as a T agrees with the oracle; its result.
template <class T>
std::optional<T> CheckParse(const std::wstring& text, std::optional<T> (*parse)(std::wstring_view))
{
    const auto got = parse(text);
    const auto want = OracleParse(text, std::numeric_limits<T>::min(), std::numeric_limits<T>::max());
    FUZZ_CHECK(got.has_value() == want.has_value());
    if (got)
        FUZZ_CHECK(*got == *want);
    return got;
}

void CheckFormat(std::int64_t v)
{
    const std::wstring text = core::FormatInt(v);
    FUZZ_CHECK(text == std::to_wstring(static_cast<long long>(v)));
    if (v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max()) {
        FUZZ_CHECK(core::ParseInt32(text) == static_cast<std::int32_t>(v));
    } else {
        FUZZ_CHECK(!core::ParseInt32(text));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::wstring text = WideText(data, size);

    const auto i32 = CheckParse<std::int32_t>(text, &core::ParseInt32);
    if (i32) {
        // What the writer makes of it is the canonical text, and reads back.
        const std::wstring canonical = core::FormatInt(*i32);
        FUZZ_CHECK(core::ParseInt32(canonical) == i32);
        FUZZ_CHECK(core::FormatInt(*core::ParseInt32(canonical)) == canonical);
    }

    const auto i16 = CheckParse<std::int16_t>(text, &core::ParseInt16);
    if (i16)
        FUZZ_CHECK(i32 == *i16);

    const auto bytes = core::HexDecode(text);
    const std::wstring_view trimmed = Trimmed(text);
    bool wellFormed = trimmed.size() % 2 == 0;
    for (wchar_t c : trimmed)
        wellFormed = wellFormed && OracleHexDigit(c) >= 0;
    FUZZ_CHECK(bytes.has_value() == wellFormed);
    if (bytes) {
        FUZZ_CHECK(bytes->size() * 2 == trimmed.size());
        for (std::size_t i = 0; i < bytes->size(); ++i) {
            FUZZ_CHECK((*bytes)[i] ==
                       OracleHexDigit(trimmed[2 * i]) * 16 + OracleHexDigit(trimmed[2 * i + 1]));
        }
        // Re-encoding gives the canonical form: the same digits, upper case.
        const std::wstring again = core::HexEncode(*bytes);
        FUZZ_CHECK(again.size() == trimmed.size());
        for (std::size_t i = 0; i < again.size(); ++i) {
            const wchar_t c = trimmed[i];
            FUZZ_CHECK(again[i] == ((c >= L'a' && c <= L'f') ? c - L'a' + L'A' : c));
        }
    }

    // Any bytes survive the way through hex text unchanged.
    const std::vector<std::uint8_t> raw(data, data + size);
    const std::wstring hex = core::HexEncode(raw);
    FUZZ_CHECK(hex.size() == 2 * size);
    FUZZ_CHECK(core::HexDecode(hex) == raw);
    FUZZ_CHECK(core::HexDecode(L" \t" + hex + L"\t ") == raw);

    std::int64_t v = 0;
    if (size > 0)
        std::memcpy(&v, data, size < sizeof v ? size : sizeof v);
    CheckFormat(v);
    CheckFormat(v >> 33); // values near the 32-bit edges, too
    CheckFormat(static_cast<std::int32_t>(v));
    return 0;
}
