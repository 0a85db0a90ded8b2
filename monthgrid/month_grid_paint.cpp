// Painting of the month grid. A full paint of twelve months is a few
// hundred ExtTextOut calls into a kept memory bitmap and one BitBlt: no GDI
// object is created per paint (fills are opaque ExtTextOuts, lines and
// arrows use the DC brush and pen), no text is measured and nothing is
// allocated.
#include "monthgrid/month_grid_control.h"

#include <algorithm>
#include <cstdlib>

#include "core/dates.h"

namespace monthgrid {

using namespace std::chrono;

namespace {

struct Palette {
    COLORREF fore, monthBack, back, titleBack, titleFore, trailing;
    COLORREF selectedBack, selectedFore;  // the selected day
    COLORREF today;                       // frame around today
};

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

// The marks must stay visible whatever colours the user picks: the
// selection takes the title's colours unless they vanish against the days'
// background, and today's frame is red unless red vanishes.
Palette MakePalette(const std::array<COLORREF, static_cast<int>(ColorSlot::Count)>& c)
{
    Palette p{};
    p.fore = Resolve(c[static_cast<int>(ColorSlot::Fore)]);
    p.monthBack = Resolve(c[static_cast<int>(ColorSlot::MonthBack)]);
    p.back = Resolve(c[static_cast<int>(ColorSlot::Back)]);
    p.titleBack = Resolve(c[static_cast<int>(ColorSlot::TitleBack)]);
    p.titleFore = Resolve(c[static_cast<int>(ColorSlot::TitleFore)]);
    p.trailing = Resolve(c[static_cast<int>(ColorSlot::TrailingFore)]);
    constexpr int kClose = 96;
    p.selectedBack = p.titleBack;
    p.selectedFore = p.titleFore;
    if (Distance(p.titleBack, p.monthBack) < kClose) {
        p.selectedBack = p.fore;
        p.selectedFore = p.monthBack;
    }
    p.today = RGB(0xE0, 0x10, 0x10);
    if (Distance(p.today, p.monthBack) < 2 * kClose || Distance(p.today, p.selectedBack) < 2 * kClose)
        p.today = p.fore;
    return p;
}

RECT ToRECT(const core::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

bool Touches(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void Fill(HDC dc, const RECT& r, COLORREF color)
{
    ::SetBkColor(dc, color);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

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

// "Dezember 2026" into a caller's buffer, without allocating.
int FormatTitle(year_month ym, wchar_t (&out)[32])
{
    const std::wstring_view name = core::MonthName(ym.month());
    int n = 0;
    for (wchar_t ch : name)
        out[n++] = ch;
    out[n++] = L' ';
    wchar_t digits[8];
    int d = 0;
    for (int y = std::max(0, static_cast<int>(ym.year())); d == 0 || y > 0; y /= 10)
        digits[d++] = static_cast<wchar_t>(L'0' + y % 10);
    while (d > 0)
        out[n++] = digits[--d];
    return n;
}

// One ExtTextOut's worth of day numbers of one colour on one line.
struct DayRun {
    wchar_t text[14];
    int dx[14];
    int length = 0;
    int startX = 0;
    int lastX = 0;  // where the last character starts
    COLORREF color = 0;

    void Add(int x, COLORREF c, unsigned number, const std::array<int, 10>& digitWidths)
    {
        if (length == 0) {
            startX = x;
            color = c;
        } else {
            dx[length - 1] = x - lastX;  // the previous number's last advance reaches this cell
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
    void Flush(HDC dc, int y, SetColor& setColor)
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
    const int half = std::max(2, size / 4);  // half the base
    const int depth = half;                  // tip to base
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

} // namespace

void MonthGridControl::Paint(HDC target, const RECT& area)
{
    if (!hwnd_ || !target)
        return;
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    RECT a{};
    if (!::IntersectRect(&a, &area, &client))
        return;
    // Double-buffered through a bitmap of just the area painted, made for
    // this paint: a calendar shown all day repaints seldom, and a buffer
    // kept between paints would hold a screenful of pixels for nothing.
    const int width = a.right - a.left;
    const int height = a.bottom - a.top;
    fw::WindowDC screen(hwnd_);
    // Compatible with the screen, not with the target: a printing target
    // may be a bare memory DC holding a one-bit bitmap.
    fw::UniqueMemoryDC buffer(screen ? ::CreateCompatibleDC(screen.get()) : nullptr);
    fw::UniqueBitmap bitmap(buffer ? ::CreateCompatibleBitmap(screen.get(), width, height) : nullptr);
    if (bitmap) {
        const HGDIOBJ old = ::SelectObject(buffer.get(), bitmap.get());
        ::SetViewportOrgEx(buffer.get(), -a.left, -a.top, nullptr);
        Render(buffer.get(), a);
        ::BitBlt(target, a.left, a.top, width, height, buffer.get(), a.left, a.top, SRCCOPY);
        ::SelectObject(buffer.get(), old);
        return;
    }
    // No memory for the buffer: straight onto the target, whose state we
    // leave as we found it.
    const int saved = ::SaveDC(target);
    Render(target, a);
    ::RestoreDC(target, saved);
}

PaintState MonthGridControl::CurrentPaintState()
{
    PaintState state;
    const core::GridLayout layout = Layout();  // measures first if the font is new
    const Palette pal = MakePalette(colors_);
    state.palette = {pal.fore,      pal.monthBack,    pal.back,         pal.titleBack, pal.titleFore,
                     pal.trailing, pal.selectedBack, pal.selectedFore, pal.today};
    state.today = LocalToday();
    state.selected = nav_.Selected();
    state.firstShown = sys_days{nav_.First() / 1};
    state.columns = layout.Shape().columns;
    state.rows = layout.Shape().rows;
    state.showWeekNumbers = layout.ShowsWeekNumbers();
    state.font = Font();
    state.fontGeneration = fontGeneration_;
    state.dpi = metricsDpi_;
    state.focusCue = ::GetFocus() == hwnd_ &&
                     !(::SendMessageW(hwnd_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    state.width = client.right;
    state.height = client.bottom;
    return state;
}

void MonthGridControl::NotePainted()
{
    // A paint after the whole window was invalidated shows the state it
    // rendered everywhere. A partial one (the system's, for an uncovered
    // part) keeps what is known only if it rendered that same state.
    if (renderedThisPaint_ && wholeWindowInvalid_) {
        shown_ = lastRendered_;
        shownKnown_ = true;
    } else if (!renderedThisPaint_ || !(lastRendered_ == shown_)) {
        shownKnown_ = false;
    }
    wholeWindowInvalid_ = false;
    renderedThisPaint_ = false;
}

bool MonthGridControl::ShowsCurrentState()
{
    if (!shownKnown_ || wholeWindowInvalid_ || !::IsWindowVisible(hwnd_))
        return false;
    RECT pending{};
    if (::GetUpdateRect(hwnd_, &pending, FALSE))
        return false;
    return CurrentPaintState() == shown_;
}

void MonthGridControl::Render(HDC dc, const RECT& area)
{
    const core::GridLayout layout = Layout();  // measures first if the font is new
    const PaintState state = CurrentPaintState();
    lastRendered_ = state;
    renderedThisPaint_ = true;
    const Palette pal = MakePalette(colors_);
    const int textHeight = textHeight_;
    auto textTop = [textHeight](const RECT& r) { return r.top + (r.bottom - r.top - textHeight) / 2; };
    auto centre = [](const RECT& r) { return (r.left + r.right) / 2; };
    const auto& digitWidths = digitWidths_;
    auto NumberWidth = [&digitWidths](unsigned n) {
        int width = 0;
        for (int i = 0; i < kNumbers.length[n]; ++i)
            width += digitWidths[static_cast<std::size_t>(kNumbers.text[n][i] - L'0')];
        return width;
    };

    Fill(dc, area, pal.back);

    fw::SelectObjectScope font(dc, Font());
    fw::SelectObjectScope brush(dc, ::GetStockObject(DC_BRUSH));
    fw::SelectObjectScope pen(dc, ::GetStockObject(DC_PEN));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextAlign(dc, TA_CENTER | TA_TOP | TA_NOUPDATECP);

    const sys_days today = state.today;
    shownToday_ = today;
    const sys_days selected = state.selected;
    const year_month_day selectedYmd{selected};
    const year_month_day todayYmd{today};
    // A date shown in two blocks (as a day of its month and as a trailing
    // day of the next) is marked in its own month's block only.
    const bool selectedMonthShown = nav_.Shows(selectedYmd.year() / selectedYmd.month());
    const bool todayMonthShown = nav_.Shows(todayYmd.year() / todayYmd.month());
    const bool focusCue = state.focusCue;
    const int frame = textHeight >= 10 ? 2 : 1;

    const year_month first = nav_.First();
    for (int m = 0; m < layout.MonthCount(); ++m) {
        const RECT block = ToRECT(layout.MonthRect(m));
        if (!Touches(block, area))
            continue;
        const year_month ym = core::AddMonths(first, m);
        const core::MonthLayout month = core::LayoutMonth(ym);

        // Title bar.
        const RECT title = ToRECT(layout.TitleRect(m));
        Fill(dc, title, pal.titleBack);
        wchar_t titleText[32];
        const int titleLength = FormatTitle(ym, titleText);
        const RECT titleTextRect = ToRECT(layout.TitleTextRect(m));
        ::SetTextColor(dc, pal.titleFore);
        ::ExtTextOutW(dc, centre(titleTextRect), textTop(titleTextRect), ETO_CLIPPED, &titleTextRect,
                      titleText, titleLength, nullptr);

        // The month's own area.
        Fill(dc, RECT{block.left, title.bottom, block.right, block.bottom}, pal.monthBack);

        ::SetTextColor(dc, pal.fore);
        for (int wd = 0; wd < 7; ++wd) {
            const RECT r = ToRECT(layout.WeekdayRect(m, wd));
            const std::wstring_view name = core::kWeekdayAbbreviations[static_cast<std::size_t>(wd)];
            ::ExtTextOutW(dc, centre(r), textTop(r), 0, nullptr, name.data(), static_cast<UINT>(name.size()),
                          nullptr);
        }
        RECT separator = ToRECT(layout.SeparatorRect(m));
        if (layout.ShowsWeekNumbers())
            separator.left = ToRECT(layout.WeekNumberRect(m, 0)).left;
        Fill(dc, separator, pal.titleBack);

        if (layout.ShowsWeekNumbers()) {
            // Week numbers read as labels, not days: in the title colour,
            // set off from Monday by a rule.
            ::SetTextColor(dc, pal.titleBack);
            for (int line = 0; line < 6; ++line) {
                const RECT r = ToRECT(layout.WeekNumberRect(m, line));
                const unsigned week = month.weekNumbers[static_cast<std::size_t>(line)];
                ::ExtTextOutW(dc, centre(r), textTop(r), 0, nullptr, kNumbers.text[week], kNumbers.length[week],
                              nullptr);
            }
            const RECT top = ToRECT(layout.WeekNumberRect(m, 0));
            const RECT bottom = ToRECT(layout.WeekNumberRect(m, 5));
            Fill(dc, RECT{top.right - 1, top.top, top.right, bottom.bottom}, pal.titleBack);
        }

        // Day numbers go out a line at a time: each run of one colour is a
        // single ExtTextOut whose advances put every number in the middle of
        // its cell. The selected day is drawn on its own over its fill.
        ::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
        COLORREF textColor = CLR_INVALID;
        auto setColor = [&](COLORREF c) {
            if (c != textColor) {
                textColor = c;
                ::SetTextColor(dc, c);
            }
        };
        RECT todayCell{}, selectedCell{};
        unsigned day = static_cast<unsigned>(year_month_day{month.cells[0].date}.day());
        core::MonthPart part = month.cells[0].part;
        for (int line = 0; line < 6; ++line) {
            const RECT first = ToRECT(layout.DayRect(m, line, 0));
            const int y = textTop(first);
            DayRun run;
            for (int wd = 0; wd < 7; ++wd) {
                const core::DayCell& cell = month.cells[static_cast<std::size_t>(line * 7 + wd)];
                if (cell.part != part) {  // the 1st of the next month
                    part = cell.part;
                    day = 1;
                }
                const unsigned number = day++;
                const bool own = cell.part == core::MonthPart::Current;
                const int left = first.left + wd * layout.CellWidth();
                const int x = left + (layout.CellWidth() - NumberWidth(number)) / 2;
                const RECT r{left, first.top, left + layout.CellWidth(), first.bottom};
                if (cell.date == today && (own || !todayMonthShown))
                    todayCell = r;
                if (cell.date == selected && (own || !selectedMonthShown)) {
                    selectedCell = r;
                    run.Flush(dc, y, setColor);
                    Fill(dc, r, pal.selectedBack);
                    setColor(pal.selectedFore);
                    ::ExtTextOutW(dc, x, y, 0, nullptr, kNumbers.text[number], kNumbers.length[number], nullptr);
                    continue;
                }
                const COLORREF color = own ? pal.fore : pal.trailing;
                if (run.length && color != run.color)
                    run.Flush(dc, y, setColor);
                run.Add(x, color, number, digitWidths_);
            }
            run.Flush(dc, y, setColor);
        }
        ::SetTextAlign(dc, TA_CENTER | TA_TOP | TA_NOUPDATECP);
        if (todayCell.right > todayCell.left)
            Frame(dc, todayCell, frame, pal.today);
        if (focusCue && selectedCell.right > selectedCell.left) {
            // On the fill's edge, clear of the number; inside today's frame
            // when both marks share the day.
            RECT cue = selectedCell;
            const int inset = ::EqualRect(&selectedCell, &todayCell) ? frame : 0;
            ::InflateRect(&cue, -inset, -inset);
            ::SetBkColor(dc, pal.selectedBack);
            ::SetTextColor(dc, pal.selectedFore);
            ::DrawFocusRect(dc, &cue);
        }
    }

    const RECT prev = ToRECT(layout.PrevArrowRect());
    if (Touches(prev, area))
        Arrow(dc, prev, true, pal.titleFore);
    const RECT next = ToRECT(layout.NextArrowRect());
    if (Touches(next, area))
        Arrow(dc, next, false, pal.titleFore);
}

} // namespace monthgrid
