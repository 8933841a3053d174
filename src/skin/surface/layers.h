#pragma once

#include <cstddef>
#include <vector>

#include "skin/surface/skin_types.h"

namespace kavlo {

// What composing `area` through a stack of layers (bottom first) needs: the layers from `first` up,
// and the brush under them only in `bare`.
struct LayerPlan {
    size_t first = 0;
    std::vector<Rect> bare;
};

// Nothing under a layer that replaces the whole area needs composing; without such a layer the brush
// goes only where no layer will replace every pixel anyway. `opaque_rect(i)` is where layer i does
// that (empty when nowhere, or when the layer is not shown).
template <typename OpaqueRectOf>
LayerPlan PlanLayers(size_t count, const Rect& area, OpaqueRectOf opaque_rect) {
    size_t first = count;
    while (first > 0 && !Contains(opaque_rect(first - 1), area)) {
        --first;
    }
    if (first > 0) {
        return {first - 1, {}};
    }
    std::vector<Rect> bare{area};
    for (size_t i = 0; i < count && !bare.empty(); ++i) {
        bare = Subtract(bare, opaque_rect(i));
    }
    return {0, std::move(bare)};
}

} // namespace kavlo
