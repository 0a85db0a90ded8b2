// The font record comes from a profile a user can edit: any byte string
// must either decode into a record that encodes back to the same bytes or
// be refused, and the face name must never reach past its field.
#include "core/logfont_record.h"
#include "tests/core/fuzz/fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

static_assert(sizeof(core::LogFontRecord) == core::kLogFontSize, "compared with memcmp below");

namespace {

void CheckRecord(std::span<const std::uint8_t> bytes)
{
    const auto record = core::DecodeLogFont(bytes);
    FUZZ_CHECK(record.has_value() == (bytes.size() == core::kLogFontSize));
    // The program's reading: the same record, or none for a height no font has.
    const auto asFont = core::DecodeStoredFont(bytes);
    FUZZ_CHECK(asFont.has_value() == (record && record->height >= -core::kMaxStoredHeight &&
                                      record->height <= core::kMaxStoredHeight));
    FUZZ_CHECK(!asFont || std::memcmp(&*asFont, &*record, sizeof *record) == 0);
    if (!record)
        return;

    const auto encoded = core::EncodeLogFont(*record);
    FUZZ_CHECK(std::equal(encoded.begin(), encoded.end(), bytes.begin(), bytes.end()));
    const auto again = core::DecodeLogFont(encoded);
    FUZZ_CHECK(again && std::memcmp(&*again, &*record, sizeof *record) == 0);

    const std::string_view face = core::FaceNameBytes(*record);
    const char* field = record->faceName.data();
    FUZZ_CHECK(face.size() <= core::kFaceNameSize);
    FUZZ_CHECK(face.data() == field);
    FUZZ_CHECK(face.data() + face.size() <= field + core::kFaceNameSize);
    FUZZ_CHECK(face.find('\0') == std::string_view::npos);
    const std::uint8_t* stored = bytes.data() + core::kFaceNameOffset;
    const std::uint8_t* nul = std::find(stored, stored + core::kFaceNameSize, std::uint8_t{0});
    FUZZ_CHECK(face.size() == static_cast<std::size_t>(nul - stored));
    FUZZ_CHECK(std::memcmp(face.data(), stored, face.size()) == 0);
}

void CheckPointSize(std::int32_t height, int dpi)
{
    const std::int64_t got = core::PointSizeCy(height, dpi);
    // 128-bit oracle: no intermediate of it can overflow.
    const __int128 magnitude = height < 0 ? -static_cast<__int128>(height) : static_cast<__int128>(height);
    const __int128 want = magnitude * 720000 / (dpi > 0 ? dpi : 96);
    FUZZ_CHECK(static_cast<__int128>(got) == want);
    FUZZ_CHECK(got >= 0);
    FUZZ_CHECK(core::PointSizeCy(height == INT32_MIN ? height : -height, dpi) == got);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    CheckRecord(bytes);
    // Most mutated inputs are not 60 bytes long; their first 60 still make
    // a record worth checking.
    if (size > core::kLogFontSize)
        CheckRecord(bytes.first(core::kLogFontSize));

    FuzzedDataProvider provider(data, size);
    const auto height = provider.ConsumeIntegral<std::int32_t>();
    const int dpi = provider.ConsumeBool() ? provider.ConsumeIntegral<int>()
                                           : provider.ConsumeIntegralInRange<int>(-2, 1000);
    CheckPointSize(height, dpi);
    if (size >= core::kLogFontSize) {
        const auto record = core::DecodeLogFont(bytes.first(core::kLogFontSize));
        CheckPointSize(record->height, dpi);
    }
    return 0;
}
