#pragma once

#include <filesystem>

#include "canvas.h"

namespace kavlo::skingen {

// Writes the canvas as an 8-bit RGBA PNG (each pixel `zoom` x `zoom` times), for looking at the artwork;
// false when the file cannot be written.
bool WritePngPreview(const Canvas& canvas, const std::filesystem::path& path, int zoom = 1);

} // namespace kavlo::skingen
