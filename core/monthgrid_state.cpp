#include "core/monthgrid_state.h"

namespace core {

namespace {

// Byte by byte, so the result is independent of host byte order and
// alignment of the resource data.
std::uint32_t Read(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t size)
{
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) {
        value = (value << 8) | bytes[offset + i];
    }
    return value;
}

void Write(std::uint8_t* out, std::size_t offset, std::size_t size, std::uint32_t value)
{
    for (std::size_t i = 0; i < size; ++i, value >>= 8) {
        out[offset + i] = static_cast<std::uint8_t>(value & 0xFF);
    }
}

} // namespace

std::optional<MonthGridState> DecodeMonthGridState(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() != kMonthGridStateSize || Read(bytes, 0, 4) != kMonthGridStateMagic ||
        Read(bytes, 4, 2) != kMonthGridStateVersion) {
        return std::nullopt;
    }
    MonthGridState s;
    s.flags = static_cast<std::uint16_t>(Read(bytes, 10, 2));
    if ((s.flags & ~MonthGridState::kKnownFlags) != 0) {
        return std::nullopt;
    }
    s.columns = static_cast<std::int16_t>(Read(bytes, 6, 2));
    s.rows = static_cast<std::int16_t>(Read(bytes, 8, 2));
    s.foreColor = Read(bytes, 12, 4);
    s.monthBackColor = Read(bytes, 16, 4);
    s.backColor = Read(bytes, 20, 4);
    s.titleBackColor = Read(bytes, 24, 4);
    s.titleForeColor = Read(bytes, 28, 4);
    s.trailingForeColor = Read(bytes, 32, 4);
    return s;
}

std::array<std::uint8_t, kMonthGridStateSize> EncodeMonthGridState(const MonthGridState& s)
{
    std::array<std::uint8_t, kMonthGridStateSize> out{};
    Write(out.data(), 0, 4, kMonthGridStateMagic);
    Write(out.data(), 4, 2, kMonthGridStateVersion);
    Write(out.data(), 6, 2, static_cast<std::uint16_t>(s.columns));
    Write(out.data(), 8, 2, static_cast<std::uint16_t>(s.rows));
    Write(out.data(), 10, 2, s.flags & MonthGridState::kKnownFlags);
    Write(out.data(), 12, 4, s.foreColor);
    Write(out.data(), 16, 4, s.monthBackColor);
    Write(out.data(), 20, 4, s.backColor);
    Write(out.data(), 24, 4, s.titleBackColor);
    Write(out.data(), 28, 4, s.titleForeColor);
    Write(out.data(), 32, 4, s.trailingForeColor);
    return out;
}

} // namespace core
