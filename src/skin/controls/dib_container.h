#pragma once

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "skin/controls/dib_control.h"
#include "skin/controls/dib_site.h"
#include "skin/controls/form_control.h"
#include "skin/controls/pointer_router.h"
#include "skin/surface/dib_transform.h"
#include "skin/surface/win_dib.h"

namespace kavlo {

// The size an off-screen surface may take for a client area: a form may ask for anything up to
// 65535 x 65535, which is no window but a corrupt form, so the sides and the pixel count keep to the
// picture limits (anything beyond is never composed).
Extent SurfaceExtentFor(int width, int height);

enum class TBorderDrawPosition : uint8_t { bdUnderControls, bdOverControls };

// A windowed control that holds DIB controls and composes them, in z-order, into an off-screen surface
// of its client size. Only the part asked for is recomposed and presented; everything else keeps its
// pixels. It also hands the pointer to the topmost visible control under it.
class TDIBContainer : public TControl, public ControlParent {
public:
    explicit TDIBContainer(SkinServices services);
    ~TDIBContainer() override;

    SkinServices& Services() { return services_; }

    // A new control on top of the others; the container owns it.
    template <class T, class... Args> T& Add(Args&&... args) {
        auto control = std::make_unique<T>(*this, std::forward<Args>(args)...);
        T& added = *control;
        controls_.push_back(std::move(control));
        added.Invalidate();
        return added;
    }
    // Bottom first.
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TDIBControl& Control(int index) const { return *controls_[static_cast<size_t>(index)]; }
    // Compares as Windows compares component names (ASCII case ignored).
    TDIBControl* FindControl(std::string_view name) const;
    // A plain control on the container, above every DIB control and above the plain ones placed
    // before it; the container owns it.
    TFormControl& AddGraphic(std::unique_ptr<TFormControl> control);

    TColor Color() const override { return color_; }
    void SetColor(TColor color);
    TBorderDrawPosition BorderDrawPosition() const { return border_draw_position_; }
    void SetBorderDrawPosition(TBorderDrawPosition position) { border_draw_position_ = position; }

    TWinDIB& Surface() { return surface_; }
    const TWinDIB& Surface() const { return surface_; }

    // The window the container presents to, its top-left at the container's Left and Top; null: none
    // (the surface is still composed).
    void SetSite(WindowSite* site) { site_ = site; }
    WindowSite* Site() const { return site_; }

    // ControlParent: a part of the client area needs composing again.
    void InvalidateRect(const Rect& rect) override;
    // What has been invalidated and not composed since.
    const Rect& PendingUpdate() const { return pending_; }
    // Recomposes the part of the client area inside `update`: the background colour, then every
    // visible DIB control in z-order, then the plain controls.
    void Compose(const Rect& update);
    // Compose, then copy that part of the surface to the window.
    void Paint(const Rect& update);
    void PaintPending() { Paint(pending_); }

    // The pointer in client coordinates.
    void PointerMove(ShiftState shift, int x, int y);
    void PointerDown(MouseButton button, ShiftState shift, int x, int y);
    void PointerUp(MouseButton button, ShiftState shift, int x, int y);
    void PointerLeave();
    // The topmost visible, enabled DIB control under a point.
    TDIBControl* ControlAt(int x, int y) const;
    // The control the pointer is over: a plain one before any DIB control.
    TControl* Hovered() const;

    // As a control of its form the container passes the pointer on to its own controls.
    void MouseMove(ShiftState shift, int x, int y) override;
    void MouseDown(MouseButton button, ShiftState shift, int x, int y) override;
    void MouseUp(MouseButton button, ShiftState shift, int x, int y) override;
    void MouseLeave() override;

    TDIBControl* DIBFocus() const { return focus_; }
    void SetDIBFocus(TDIBControl* control);
    // Moves the focus to the next (or previous) visible, enabled control of the tab cycle, in DIB tab
    // order; false when no control is in the cycle.
    bool SelectNext(bool forward);

protected:
    void BoundsChanged() override;

private:
    friend class TDIBControl;
    void ControlGone(const TDIBControl& control);
    void UpdateCursor();
    TControl* PointerTarget(int x, int y) const;

    SkinServices services_;
    std::vector<std::unique_ptr<TDIBControl>> controls_;
    std::vector<std::unique_ptr<TFormControl>> graphics_;
    TWinDIB surface_;
    TColor color_ = 0x8000000F; // clBtnFace
    TBorderDrawPosition border_draw_position_ = TBorderDrawPosition::bdUnderControls;
    WindowSite* site_ = nullptr;
    Rect pending_;
    PointerRouter router_;
    TDIBControl* focus_ = nullptr;
    bool destroying_ = false;
};

} // namespace kavlo
