#pragma once

#include <algorithm>
#include <vector>

#include "platform/system_info.h"

namespace kavlo {

// A rectangle in window or screen pixels, kept as Windows keeps a RECT: left and top inside, right and
// bottom just outside. The skin's own Rect has the same layout; this one lives here because ui/ sits
// below the skin.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const ScreenRect&) const = default;
};

// ScreenSize, the display's size, is the platform's: the system reports the screen the backend shows.

// The part two rectangles share; an empty rectangle when they do not meet.
inline ScreenRect Intersect(const ScreenRect& a, const ScreenRect& b) {
    ScreenRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
    return r.Empty() ? ScreenRect{} : r;
}

// The smallest rectangle holding both; an empty one adds nothing.
inline ScreenRect Union(const ScreenRect& a, const ScreenRect& b) {
    if (a.Empty()) {
        return b;
    }
    if (b.Empty()) {
        return a;
    }
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

// Whether `inner` lies wholly inside `outer`; an empty rectangle lies inside any.
inline bool Contains(const ScreenRect& outer, const ScreenRect& inner) {
    return inner.Empty() || (outer.left <= inner.left && outer.top <= inner.top &&
                             outer.right >= inner.right && outer.bottom >= inner.bottom);
}

// What is left of the rectangles once `hole` is cut out: up to four pieces of each.
inline std::vector<ScreenRect> Subtract(const std::vector<ScreenRect>& rects, const ScreenRect& hole) {
    std::vector<ScreenRect> left;
    for (const ScreenRect& r : rects) {
        const ScreenRect cut = Intersect(r, hole);
        if (cut.Empty()) {
            left.push_back(r);
            continue;
        }
        for (const ScreenRect& piece :
             {ScreenRect{r.left, r.top, r.right, cut.top}, ScreenRect{r.left, cut.bottom, r.right, r.bottom},
              ScreenRect{r.left, cut.top, cut.left, cut.bottom},
              ScreenRect{cut.right, cut.top, r.right, cut.bottom}}) {
            if (!piece.Empty()) {
                left.push_back(piece);
            }
        }
    }
    return left;
}

} // namespace kavlo
