#pragma once
// The stored font record: the 60-byte ANSI LOGFONT layout, little-endian.
// Stored records come from a file a user can edit, so nothing here trusts
// them: decoding checks the size, and the face name is bounded by its
// 32-byte field whether or not it holds a terminating NUL.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace core {

inline constexpr std::size_t kLogFontSize = 60;
inline constexpr std::size_t kFaceNameOffset = 28;
inline constexpr std::size_t kFaceNameSize = 32;

struct LogFontRecord {
    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::array<char, kFaceNameSize> faceName{};
};

std::optional<LogFontRecord> DecodeLogFont(std::span<const std::uint8_t> bytes);

// No font chooser gives a height anywhere near this; a record that holds
// one is damaged (random bytes nearly always are). Used as it is, it would
// make the grid's largest font: a window several screens wide and high.
inline constexpr std::int32_t kMaxStoredHeight = 16384;
// A stored record the program may use as a font: it decodes, and its
// height lies within kMaxStoredHeight either way.
std::optional<LogFontRecord> DecodeStoredFont(std::span<const std::uint8_t> bytes);
std::array<std::uint8_t, kLogFontSize> EncodeLogFont(const LogFontRecord& record);

// The face name's bytes up to its first NUL, or all 32 when there is none.
std::string_view FaceNameBytes(const LogFontRecord& record);

// Size in points as an OLE currency value (1/10000 point): |height| * 720000
// / dpi, truncated. Exact for every 32-bit height (INT_MIN included) because
// it is computed in 64 bits; a dpi that is not positive counts as 96.
std::int64_t PointSizeCy(std::int32_t height, int dpi);

} // namespace core
