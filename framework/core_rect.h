#pragma once
// Rectangles between the platform's RECT and core's Rect (same fields,
// half-open both).
#include <windows.h>

#include "core/grid_geometry.h"

namespace fw {

inline core::Rect ToCore(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
inline RECT ToRECT(const core::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

} // namespace fw
