#include "core/clock_text.h"

#include <gtest/gtest.h>

TEST(GermanLongDate, ReadsLikeTheCaptionWithTwoSpacesBeforeTheTime)
{
    // Sunday, 6 December 2026, 03:47:05.
    EXPECT_EQ(core::GermanLongDate({2026, 12, 6, 0, 3, 47, 5}), L"Sonntag, 06. Dezember 2026  03:47:05");
    EXPECT_EQ(core::GermanLongDate({2026, 3, 2, 1, 0, 0, 0}), L"Montag, 02. M\u00E4rz 2026  00:00:00");
    EXPECT_EQ(core::GermanLongDate({2009, 1, 1, 4, 23, 59, 59}), L"Donnerstag, 01. Januar 2009  23:59:59");
}

TEST(GermanLongDate, ZeroPadsEveryField)
{
    EXPECT_EQ(core::GermanLongDate({2000, 2, 5, 6, 7, 8, 9}), L"Samstag, 05. Februar 2000  07:08:09");
    EXPECT_EQ(core::GermanLongDate({33, 7, 4, 3, 1, 2, 3}), L"Mittwoch, 04. Juli 0033  01:02:03");
}

TEST(GermanLongDate, FieldsOutOfRangeStayInsideTheTables)
{
    const std::wstring text = core::GermanLongDate({2026, 13, 99, 70, 99, 99, 99});
    EXPECT_FALSE(text.empty());
}
