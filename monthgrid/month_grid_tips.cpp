// The grid's tooltips: a holiday's name on its day, the week's days on a
// week number. GridTips (grid_tips.h) keeps the platform's tooltip control;
// this file tells it what is where and what each tip says.
#include "monthgrid/month_grid_control.h"

#include "core/calendar_text.h"
#include "framework/core_rect.h"

namespace monthgrid {

using namespace std::chrono;

LRESULT MonthGridControl::WindowProc(UINT msg, WPARAM w, LPARAM l)
{
    // The wheel goes to the focus, not to the window under the pointer:
    // the tooltip has nothing to learn from it.
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL && msg != WM_MOUSEHWHEEL)
        RelayToTips(msg, w, l);
    return WithMessageMap::WindowProc(msg, w, l);
}

void MonthGridControl::RelayToTips(UINT msg, WPARAM w, LPARAM l)
{
    if (!m_hWnd)
        return;
    if (!m_tips.Window()) {
        if (!m_tips.Create(m_hWnd))
            return; // no tooltips to be had: the grid works without them
        SyncTips();
    }
    m_tips.Relay(m_hWnd, msg, w, l);
}

void MonthGridControl::SyncTips()
{
    if (!m_tips.Window() || !m_hWnd)
        return;
    const core::GridLayout layout = Layout();
    const core::GridShape shape = layout.Shape();
    const TipsKey key{sys_days{m_nav.First() / 1}, shape.columns,       shape.rows,
                      layout.ShowsWeekNumbers(),   m_bShowHolidays,     m_holidays.GetRegion(),
                      m_font.Generation(),         m_font.MeasuredDpi()};
    if (m_tips.Current(key))
        return;
    m_tips.Replace(m_hWnd, key, TipItems(layout));
}

std::vector<TipItem> MonthGridControl::TipItems(const core::GridLayout& layout) const
{
    std::vector<TipItem> items;
    const year_month first = m_nav.First();
    for (int m = 0; m < layout.MonthCount(); ++m) {
        const year_month ym = core::AddMonths(first, m);
        const core::MonthLayout month = core::LayoutMonth(ym);
        for (int line = 0; line < core::MonthLayout::kLines; ++line) {
            const sys_days monday =
                month.cells[static_cast<std::size_t>(line * core::MonthLayout::kDaysPerLine)].date;
            if (layout.ShowsWeekNumbers())
                items.push_back({fw::ToRECT(layout.WeekNumberRect(m, line)), TipItem::Kind::Week, monday});
        }
        // A neighbouring month's days are not marked, so they say nothing.
        const std::uint32_t holidays = HolidaysIn(ym);
        if (!holidays)
            continue;
        for (int i = 0; i < core::MonthLayout::kLines * core::MonthLayout::kDaysPerLine; ++i) {
            const core::DayCell& cell = month.cells[static_cast<std::size_t>(i)];
            if (cell.part != core::MonthPart::Current)
                continue;
            const unsigned day = static_cast<unsigned>(year_month_day{cell.date}.day());
            if ((holidays >> day) & 1u)
                items.push_back({fw::ToRECT(layout.DayRect(m, i / core::MonthLayout::kDaysPerLine,
                                                           i % core::MonthLayout::kDaysPerLine)),
                                 TipItem::Kind::Holiday, cell.date});
        }
    }
    return items;
}

LRESULT MonthGridControl::OnTipText(NMTTDISPINFOW& info)
{
    info.hinst = nullptr;
    info.szText[0] = L'\0';
    info.lpszText = info.szText;
    const TipItem* item = m_tips.ItemOf(info.hdr.idFrom);
    if (!item)
        return 0;
    std::wstring text =
        item->kind == TipItem::Kind::Week ? core::WeekTooltip(item->day) : HolidayNamesOn(item->day).Joined();
    info.lpszText = const_cast<wchar_t*>(m_tips.Hold(std::move(text)));
    return 0;
}

} // namespace monthgrid
