#include "core/monthgrid_state.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Written out by hand from the documented layout, not by the encoder.
const std::vector<std::uint8_t> kSample = {
    'M',  'G',  'S',  '1',  // magic
    0x01, 0x00,             // version
    0x03, 0x00,             // columns 3
    0xFE, 0xFF,             // rows -2
    0x01, 0x00,             // week numbers on
    0x11, 0x22, 0x33, 0x00, // foreColor
    0x01, 0x02, 0x03, 0x04, // monthBackColor
    0xFF, 0xFF, 0xFF, 0x00, // backColor
    0x80, 0x40, 0x20, 0x00, // titleBackColor
    0x00, 0x00, 0x00, 0x00, // titleForeColor
    0xAA, 0xBB, 0xCC, 0xDD, // trailingForeColor
};

} // namespace

TEST(MonthGridState, DecodesTheDocumentedLayout)
{
    const auto s = core::DecodeMonthGridState(kSample);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->columns, 3);
    EXPECT_EQ(s->rows, -2);
    EXPECT_TRUE(s->ShowWeekNumbers());
    EXPECT_EQ(s->foreColor, 0x00332211u);
    EXPECT_EQ(s->monthBackColor, 0x04030201u);
    EXPECT_EQ(s->backColor, 0x00FFFFFFu);
    EXPECT_EQ(s->titleBackColor, 0x00204080u);
    EXPECT_EQ(s->titleForeColor, 0u);
    EXPECT_EQ(s->trailingForeColor, 0xDDCCBBAAu);

    const auto bytes = core::EncodeMonthGridState(*s);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), kSample);
}

TEST(MonthGridState, RoundTripsAndDropsUnknownFlags)
{
    core::MonthGridState s;
    s.columns = INT16_MIN;
    s.rows = INT16_MAX;
    s.flags = 0xFFFF;
    s.trailingForeColor = 0xFFFFFFFF;
    const auto decoded = core::DecodeMonthGridState(core::EncodeMonthGridState(s));
    ASSERT_TRUE(decoded);
    s.flags = core::MonthGridState::kShowWeekNumbers;
    EXPECT_EQ(*decoded, s);
    EXPECT_EQ(core::DecodeMonthGridState(core::EncodeMonthGridState({})), core::MonthGridState{});
}

TEST(MonthGridState, RejectsMalformedRecords)
{
    const std::span<const std::uint8_t> whole(kSample);
    EXPECT_FALSE(core::DecodeMonthGridState({}));
    EXPECT_FALSE(core::DecodeMonthGridState(whole.first(35)));
    std::vector<std::uint8_t> longer = kSample;
    longer.push_back(0);
    EXPECT_FALSE(core::DecodeMonthGridState(longer));

    const struct {
        std::size_t offset;
        std::uint8_t value;
    } corruptions[] = {
        {0, 'm'},   {3, '2'},               // magic
        {4, 0x00},  {4, 0x02},  {5, 0x01},  // version 0, 2, 257
        {10, 0x02}, {10, 0x81}, {11, 0x80}, // unknown flag bits
    };
    for (const auto& c : corruptions) {
        std::vector<std::uint8_t> bad = kSample;
        bad[c.offset] = c.value;
        EXPECT_FALSE(core::DecodeMonthGridState(bad)) << c.offset << ' ' << int{c.value};
    }
}
