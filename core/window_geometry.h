#pragma once
// Rectangle arithmetic of fitting and centring the calendar window, kept
// free of Windows types so that it can be tested natively.
#include <cstdint>

namespace core {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// The window rectangle whose client area is exactly `content`: the content's
// size plus the window's non-client frame (window size minus client size),
// placed at the window's current top-left corner. Saturates instead of
// overflowing on absurd inputs.
Rect FitWindowToContent(const Rect& contentClient, const Rect& windowRect, const Rect& clientRect);

// Top-left corner that centres a window of the given size in `area`. A
// window larger than the area keeps its top-left corner inside it, so the
// caption (and with it the way to move the window) stays on screen.
struct Point {
    int x = 0, y = 0;
    friend constexpr bool operator==(const Point&, const Point&) = default;
};
Point CenterIn(int width, int height, const Rect& area);
// The same, centred over `over` (an owner window) and kept inside `area`.
Point CenterOver(int width, int height, const Rect& over, const Rect& area);

} // namespace core
