#pragma once
// Pixel figures of the user interface are drawn up for a 96-dpi screen; DpiScale turns them into pixels of the
// monitor a window is on. Every geometry model takes one, so the same rules lay a window out at 100, 150 or 200 %.

#include <cstdint>

namespace vantrel {

constexpr int32_t kDefaultDpi = 96;

struct DpiScale {
    int32_t dpi = kDefaultDpi;

    // A 96-dpi figure at this scale, rounded half away from zero as MulDiv rounds, so that the model's answers match
    // what the system's own scaling gives. A dpi below 1 counts as 96; the result saturates at the int32_t limits.
    constexpr int32_t Px(int32_t pixels96) const {
        const int64_t d = dpi > 0 ? dpi : kDefaultDpi;
        const int64_t product = int64_t{pixels96} * d;
        const int64_t magnitude = ((product < 0 ? -product : product) * 2 + kDefaultDpi) / (2 * kDefaultDpi);
        const int64_t scaled = product < 0 ? -magnitude : magnitude;
        if (scaled > INT32_MAX)
            return INT32_MAX;
        if (scaled < INT32_MIN)
            return INT32_MIN;
        return static_cast<int32_t>(scaled);
    }
    friend bool operator==(const DpiScale&, const DpiScale&) = default;
};

} // namespace vantrel
