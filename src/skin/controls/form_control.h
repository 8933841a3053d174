#pragma once

#include "skin/controls/component.h"
#include "skin/surface/win_dib.h"

namespace kavlo {

// A plain control, drawn onto the surface of the window it lies on: the form's, or a container's, where
// it lies above the container's DIB controls as a graphic control lies above what its parent window
// paints. Windowed ones (TAnimate) lie above every graphic one, as child windows do.
class TFormControl : public TControl {
public:
    virtual bool Windowed() const { return false; }
    // Where painting sets every pixel without regard to what lies below; empty when nowhere.
    virtual Rect OpaqueRect() const { return {}; }
    // Draws the part of the control inside `update` (its parent's client coordinates) onto the surface.
    void Paint(TWinDIB& surface, const Rect& update);

protected:
    // Draws the control onto the surface, touching only pixels inside `part` (the part of the control
    // being painted, inside the surface).
    virtual void DrawPart(TWinDIB& surface, const Rect& part) = 0;
};

} // namespace kavlo
