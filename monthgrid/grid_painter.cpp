#include "monthgrid/grid_painter.h"

#include <algorithm>
#include <cstdlib>

#include "framework/core_rect.h"

namespace monthgrid {

using namespace std::chrono;
using fw::ToRECT;

namespace {

// The frame around today, where it stands out.
constexpr COLORREF kTodayRed = RGB(0xE0, 0x10, 0x10);
// Colours closer than this (summed over red, green and blue) do not tell
// apart; today's red needs twice the distance.
constexpr int kClose = 96;

// Day and week numbers 0..53 as text, made once.
struct Numbers {
    wchar_t text[54][2];
    int length[54];
    Numbers()
    {
        for (int n = 0; n < 54; ++n) {
            if (n < 10) {
                text[n][0] = static_cast<wchar_t>(L'0' + n);
                length[n] = 1;
            } else {
                text[n][0] = static_cast<wchar_t>(L'0' + n / 10);
                text[n][1] = static_cast<wchar_t>(L'0' + n % 10);
                length[n] = 2;
            }
        }
    }
};
const Numbers kNumbers;

// One ExtTextOut's worth of day numbers of one colour on one line.
struct DayRun {
    wchar_t text[14];
    int dx[14];
    int length = 0;
    int startX = 0;
    int lastX = 0; // where the last character starts
    COLORREF color = 0;

