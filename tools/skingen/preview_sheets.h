#pragma once

#include <filesystem>
#include <vector>

#include "image_list.h"

namespace kavlo::skingen {

// PNG pictures for looking at the artwork: every list on a contact sheet, and the content area put
// together as the form lays it out, per scheme and mode. False when a file cannot be written.
bool WritePreviews(const std::vector<SkinImage>& list1, const std::vector<SkinImage>& controls,
                   const std::filesystem::path& dir);

} // namespace kavlo::skingen
