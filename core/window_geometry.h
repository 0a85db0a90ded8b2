#pragma once
// Rectangle arithmetic of fitting and centring the calendar window, kept
// free of Windows types so that it can be tested natively.
#include "core/grid_geometry.h" // core::Rect and core::Point

#include <cstdint>

namespace core {

// The window rectangle whose client area is exactly `content`: the content's
// size plus the window's non-client frame (window size minus client size),
// placed at the window's current top-left corner. Saturates instead of
// overflowing on absurd inputs.
Rect FitWindowToContent(const Rect& contentClient, const Rect& windowRect, const Rect& clientRect);

// Top-left corner that centres a window of the given size over `over` (an
// owner window, or the area itself) and keeps it inside `area`. A window
// larger than the area keeps its top-left corner inside it, so the caption
// (and with it the way to move the window) stays on screen.
Point CenterOver(int width, int height, const Rect& over, const Rect& area);

} // namespace core
