#include "core/logfont_record.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

using core::PointSizeCy;

TEST(PointSize, WorkedSizes)
{
    EXPECT_EQ(PointSizeCy(-16, 96), 120000);
    EXPECT_EQ(PointSizeCy(-13, 96), 97500);
    EXPECT_EQ(PointSizeCy(-16, 120), 96000);
}

TEST(PointSize, SignOfTheHeightDoesNotMatter)
{
    for (std::int32_t h : {1, 13, 16, 2982, 2983, 100000, INT_MAX})
        EXPECT_EQ(PointSizeCy(h, 96), PointSizeCy(-h, 96)) << h;
}

TEST(PointSize, ExactBeyondTheThirtyTwoBitProduct)
{
    // 2983 * 720000 no longer fits 32 bits; the result must still be exact.
    EXPECT_EQ(PointSizeCy(-2983, 96), std::int64_t{2983} * 720000 / 96);
    EXPECT_EQ(PointSizeCy(INT_MIN, 96), std::int64_t{2147483648} * 720000 / 96);
    EXPECT_EQ(PointSizeCy(INT_MAX, 1), std::int64_t{INT_MAX} * 720000);
    EXPECT_EQ(PointSizeCy(0, 96), 0);
}

TEST(PointSize, UnusableDpiCountsAsNinetySix)
{
    EXPECT_EQ(PointSizeCy(-16, 0), 120000);
    EXPECT_EQ(PointSizeCy(-16, -5), 120000);
}

TEST(LogFontRecord, DecodesTheLittleEndianLayoutAndEncodesItBack)
{
    std::vector<std::uint8_t> bytes(60);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
    const auto r = core::DecodeLogFont(bytes);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->height, 0x160F0801);                             // bytes 1, 8, 15, 22
    EXPECT_EQ(r->weight, static_cast<std::int32_t>(0x867F7871u)); // bytes 113 .. 134
    EXPECT_EQ(r->italic, bytes[20]);
    EXPECT_EQ(r->pitchAndFamily, bytes[27]);
    EXPECT_EQ(static_cast<std::uint8_t>(r->faceName[0]), bytes[28]);
    const auto back = core::EncodeLogFont(*r);
    EXPECT_TRUE(std::equal(back.begin(), back.end(), bytes.begin()));
}

TEST(LogFontRecord, OnlySixtyBytesDecode)
{
    EXPECT_FALSE(core::DecodeLogFont(std::vector<std::uint8_t>(59)));
    EXPECT_FALSE(core::DecodeLogFont(std::vector<std::uint8_t>(61)));
    EXPECT_FALSE(core::DecodeLogFont({}));
}

TEST(LogFontRecord, FaceNameStopsAtTheNulOrTheFieldsEnd)
{
    core::LogFontRecord r;
    std::memcpy(r.faceName.data(), "Arial\0junk", 10);
    EXPECT_EQ(core::FaceNameBytes(r), "Arial");
    r.faceName.fill('X'); // no terminating NUL at all
    EXPECT_EQ(core::FaceNameBytes(r), std::string(32, 'X'));
    r.faceName.fill('\0');
    EXPECT_EQ(core::FaceNameBytes(r), "");
}

TEST(StoredFont, OnlyAPlausibleHeightMakesAFont)
{
    core::LogFontRecord r;
    for (std::int32_t h : {0, -16, 16, -core::kMaxStoredHeight, core::kMaxStoredHeight}) {
        r.height = h;
        const auto bytes = core::EncodeLogFont(r);
        const auto font = core::DecodeStoredFont(bytes);
        ASSERT_TRUE(font) << h;
        EXPECT_EQ(font->height, h);
    }
    for (std::int32_t h : {-core::kMaxStoredHeight - 1, core::kMaxStoredHeight + 1, INT_MIN, INT_MAX}) {
        r.height = h;
        const auto bytes = core::EncodeLogFont(r);
        EXPECT_FALSE(core::DecodeStoredFont(bytes)) << h;
    }
    const std::vector<std::uint8_t> shortRecord(core::kLogFontSize - 1, 0);
    EXPECT_FALSE(core::DecodeStoredFont(shortRecord));
}
