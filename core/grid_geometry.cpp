#include "core/grid_geometry.h"

#include <algorithm>

namespace core {

namespace {

int Metric(int measured, int fallback, int lo, int hi)
{
    return std::clamp(measured > 0 ? measured : fallback, lo, hi);
}

// Pixels at 96 DPI, at another DPI, rounded as MulDiv rounds.
class Scale {
public:
    explicit Scale(int dpi) : m_dpi(Metric(dpi, kReferenceDpi, 48, 960)) {}
    int operator()(int px) const { return (px * m_dpi + kReferenceDpi / 2) / kReferenceDpi; }

private:
    static constexpr int kReferenceDpi = 96;
    int m_dpi;
};

} // namespace

GridShape ClampGrid(int columns, int rows)
{
    const int c = std::clamp(columns, 1, kMaxMonths);
    return {c, std::clamp(rows, 1, kMaxMonths / c)};
}

// Every spacing scales with the text height h, so the grid keeps its look
// at any DPI; the least sizes that small fonts fall back on, and the rules
// and marks, are pixels at 96 DPI scaled to the font's DPI. Widths of
// content grow strictly with the measured widths and heights strictly with
// h: a larger font always gives a larger grid.
GridLayout::GridLayout(const FontMetrics& m, int columns, int rows, bool showWeekNumbers)
    : m_shape(ClampGrid(columns, rows))
{
    const Scale px(m.dpi);
    const int h = Metric(m.textHeight, 16, 6, 128);
    const int charWidth = Metric(m.averageCharWidth, (h + 1) / 2, 1, 128);
    const int numberWidth = Metric(m.numberWidth, 2 * charWidth, 1, 256);
    const int weekdayWidth = Metric(m.weekdayWidth, 5 * charWidth / 2, 1, 256);
    const int titleWidth = Metric(m.titleWidth, 14 * charWidth, 1, 1024);

    // About a quarter em between columns and a sixth above and below each
    // number: the grid stays compact but reads easily at a glance.
    m_padX = std::max(px(3), (h + 2) / 4);
    m_padY = std::max(px(1), h / 6);
    // One column serves both the day numbers and the abbreviation above them.
    m_cellWidth = std::max({numberWidth, weekdayWidth, 2 * charWidth}) + 2 * m_padX;
    m_cellHeight = h + 2 * m_padY;
    m_headerHeight = m_cellHeight;
    m_separatorHeight = std::max(px(1), h / 24);
    // Today's frame: two pixels at 96 DPI, one around very small text.
    m_markWidth = h >= px(10) ? px(2) : px(1);
    m_weekNumberWidth = showWeekNumbers ? numberWidth + 2 * m_padX : 0;

    // The title bar reads as a band of its own: about 1.7 text heights
    // against 1.25 for a day line. Its arrows are squares inset in it.
    m_titleHeight = h + 2 * std::max(px(3), (h + 4) / 3);
    m_titleGap = std::max(px(2), h / 4);
    m_arrowInset = std::max(px(2), m_titleHeight / 8);
    m_arrowSize = m_titleHeight - 2 * m_arrowInset;

    // Every title reserves room for both arrows, so titles stay centred
    // alike whether or not their block carries an arrow. A long title
    // widens the block and the days are centred under it.
    const int sidePad = std::max(px(2), h / 4);
    const int contentWidth = m_weekNumberWidth + 7 * m_cellWidth;
    const int titleNeeds = titleWidth + 2 * (m_arrowInset + m_arrowSize + m_padX);
    m_monthSize.width = std::max(contentWidth + 2 * sidePad, titleNeeds);
    m_monthSize.height =
        m_titleHeight + m_titleGap + m_headerHeight + m_separatorHeight + m_padY + 6 * m_cellHeight + sidePad;
    m_contentInset = (m_monthSize.width - contentWidth) / 2;

    m_gap = std::max(px(6), h * 3 / 4);
    m_margin = std::max(px(3), h / 2);
}

Size GridLayout::TotalSize() const
{
    return {2 * m_margin + m_shape.columns * m_monthSize.width + (m_shape.columns - 1) * m_gap,
            2 * m_margin + m_shape.rows * m_monthSize.height + (m_shape.rows - 1) * m_gap};
}

Rect GridLayout::MonthRect(int month) const
{
    if (!ValidMonth(month)) {
        return {};
    }
    const int left = m_margin + (month % m_shape.columns) * (m_monthSize.width + m_gap);
    const int top = m_margin + (month / m_shape.columns) * (m_monthSize.height + m_gap);
    return {left, top, left + m_monthSize.width, top + m_monthSize.height};
}

Rect GridLayout::TitleRect(int month) const
{
    if (!ValidMonth(month)) {
        return {};
    }
    Rect r = MonthRect(month);
    r.bottom = r.top + m_titleHeight;
    return r;
}

Rect GridLayout::TitleTextRect(int month) const
{
    if (!ValidMonth(month)) {
        return {};
    }
    const Rect t = TitleRect(month);
    const int clear = m_arrowInset + m_arrowSize + m_padX;
    return {t.left + clear, t.top, t.right - clear, t.bottom};
}

Rect GridLayout::PrevArrowRect() const
{
    const Rect t = TitleRect(0);
    return {t.left + m_arrowInset, t.top + m_arrowInset, t.left + m_arrowInset + m_arrowSize,
            t.top + m_arrowInset + m_arrowSize};
}

Rect GridLayout::NextArrowRect() const
{
    const Rect t = TitleRect(m_shape.columns - 1);
    return {t.right - m_arrowInset - m_arrowSize, t.top + m_arrowInset, t.right - m_arrowInset,
            t.top + m_arrowInset + m_arrowSize};
}

int GridLayout::ContentLeft(int month) const { return MonthRect(month).left + m_contentInset; }

int GridLayout::LinesTop(int month) const
{
    return MonthRect(month).top + m_titleHeight + m_titleGap + m_headerHeight + m_separatorHeight + m_padY;
}

Rect GridLayout::WeekdayHeaderRect(int month) const
{
    if (!ValidMonth(month)) {
        return {};
    }
    const int left = DaysLeft(month);
    const int top = MonthRect(month).top + m_titleHeight + m_titleGap;
    return {left, top, left + 7 * m_cellWidth, top + m_headerHeight};
}

Rect GridLayout::WeekdayRect(int month, int weekday) const
{
    if (!ValidMonth(month) || weekday < 0 || weekday > 6) {
        return {};
    }
    Rect r = WeekdayHeaderRect(month);
    r.left += weekday * m_cellWidth;
    r.right = r.left + m_cellWidth;
    return r;
}

Rect GridLayout::SeparatorRect(int month) const
{
    if (!ValidMonth(month)) {
        return {};
    }
    Rect r = WeekdayHeaderRect(month);
    r.top = r.bottom;
    r.bottom += m_separatorHeight;
    return r;
}

Rect GridLayout::DayRect(int month, int line, int weekday) const
{
    if (!ValidMonth(month) || line < 0 || line > 5 || weekday < 0 || weekday > 6) {
        return {};
    }
    const int left = DaysLeft(month) + weekday * m_cellWidth;
    const int top = LinesTop(month) + line * m_cellHeight;
    return {left, top, left + m_cellWidth, top + m_cellHeight};
}

Rect GridLayout::WeekNumberRect(int month, int line) const
{
    if (!ValidMonth(month) || line < 0 || line > 5 || m_weekNumberWidth == 0) {
        return {};
    }
    const int left = ContentLeft(month);
    const int top = LinesTop(month) + line * m_cellHeight;
    return {left, top, left + m_weekNumberWidth, top + m_cellHeight};
}

HitResult GridLayout::HitTest(Point p) const
{
    const Size total = TotalSize();
    // Checked before subtracting, so no coordinate can overflow.
    if (p.x < m_margin || p.y < m_margin || p.x >= total.width || p.y >= total.height) {
        return {};
    }
    const int column = (p.x - m_margin) / (m_monthSize.width + m_gap);
    const int row = (p.y - m_margin) / (m_monthSize.height + m_gap);
    if (column >= m_shape.columns || row >= m_shape.rows) {
        return {}; // in the far margin; gaps fall outside every rectangle below
    }
    const int month = row * m_shape.columns + column;

    if (month == 0 && PrevArrowRect().Contains(p)) {
        return {HitKind::PrevArrow};
    }
    if (month == m_shape.columns - 1 && NextArrowRect().Contains(p)) {
        return {HitKind::NextArrow};
    }
    if (TitleRect(month).Contains(p)) {
        return {HitKind::Title, month};
    }
    const int top = LinesTop(month);
    if (p.y < top || p.y >= top + 6 * m_cellHeight) {
        return {};
    }
    const int line = (p.y - top) / m_cellHeight;
    const int left = ContentLeft(month);
    if (p.x >= left && p.x < left + m_weekNumberWidth) {
        return {HitKind::WeekNumber, month, line};
    }
    const int daysLeft = DaysLeft(month);
    if (p.x >= daysLeft && p.x < daysLeft + 7 * m_cellWidth) {
        return {HitKind::Day, month, line, (p.x - daysLeft) / m_cellWidth};
    }
    return {};
}

} // namespace core
