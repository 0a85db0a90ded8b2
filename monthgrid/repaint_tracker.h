#pragma once
// Whether the grid's window still shows what a full repaint would paint, so
// that a Refresh or a run of property puts that ends where it started
// repaints nothing.
#include <windows.h>

#include <array>
#include <chrono>

#include "core/holidays.h"

namespace monthgrid {

// Everything the pixels of a paint depend on: two equal states paint the
// same pixels.
struct PaintState {
    std::array<COLORREF, 11> palette{};
    bool highContrast = false; // holidays underlined
    std::chrono::sys_days today{};
    std::chrono::sys_days selected{};
    std::chrono::sys_days firstShown{}; // the first day of the first month
    int columns = 0;
    int rows = 0;
    bool showWeekNumbers = false;
    bool showHolidays = false;
    core::Region holidayRegion = core::Region::Nationwide;
    HFONT font = nullptr;
    unsigned fontGeneration = 0;
    int dpi = 0;
    bool focusCue = false;
    int width = 0;
    int height = 0;

    bool operator==(const PaintState&) const = default;
};

class RepaintTracker {
public:
    // The whole window was invalidated.
    void WholeWindowInvalid() { m_wholeWindowInvalid = true; }
    // A paint rendered `state` (into some part of the window).
    void Rendered(const PaintState& state)
    {
        m_lastRendered = state;
        m_renderedThisPaint = true;
    }
    // A WM_PAINT ended.
    void PaintEnded();
    // A paint is about to start.
    void PaintStarts() { m_renderedThisPaint = false; }
    // Whether the pixels are known to show one state everywhere; and, with
    // no invalidation since, possibly the current one. Asked before the
    // current state is worked out, which costs more.
    bool Known() const { return m_shownKnown; }
    bool MayShowCurrent() const { return m_shownKnown && !m_wholeWindowInvalid; }
    // With Known(): whether the pixels show `current`.
    bool Shows(const PaintState& current) const { return m_shownKnown && current == m_shown; }

    // A posted catch-up message is on its way.
    bool CatchUpPosted() const { return m_catchUpPosted; }
    void SetCatchUpPosted(bool posted) { m_catchUpPosted = posted; }

private:
    PaintState m_lastRendered;
    bool m_renderedThisPaint = false;
    PaintState m_shown;
    bool m_shownKnown = false;
    bool m_wholeWindowInvalid = false;
    bool m_catchUpPosted = false;
};

} // namespace monthgrid
