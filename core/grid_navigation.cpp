#include "monthgrid/grid_navigation.h"

#include <algorithm>

namespace monthgrid {

using namespace std::chrono;

namespace {

year_month MonthOf(sys_days day)
{
    const year_month_day ymd{day};
    return ymd.year() / ymd.month();
}

} // namespace

GridNavigation::GridNavigation(Days today)
    : first_(MonthOf(ClampDay(today))), selected_(ClampDay(today))
{
}

GridNavigation::Days GridNavigation::ClampDay(Days day)
{
    static constexpr Days kFirstDay{core::kFirstMonth / 1};
    static constexpr Days kLastDay{core::kLastMonth / last};
    return std::clamp(day, kFirstDay, kLastDay);
}

void GridNavigation::SetMonthCount(int count) { count_ = std::clamp(count, 1, core::kMaxMonths); }

GridNavigation::YearMonth GridNavigation::First() const { return core::ClampFirstMonth(first_, count_); }

GridNavigation::YearMonth GridNavigation::Last() const { return core::AddMonths(First(), count_ - 1); }

bool GridNavigation::Shows(YearMonth ym) const { return ym >= First() && ym <= Last(); }

bool GridNavigation::SetCurrentDate(Days day)
{
    const YearMonth oldFirst = First();
    const Days oldSelected = selected_;
    selected_ = ClampDay(day);
    first_ = MonthOf(selected_);
    return First() != oldFirst || selected_ != oldSelected;
}

bool GridNavigation::Scroll(int months)
{
    const YearMonth oldFirst = First();
    // From the first month as drawn, so a scroll near the end of the range
    // moves at once instead of first using up an unreachable request.
    first_ = core::AddMonths(oldFirst, months);
    return First() != oldFirst;
}

bool GridNavigation::MoveByMonths(int months)
{
    const YearMonth oldFirst = First();
    const Days oldSelected = selected_;
    const year_month_day ymd{selected_};
    const YearMonth target = core::AddMonths(ymd.year() / ymd.month(), months);
    const unsigned day = std::min(static_cast<unsigned>(ymd.day()), core::DaysInMonth(target));
    selected_ = ClampDay(Days{target / std::chrono::day{day}});
    first_ = core::AddMonths(oldFirst, months);
    EnsureVisible();
    return First() != oldFirst || selected_ != oldSelected;
}

bool GridNavigation::MoveByDays(int n)
{
    const YearMonth oldFirst = First();
    const Days oldSelected = selected_;
    selected_ = ClampDay(selected_ + days{n});
    EnsureVisible();
    return First() != oldFirst || selected_ != oldSelected;
}

bool GridNavigation::Select(Days day)
{
    const YearMonth oldFirst = First();
    const Days oldSelected = selected_;
    selected_ = ClampDay(day);
    EnsureVisible();
    return First() != oldFirst || selected_ != oldSelected;
}

bool GridNavigation::GoToToday(Days today) { return SetCurrentDate(today); }

bool GridNavigation::EnsureVisible()
{
    const YearMonth ym = MonthOf(selected_);
    const YearMonth first = First();
    if (ym < first)
        first_ = ym;
    else if (ym > Last())
        first_ = core::AddMonths(ym, -(count_ - 1));
    else
        return false;
    return true;
}

} // namespace monthgrid
