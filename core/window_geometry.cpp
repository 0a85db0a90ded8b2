#include "core/window_geometry.h"

#include <algorithm>
#include <limits>

namespace core {
namespace {

int Saturate(std::int64_t v)
{
    return static_cast<int>(
        std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

Rect FitWindowToContent(const Rect& content, const Rect& window, const Rect& client)
{
    const std::int64_t frameW =
        std::int64_t{window.right} - window.left - (std::int64_t{client.right} - client.left);
    const std::int64_t frameH =
        std::int64_t{window.bottom} - window.top - (std::int64_t{client.bottom} - client.top);
    const std::int64_t w = std::int64_t{content.right} - content.left + frameW;
    const std::int64_t h = std::int64_t{content.bottom} - content.top + frameH;
    return Rect{window.left, window.top, Saturate(window.left + w), Saturate(window.top + h)};
}

Point CenterOver(int width, int height, const Rect& over, const Rect& area)
{
    // Centre first, then pull back inside the area; the leading edge wins,
    // so an oversized window keeps its top-left corner (and caption) visible.
    auto axis = [](std::int64_t overLo, std::int64_t overHi, std::int64_t lo, std::int64_t hi,
                   std::int64_t size) {
        std::int64_t start = overLo + (overHi - overLo - size) / 2;
        if (start + size > hi)
            start = hi - size;
        if (start < lo)
            start = lo;
        return Saturate(start);
    };
    return Point{axis(over.left, over.right, area.left, area.right, width),
                 axis(over.top, over.bottom, area.top, area.bottom, height)};
}

} // namespace core
