#pragma once

#include <string_view>

#include "skin/formats/picture.h"
#include "skin/surface/dib.h"
#include "skin/text/text.h"

namespace kavlo {

// The window-backed surface: the container's off-screen picture, the controls' work surfaces and the
// temporary surface of a turned image. Besides the pixels it offers a canvas.
class TWinDIB : public TAbstractSuperDIB {
public:
    TWinDIB() = default;
    TWinDIB(uint16_t width, uint16_t height) { SetSize(width, height); }
    TWinDIB(const TWinDIB&) = default;
    TWinDIB& operator=(const TWinDIB&) = default;

    // Fills the part of `rect` inside the surface with a brush colour. Like a GDI brush on a 32-bit
    // DIB section it writes alpha 0.
    void FillRect(const Rect& rect, TColor color);
    // Draws another surface with its own routine, Angle and Scale, at (x, y).
    void Draw(int x, int y, const TAbstractSuperDIB& dib) { dib.Draw(*this, x, y); }
    // Copies a picture's pixels (its alpha bytes included) to (x, y), clipped to the surface.
    void DrawPicture(int x, int y, const Picture& picture);
    // Draws text with a clear brush, as DrawText would into `rect` (DrawText flags): each pixel takes
    // `color` weighted by the glyphs' coverage, fully covered pixels exactly `color`; the alpha byte
    // stays as it was. Returns the box the text occupies (with kDtCalcRect only that, nothing drawn).
    Rect DrawText(FontResolver& fonts, const Rect& rect, std::string_view text, const FontSpec& font,
                  TColor color, unsigned flags);
    // Draws rendered text as DrawText does, its box moved by (dx, dy), only inside `clip`.
    void DrawTextMask(const TextMask& mask, int dx, int dy, TColor color, const Rect& clip);
};

} // namespace kavlo
