#include "skin/skin_form.h"

#include <algorithm>

#include "platform/codepage.h"
#include "skin/dib_form_shaper.h"

namespace kavlo {

namespace {

Rect Union(const Rect& a, const Rect& b) {
    if (a.Empty()) {
        return b;
    }
    if (b.Empty()) {
        return a;
    }
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

Rect Offset(const Rect& r, int dx, int dy) {
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

} // namespace

SkinForm::SkinForm(SkinServices services)
    : services_(services), router_([this](int x, int y) { return ControlAt(x, y); }) {}

SkinForm::~SkinForm() {
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
        controls_.push_back(control);
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
    const uint16_t w = static_cast<uint16_t>(std::clamp(width, 0, 0xFFFF));
    const uint16_t h = static_cast<uint16_t>(std::clamp(height, 0, 0xFFFF));
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

bool SkinForm::IsWindowed(const TControl& control) const {
    if (dynamic_cast<const TDIBContainer*>(&control) != nullptr) {
        return true;
    }
    const auto* form_control = dynamic_cast<const TFormControl*>(&control);
    return form_control != nullptr && form_control->Windowed();
}

void SkinForm::PaintControl(TControl& control, const Rect& update) {
    if (auto* container = dynamic_cast<TDIBContainer*>(&control)) {
        const Rect part = Intersect(update, control.BoundsRect());
        if (part.Empty()) {
            return;
        }
        container->Compose(Offset(part, -control.Left(), -control.Top()));
        // The container's pixels as they are, alpha included: a plain copy.
        const TAbstractSuperDIB& pixels = container->Surface();
        pixels.Draw(surface_, part.left, part.top, Offset(part, -control.Left(), -control.Top()));
        return;
    }
    if (auto* form_control = dynamic_cast<TFormControl*>(&control)) {
        form_control->Paint(surface_, update);
    }
}

void SkinForm::Compose(const Rect& update) {
    const Rect area = Intersect(update, Rect{0, 0, ClientWidth(), ClientHeight()});
    if (area.Empty()) {
        return;
    }
    surface_.FillRect(area, ColorToRGB(color_));
    // Graphic controls first, then the windows above them, each group in creation order.
    for (const bool windowed : {false, true}) {
        for (TControl* control : controls_) {
            if (control->Visible() && IsWindowed(*control) == windowed) {
                PaintControl(*control, area);
            }
        }
    }
    if (pending_.Empty() || (area.left <= pending_.left && area.top <= pending_.top &&
                             area.right >= pending_.right && area.bottom >= pending_.bottom)) {
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
            TControl& control = **it;
            const Rect& r = control.BoundsRect();
            if (IsWindowed(control) == windowed && control.Visible() && control.Enabled() && x >= r.left &&
                x < r.right && y >= r.top && y < r.bottom) {
                return &control;
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
