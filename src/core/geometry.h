#pragma once
// Plain screen geometry shared by the launcher models and the resident core's trigger decisions.

#include <cstdint>

namespace vantrel {

struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// Edges as Win32 reports them: right and bottom are one past the last pixel.
struct ScreenRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// Position and size of a control inside its parent.
struct BoxBounds {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const BoxBounds&, const BoxBounds&) = default;
};

// Right and bottom edges count as inside: the launcher treats a point on its border as its own.
constexpr bool ContainsWithEdges(const ScreenRect& r, ScreenPoint p) {
    return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

} // namespace vantrel
