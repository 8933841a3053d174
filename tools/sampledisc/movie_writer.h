#pragma once

#include <string>
#include <string_view>

namespace kavlo::sample {

// A short uncompressed AVI (RIFF "AVI ", one 24-bit DIB video stream with an index) that any
// player opens: a band of the item's colour sweeping across a dark frame, one second long.
std::string TinyAvi(std::string_view title, int width = 64, int height = 48, int frames = 8);

} // namespace kavlo::sample
