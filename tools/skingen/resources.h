#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kavlo {

// The files the program carries in its own image, as its resources did on Windows: the main
// window's form stream "TFORM1", the dialog backgrounds "BMP1" ... "BMP4", the border's clips
// "AVI1" ... "AVI10" and the extraction dialog's file-copy clips "FILECOPY0" and "FILECOPY1" (one per
// colour scheme). Names compare without regard to case, as resource names do; an unknown name
// gives an empty span.
std::span<const uint8_t> Resource(std::string_view name);

} // namespace kavlo
