#pragma once
// Which months the grid shows and which day is selected, and how the user's
// moves change them. No window here: the control maps keys and clicks onto
// these operations and repaints when one reports a change.
//
// The selection always lies in [1 Jan 1601, 31 Dec 9999] and the first month
// is always one that lets every shown month fit into core's range, so no
// move can run off either end.
#include <chrono>

#include "core/dates.h"
#include "core/grid_geometry.h"

namespace core {

class GridNavigation {
public:
    using Days = std::chrono::sys_days;
    using YearMonth = std::chrono::year_month;

    explicit GridNavigation(Days today);

    // The grid's month count changed (1..12; anything else is clamped). The
    // first month stays where it was asked to be unless the end of the range
    // forces it back.
    void SetMonthCount(int count);
    int MonthCount() const { return m_count; }

    YearMonth First() const;
    YearMonth Last() const;
    Days Selected() const { return m_selected; }
    bool Shows(YearMonth ym) const;

    // Each returns true when the first month or the selection changed.

    // The host's date: select it and show its month first.
    bool SetCurrentDate(Days day);
    // The grid alone (title arrows, wheel); the selection stays.
    bool Scroll(int months);
    // PageUp/PageDown: grid and selection move together; the day of month
    // is kept where the target month has it, else its last day.
    bool MoveByMonths(int months);
    // Arrow keys: the selection moves; when it leaves the shown months the
    // grid follows by as few months as it takes.
    bool MoveByDays(int days);
    // A click on a day (possibly a neighbour month's): select it and bring
    // its month into view.
    bool Select(Days day);
    // Home: today selected and its month shown first.
    bool GoToToday(Days today);

    static Days ClampDay(Days day);

private:
    bool EnsureVisible();

    YearMonth m_first; // as asked; First() applies the range for m_count
    Days m_selected;
    int m_count = 1;
};

// Mouse-wheel movement in whole notches. What is left of a notch waits for
// the next movement the same way; a turn the other way drops it.
class WheelNotches {
public:
    static constexpr int kNotch = 120; // the platform's WHEEL_DELTA

    // The whole notches that `delta` completes, signed as the delta.
    int Add(int delta);

private:
    int m_remainder = 0;
};

} // namespace core
