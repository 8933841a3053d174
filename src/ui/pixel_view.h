#pragma once

#include <cstdint>

namespace kavlo {

// A read-only view of 32-bit pixels (bytes blue, green, red, alpha) owned by someone else: a skin
// surface, which Windows stores bottom-up, or a backend's top-down frame.
struct PixelView {
    const uint8_t* pixels = nullptr;
    int stride_bytes = 0; // from one stored row to the next
    int width = 0;
    int height = 0;
    bool bottom_up = false;

    bool Valid() const {
        return pixels != nullptr && width > 0 && height > 0 &&
               static_cast<int64_t>(stride_bytes) >= static_cast<int64_t>(width) * 4;
    }
    // Row y counted from the top of the picture.
    const uint8_t* Row(int y) const {
        int stored = bottom_up ? height - 1 - y : y;
        return pixels + static_cast<int64_t>(stored) * stride_bytes;
    }
};

} // namespace kavlo
