#include "monthgrid/repaint_tracker.h"

namespace monthgrid {

void RepaintTracker::PaintEnded()
{
    // A paint after the whole window was invalidated shows the state it
    // rendered everywhere. A partial one (the system's, for an uncovered
    // part) keeps what is known only if it rendered that same state.
    if (m_renderedThisPaint && m_wholeWindowInvalid) {
        m_shown = m_lastRendered;
        m_shownKnown = true;
    } else if (!m_renderedThisPaint || !(m_lastRendered == m_shown)) {
        m_shownKnown = false;
    }
    m_wholeWindowInvalid = false;
    m_renderedThisPaint = false;
}

} // namespace monthgrid
