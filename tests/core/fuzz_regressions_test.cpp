// Faults found while fuzzing core/ (tests/core/fuzz), each pinned by the
// smallest case that showed it.
#include "core/dates.h"
#include "core/grid_geometry.h"
#include "core/window_geometry.h"

#include <gtest/gtest.h>

#include <limits>

using namespace std::chrono;

// Both geometry headers in one file: they used to define two different
// core::Rect and core::Point classes, which did not compile together and
// broke the one-definition rule in every program linking both.
TEST(FuzzRegressions, GeometryHeadersShareOneRectAndPoint)
{
    const core::Rect area{0, 0, 1280, 1024};
    const core::Point p = core::CenterOver(200, 100, area, area);
    EXPECT_TRUE(area.Contains(p));
    const core::Rect fitted = core::FitWindowToContent(core::Rect{0, 0, 640, 480}, area, area);
    EXPECT_FALSE(fitted.Empty());
    static_assert(core::Rect{1, 2, 4, 8}.Width() == 3);
}

// IndexOf subtracted before comparing, so a day near either end of the day
// count overflowed the difference (fuzz_dates, seeds layout_year_max and layout_index_of_int64_min).
TEST(FuzzRegressions, IndexOfADayFarOutsideTheLayout)
{
    const core::MonthLayout l = core::LayoutMonth(year{2024} / February);
    using limits = std::numeric_limits<days::rep>;
    for (days::rep far : {limits::min(), limits::min() + 1, limits::max(), limits::max() - 41}) {
        EXPECT_EQ(l.IndexOf(sys_days{days{far}}), -1) << far;
    }
    const core::MonthLayout last = core::LayoutMonth(core::kLastMonth);
    EXPECT_EQ(last.IndexOf(sys_days{days{limits::min()}}), -1);
    EXPECT_EQ(last.IndexOf(last.cells.back().date), 41);
    EXPECT_EQ(last.IndexOf(last.cells.back().date + days{1}), -1);
    EXPECT_EQ(last.IndexOf(last.cells.front().date - days{1}), -1);
}
