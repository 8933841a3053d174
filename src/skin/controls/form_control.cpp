#include "skin/controls/form_control.h"

namespace kavlo {

void TFormControl::Paint(TWinDIB& surface, const Rect& update) {
    const Rect part =
        Intersect(Intersect(BoundsRect(), update), Rect{0, 0, surface.Width(), surface.Height()});
    if (!part.Empty()) {
        DrawPart(surface, part);
    }
}

} // namespace kavlo
