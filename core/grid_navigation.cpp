#include "core/grid_navigation.h"

#include <algorithm>

namespace core {

using namespace std::chrono;

namespace {

year_month MonthOf(sys_days day)
{
    const year_month_day ymd{day};
    return ymd.year() / ymd.month();
}

} // namespace

GridNavigation::GridNavigation(Days today) : m_first(MonthOf(ClampDay(today))), m_selected(ClampDay(today)) {}

GridNavigation::Days GridNavigation::ClampDay(Days day)
{
    static constexpr Days kFirstDay{kFirstMonth / 1};
    static constexpr Days kLastDay{kLastMonth / last};
    return std::clamp(day, kFirstDay, kLastDay);
}

void GridNavigation::SetMonthCount(int count) { m_count = std::clamp(count, 1, kMaxMonths); }

GridNavigation::YearMonth GridNavigation::First() const { return ClampFirstMonth(m_first, m_count); }

GridNavigation::YearMonth GridNavigation::Last() const { return AddMonths(First(), m_count - 1); }

bool GridNavigation::Shows(YearMonth ym) const { return ym >= First() && ym <= Last(); }

bool GridNavigation::SetCurrentDate(Days day)
{
    const YearMonth oldFirst = First();
    const Days oldSelected = m_selected;
    m_selected = ClampDay(day);
    m_first = MonthOf(m_selected);
    return First() != oldFirst || m_selected != oldSelected;
}

bool GridNavigation::Scroll(int months)
{
    const YearMonth oldFirst = First();
    // From the first month as drawn, so a scroll near the end of the range
    // moves at once instead of first using up an unreachable request.
    m_first = AddMonths(oldFirst, months);
    return First() != oldFirst;
}

bool GridNavigation::MoveByMonths(int months)
{
    const YearMonth oldFirst = First();
    const Days oldSelected = m_selected;
    const year_month_day ymd{m_selected};
    const YearMonth target = AddMonths(ymd.year() / ymd.month(), months);
    const unsigned day = std::min(static_cast<unsigned>(ymd.day()), DaysInMonth(target));
    m_selected = ClampDay(Days{target / std::chrono::day{day}});
    m_first = AddMonths(oldFirst, months);
    EnsureVisible();
    return First() != oldFirst || m_selected != oldSelected;
}

bool GridNavigation::MoveByDays(int n)
{
    const YearMonth oldFirst = First();
    const Days oldSelected = m_selected;
    m_selected = ClampDay(m_selected + days{n});
    EnsureVisible();
    return First() != oldFirst || m_selected != oldSelected;
}

bool GridNavigation::Select(Days day)
{
    const YearMonth oldFirst = First();
    const Days oldSelected = m_selected;
    m_selected = ClampDay(day);
    EnsureVisible();
    return First() != oldFirst || m_selected != oldSelected;
}

bool GridNavigation::GoToToday(Days today) { return SetCurrentDate(today); }

bool GridNavigation::EnsureVisible()
{
    const YearMonth ym = MonthOf(m_selected);
    const YearMonth first = First();
    if (ym < first)
        m_first = ym;
    else if (ym > Last())
        m_first = AddMonths(ym, -(m_count - 1));
    else
        return false;
    return true;
}

int WheelNotches::Add(int delta)
{
    if ((delta > 0 && m_remainder < 0) || (delta < 0 && m_remainder > 0))
        m_remainder = 0;
    m_remainder += delta;
    const int notches = m_remainder / kNotch;
    m_remainder -= notches * kNotch;
    return notches;
}

} // namespace core
