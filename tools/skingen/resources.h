#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kavlo {

// The files the program carries in its own image, as its resources did on Windows: the main
// window's form stream "TFORM1", the dialog backgrounds "BMP1" ... "BMP4" and the border's clips
// "AVI1" ... "AVI10". Names compare without regard to case, as resource names do; an unknown name
// gives an empty span.
std::span<const uint8_t> Resource(std::string_view name);

} // namespace kavlo
