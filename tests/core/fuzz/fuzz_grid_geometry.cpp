// The grid's metrics come from whatever font the user picked (or failed to
// load) and its shape from a hand-editable profile; the window's rectangles
// from the system. None of it may overflow, and what the grid reports for a
// point must agree with the rectangles it draws.
#include "core/grid_geometry.h"
#include "core/window_geometry.h"
#include "tests/core/fuzz/fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using core::GridLayout;
using core::HitKind;
using core::HitResult;
using core::Point;
using core::Rect;

// Mostly values near the clamping ranges, sometimes anything an int holds.
int Value(FuzzedDataProvider& p, int lo, int hi)
{
    return p.ConsumeBool() ? p.ConsumeIntegral<int>() : p.ConsumeIntegralInRange(lo, hi);
}

bool Inside(const Rect& inner, const Rect& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

Point Centre(const Rect& r) { return {r.left + r.Width() / 2, r.top + r.Height() / 2}; }

void CheckShape(int columns, int rows)
{
    const core::GridShape s = core::ClampGrid(columns, rows);
    FUZZ_CHECK(s.columns >= 1 && s.columns <= core::kMaxMonths);
    FUZZ_CHECK(s.rows >= 1 && s.columns * s.rows <= core::kMaxMonths);
    FUZZ_CHECK(core::ClampGrid(s.columns, s.rows) == s);
    // A request that already fits is kept; the width is kept whenever it can be.
    if (columns >= 1 && columns <= core::kMaxMonths)
        FUZZ_CHECK(s.columns == columns);
    if (s.columns == columns && rows >= 1 && static_cast<long long>(columns) * rows <= core::kMaxMonths) {
        FUZZ_CHECK(s.rows == rows);
    }
}

void CheckGrid(FuzzedDataProvider& p)
{
    core::FontMetrics m;
    m.textHeight = Value(p, -2, 140);
    m.averageCharWidth = Value(p, -2, 140);
    m.numberWidth = Value(p, -2, 270);
    m.weekdayWidth = Value(p, -2, 270);
    m.titleWidth = Value(p, -2, 1100);
    m.dpi = Value(p, -2, 1000);
    const int columns = Value(p, -3, 14), rows = Value(p, -3, 14);
    const bool weeks = p.ConsumeBool();
    CheckShape(columns, rows);

    const GridLayout g(m, columns, rows, weeks);
    FUZZ_CHECK(g.Shape() == core::ClampGrid(columns, rows));
    FUZZ_CHECK(g.MonthCount() >= 1 && g.MonthCount() <= core::kMaxMonths);
    FUZZ_CHECK(g.ShowsWeekNumbers() == weeks);
    const core::Size total = g.TotalSize();
    // Mouse messages carry signed 16-bit coordinates.
    FUZZ_CHECK(total.width > 0 && total.width <= SHRT_MAX);
    FUZZ_CHECK(total.height > 0 && total.height <= SHRT_MAX);
    FUZZ_CHECK(g.CellWidth() > 0 && g.CellHeight() > 0 && g.TitleHeight() > 0);
    const Rect all{0, 0, total.width, total.height};

    const Rect prev = g.PrevArrowRect(), next = g.NextArrowRect();
    FUZZ_CHECK(!prev.Empty() && Inside(prev, g.TitleRect(0)));
    FUZZ_CHECK(!next.Empty() && Inside(next, g.TitleRect(g.Shape().columns - 1)));
    FUZZ_CHECK(g.HitTest(Centre(prev)).kind == HitKind::PrevArrow);
    FUZZ_CHECK(g.HitTest(Centre(next)).kind == HitKind::NextArrow);

    for (int month = 0; month < g.MonthCount(); ++month) {
        const Rect block = g.MonthRect(month);
        FUZZ_CHECK(!block.Empty() && Inside(block, all));
        FUZZ_CHECK(Inside(g.TitleRect(month), block));
        FUZZ_CHECK(Inside(g.WeekdayHeaderRect(month), block));
        FUZZ_CHECK(Inside(g.SeparatorRect(month), block));
        const Rect text = g.TitleTextRect(month);
        FUZZ_CHECK(text.Width() >= (m.titleWidth > 0 ? std::min(m.titleWidth, 1024) : 1));
        const HitResult title = g.HitTest(Centre(g.TitleTextRect(month)));
        FUZZ_CHECK(title == (HitResult{HitKind::Title, month}));
        for (int wd = 0; wd < 7; ++wd)
            FUZZ_CHECK(Inside(g.WeekdayRect(month, wd), g.WeekdayHeaderRect(month)));
        for (int line = 0; line < 6; ++line) {
            for (int wd = 0; wd < 7; ++wd) {
                const Rect day = g.DayRect(month, line, wd);
                FUZZ_CHECK(!day.Empty() && Inside(day, block));
                FUZZ_CHECK(g.HitTest(Centre(day)) == (HitResult{HitKind::Day, month, line, wd}));
                FUZZ_CHECK(g.HitTest({day.left, day.top}) == (HitResult{HitKind::Day, month, line, wd}));
                FUZZ_CHECK(g.HitTest({day.right - 1, day.bottom - 1}) ==
                           (HitResult{HitKind::Day, month, line, wd}));
            }
            const Rect week = g.WeekNumberRect(month, line);
            if (weeks) {
                FUZZ_CHECK(!week.Empty() && Inside(week, block));
                FUZZ_CHECK(g.HitTest(Centre(week)) == (HitResult{HitKind::WeekNumber, month, line}));
            } else {
                FUZZ_CHECK(week == Rect{});
            }
        }
    }
    // Indices out of range give nothing, whatever they are.
    const int badMonth =
        p.ConsumeBool() ? g.MonthCount() + p.ConsumeIntegralInRange(0, 3) : p.ConsumeIntegral<int>();
    if (badMonth < 0 || badMonth >= g.MonthCount()) {
        FUZZ_CHECK(g.MonthRect(badMonth) == Rect{} && g.TitleRect(badMonth) == Rect{} &&
                   g.DayRect(badMonth, 0, 0) == Rect{} && g.WeekNumberRect(badMonth, 0) == Rect{});
    }
    const int badLine = p.ConsumeIntegral<int>(), badDay = p.ConsumeIntegral<int>();
    if (badLine < 0 || badLine > 5)
        FUZZ_CHECK(g.DayRect(0, badLine, 0) == Rect{} && g.WeekNumberRect(0, badLine) == Rect{});
    if (badDay < 0 || badDay > 6)
        FUZZ_CHECK(g.DayRect(0, 0, badDay) == Rect{} && g.WeekdayRect(0, badDay) == Rect{});

    // Arbitrary points: whatever is reported owns the point.
    for (int i = 0; i < 8 && p.remaining_bytes() > 0; ++i) {
        const Point pt{Value(p, -4, total.width + 4), Value(p, -4, total.height + 4)};
        const HitResult hit = g.HitTest(pt);
        switch (hit.kind) {
        case HitKind::Nothing:
            break;
        case HitKind::PrevArrow:
            FUZZ_CHECK(prev.Contains(pt));
            break;
        case HitKind::NextArrow:
            FUZZ_CHECK(next.Contains(pt));
            break;
        case HitKind::Title:
            FUZZ_CHECK(g.TitleRect(hit.month).Contains(pt));
            break;
        case HitKind::Day:
            FUZZ_CHECK(g.DayRect(hit.month, hit.line, hit.weekday).Contains(pt));
            break;
        case HitKind::WeekNumber:
            FUZZ_CHECK(g.WeekNumberRect(hit.month, hit.line).Contains(pt));
            break;
        }
        if (!all.Empty() && !(pt.x >= 0 && pt.x < total.width && pt.y >= 0 && pt.y < total.height)) {
            FUZZ_CHECK(hit.kind == HitKind::Nothing);
        }
    }
}

core::Rect AnyRect(FuzzedDataProvider& p)
{
    core::Rect r;
    r.left = Value(p, -3000, 3000);
    r.top = Value(p, -3000, 3000);
    r.right = p.ConsumeBool() ? p.ConsumeIntegral<int>() : r.left / 2 + p.ConsumeIntegralInRange(-10, 3000);
    r.bottom = p.ConsumeBool() ? p.ConsumeIntegral<int>() : r.top / 2 + p.ConsumeIntegralInRange(-10, 3000);
    return r;
}

std::int64_t Clamped(std::int64_t v) { return std::clamp<std::int64_t>(v, INT_MIN, INT_MAX); }

void CheckWindow(FuzzedDataProvider& p)
{
    const core::Rect content = AnyRect(p), window = AnyRect(p), client = AnyRect(p), area = AnyRect(p),
                     over = AnyRect(p);
    const int width = Value(p, -10, 4000), height = Value(p, -10, 4000);

    const core::Rect fitted = core::FitWindowToContent(content, window, client);
    FUZZ_CHECK(fitted.left == window.left && fitted.top == window.top);
    // The frame is what the window has around its client area; the new
    // window is the content plus that frame, saturated at the int range.
    const std::int64_t frameW =
        std::int64_t{window.right} - window.left - (std::int64_t{client.right} - client.left);
    const std::int64_t frameH =
        std::int64_t{window.bottom} - window.top - (std::int64_t{client.bottom} - client.top);
    FUZZ_CHECK(fitted.right ==
               Clamped(std::int64_t{window.left} + (std::int64_t{content.right} - content.left) + frameW));
    FUZZ_CHECK(fitted.bottom ==
               Clamped(std::int64_t{window.top} + (std::int64_t{content.bottom} - content.top) + frameH));

    const core::Point in = core::CenterOver(width, height, area, area);
    FUZZ_CHECK(in == core::CenterOver(width, height, area, area));
    const core::Point at = core::CenterOver(width, height, over, area);
    auto axis = [](int pos, std::int64_t size, std::int64_t overLo, std::int64_t overHi, std::int64_t lo,
                   std::int64_t hi) {
        if (lo > hi)
            return; // an inverted area promises nothing but no UB
        if (size >= 0 && size <= hi - lo) {
            // Fits: entirely inside, and centred over the owner unless that
            // would leave the area.
            FUZZ_CHECK(pos >= lo && pos + size <= hi);
            const std::int64_t twice = 2 * (pos - overLo) - (overHi - overLo - size);
            const bool pulled = pos == lo || pos + size == hi;
            FUZZ_CHECK(pulled || (twice >= -1 && twice <= 1));
        } else if (size > hi - lo) {
            FUZZ_CHECK(pos == lo); // the caption stays on screen
        }
    };
    axis(at.x, width, over.left, over.right, area.left, area.right);
    axis(at.y, height, over.top, over.bottom, area.top, area.bottom);
    axis(in.x, width, area.left, area.right, area.left, area.right);
    axis(in.y, height, area.top, area.bottom, area.top, area.bottom);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider p(data, size);
    if (p.ConsumeBool()) {
        CheckGrid(p);
    } else {
        CheckWindow(p);
    }
    return 0;
}
