#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "skin/controls/component.h"
#include "skin/controls/dib_container.h"
#include "skin/controls/dib_site.h"
#include "skin/controls/plain_controls.h"
#include "skin/controls/pointer_router.h"
#include "skin/surface/win_dib.h"

namespace kavlo {

// A window built from a form stream: it owns the components, finds them by name, composes its client
// area (background colour, the form's graphic controls, then its windowed ones, DIB containers among
// them) into one off-screen surface and hands the pointer to the control under it.
class SkinForm : public TComponent, public ControlParent {
public:
    explicit SkinForm(SkinServices services);
    ~SkinForm() override;

    SkinServices& Services() { return services_; }

    // Takes a component of the form; controls are placed on the form in the order they come.
    TComponent& Adopt(std::unique_ptr<TComponent> component);
    // A component owned elsewhere (a DIB control owned by its container), listed for name lookups.
    void Enlist(TComponent& component);
    // Every component, in creation order.
    const std::vector<TComponent*>& Components() const { return components_; }
    // Compares as Windows compares component names (ASCII case ignored).
    TComponent* FindComponent(std::string_view name) const;
    template <class T> T* Find(std::string_view name) const { return dynamic_cast<T*>(FindComponent(name)); }

    int ClientWidth() const { return surface_.Width(); }
    int ClientHeight() const { return surface_.Height(); }
    void SetClientSize(int width, int height);
    TColor Color() const override { return color_; }
    void SetColor(TColor color);
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption) { caption_ = std::move(caption); }

    TWinDIB& Surface() { return surface_; }
    const TWinDIB& Surface() const { return surface_; }
    // The window shown; the form's containers present through it and its shapers shape it. The site
    // must outlive the form (the form lets go of it, and of the outline, when it goes).
    void SetSite(WindowSite* site);
    WindowSite* Site() const { return site_; }

    // ControlParent: a part of the client area needs painting again.
    void InvalidateRect(const Rect& rect) override;
    const Rect& PendingUpdate() const { return pending_; }
    // Composes the part of the client area inside `update` into the surface.
    void Compose(const Rect& update);
    // Compose, then copy that part to the window.
    void Paint(const Rect& update);

    // The pointer in client coordinates.
    void PointerMove(ShiftState shift, int x, int y);
    void PointerDown(MouseButton button, ShiftState shift, int x, int y);
    void PointerUp(MouseButton button, ShiftState shift, int x, int y);
    void PointerLeave();
    // The topmost visible, enabled control of the form under a point (a container, not its controls).
    TControl* ControlAt(int x, int y) const;

private:
    // A control of the form with its kind worked out once, not on every paint.
    struct Placed {
        TControl* control = nullptr;
        TFormControl* graphic = nullptr;    // drawn on the form's surface
        TDIBContainer* container = nullptr; // composes its own surface
        bool windowed = false;
    };

    void PaintControl(const Placed& placed, const Rect& update);
    void UpdateCursor();

    SkinServices services_;
    std::vector<std::unique_ptr<TComponent>> owned_;
    std::vector<TComponent*> components_;
    std::vector<Placed> controls_; // creation order
    TWinDIB surface_;
    TColor color_ = 0x8000000F; // clBtnFace
    std::string caption_;
    WindowSite* site_ = nullptr;
    Rect pending_;
    PointerRouter router_;
};

} // namespace kavlo
