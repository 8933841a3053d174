#include "skin/controls/skin_form.h"

#include <algorithm>

#include "platform/codepage.h"
#include "skin/controls/dib_form_shaper.h"
#include "skin/surface/layers.h"

namespace kavlo {

namespace {

Rect Offset(const Rect& r, int dx, int dy) {
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

} // namespace

SkinForm::SkinForm(SkinServices services)
    : services_(services), router_([this](int x, int y) { return ControlAt(x, y); }) {}

SkinForm::~SkinForm() {
    // Nothing torn down below may still ask the window for a repaint.
    SetSite(nullptr);
    // Later components may refer to earlier ones (links to image lists): the last made goes first.
    while (!owned_.empty()) {
        owned_.pop_back();
    }
}

TComponent& SkinForm::Adopt(std::unique_ptr<TComponent> component) {
    TComponent& adopted = *component;
    owned_.push_back(std::move(component));
    components_.push_back(&adopted);
    if (auto* control = dynamic_cast<TControl*>(&adopted)) {
        Placed placed{control, dynamic_cast<TFormControl*>(control), dynamic_cast<TDIBContainer*>(control),
                      false};
        placed.windowed =
            placed.container != nullptr || (placed.graphic != nullptr && placed.graphic->Windowed());
        controls_.push_back(placed);
        control->SetParent(this);
        control->Invalidate();
    }
    if (auto* container = dynamic_cast<TDIBContainer*>(&adopted)) {
        container->SetSite(site_);
    }
    if (auto* shaper = dynamic_cast<TDIBFormShaper*>(&adopted)) {
        shaper->SetWindow(site_);
    }
    return adopted;
}

void SkinForm::Enlist(TComponent& component) {
    components_.push_back(&component);
}

TComponent* SkinForm::FindComponent(std::string_view name) const {
    for (TComponent* component : components_) {
        if (EqualsNoCase1250(component->Name(), name)) {
            return component;
        }
    }
    return nullptr;
}

void SkinForm::SetClientSize(int width, int height) {
    const Extent size = SurfaceExtentFor(width, height);
    const auto w = static_cast<uint16_t>(size.width);
    const auto h = static_cast<uint16_t>(size.height);
    if (w == surface_.Width() && h == surface_.Height()) {
        return;
    }
    surface_.SetSize(w, h);
    pending_ = Rect{};
    InvalidateRect(Rect{0, 0, w, h});
}

void SkinForm::SetColor(TColor color) {
    color_ = color;
    InvalidateRect(Rect{0, 0, ClientWidth(), ClientHeight()});
}

void SkinForm::SetSite(WindowSite* site) {
    site_ = site;
    for (TComponent* component : components_) {
        if (auto* container = dynamic_cast<TDIBContainer*>(component)) {
            container->SetSite(site);
        }
        // Shapers shape their owner form: the window has no border of its own here.
        if (auto* shaper = dynamic_cast<TDIBFormShaper*>(component)) {
            shaper->SetWindow(site);
        }
    }
}

void SkinForm::InvalidateRect(const Rect& rect) {
    const Rect area = Intersect(rect, Rect{0, 0, ClientWidth(), ClientHeight()});
    if (area.Empty()) {
        return;
    }
    pending_ = Union(pending_, area);
    if (site_ != nullptr) {
        site_->Invalidate(area);
    }
}

void SkinForm::PaintControl(const Placed& placed, const Rect& update) {
    if (placed.container != nullptr) {
        const TControl& control = *placed.control;
        const Rect part = Intersect(update, control.BoundsRect());
        if (part.Empty()) {
            return;
        }
        placed.container->Compose(Offset(part, -control.Left(), -control.Top()));
        // The container's pixels as they are, alpha included: a plain copy.
        const TAbstractSuperDIB& pixels = placed.container->Surface();
        pixels.Draw(surface_, part.left, part.top, Offset(part, -control.Left(), -control.Top()));
        return;
    }
    if (placed.graphic != nullptr) {
        placed.graphic->Paint(surface_, update);
    }
}

void SkinForm::Compose(const Rect& update) {
    const Rect area = Intersect(update, Rect{0, 0, ClientWidth(), ClientHeight()});
    if (area.Empty()) {
        return;
    }
    // The form paints around its containers, as a window clips its children out of its own painting;
    // each container then puts its own picture in its place.
    std::vector<Rect> pieces{area};
    for (const Placed& placed : controls_) {
        if (placed.container != nullptr && placed.control->Visible()) {
            pieces = Subtract(pieces, placed.control->BoundsRect());
        }
    }
    for (const Rect& piece : pieces) {
        const LayerPlan plan = PlanLayers(controls_.size(), piece, [this](size_t i) {
            const Placed& placed = controls_[i];
            return placed.graphic != nullptr && !placed.windowed && placed.control->Visible()
                       ? placed.graphic->OpaqueRect()
                       : Rect{};
        });
        for (const Rect& rect : plan.bare) {
            surface_.FillRect(rect, ColorToRGB(color_));
        }
        for (size_t i = plan.first; i < controls_.size(); ++i) {
            if (!controls_[i].windowed && controls_[i].control->Visible()) {
                PaintControl(controls_[i], piece);
            }
        }
    }
    // The windows above, in creation order.
    for (const Placed& placed : controls_) {
        if (placed.windowed && placed.control->Visible()) {
            PaintControl(placed, area);
        }
    }
    if (Contains(area, pending_)) {
        pending_ = Rect{};
    }
}

void SkinForm::Paint(const Rect& update) {
    const Rect area = Intersect(update, Rect{0, 0, ClientWidth(), ClientHeight()});
    if (area.Empty()) {
        return;
    }
    Compose(area);
    if (site_ != nullptr) {
        site_->Present(SurfaceBits{surface_.Bits(), surface_.Width(), surface_.Height()}, area, area.left,
                       area.top);
    }
}

TControl* SkinForm::ControlAt(int x, int y) const {
    for (const bool windowed : {true, false}) {
        for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
            if (it->windowed == windowed && it->control->TakesPointerAt(x, y)) {
                return it->control;
            }
        }
    }
    return nullptr;
}

void SkinForm::UpdateCursor() {
    const TControl* hovered = router_.Hovered();
    // A container sets the cursor of its own control under the pointer.
    if (site_ != nullptr && dynamic_cast<const TDIBContainer*>(hovered) == nullptr) {
        site_->SetPointerCursor(hovered != nullptr ? hovered->Cursor() : crDefault);
    }
}

void SkinForm::PointerMove(ShiftState shift, int x, int y) {
    router_.Move(shift, x, y);
    UpdateCursor();
}

void SkinForm::PointerDown(MouseButton button, ShiftState shift, int x, int y) {
    router_.Down(button, shift, x, y);
    UpdateCursor();
}

void SkinForm::PointerUp(MouseButton button, ShiftState shift, int x, int y) {
    router_.Up(button, shift, x, y);
    UpdateCursor();
}

void SkinForm::PointerLeave() {
    router_.Leave();
}

} // namespace kavlo
