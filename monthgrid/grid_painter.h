#pragma once
// The drawing steps of one paint of the month grid. A Painter draws into a
// DC that has the grid's font, the DC brush and the DC pen selected, with
// the grid's geometry, its colours and the measured digit widths; it
// creates no GDI object, measures no text and allocates nothing.
#include <windows.h>

#include <array>
#include <chrono>

#include "core/dates.h"
#include "core/grid_geometry.h"
#include "monthgrid/monthgrid.h"

namespace monthgrid {

// The colours of a paint, the six the host puts resolved to RGB, and the
// marks' colours derived from them.
struct Palette {
    COLORREF fore, monthBack, back, titleBack, titleFore, trailing;
    COLORREF selectedBack, selectedFore; // the selected day
    COLORREF today;                      // frame around today
};

// The marks must stay visible whatever colours the user picks: the
// selection takes the title's colours unless they vanish against the days'
// background, and today's frame is red unless red vanishes.
Palette MakePalette(const std::array<COLORREF, static_cast<int>(ColorSlot::Count)>& colors);

bool Touches(const RECT& a, const RECT& b);
// An opaque fill in `color` (an ExtTextOut without text: no brush made).
void Fill(HDC dc, const RECT& r, COLORREF color);

// Where today and the selected day were drawn in one month block, for the
// marks drawn over the days.
struct DayMarks {
    RECT today{};
    RECT selected{};
};

// What the days of the grid need to know beyond their month.
struct DayContext {
    std::chrono::sys_days today;
    std::chrono::sys_days selected;
    // A date shown in two blocks (as a day of its month and as a trailing
    // day of the next) is marked in its own month's block only.
    bool todayMonthShown = false;
    bool selectedMonthShown = false;
};

// A day's text colour: the one place where a day's own look is decided.
inline COLORREF DayColor(const Palette& pal, const core::DayCell& cell)
{
    return cell.part == core::MonthPart::Current ? pal.fore : pal.trailing;
}

// One paint's drawing: the DC with the font, brush and pen selected, the
// geometry, the colours and the measured digits.
class Painter {
public:
    Painter(HDC dc, const core::GridLayout& layout, const Palette& pal, int textHeight,
            const std::array<int, 10>& digitWidths)
        : m_dc(dc), m_layout(layout), m_pal(pal), m_textHeight(textHeight), m_digitWidths(digitWidths)
    {}

    void Title(int m, std::chrono::year_month ym);
    void WeekdayHeader(int m, const RECT& block, const RECT& title);
    void WeekNumbers(int m, const core::MonthLayout& month);
    DayMarks Days(int m, const core::MonthLayout& month, const DayContext& days);
    void Marks(const DayMarks& marks, bool focusCue);
    void Arrows(const RECT& area);

private:
    int TextTop(const RECT& r) const { return r.top + (r.bottom - r.top - m_textHeight) / 2; }
    static int Centre(const RECT& r) { return (r.left + r.right) / 2; }
    // Day or week number n (0..53) as drawn.
    int NumberWidth(unsigned n) const;
    void SetColor(COLORREF c)
    {
        if (c != m_textColor) {
            m_textColor = c;
            ::SetTextColor(m_dc, c);
        }
    }
    void DrawNumber(int x, int y, unsigned number);
    int FrameThickness() const { return m_layout.MarkWidth(); }

    HDC m_dc;
    const core::GridLayout& m_layout;
    const Palette& m_pal;
    int m_textHeight;
    const std::array<int, 10>& m_digitWidths;
    COLORREF m_textColor = CLR_INVALID;
};

} // namespace monthgrid
