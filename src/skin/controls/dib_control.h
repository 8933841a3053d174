#pragma once

#include <cstdint>

#include "skin/controls/component.h"
#include "skin/surface/win_dib.h"

namespace kavlo {

class TDIBContainer;

// The base of the light skin controls: no window of their own, they live in a TDIBContainer and are
// composed into its surface with their own Opacity, Angle and Scale.
class TDIBControl : public TControl {
public:
    explicit TDIBControl(TDIBContainer& container);
    ~TDIBControl() override;

    TDIBContainer& Container() const { return container_; }

    uint8_t Opacity() const { return opacity_; }
    void SetOpacity(uint8_t opacity);
    int16_t Angle() const { return angle_; }
    void SetAngle(int16_t degrees);
    long double ScaleX() const { return scale_x_; }
    long double ScaleY() const { return scale_y_; }
    void SetScale(long double percent); // both axes
    void SetScaleX(long double percent);
    void SetScaleY(long double percent);
    // -1: not in the DIB tab cycle.
    int DIBTabOrder() const { return tab_order_; }
    void SetDIBTabOrder(int order) { tab_order_ = order; }
    bool Focused() const;

    // The four steps that put the control into the container's surface, for the part of the control
    // inside `update` (container coordinates): copy the surface under it into the work surface, draw
    // the content there, give the work surface the control's Opacity and draw it back with the blend.
    void Compose(TWinDIB& surface, const Rect& update);
    // Where composing sets every pixel without regard to what lies below (container coordinates):
    // whatever is under it there need not be composed at all. Empty when nowhere.
    virtual Rect OpaqueRect() const { return {}; }

protected:
    // Draws the content onto `work`, on which the control's top-left corner lies at (origin_x,
    // origin_y). `work` holds only the part being composed, so the origin may be negative.
    virtual void DrawContent(TWinDIB& work, int origin_x, int origin_y) = 0;
    // At full opacity the copy back is a plain copy, so a content that can keep within `part` may be
    // drawn straight onto the surface, saving two copies of the part. False: not possible here.
    virtual bool DrawDirect(TWinDIB& /*surface*/, const Rect& /*part*/) { return false; }
    // False when DrawContent would draw nothing (an image link pointing at no image).
    virtual bool HasContent() const { return true; }
    // After the Scale was set (not when Stretch sets the image's scale).
    virtual void ScaleSet() { Invalidate(); }
    virtual void AngleSet() { Invalidate(); }
    virtual void FocusChanged(bool /*focused*/) {}

private:
    friend class TDIBContainer;

    TDIBContainer& container_;
    TWinDIB work_;
    uint8_t opacity_ = 255;
    int16_t angle_ = 0;
    long double scale_x_ = 100;
    long double scale_y_ = 100;
    int tab_order_ = -1;
};

} // namespace kavlo
