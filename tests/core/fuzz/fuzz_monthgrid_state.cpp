// The grid's initial state is read from resource bytes: any byte string is
// either exactly one record, which encodes back to the same bytes, or
// refused; and every state the program can hold encodes to a record that
// reads back.
#include "core/monthgrid_state.h"
#include "tests/core/fuzz/fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

void CheckBytes(std::span<const std::uint8_t> bytes)
{
    const auto state = core::DecodeMonthGridState(bytes);
    const bool wellFormed = bytes.size() == core::kMonthGridStateSize && bytes[0] == 'M' && bytes[1] == 'G' &&
                            bytes[2] == 'S' && bytes[3] == '1' && bytes[4] == 1 && bytes[5] == 0 &&
                            (bytes[10] & 0xFE) == 0 && bytes[11] == 0;
    FUZZ_CHECK(state.has_value() == wellFormed);
    if (!state)
        return;
    const auto encoded = core::EncodeMonthGridState(*state);
    FUZZ_CHECK(std::equal(encoded.begin(), encoded.end(), bytes.begin(), bytes.end()));
    FUZZ_CHECK(state->columns == static_cast<std::int16_t>(bytes[6] | bytes[7] << 8));
    FUZZ_CHECK(state->rows == static_cast<std::int16_t>(bytes[8] | bytes[9] << 8));
    FUZZ_CHECK(state->ShowWeekNumbers() == (bytes[10] == 1));
    FUZZ_CHECK(state->trailingForeColor ==
               (bytes[32] | bytes[33] << 8 | bytes[34] << 16 | static_cast<std::uint32_t>(bytes[35]) << 24));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    CheckBytes(bytes);

    // Mutations rarely keep the header intact; a record built around the
    // input's first 30 bytes reaches the field decoding every time.
    if (size >= core::kMonthGridStateSize - 6) {
        std::array<std::uint8_t, core::kMonthGridStateSize> record{'M', 'G', 'S', '1', 1, 0};
        std::memcpy(record.data() + 6, data, record.size() - 6);
        CheckBytes(record);
    }

    FuzzedDataProvider p(data, size);
    core::MonthGridState s;
    s.columns = p.ConsumeIntegral<std::int16_t>();
    s.rows = p.ConsumeIntegral<std::int16_t>();
    s.flags = p.ConsumeIntegral<std::uint16_t>();
    s.foreColor = p.ConsumeIntegral<std::uint32_t>();
    s.monthBackColor = p.ConsumeIntegral<std::uint32_t>();
    s.backColor = p.ConsumeIntegral<std::uint32_t>();
    s.titleBackColor = p.ConsumeIntegral<std::uint32_t>();
    s.titleForeColor = p.ConsumeIntegral<std::uint32_t>();
    s.trailingForeColor = p.ConsumeIntegral<std::uint32_t>();
    const auto encoded = core::EncodeMonthGridState(s);
    const auto back = core::DecodeMonthGridState(encoded);
    FUZZ_CHECK(back);
    core::MonthGridState want = s;
    want.flags &= core::MonthGridState::kKnownFlags; // unknown bits are dropped, not refused
    FUZZ_CHECK(*back == want);
    return 0;
}
