// The month grid's initial state as stored in a resource.
//
// Format: 36 bytes, little-endian, no padding.
//   offset  size  field
//        0     4  magic 0x3153474D, the bytes 'M' 'G' 'S' '1'
//        4     2  version, 1
//        6     2  columns, signed
//        8     2  rows, signed
//       10     2  flags: bit 0 shows week numbers; every other bit is 0
//       12     4  foreColor          text of the days
//       16     4  monthBackColor     behind the days
//       20     4  backColor          around the month blocks
//       24     4  titleBackColor     title bars
//       28     4  titleForeColor     title text
//       32     4  trailingForeColor  days of the neighbouring months
// Colours are COLORREF values, 0x00BBGGRR.
//
// Columns and rows are kept as stored; they go through ClampGrid when the
// grid is laid out, so any value is harmless.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace core {

struct MonthGridState {
    static constexpr std::uint16_t kShowWeekNumbers = 0x0001;
    static constexpr std::uint16_t kKnownFlags = kShowWeekNumbers;

    // The grid's own start, before a record or a put arrives: one month
    // with week numbers, black on white, grey titles.
    std::int16_t columns = 1;
    std::int16_t rows = 1;
    std::uint16_t flags = kShowWeekNumbers;
    std::uint32_t foreColor = 0x00000000;
    std::uint32_t monthBackColor = 0x00FFFFFF;
    std::uint32_t backColor = 0x00FFFFFF;
    std::uint32_t titleBackColor = 0x00DCDCDC;
    std::uint32_t titleForeColor = 0x00000000;
    std::uint32_t trailingForeColor = 0x00808080;

    bool ShowWeekNumbers() const { return (flags & kShowWeekNumbers) != 0; }
    friend bool operator==(const MonthGridState&, const MonthGridState&) = default;
};

inline constexpr std::uint32_t kMonthGridStateMagic = 0x3153474D;
// The window message (WM_USER + 0x300) that hands a grid a record: what a
// dialog's init data names for it.
inline constexpr std::uint16_t kMonthGridLoadStateMessage = 0x0700;
inline constexpr std::uint16_t kMonthGridStateVersion = 1;
inline constexpr std::size_t kMonthGridStateSize = 36;

// Nothing unless the bytes are exactly one well-formed record.
std::optional<MonthGridState> DecodeMonthGridState(std::span<const std::uint8_t> bytes);
// Unknown flag bits are dropped, so the result always decodes again.
std::array<std::uint8_t, kMonthGridStateSize> EncodeMonthGridState(const MonthGridState& state);

} // namespace core
