#include "core/logfont_record.h"

#include <cstring>

namespace core {
namespace {

std::int32_t ReadI32(const std::uint8_t* p)
{
    const std::uint32_t v = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
                            std::uint32_t{p[3]} << 24;
    return static_cast<std::int32_t>(v);
}

void WriteI32(std::uint8_t* p, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}

} // namespace

std::optional<LogFontRecord> DecodeLogFont(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() != kLogFontSize)
        return std::nullopt;
    const std::uint8_t* p = bytes.data();
    LogFontRecord r;
    r.height = ReadI32(p + 0);
    r.width = ReadI32(p + 4);
    r.escapement = ReadI32(p + 8);
    r.orientation = ReadI32(p + 12);
    r.weight = ReadI32(p + 16);
    r.italic = p[20];
    r.underline = p[21];
    r.strikeOut = p[22];
    r.charSet = p[23];
    r.outPrecision = p[24];
    r.clipPrecision = p[25];
    r.quality = p[26];
    r.pitchAndFamily = p[27];
    std::memcpy(r.faceName.data(), p + kFaceNameOffset, kFaceNameSize);
    return r;
}

std::optional<LogFontRecord> DecodeStoredFont(std::span<const std::uint8_t> bytes)
{
    auto record = DecodeLogFont(bytes);
    if (record && (record->height < -kMaxStoredHeight || record->height > kMaxStoredHeight))
        return std::nullopt;
    return record;
}

std::array<std::uint8_t, kLogFontSize> EncodeLogFont(const LogFontRecord& r)
{
    std::array<std::uint8_t, kLogFontSize> out{};
    std::uint8_t* p = out.data();
    WriteI32(p + 0, r.height);
    WriteI32(p + 4, r.width);
    WriteI32(p + 8, r.escapement);
    WriteI32(p + 12, r.orientation);
    WriteI32(p + 16, r.weight);
    p[20] = r.italic;
    p[21] = r.underline;
    p[22] = r.strikeOut;
    p[23] = r.charSet;
    p[24] = r.outPrecision;
    p[25] = r.clipPrecision;
    p[26] = r.quality;
    p[27] = r.pitchAndFamily;
    std::memcpy(p + kFaceNameOffset, r.faceName.data(), kFaceNameSize);
    return out;
}

std::string_view FaceNameBytes(const LogFontRecord& record)
{
    const char* begin = record.faceName.data();
    const void* nul = std::memchr(begin, 0, kFaceNameSize);
    const std::size_t length =
        nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - begin) : kFaceNameSize;
    return std::string_view(begin, length);
}

std::int64_t PointSizeCy(std::int32_t height, int dpi)
{
    const std::int64_t magnitude = height < 0 ? -static_cast<std::int64_t>(height) : height;
    const std::int64_t pixelsPerInch = dpi > 0 ? dpi : 96;
    return magnitude * 720000 / pixelsPerInch;
}

} // namespace core
