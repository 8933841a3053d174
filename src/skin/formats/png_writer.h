#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "ui/geometry.h"
#include "ui/pixel_view.h"

namespace kavlo {

enum class PngAlpha {
    Opaque, // colour only: surfaces' alpha bytes are often left over from the draw routines
    Keep,   // the alpha bytes as they are, for masked images
};

// A region (counted from the top, clipped to the pixels) of a 32-bit surface as a PNG file in memory.
// Nothing for invalid pixels or an empty region.
std::optional<std::vector<uint8_t>> EncodePng(const PixelView& pixels, const ScreenRect& region,
                                              PngAlpha alpha);
// The same written to a host file; false (and no file) when encoding or writing fails.
bool WritePngFile(const std::filesystem::path& path, const PixelView& pixels, const ScreenRect& region,
                  PngAlpha alpha);

} // namespace kavlo
