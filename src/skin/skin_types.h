#pragma once

#include <cstdint>

namespace kavlo {

// A rectangle as Windows keeps one: left and top inside, right and bottom just outside.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect&) const = default;
};

// The part two rectangles share; empty when they do not meet.
Rect Intersect(const Rect& a, const Rect& b);

// A Delphi TColor: $00BBGGRR for an RGB colour.
using TColor = uint32_t;

} // namespace kavlo