    void Add(int x, COLORREF c, unsigned number, const std::array<int, 10>& digitWidths)
    {
        if (length == 0) {
            startX = x;
            color = c;
        } else {
            dx[length - 1] = x - lastX; // the previous number's last advance reaches this cell
        }
        lastX = x;
        for (int i = 0; i < kNumbers.length[number]; ++i) {
            const wchar_t ch = kNumbers.text[number][i];
            if (i > 0)
                lastX += dx[length - 1];
            text[length] = ch;
            dx[length] = digitWidths[static_cast<std::size_t>(ch - L'0')];
            ++length;
        }
    }
    template <class SetColor>
    void Flush(HDC dc, int y, SetColor setColor)
    {
        if (length == 0)
            return;
        setColor(color);
        ::ExtTextOutW(dc, startX, y, 0, nullptr, text, static_cast<UINT>(length), dx);
        length = 0;
    }
};

void Arrow(HDC dc, const RECT& r, bool pointsLeft, COLORREF color)
{
    const int size = std::min(r.right - r.left, r.bottom - r.top);
    const int half = std::max(2, size / 4); // half the base
    const int depth = half;                 // tip to base
    const int cx = (r.left + r.right) / 2;
    const int cy = (r.top + r.bottom) / 2;
    const int tip = pointsLeft ? cx - depth / 2 : cx + depth / 2;
    const int base = pointsLeft ? tip + depth : tip - depth;
    const POINT points[3] = {{tip, cy}, {base, cy - half}, {base, cy + half}};
    ::SetDCBrushColor(dc, color);
    ::SetDCPenColor(dc, color);
    ::Polygon(dc, points, 3);
}

void Frame(HDC dc, const RECT& r, int thickness, COLORREF color)
{
    ::SetDCBrushColor(dc, color);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    ::PatBlt(dc, r.left, r.top, w, thickness, PATCOPY);
    ::PatBlt(dc, r.left, r.bottom - thickness, w, thickness, PATCOPY);
    ::PatBlt(dc, r.left, r.top, thickness, h, PATCOPY);
    ::PatBlt(dc, r.right - thickness, r.top, thickness, h, PATCOPY);
}

COLORREF Resolve(COLORREF c)
{
    // An OLE system colour names a GetSysColor index; any other high byte
    // (a palette index in COLORREF terms) is dropped.
    if ((c & 0xFF000000u) == 0x80000000u)
        return ::GetSysColor(static_cast<int>(c & 0xFFu));
    return c & 0x00FFFFFFu;
}

int Distance(COLORREF a, COLORREF b)
{
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
           std::abs(GetBValue(a) - GetBValue(b));
}

} // namespace

Palette MakePalette(const std::array<COLORREF, static_cast<int>(ColorSlot::Count)>& c, bool highContrast)
{
    Palette p{};
    if (highContrast) {
        p.fore = ::GetSysColor(COLOR_WINDOWTEXT);
        p.monthBack = p.back = ::GetSysColor(COLOR_WINDOW);
        p.titleBack = p.selectedBack = ::GetSysColor(COLOR_HIGHLIGHT);
        p.titleFore = p.selectedFore = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
        p.trailing = ::GetSysColor(COLOR_GRAYTEXT);
        // The theme promises contrast between these pairs only.
        p.today = p.fore;
        p.todaySelected = p.selectedFore;
        // Holidays are told apart by their bold face and an underline.
        p.holiday = p.fore;
        return p;
    }
    p.fore = Resolve(c[static_cast<int>(ColorSlot::Fore)]);
    p.monthBack = Resolve(c[static_cast<int>(ColorSlot::MonthBack)]);
    p.back = Resolve(c[static_cast<int>(ColorSlot::Back)]);
    p.titleBack = Resolve(c[static_cast<int>(ColorSlot::TitleBack)]);
    p.titleFore = Resolve(c[static_cast<int>(ColorSlot::TitleFore)]);
    p.trailing = Resolve(c[static_cast<int>(ColorSlot::TrailingFore)]);
    p.holiday = Resolve(c[static_cast<int>(ColorSlot::HolidayFore)]);
    p.selectedBack = p.titleBack;
    p.selectedFore = p.titleFore;
    if (Distance(p.titleBack, p.monthBack) < kClose) {
        p.selectedBack = p.fore;
        p.selectedFore = p.monthBack;
    }
    p.today = kTodayRed;
    if (Distance(p.today, p.monthBack) < 2 * kClose || Distance(p.today, p.selectedBack) < 2 * kClose)
        p.today = p.fore;
    p.todaySelected = p.today;
    return p;
}

bool Touches(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void Fill(HDC dc, const RECT& r, COLORREF color)
{
    ::SetBkColor(dc, color);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

int Painter::NumberWidth(unsigned n, const std::array<int, 10>& digitWidths)
{
    int width = 0;
    for (int i = 0; i < kNumbers.length[n]; ++i)
        width += digitWidths[static_cast<std::size_t>(kNumbers.text[n][i] - L'0')];
    return width;
}

void Painter::UseBold(bool bold)
{
    if (bold == m_boldSelected || !m_bold.font)
        return;
    ::SelectObject(m_dc, bold ? m_bold.font : m_font);
    m_boldSelected = bold;
}

void Painter::DrawNumber(int x, int y, unsigned number)
{
    ::ExtTextOutW(m_dc, x, y, 0, nullptr, kNumbers.text[number], kNumbers.length[number], nullptr);
}

void Painter::Underline(int x, int y, int width, COLORREF color)
{
    // In the descent below the digits, which have none of their own.
    const int thickness = FrameThickness();
    const int top = y + m_textHeight - thickness;
    Fill(m_dc, RECT{x, top, x + width, top + thickness}, color);
}

void Painter::Title(int m, year_month ym)
{
    Fill(m_dc, ToRECT(m_layout.TitleRect(m)), m_pal.titleBack);
    wchar_t text[32];
    const int length = core::FormatMonthTitle(ym, text);
    const RECT r = ToRECT(m_layout.TitleTextRect(m));
    SetColor(m_pal.titleFore);
    ::ExtTextOutW(m_dc, Centre(r), TextTop(r), ETO_CLIPPED, &r, text, length, nullptr);
}

void Painter::WeekdayHeader(int m, const RECT& block, const RECT& title)
{
    // The month's own area, then the abbreviations and the rule under them.
    Fill(m_dc, RECT{block.left, title.bottom, block.right, block.bottom}, m_pal.monthBack);
    SetColor(m_pal.fore);
    for (int wd = 0; wd < core::MonthLayout::kDaysPerLine; ++wd) {
        const RECT r = ToRECT(m_layout.WeekdayRect(m, wd));
        const std::wstring_view name = core::kWeekdayAbbreviations[static_cast<std::size_t>(wd)];
        ::ExtTextOutW(m_dc, Centre(r), TextTop(r), 0, nullptr, name.data(), static_cast<UINT>(name.size()),
                      nullptr);
    }
    RECT separator = ToRECT(m_layout.SeparatorRect(m));
    if (m_layout.ShowsWeekNumbers())
        separator.left = ToRECT(m_layout.WeekNumberRect(m, 0)).left;
    Fill(m_dc, separator, m_pal.titleBack);
}

void Painter::WeekNumbers(int m, const core::MonthLayout& month)
{
    if (!m_layout.ShowsWeekNumbers())
        return;
    // Week numbers read as labels, not days: in the title colour, set off
    // from Monday by a rule.
    SetColor(m_pal.titleBack);
    for (int line = 0; line < core::MonthLayout::kLines; ++line) {
        const RECT r = ToRECT(m_layout.WeekNumberRect(m, line));
        DrawNumber(Centre(r), TextTop(r), month.weekNumbers[static_cast<std::size_t>(line)]);
    }
    const RECT top = ToRECT(m_layout.WeekNumberRect(m, 0));
    const RECT bottom = ToRECT(m_layout.WeekNumberRect(m, core::MonthLayout::kLines - 1));
    Fill(m_dc, RECT{top.right - m_layout.LineWidth(), top.top, top.right, bottom.bottom}, m_pal.titleBack);
}

DayMarks Painter::Days(int m, const core::MonthLayout& month, const DayContext& days, std::uint32_t holidays,
                       bool underlineHolidays)
{
    // Day numbers go out a line at a time: each run of one look is a single
    // ExtTextOut whose advances put every number in the middle of its cell,
    // the line's holidays a run of their own in the bold face. The selected
    // day is drawn on its own over its fill.
    ::SetTextAlign(m_dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    DayMarks marks;
    const int cellWidth = m_layout.CellWidth();
    const std::array<int, 10>& boldWidths = m_bold.digitWidths ? *m_bold.digitWidths : m_digitWidths;
    unsigned day = static_cast<unsigned>(year_month_day{month.cells[0].date}.day());
    core::MonthPart part = month.cells[0].part;
    const int todayAt = month.IndexOf(days.today);
    const int selectedAt = month.IndexOf(days.selected);
    auto flush = [this](DayRun& run, int y) { run.Flush(m_dc, y, [this](COLORREF c) { SetColor(c); }); };
    for (int line = 0; line < core::MonthLayout::kLines; ++line) {
        const RECT first = ToRECT(m_layout.DayRect(m, line, 0));
        const int y = TextTop(first);
        DayRun run;
        for (int wd = 0; wd < core::MonthLayout::kDaysPerLine; ++wd) {
            const int i = line * core::MonthLayout::kDaysPerLine + wd;
            const core::DayCell& cell = month.cells[static_cast<std::size_t>(i)];
            if (cell.part != part) { // the 1st of the next month
                part = cell.part;
                day = 1;
            }
            const unsigned number = day++;
            const bool own = cell.part == core::MonthPart::Current;
            const bool selected = i == selectedAt && (own || !days.selectedMonthShown);
            const bool holiday = ((holidays >> number) & 1u) != 0;
            const DayLook look = DayLookOf(m_pal, cell, holiday, selected);
            // In high contrast colour alone must not tell a holiday apart.
            const bool underline = underlineHolidays && own && holiday;
            const std::array<int, 10>& widths = look.bold ? boldWidths : m_digitWidths;
            const int left = first.left + wd * cellWidth;
            const int x = left + (cellWidth - NumberWidth(number, widths)) / 2;
            const RECT r{left, first.top, left + cellWidth, first.bottom};
            if (i == todayAt && (own || !days.todayMonthShown))
                marks.today = r;
            if (selected) {
                marks.selected = r;
                flush(run, y);
                Fill(m_dc, r, m_pal.selectedBack);
                if (underline)
                    Underline(x, y, NumberWidth(number, widths), look.color);
                SetColor(look.color);
                UseBold(look.bold);
                DrawNumber(x, y, number);
                UseBold(false);
                continue;
            }
            if (underline)
                Underline(x, y, NumberWidth(number, widths), look.color);
            if (look.bold) {
                AddHoliday(x, y, number, widths);
                continue;
            }
            if (run.length && look.color != run.color)
                flush(run, y);
            run.Add(x, look.color, number, widths);
        }
        flush(run, y);
    }
    ::SetTextAlign(m_dc, TA_CENTER | TA_TOP | TA_NOUPDATECP);
    return marks;
}

void Painter::AddHoliday(int x, int y, unsigned number, const std::array<int, 10>& digitWidths)
{
    BoldNumbers& h = m_holidays;
    if (h.length + 2 > BoldNumbers::kCapacity)
        HolidayNumbers();
    if (h.length == 0) {
        h.startX = x;
        h.startY = y;
    } else {
        // The previous character's advance reaches this number's cell; a
        // vertical advance counts upwards, as the font's own y axis does.
        h.advance[2 * (h.length - 1)] = x - h.lastX;
        h.advance[2 * (h.length - 1) + 1] = h.lastY - y;
    }
    h.lastX = x;
    h.lastY = y;
    for (int i = 0; i < kNumbers.length[number]; ++i) {
        const wchar_t ch = kNumbers.text[number][i];
        if (i > 0)
            h.lastX += h.advance[2 * (h.length - 1)];
        h.text[h.length] = ch;
        h.advance[2 * h.length] = digitWidths[static_cast<std::size_t>(ch - L'0')];
        h.advance[2 * h.length + 1] = 0;
        ++h.length;
    }
}

void Painter::HolidayNumbers()
{
    BoldNumbers& h = m_holidays;
    if (h.length == 0)
        return;
    const UINT align = ::SetTextAlign(m_dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    UseBold(true);
    SetColor(m_pal.holiday);
    ::ExtTextOutW(m_dc, h.startX, h.startY, ETO_PDY, nullptr, h.text, static_cast<UINT>(h.length), h.advance);
    UseBold(false);
    ::SetTextAlign(m_dc, align);
    h.length = 0;
}

void Painter::Marks(const DayMarks& marks, bool focusCue)
{
    const int frame = FrameThickness();
    const bool todaySelected = ::EqualRect(&marks.selected, &marks.today);
    if (marks.today.right > marks.today.left)
        Frame(m_dc, marks.today, frame, todaySelected ? m_pal.todaySelected : m_pal.today);
    if (!focusCue || marks.selected.right <= marks.selected.left)
        return;
    // On the fill's edge, clear of the number; inside today's frame when
    // both marks share the day.
    RECT cue = marks.selected;
    const int inset = todaySelected ? frame : 0;
    ::InflateRect(&cue, -inset, -inset);
    ::SetBkColor(m_dc, m_pal.selectedBack);
    SetColor(m_pal.selectedFore);
    ::DrawFocusRect(m_dc, &cue);
}

void Painter::Arrows(const RECT& area)
{
    const RECT prev = ToRECT(m_layout.PrevArrowRect());
    if (Touches(prev, area))
        Arrow(m_dc, prev, true, m_pal.titleFore);
    const RECT next = ToRECT(m_layout.NextArrowRect());
    if (Touches(next, area))
        Arrow(m_dc, next, false, m_pal.titleFore);
}

} // namespace monthgrid
