// Painting of the month grid. A full paint of twelve months is a few
// hundred ExtTextOut calls into a memory bitmap made for that paint, a row
// of months at a time, and one BitBlt a row. Apart from that buffer no GDI object
// is created per paint (fills are opaque ExtTextOuts, lines and arrows use
// the DC brush and pen; the holidays' bold face is made once per font and
// DPI), no text is measured and nothing is allocated.
//
// Render draws in named steps (grid_painter.h), month by month: title,
// weekday header, week numbers, days (each day's look decided in one place,
// DayLookOf), then the today and focus marks; after the months the
// holidays' numbers in one go, and last the title arrows.
#include "monthgrid/month_grid_control.h"

#include "core/dates.h"
#include "framework/core_rect.h"
#include "monthgrid/grid_clock.h"
#include "monthgrid/grid_painter.h"

#include <algorithm>

namespace monthgrid {

using namespace std::chrono;
using fw::ToRECT;

void MonthGridControl::Paint(HDC target, const RECT& area)
{
    if (!m_hWnd || !target)
        return;
    const RECT client = GetClientRect();
    RECT a{};
    if (!::IntersectRect(&a, &area, &client))
        return;
    // Double-buffered a row of months at a time, through one bitmap made
    // for this paint and as large as the tallest row painted: a calendar
    // shown all day repaints seldom, and a buffer kept between paints would
    // hold a screenful of pixels for nothing. The bitmap's pages are new to
    // the process on every paint, and touching them first costs about as
    // much as the text drawn into them (measured under Wine), so the fewer
    // the better: a third of the area for three rows. No month straddles
    // two rows, so each month is drawn once, into the band of its row.
    // The layout (measured first if the font is new), the state and the
    // colours are the same for every band of one paint.
    const core::GridLayout layout = Layout();
    const Palette pal = MakePalette(m_colors, m_bHighContrast);
    const PaintState state = CurrentPaintState(layout, pal);
    m_repaint.Rendered(state);
    const RowBands bands = BandsOf(a, layout);
    int height = 0;
    for (const RECT& band : bands)
        height = std::max<int>(height, band.bottom - band.top);
    const int width = a.right - a.left;
    // The buffer is a 32-bit DIB section, whatever the target: a printing
    // target may be a bare memory DC holding a one-bit bitmap, and the blit
    // converts. Its pixels are pages of their own that go back whole when it
    // is deleted, where a compatible bitmap's came from the heap under Wine
    // and stayed there, the size of a row band (490 KiB for 4 x 3 months),
    // for as long as the calendar ran; drawing into it is also quicker (a
    // full paint 0.16x against 0.19x of the bench's baseline). Neither it
    // nor its DC needs a DC of the window, which would cost a trip to the
    // window system.
    fw::UniqueMemoryDC buffer(::CreateCompatibleDC(nullptr));
    BITMAPINFO top_down{};
    top_down.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* pixels = nullptr;
    fw::UniqueBitmap bitmap(
        buffer ? ::CreateDIBSection(buffer.get(), &top_down, DIB_RGB_COLORS, &pixels, nullptr, 0) : nullptr);
    if (bitmap) {
        fw::SelectObjectScope select(buffer.get(), bitmap.get());
        for (const RECT& band : bands) {
            ::SetViewportOrgEx(buffer.get(), -band.left, -band.top, nullptr);
            Render(buffer.get(), band, layout, state, pal);
            ::BitBlt(target, band.left, band.top, band.right - band.left, band.bottom - band.top,
                     buffer.get(), band.left, band.top, SRCCOPY);
        }
        return;
    }
    // No memory for the buffer: straight onto the target, whose state we
    // leave as we found it.
    const int saved = ::SaveDC(target);
    Render(target, a, layout, state, pal);
    ::RestoreDC(target, saved);
}

MonthGridControl::RowBands MonthGridControl::BandsOf(const RECT& area, const core::GridLayout& layout) const
{
    // A row's band runs from its first month's top to the next row's; the
    // margins above the first row and below the last belong to them.
    const int columns = layout.Shape().columns;
    const int rows = layout.Shape().rows;
    RowBands bands;
    LONG top = area.top;
    for (int r = 1; r <= rows; ++r) {
        const LONG bottom =
            r < rows ? std::clamp<LONG>(layout.MonthRect(r * columns).top, top, area.bottom) : area.bottom;
        if (bottom > top)
            bands.rects[bands.count++] = RECT{area.left, top, area.right, bottom};
        top = bottom;
    }
    if (bands.count == 0)
        bands.rects[bands.count++] = area;
    return bands;
}

PaintState MonthGridControl::CurrentPaintState()
{
    const core::GridLayout layout = Layout(); // measures first if the font is new
    return CurrentPaintState(layout, MakePalette(m_colors, m_bHighContrast));
}

PaintState MonthGridControl::CurrentPaintState(const core::GridLayout& layout, const Palette& pal)
{
    PaintState state;
    state.palette = {pal.fore,         pal.monthBack, pal.back,         pal.titleBack,
                     pal.titleFore,    pal.trailing,  pal.holiday,      pal.selectedBack,
                     pal.selectedFore, pal.today,     pal.todaySelected};
    state.highContrast = m_bHighContrast;
    state.today = m_today;
    state.selected = m_nav.Selected();
    state.firstShown = sys_days{m_nav.First() / 1};
    state.columns = layout.Shape().columns;
    state.rows = layout.Shape().rows;
    state.showWeekNumbers = layout.ShowsWeekNumbers();
    state.showHolidays = m_bShowHolidays;
    state.holidayRegion = m_holidays.GetRegion();
    state.font = Font();
    state.fontGeneration = m_font.Generation();
    state.dpi = m_font.MeasuredDpi();
    state.focusCue = m_bFocused;
    const RECT client = GetClientRect();
    state.width = client.right;
    state.height = client.bottom;
    return state;
}

bool MonthGridControl::ShowsCurrentState()
{
    if (!m_repaint.MayShowCurrent() || !IsWindowVisible())
        return false;
    RECT pending{};
    if (::GetUpdateRect(m_hWnd, &pending, FALSE))
        return false;
    return m_repaint.Shows(CurrentPaintState());
}

void MonthGridControl::Render(HDC dc, const RECT& area, const core::GridLayout& layout,
                              const PaintState& state, const Palette& pal)
{
    Fill(dc, area, pal.back);
    fw::SelectObjectScope font(dc, state.font);
    fw::SelectObjectScope brush(dc, ::GetStockObject(DC_BRUSH));
    fw::SelectObjectScope pen(dc, ::GetStockObject(DC_PEN));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextAlign(dc, TA_CENTER | TA_TOP | TA_NOUPDATECP);

    const year_month_day selected{state.selected};
    const year_month_day today{state.today};
    const DayContext days{state.today, state.selected, m_nav.Shows(today.year() / today.month()),
                          m_nav.Shows(selected.year() / selected.month())};
    // The bold face only once a holiday is to be drawn: made once per font
    // and DPI, and a grid without holidays never makes it.
    BoldFace bold;
    Painter painter(dc, layout, pal, state.font, m_font.TextHeight(), m_font.DigitWidths());
    const year_month first = m_nav.First();
    for (int m = 0; m < layout.MonthCount(); ++m) {
        const RECT block = ToRECT(layout.MonthRect(m));
        if (!Touches(block, area))
            continue;
        const year_month ym = core::AddMonths(first, m);
        const core::MonthLayout month = core::LayoutMonth(ym);
        const std::uint32_t holidays = HolidaysIn(ym);
        if (holidays && !bold.font) {
            bold = {m_font.GetBold(m_hWnd, state.dpi), &m_font.BoldDigitWidths()};
            painter.SetBold(bold);
        }
        painter.Title(m, ym);
        painter.WeekdayHeader(m, block, ToRECT(layout.TitleRect(m)));
        painter.WeekNumbers(m, month);
        painter.Marks(painter.Days(m, month, days, holidays, state.highContrast), state.focusCue);
    }
    painter.HolidayNumbers();
    painter.Arrows(area);
}

} // namespace monthgrid