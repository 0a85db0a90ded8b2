#include "core/grid_geometry.h"

#include <algorithm>

namespace core {

namespace {

int Metric(int measured, int fallback, int lo, int hi) {
    return std::clamp(measured > 0 ? measured : fallback, lo, hi);
}

}  // namespace

GridShape ClampGrid(int columns, int rows) {
    const int c = std::clamp(columns, 1, kMaxMonths);
    return {c, std::clamp(rows, 1, kMaxMonths / c)};
}

// Every spacing scales with the text height h, so the grid keeps its look
// at any DPI. Widths of content grow strictly with the measured widths and
// heights strictly with h: a larger font always gives a larger grid.
GridLayout::GridLayout(const FontMetrics& m, int columns, int rows, bool showWeekNumbers)
    : shape_(ClampGrid(columns, rows)) {
    const int h = Metric(m.textHeight, 16, 6, 128);
    const int charWidth = Metric(m.averageCharWidth, (h + 1) / 2, 1, 128);
    const int numberWidth = Metric(m.numberWidth, 2 * charWidth, 1, 256);
    const int weekdayWidth = Metric(m.weekdayWidth, 5 * charWidth / 2, 1, 256);
    const int titleWidth = Metric(m.titleWidth, 14 * charWidth, 1, 1024);

    // About a quarter em between columns and a sixth above and below each
    // number: the grid stays compact but reads easily at a glance.
    padX_ = std::max(3, (h + 2) / 4);
    padY_ = std::max(1, h / 6);
    // One column serves both the day numbers and the abbreviation above them.
    cellWidth_ = std::max({numberWidth, weekdayWidth, 2 * charWidth}) + 2 * padX_;
    cellHeight_ = h + 2 * padY_;
    headerHeight_ = cellHeight_;
    separatorHeight_ = std::max(1, h / 24);
    weekNumberWidth_ = showWeekNumbers ? numberWidth + 2 * padX_ : 0;

    // The title bar reads as a band of its own: about 1.7 text heights
    // against 1.25 for a day line. Its arrows are squares inset in it.
    titleHeight_ = h + 2 * std::max(3, (h + 4) / 3);
    titleGap_ = std::max(2, h / 4);
    arrowInset_ = std::max(2, titleHeight_ / 8);
    arrowSize_ = titleHeight_ - 2 * arrowInset_;

    // Every title reserves room for both arrows, so titles stay centred
    // alike whether or not their block carries an arrow. A long title
    // widens the block and the days are centred under it.
    const int sidePad = std::max(2, h / 4);
    const int contentWidth = weekNumberWidth_ + 7 * cellWidth_;
    const int titleNeeds = titleWidth + 2 * (arrowInset_ + arrowSize_ + padX_);
    monthSize_.width = std::max(contentWidth + 2 * sidePad, titleNeeds);
    monthSize_.height = titleHeight_ + titleGap_ + headerHeight_ + separatorHeight_ + padY_ +
                        6 * cellHeight_ + sidePad;
    contentInset_ = (monthSize_.width - contentWidth) / 2;

    gap_ = std::max(6, h * 3 / 4);
    margin_ = std::max(3, h / 2);
}

Size GridLayout::TotalSize() const {
    return {2 * margin_ + shape_.columns * monthSize_.width + (shape_.columns - 1) * gap_,
            2 * margin_ + shape_.rows * monthSize_.height + (shape_.rows - 1) * gap_};
}

Rect GridLayout::MonthRect(int month) const {
    if (!ValidMonth(month)) {
        return {};
    }
    const int left = margin_ + (month % shape_.columns) * (monthSize_.width + gap_);
    const int top = margin_ + (month / shape_.columns) * (monthSize_.height + gap_);
    return {left, top, left + monthSize_.width, top + monthSize_.height};
}

Rect GridLayout::TitleRect(int month) const {
    if (!ValidMonth(month)) {
        return {};
    }
    Rect r = MonthRect(month);
    r.bottom = r.top + titleHeight_;
    return r;
}

Rect GridLayout::TitleTextRect(int month) const {
    if (!ValidMonth(month)) {
        return {};
    }
    const Rect t = TitleRect(month);
    const int clear = arrowInset_ + arrowSize_ + padX_;
    return {t.left + clear, t.top, t.right - clear, t.bottom};
}

Rect GridLayout::PrevArrowRect() const {
    const Rect t = TitleRect(0);
    return {t.left + arrowInset_, t.top + arrowInset_, t.left + arrowInset_ + arrowSize_,
            t.top + arrowInset_ + arrowSize_};
}

Rect GridLayout::NextArrowRect() const {
    const Rect t = TitleRect(shape_.columns - 1);
    return {t.right - arrowInset_ - arrowSize_, t.top + arrowInset_, t.right - arrowInset_,
            t.top + arrowInset_ + arrowSize_};
}

int GridLayout::ContentLeft(int month) const {
    return MonthRect(month).left + contentInset_;
}

int GridLayout::LinesTop(int month) const {
    return MonthRect(month).top + titleHeight_ + titleGap_ + headerHeight_ + separatorHeight_ + padY_;
}

Rect GridLayout::WeekdayHeaderRect(int month) const {
    if (!ValidMonth(month)) {
        return {};
    }
    const int left = DaysLeft(month);
    const int top = MonthRect(month).top + titleHeight_ + titleGap_;
    return {left, top, left + 7 * cellWidth_, top + headerHeight_};
}

Rect GridLayout::WeekdayRect(int month, int weekday) const {
    if (!ValidMonth(month) || weekday < 0 || weekday > 6) {
        return {};
    }
    Rect r = WeekdayHeaderRect(month);
    r.left += weekday * cellWidth_;
    r.right = r.left + cellWidth_;
    return r;
}

Rect GridLayout::SeparatorRect(int month) const {
    if (!ValidMonth(month)) {
        return {};
    }
    Rect r = WeekdayHeaderRect(month);
    r.top = r.bottom;
    r.bottom += separatorHeight_;
    return r;
}

Rect GridLayout::DayRect(int month, int line, int weekday) const {
    if (!ValidMonth(month) || line < 0 || line > 5 || weekday < 0 || weekday > 6) {
        return {};
    }
    const int left = DaysLeft(month) + weekday * cellWidth_;
    const int top = LinesTop(month) + line * cellHeight_;
    return {left, top, left + cellWidth_, top + cellHeight_};
}

Rect GridLayout::WeekNumberRect(int month, int line) const {
    if (!ValidMonth(month) || line < 0 || line > 5 || weekNumberWidth_ == 0) {
        return {};
    }
    const int left = ContentLeft(month);
    const int top = LinesTop(month) + line * cellHeight_;
    return {left, top, left + weekNumberWidth_, top + cellHeight_};
}

HitResult GridLayout::HitTest(Point p) const {
    const Size total = TotalSize();
    // Checked before subtracting, so no coordinate can overflow.
    if (p.x < margin_ || p.y < margin_ || p.x >= total.width || p.y >= total.height) {
        return {};
    }
    const int column = (p.x - margin_) / (monthSize_.width + gap_);
    const int row = (p.y - margin_) / (monthSize_.height + gap_);
    if (column >= shape_.columns || row >= shape_.rows) {
        return {};  // in the far margin; gaps fall outside every rectangle below
    }
    const int month = row * shape_.columns + column;

    if (month == 0 && PrevArrowRect().Contains(p)) {
        return {HitKind::PrevArrow};
    }
    if (month == shape_.columns - 1 && NextArrowRect().Contains(p)) {
        return {HitKind::NextArrow};
    }
    if (TitleRect(month).Contains(p)) {
        return {HitKind::Title, month};
    }
    const int top = LinesTop(month);
    if (p.y < top || p.y >= top + 6 * cellHeight_) {
        return {};
    }
    const int line = (p.y - top) / cellHeight_;
    const int left = ContentLeft(month);
    if (p.x >= left && p.x < left + weekNumberWidth_) {
        return {HitKind::WeekNumber, month, line};
    }
    const int daysLeft = DaysLeft(month);
    if (p.x >= daysLeft && p.x < daysLeft + 7 * cellWidth_) {
        return {HitKind::Day, month, line, (p.x - daysLeft) / cellWidth_};
    }
    return {};
}

}  // namespace core
