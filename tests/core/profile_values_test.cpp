#include "core/profile_values.h"

#include <gtest/gtest.h>

#include <climits>

using core::HexDecode;
using core::HexEncode;
using core::ParseInt16;
using core::ParseInt32;

TEST(ParseInt32, AcceptsWholeNumbersWithSignAndBlanks)
{
    EXPECT_EQ(ParseInt32(L"0"), 0);
    EXPECT_EQ(ParseInt32(L"13160660"), 13160660);
    EXPECT_EQ(ParseInt32(L"-3"), -3);
    EXPECT_EQ(ParseInt32(L"+12"), 12);
    EXPECT_EQ(ParseInt32(L" \t42\t "), 42);
    EXPECT_EQ(ParseInt32(L"007"), 7);
    EXPECT_EQ(ParseInt32(L"2147483647"), INT_MAX);
    EXPECT_EQ(ParseInt32(L"-2147483648"), INT_MIN);
    EXPECT_EQ(ParseInt32(L"00000000000000000000000000000000000001"), 1);
}

TEST(ParseInt32, RefusesAnythingElse)
{
    for (const wchar_t* text :
         {L"", L" ", L"-", L"+", L"abc", L"12abc", L"1 2", L"0x10", L"1.5", L"--1", L"+-1", L"2147483648",
          L"-2147483649", L"99999999999999999999999999999", L"\u0661", L"１２"}) {
        EXPECT_FALSE(ParseInt32(text)) << std::wstring(text).size();
    }
}

TEST(ParseInt16, KeepsToTheSignedSixteenBitRange)
{
    EXPECT_EQ(ParseInt16(L"32767"), 32767);
    EXPECT_EQ(ParseInt16(L"-32768"), -32768);
    EXPECT_EQ(ParseInt16(L"-0"), 0);
    EXPECT_FALSE(ParseInt16(L"32768"));
    EXPECT_FALSE(ParseInt16(L"-32769"));
    EXPECT_FALSE(ParseInt16(L"65535"));
    EXPECT_FALSE(ParseInt16(L""));
}

TEST(FormatInt, WritesWhatParseReads)
{
    for (std::int64_t v : {std::int64_t{0}, std::int64_t{-1}, std::int64_t{INT_MIN}, std::int64_t{INT_MAX},
                           std::int64_t{13160660}}) {
        EXPECT_EQ(ParseInt32(core::FormatInt(v)), v);
    }
    EXPECT_EQ(core::FormatInt(INT64_MIN), L"-9223372036854775808");
}

TEST(Hex, RoundTripsEveryByteValue)
{
    std::vector<std::uint8_t> all(256);
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<std::uint8_t>(i);
    const std::wstring text = HexEncode(all);
    EXPECT_EQ(text.size(), 512u);
    EXPECT_EQ(text.substr(0, 8), L"00010203");
    EXPECT_EQ(text.substr(504), L"FCFDFEFF");
    EXPECT_EQ(HexDecode(text), all);
}

TEST(Hex, DecodingToleratesCaseAndBlanksButNothingElse)
{
    EXPECT_EQ(HexDecode(L" aBcD "), (std::vector<std::uint8_t>{0xAB, 0xCD}));
    EXPECT_EQ(HexDecode(L""), std::vector<std::uint8_t>{});
    EXPECT_FALSE(HexDecode(L"ABC"));   // odd
    EXPECT_FALSE(HexDecode(L"AG"));    // not a digit
    EXPECT_FALSE(HexDecode(L"AB CD")); // inner blank
    EXPECT_FALSE(HexDecode(L"0x12"));
}

TEST(FindSectionValue, FindsAKeyAsTheProfilesStringReadDoes)
{
    using core::FindSectionValue;
    using namespace std::string_view_literals;
    const std::wstring_view section = L"Spalten=5\0 ZEILEN = 3 \0Zeilen=9\0Leer\0Quoted=\"7\"\0Single='8'\0"
                                      L"Half=\"9\0Pair=\"\"\0;Kommentar=1\0Mixed=\"1'\0"sv;
    EXPECT_EQ(FindSectionValue(section, L"Spalten"), L"5");
    EXPECT_EQ(FindSectionValue(section, L"spalten"), L"5");
    EXPECT_EQ(FindSectionValue(section, L"  Zeilen "), L"3"); // blanks and case; the first one wins
    EXPECT_EQ(FindSectionValue(section, L"Leer"), L"");       // no '=': there, but empty
    EXPECT_EQ(FindSectionValue(section, L"Quoted"), L"7");
    EXPECT_EQ(FindSectionValue(section, L"Single"), L"8");
    EXPECT_EQ(FindSectionValue(section, L"Half"), L"\"9"); // a lone quote stays
    EXPECT_EQ(FindSectionValue(section, L"Pair"), L"");
    EXPECT_EQ(FindSectionValue(section, L"Mixed"), L"\"1'");
    EXPECT_FALSE(FindSectionValue(section, L"Kommentar"));
    EXPECT_FALSE(FindSectionValue(section, L"Spalte"));
    EXPECT_FALSE(FindSectionValue(section, L"Spalten5"));
    EXPECT_FALSE(FindSectionValue(L"", L"Spalten"));
    // The last entry may lack its NUL; a name is never matched across one.
    EXPECT_EQ(FindSectionValue(L"A=1\0B=2"sv, L"B"), L"2");
    EXPECT_FALSE(FindSectionValue(L"Spal\0ten=1"sv, L"Spalten"));
    // Only ASCII letters fold: the profile's keys are ASCII.
    EXPECT_FALSE(FindSectionValue(L"\u00C4=1"sv, L"\u00E4"));
}
