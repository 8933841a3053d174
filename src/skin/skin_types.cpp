#include "skin/skin_types.h"

#include <algorithm>

namespace kavlo {

Rect Intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.Empty()) {
        return {};
    }
    return r;
}

} // namespace kavlo
