// Pixel geometry of a grid of month blocks, derived only from font metrics
// that the Windows side measures, the grid's shape and the week-number
// switch. Laying out twice with the same inputs gives the same rectangles,
// which the window relies on when it sizes itself and then lays out again.
//
// A month block, top to bottom:
//   title bar          (prev/next arrows in the first row's outer titles)
//   gap
//   weekday header     ("Mo".."So" above the day columns)
//   separator          (a thin line under the header)
//   gap
//   6 day lines        (week numbers in a column left of Monday, if shown)
//   bottom padding
// Blocks are separated by gaps and the whole grid has an outer margin.
// Rectangles are half-open: left/top inside, right/bottom outside.
#pragma once

namespace core {

// The one Point and Rect of core/: window_geometry.h uses them too, since
// two different classes of one name would break the one-definition rule in
// every program that links both.
struct Point {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool Empty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(Point p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// The grid never shows more than a year at once.
inline constexpr int kMaxMonths = 12;

struct GridShape {
    int columns = 1;
    int rows = 1;
    friend bool operator==(const GridShape&, const GridShape&) = default;
};
// The nearest shape with 1 <= columns, 1 <= rows, columns * rows <= 12:
// counts below 1 become 1, then columns are capped at 12 and rows at
// 12 / columns, so a too-large request keeps its width and loses rows.
GridShape ClampGrid(int columns, int rows);

// Measured by the Windows side with the font the grid draws in. A value of 0
// or below means "could not measure" and is derived from the text height;
// everything else is clamped to a range that keeps the whole grid within
// 16-bit coordinates (mouse messages carry signed 16-bit positions).
struct FontMetrics {
    int textHeight = 0;       // tmHeight; 6..128, default 16
    int averageCharWidth = 0; // tmAveCharWidth; 1..128, default textHeight / 2
    int numberWidth = 0;      // widest two-digit number as drawn ("00".."53": day
                              // and week numbers); 1..256, default 2 average chars
    int weekdayWidth = 0;     // widest of kWeekdayAbbreviations; 1..256
    int titleWidth = 0;       // widest month title, e.g. "September 2026"; 1..1024
    int dpi = 0;              // the DPI the font was made for; 48..960, default 96
};

enum class HitKind { Nothing, PrevArrow, NextArrow, Title, Day, WeekNumber };

struct HitResult {
    HitKind kind = HitKind::Nothing;
    int month = -1;   // Title, Day, WeekNumber: index row * columns + column
    int line = -1;    // Day, WeekNumber: 0..5
    int weekday = -1; // Day: 0 = Monday .. 6 = Sunday
    friend bool operator==(const HitResult&, const HitResult&) = default;
};

class GridLayout {
public:
    // columns/rows go through ClampGrid.
    GridLayout(const FontMetrics& metrics, int columns, int rows, bool showWeekNumbers);

    GridShape Shape() const { return m_shape; }
    int MonthCount() const { return m_shape.columns * m_shape.rows; }
    bool ShowsWeekNumbers() const { return m_weekNumberWidth > 0; }

    int CellWidth() const { return m_cellWidth; }
    int CellHeight() const { return m_cellHeight; }
    int TitleHeight() const { return m_titleHeight; }
    int WeekdayHeaderHeight() const { return m_headerHeight; }
    int SeparatorHeight() const { return m_separatorHeight; }
    int WeekNumberWidth() const { return m_weekNumberWidth; } // 0 when off
    // The rules: under the weekday header (SeparatorHeight) and beside the
    // week numbers.
    int LineWidth() const { return m_separatorHeight; }
    // The frame around today.
    int MarkWidth() const { return m_markWidth; }
    Size MonthSize() const { return m_monthSize; }
    int MonthGap() const { return m_gap; } // between blocks, both directions
    int Margin() const { return m_margin; }
    Size TotalSize() const; // what the window's client area must be

    // Out-of-range indices, and week numbers while they are off, give an
    // empty Rect{}.
    Rect MonthRect(int month) const;
    Rect TitleRect(int month) const;
    Rect TitleTextRect(int month) const; // the part of the title clear of arrows
    Rect PrevArrowRect() const;          // in the title of month 0
    Rect NextArrowRect() const;          // in the title of month columns - 1
    Rect WeekdayHeaderRect(int month) const;
    Rect WeekdayRect(int month, int weekday) const; // one abbreviation
    Rect SeparatorRect(int month) const;
    Rect DayRect(int month, int line, int weekday) const;
    Rect WeekNumberRect(int month, int line) const;

    HitResult HitTest(Point p) const;

private:
    bool ValidMonth(int month) const { return month >= 0 && month < MonthCount(); }
    int ContentLeft(int month) const; // x of the week-number column (or Monday)
    int LinesTop(int month) const;    // y of day line 0
    int DaysLeft(int month) const { return ContentLeft(month) + m_weekNumberWidth; }

    GridShape m_shape;
    int m_padX = 0, m_padY = 0;
    int m_cellWidth = 0, m_cellHeight = 0;
    int m_titleHeight = 0, m_titleGap = 0;
    int m_arrowSize = 0, m_arrowInset = 0;
    int m_headerHeight = 0, m_separatorHeight = 0, m_markWidth = 0;
    int m_weekNumberWidth = 0;
    Size m_monthSize;
    int m_contentInset = 0; // left edge of the block to the content
    int m_gap = 0, m_margin = 0;
};

} // namespace core
