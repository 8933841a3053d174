#pragma once

#include <filesystem>
#include <vector>

#include "art_clips.h"
#include "image_list.h"

namespace kavlo::skingen {

// PNG pictures for looking at the artwork: every list on a contact sheet, and the content area put
// together as the form lays it out, per scheme and mode. False when a file cannot be written.
bool WritePreviews(const std::vector<SkinImage>& list1, const std::vector<SkinImage>& controls,
                   const std::filesystem::path& dir);

// The border clips: each clip's frames on a sheet of its own ("clip_AVIn.png", five to a row), and the
// frame's picture with every clip at its brightest middle frame ("clips_lit.png").
bool WriteClipPreviews(const BorderPictures& border, const std::filesystem::path& dir);

// The extraction dialog's file-copy clips, every frame on the dialog's plate where it plays
// ("clip_FILECOPYn.png").
bool WriteCopyClipPreviews(const std::filesystem::path& dir);

} // namespace kavlo::skingen
