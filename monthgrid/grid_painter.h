#pragma once
// The drawing steps of one paint of the month grid. A Painter draws into a
// DC that has the grid's font, the DC brush and the DC pen selected, with
// the grid's geometry, its colours and the measured digit widths; it
// creates no GDI object, measures no text and allocates nothing.
#include <windows.h>

#include <array>
#include <chrono>
#include <cstdint>

#include "core/dates.h"
#include "core/grid_geometry.h"
#include "monthgrid/monthgrid.h"

namespace monthgrid {

// The colours of a paint, the ones the host puts resolved to RGB, and the
// marks' colours derived from them.
struct Palette {
    COLORREF fore, monthBack, back, titleBack, titleFore, trailing, holiday;
    COLORREF selectedBack, selectedFore; // the selected day
    COLORREF today;                      // frame around today
    COLORREF todaySelected;              // the same, when today is the selected day
};

// The marks must stay visible whatever colours the user picks: the
// selection takes the title's colours unless they vanish against the days'
// background, and today's frame is red unless red vanishes.
// In a high-contrast theme the theme's colours replace the ones put (which
// stay the grid's): window and window text for the days, highlight and
// highlight text for the titles and the selection, grey text for the
// neighbours' days.
Palette MakePalette(const std::array<COLORREF, static_cast<int>(ColorSlot::Count)>& colors,
                    bool highContrast = false);

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

// How a day's number is drawn.
struct DayLook {
    COLORREF color;
    bool bold;
    friend bool operator==(const DayLook&, const DayLook&) = default;
};

// A day's look: the one place where it is decided. A holiday is marked in
// its own month's block only, bold in the holiday colour, or bold in the
// selection's colour while selected; a neighbouring month's day keeps the
// trailing colour whatever it is.
inline DayLook DayLookOf(const Palette& pal, const core::DayCell& cell, bool holiday, bool selected)
{
    const bool own = cell.part == core::MonthPart::Current;
    const bool marked = own && holiday;
    if (selected)
        return {pal.selectedFore, marked};
    if (marked)
        return {pal.holiday, true};
    return {own ? pal.fore : pal.trailing, false};
}

// The bold face of the grid's font, for the holidays, with its digits'
// widths as drawn.
struct BoldFace {
    HFONT font = nullptr;
    const std::array<int, 10>* digitWidths = nullptr;
};

// One paint's drawing: the DC with the font, brush and pen selected, the
// geometry, the colours and the measured digits.
class Painter {
public:
    // `font` is the font selected into `dc`.
    Painter(HDC dc, const core::GridLayout& layout, const Palette& pal, HFONT font, int textHeight,
            const std::array<int, 10>& digitWidths)
        : m_dc(dc), m_layout(layout), m_pal(pal), m_font(font), m_textHeight(textHeight),
          m_digitWidths(digitWidths)
    {}
    // The face for the holidays from here on; without one they are drawn in
    // the regular face, still in their colour.
    void SetBold(const BoldFace& bold) { m_bold = bold; }

    void Title(int m, std::chrono::year_month ym);
    void WeekdayHeader(int m, const RECT& block, const RECT& title);
    void WeekNumbers(int m, const core::MonthLayout& month);
    // `holidays`: bit d set when day d of the block's own month is a holiday.
    // Their numbers are kept for HolidayNumbers, the selected day's aside.
    // `underlineHolidays`: underline them too (in high contrast, where
    // colour alone must not tell them apart).
    DayMarks Days(int m, const core::MonthLayout& month, const DayContext& days, std::uint32_t holidays,
                  bool underlineHolidays = false);
    // The holidays' numbers kept by Days, all in one go in the bold face.
    void HolidayNumbers();
    void Marks(const DayMarks& marks, bool focusCue);
    void Arrows(const RECT& area);

private:
    int TextTop(const RECT& r) const { return r.top + (r.bottom - r.top - m_textHeight) / 2; }
    static int Centre(const RECT& r) { return (r.left + r.right) / 2; }
    // Day or week number n (0..53) as drawn with digits of these widths.
    static int NumberWidth(unsigned n, const std::array<int, 10>& digitWidths);
    // Selects the bold face (or back the regular one) for the numbers that follow.
    void UseBold(bool bold);
    void SetColor(COLORREF c)
    {
        if (c != m_textColor) {
            m_textColor = c;
            ::SetTextColor(m_dc, c);
        }
    }
    void DrawNumber(int x, int y, unsigned number);
    void Underline(int x, int y, int width, COLORREF color);
    int FrameThickness() const { return m_layout.MarkWidth(); }

    HDC m_dc;
    const core::GridLayout& m_layout;
    const Palette& m_pal;
    HFONT m_font;
    int m_textHeight;
    const std::array<int, 10>& m_digitWidths;
    BoldFace m_bold;
    bool m_boldSelected = false;

    // The holidays' numbers of a whole paint as one ExtTextOut: each
    // character's advance (ETO_PDY, x and y) carries it to the next one,
    // wherever that is, so a paint selects the bold face once.
    struct BoldNumbers {
        static constexpr int kCapacity = 96;
        wchar_t text[kCapacity];
        int advance[2 * kCapacity];
        int length = 0;
        int startX = 0, startY = 0;
        int lastX = 0, lastY = 0; // where the last character starts
    } m_holidays;
    void AddHoliday(int x, int y, unsigned number, const std::array<int, 10>& digitWidths);
    COLORREF m_textColor = CLR_INVALID;
};

} // namespace monthgrid
