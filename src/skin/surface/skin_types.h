#pragma once

#include <cstdint>

#include "ui/geometry.h"

namespace kavlo {

// The skin measures in the same window pixels as the message loop that presents it.
using Rect = ScreenRect;

// A Delphi TColor: $00BBGGRR for an RGB colour.
using TColor = uint32_t;

} // namespace kavlo
