#include "core/grid_geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <map>
#include <vector>

using core::FontMetrics;
using core::GridLayout;
using core::HitKind;
using core::HitResult;
using core::Rect;

namespace {

constexpr FontMetrics kFont{16, 7, 14, 19, 96}; // a 9pt UI font at 96 DPI

// A font family whose every metric grows with its height.
FontMetrics Scaled(int h) { return {h, (h + 1) / 2, h + 1, h + 3, 6 * h}; }

long long Area(const Rect& r) { return r.Empty() ? 0 : 1LL * r.Width() * r.Height(); }
bool Inside(const Rect& inner, const Rect& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}
bool Overlap(const Rect& a, const Rect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Every target the grid can report, with the rectangle it owns.
std::vector<std::pair<HitResult, Rect>> Targets(const GridLayout& g)
{
    std::vector<std::pair<HitResult, Rect>> t{{{HitKind::PrevArrow}, g.PrevArrowRect()},
                                              {{HitKind::NextArrow}, g.NextArrowRect()}};
    for (int m = 0; m < g.MonthCount(); ++m) {
        t.push_back({{HitKind::Title, m}, g.TitleRect(m)});
        for (int line = 0; line < 6; ++line) {
            if (g.ShowsWeekNumbers())
                t.push_back({{HitKind::WeekNumber, m, line}, g.WeekNumberRect(m, line)});
            for (int wd = 0; wd < 7; ++wd)
                t.push_back({{HitKind::Day, m, line, wd}, g.DayRect(m, line, wd)});
        }
    }
    return t;
}

} // namespace

TEST(GridGeometry, ClampGrid)
{
    const struct {
        int c, r, wantC, wantR;
    } cases[] = {
        {1, 1, 1, 1},
        {3, 4, 3, 4},
        {5, 3, 5, 2},
        {4, 4, 4, 3},
        {0, 0, 1, 1},
        {-3, 4, 1, 4},
        {12, 12, 12, 1},
        {13, 1, 12, 1},
        {1, 13, 1, 12},
        {7, 2, 7, 1},
        {INT_MIN, INT_MAX, 1, 12},
        {INT_MAX, INT_MIN, 12, 1},
        {INT_MAX, INT_MAX, 12, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(core::ClampGrid(c.c, c.r), (core::GridShape{c.wantC, c.wantR})) << c.c << 'x' << c.r;
    }
}

TEST(GridGeometry, EveryShapeAddsUpFromOneBlockSize)
{
    const GridLayout one(kFont, 1, 1, true);
    for (int c = 1; c <= 12; ++c) {
        for (int r = 1; c * r <= 12; ++r) {
            const GridLayout g(kFont, c, r, true);
            const core::Size total = g.TotalSize();
            ASSERT_EQ(g.MonthSize(), one.MonthSize());
            EXPECT_EQ(total.width, 2 * g.Margin() + c * g.MonthSize().width + (c - 1) * g.MonthGap());
            EXPECT_EQ(total.height, 2 * g.Margin() + r * g.MonthSize().height + (r - 1) * g.MonthGap());
            const Rect last = g.MonthRect(c * r - 1);
            EXPECT_EQ(last.right + g.Margin(), total.width);
            EXPECT_EQ(last.bottom + g.Margin(), total.height);
            EXPECT_EQ(g.PrevArrowRect().left - g.MonthRect(0).left,
                      g.MonthRect(c - 1).right - g.NextArrowRect().right);
            EXPECT_EQ(g.PrevArrowRect().top, g.NextArrowRect().top);
        }
    }
}

TEST(GridGeometry, LayoutIsAPureFunctionOfItsInputs)
{
    const GridLayout a(kFont, 4, 3, true), b(kFont, 4, 3, true);
    EXPECT_EQ(a.TotalSize(), b.TotalSize());
    const auto ta = Targets(a), tb = Targets(b);
    ASSERT_EQ(ta.size(), tb.size());
    for (std::size_t i = 0; i < ta.size(); ++i)
        EXPECT_EQ(ta[i].second, tb[i].second);
}

TEST(GridGeometry, LargerFontGivesLargerGridAndKeepsProportions)
{
    for (int h = 6; h < 128; ++h) {
        const GridLayout small(Scaled(h), 3, 2, false), large(Scaled(h + 1), 3, 2, false);
        ASSERT_GT(large.TotalSize().width, small.TotalSize().width) << h;
        ASSERT_GT(large.TotalSize().height, small.TotalSize().height) << h;
        ASSERT_GT(small.TitleHeight(), small.CellHeight() + small.CellHeight() / 4) << h;
        ASSERT_LE(small.SeparatorHeight() * 8, small.CellHeight()) << h;
        ASSERT_GT(small.MonthGap(), 0);
    }
    // No single metric may shrink the grid when it grows.
    for (int FontMetrics::*field :
         {&FontMetrics::textHeight, &FontMetrics::averageCharWidth, &FontMetrics::numberWidth,
          &FontMetrics::weekdayWidth, &FontMetrics::titleWidth}) {
        FontMetrics bigger = kFont;
        bigger.*field += 40;
        const GridLayout base(kFont, 2, 2, true), grown(bigger, 2, 2, true);
        EXPECT_GE(grown.TotalSize().width, base.TotalSize().width);
        EXPECT_GE(grown.TotalSize().height, base.TotalSize().height);
    }
}

// A font of twice the pixels at twice the DPI (the same font in points)
// gives the same grid twice as large: the rules and today's frame too, and
// the least sizes that small fonts fall back on.
TEST(GridGeometry, TwiceTheDpiWithTheSameFontInPointsDoublesEverything)
{
    for (int h : {6, 9, 13, 16, 24}) {
        FontMetrics at96 = Scaled(h);
        at96.dpi = 96;
        const FontMetrics at192{2 * at96.textHeight,   2 * at96.averageCharWidth, 2 * at96.numberWidth,
                                2 * at96.weekdayWidth, 2 * at96.titleWidth,       192};
        const GridLayout g(at96, 4, 3, true), big(at192, 4, 3, true);
        // Rules and marks are whole pixels at 96 DPI: exactly twice.
        EXPECT_EQ(big.LineWidth(), 2 * g.LineWidth()) << h;
        EXPECT_EQ(big.MarkWidth(), 2 * g.MarkWidth()) << h;
        // Everything else within the rounding of halving odd sizes, which
        // adds up over a block's parts and the blocks of a row.
        auto twice = [h](int small, int large, int slack) {
            EXPECT_LE(std::abs(large - 2 * small), slack) << h << ": " << small << " -> " << large;
        };
        twice(g.CellWidth(), big.CellWidth(), 2);
        twice(g.CellHeight(), big.CellHeight(), 2);
        twice(g.TitleHeight(), big.TitleHeight(), 2);
        twice(g.MonthGap(), big.MonthGap(), 2);
        twice(g.Margin(), big.Margin(), 2);
        twice(g.PrevArrowRect().Width(), big.PrevArrowRect().Width(), 2);
        twice(g.PrevArrowRect().left, big.PrevArrowRect().left, 2);
        twice(g.MonthSize().width, big.MonthSize().width, 16);
        twice(g.MonthSize().height, big.MonthSize().height, 16);
        twice(g.TotalSize().width, big.TotalSize().width, 4 * 16 + 8);
        twice(g.TotalSize().height, big.TotalSize().height, 3 * 16 + 8);
    }
}

TEST(GridGeometry, RulesAndMarksFollowTheDpi)
{
    // The default GUI font's text height at 96, 120, 144 and 192 DPI.
    const struct {
        int dpi, h, line, mark;
    } cases[] = {{96, 13, 1, 2}, {120, 16, 1, 3}, {144, 20, 2, 3}, {192, 26, 2, 4}};
    for (const auto& c : cases) {
        FontMetrics f = Scaled(c.h);
        f.dpi = c.dpi;
        const GridLayout g(f, 1, 1, true);
        EXPECT_EQ(g.LineWidth(), c.line) << c.dpi;
        EXPECT_EQ(g.SeparatorHeight(), c.line) << c.dpi;
        EXPECT_EQ(g.MarkWidth(), c.mark) << c.dpi;
        // The frame stays clear of a day's number, inside the cell's padding.
        EXPECT_LE(g.MarkWidth(), (g.CellWidth() - f.numberWidth) / 2) << c.dpi;
    }
    // No DPI, or one no screen has, counts as 96 or the nearest sane one.
    FontMetrics none = kFont, at96 = kFont, absurd = kFont;
    at96.dpi = 96;
    absurd.dpi = INT_MAX;
    EXPECT_EQ(GridLayout(none, 4, 3, true).TotalSize(), GridLayout(at96, 4, 3, true).TotalSize());
    EXPECT_EQ(GridLayout(absurd, 4, 3, true).LineWidth(), 10); // 960 DPI
}

TEST(GridGeometry, WeekNumbersWidenEachBlock)
{
    const GridLayout off(kFont, 3, 1, false), on(kFont, 3, 1, true);
    EXPECT_EQ(off.WeekNumberWidth(), 0);
    EXPECT_TRUE(off.WeekNumberRect(0, 0).Empty());
    EXPECT_EQ(on.TotalSize().width - off.TotalSize().width, 3 * on.WeekNumberWidth());
    EXPECT_GT(on.WeekNumberWidth(), 0);
    EXPECT_EQ(on.TotalSize().height, off.TotalSize().height);
}

TEST(GridGeometry, BlocksNestAndTitlesClearTheArrows)
{
    for (bool weeks : {false, true}) {
        for (const FontMetrics& f : {kFont, FontMetrics{16, 7, 14, 19, 400}}) { // 2nd: title dominates
            const GridLayout g(f, 4, 3, weeks);
            const Rect total{0, 0, g.TotalSize().width, g.TotalSize().height};
            EXPECT_TRUE(Inside(g.PrevArrowRect(), g.TitleRect(0)));
            EXPECT_TRUE(Inside(g.NextArrowRect(), g.TitleRect(3)));
            for (int m = 0; m < g.MonthCount(); ++m) {
                const Rect month = g.MonthRect(m), text = g.TitleTextRect(m);
                EXPECT_TRUE(Inside(month, total));
                if (m > 0)
                    EXPECT_FALSE(Overlap(month, g.MonthRect(m - 1)));
                EXPECT_GE(text.Width(), f.titleWidth);
                EXPECT_FALSE(Overlap(text, g.PrevArrowRect()) || Overlap(text, g.NextArrowRect()));
                EXPECT_EQ(g.WeekdayRect(m, 3).left, g.DayRect(m, 5, 3).left);
                EXPECT_LE(g.TitleRect(m).bottom, g.WeekdayHeaderRect(m).top);
                EXPECT_LE(g.WeekdayHeaderRect(m).bottom, g.SeparatorRect(m).top);
                EXPECT_LE(g.SeparatorRect(m).bottom, g.DayRect(m, 0, 0).top);
                EXPECT_TRUE(Inside(g.DayRect(m, 5, 6), month));
                const int contentLeft = g.DayRect(m, 0, 0).left - g.WeekNumberWidth();
                EXPECT_LE(std::abs((contentLeft - month.left) - (month.right - g.DayRect(m, 0, 6).right)), 1);
                if (weeks)
                    EXPECT_TRUE(Inside(g.WeekNumberRect(m, 5), month));
            }
            EXPECT_TRUE(g.MonthRect(12).Empty() && g.DayRect(0, 6, 0).Empty() && g.DayRect(0, 0, -1).Empty());
        }
    }
}

// Every pixel of the window, including margins and gaps: a reported target
// contains the pixel, and each target's rectangle is reported in full.
TEST(GridGeometry, HitTestAgreesWithRectanglesPixelByPixel)
{
    const struct {
        int c, r;
        bool weeks;
    } shapes[] = {{2, 2, true}, {3, 1, false}, {1, 1, true}};
    for (const auto& [c, r, weeks] : shapes) {
        const GridLayout g(kFont, c, r, weeks);
        std::map<std::tuple<HitKind, int, int, int>, long long> counts;
        const auto targets = Targets(g);
        for (int y = -2; y < g.TotalSize().height + 2; ++y) {
            for (int x = -2; x < g.TotalSize().width + 2; ++x) {
                const HitResult hit = g.HitTest({x, y});
                if (hit.kind == HitKind::Nothing)
                    continue;
                ++counts[{hit.kind, hit.month, hit.line, hit.weekday}];
            }
        }
        for (const auto& [hit, rect] : targets) {
            long long expected = Area(rect);
            if (hit.kind == HitKind::Title && hit.month == 0)
                expected -= Area(g.PrevArrowRect());
            if (hit.kind == HitKind::Title && hit.month == c - 1)
                expected -= Area(g.NextArrowRect());
            EXPECT_EQ((counts[{hit.kind, hit.month, hit.line, hit.weekday}]), expected)
                << static_cast<int>(hit.kind) << ' ' << hit.month << ' ' << hit.line << ' ' << hit.weekday;
            const core::Point centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
            EXPECT_EQ(g.HitTest(centre), hit);
        }
        EXPECT_EQ(counts.size(), targets.size()); // nothing reported that owns no rectangle
    }
}

TEST(GridGeometry, JunkMetricsGiveABoundedGrid)
{
    const FontMetrics junk[] = {{},
                                {-5, -5, -5, -5, -5, -5},
                                {INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX},
                                {INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN},
                                {1, INT_MAX, 0, INT_MIN, 3, INT_MAX},
                                {INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, 0}};
    for (const FontMetrics& f : junk) {
        for (const auto& [c, r] :
             {std::pair{INT_MAX, INT_MAX}, std::pair{1, INT_MAX}, std::pair{INT_MIN, 0}}) {
            const GridLayout g(f, c, r, true);
            const core::Size s = g.TotalSize();
            EXPECT_GT(s.width, 0);
            EXPECT_GT(s.height, 0);
            EXPECT_LE(s.width, SHRT_MAX); // mouse messages carry 16-bit coordinates
            EXPECT_LE(s.height, SHRT_MAX);
            EXPECT_GT(g.CellWidth(), 0);
            EXPECT_GT(g.CellHeight(), 0);
            for (const core::Point p : {core::Point{INT_MIN, INT_MIN}, core::Point{INT_MAX, INT_MAX},
                                        core::Point{INT_MAX, 0}, core::Point{0, 0}})
                EXPECT_EQ(g.HitTest(p).kind, HitKind::Nothing);
        }
    }
    EXPECT_EQ(GridLayout({}, 1, 1, false).TotalSize(), GridLayout({16}, 1, 1, false).TotalSize());
}
