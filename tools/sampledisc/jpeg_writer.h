#pragma once

#include <optional>
#include <string>

#include "skingen/canvas.h"

namespace kavlo::sample {

// A baseline JPEG of the opaque canvas, or nothing when libjpeg fails. The integer DCT and optimised
// Huffman tables give the same bytes on every machine.
std::optional<std::string> EncodeJpeg(const skingen::Canvas& canvas, int quality);

} // namespace kavlo::sample
