#include "skin/controls/dib_container.h"

#include <algorithm>

#include "platform/codepage.h"
#include "skin/formats/picture.h"
#include "skin/surface/layers.h"

namespace kavlo {

TDIBContainer::TDIBContainer(SkinServices services)
    : services_(services), router_([this](int x, int y) { return PointerTarget(x, y); }) {}

TDIBContainer::~TDIBContainer() {
    destroying_ = true;
    // Controls go first, top first, while the container they call back into is still whole.
    while (!graphics_.empty()) {
        graphics_.pop_back();
    }
    while (!controls_.empty()) {
        controls_.pop_back();
    }
}

TDIBControl* TDIBContainer::FindControl(std::string_view name) const {
    for (const auto& control : controls_) {
        if (EqualsNoCase1250(control->Name(), name)) {
            return control.get();
        }
    }
    return nullptr;
}

TFormControl& TDIBContainer::AddGraphic(std::unique_ptr<TFormControl> control) {
    TFormControl& added = *control;
    added.SetParent(this);
    graphics_.push_back(std::move(control));
    added.Invalidate();
    return added;
}

void TDIBContainer::SetColor(TColor color) {
    if (color == color_) {
        return;
    }
    color_ = color;
    InvalidateRect(Rect{0, 0, Width(), Height()});
}

void TDIBContainer::InvalidateRect(const Rect& rect) {
    const Rect area = Intersect(rect, Rect{0, 0, Width(), Height()});
    if (area.Empty() || destroying_) {
        return;
    }
    pending_ = Union(pending_, area);
    if (site_ != nullptr && Visible()) {
        site_->Invalidate(
            Rect{area.left + Left(), area.top + Top(), area.right + Left(), area.bottom + Top()});
    }
}

void TDIBContainer::Compose(const Rect& update) {
    const Rect area = Intersect(update, Rect{0, 0, surface_.Width(), surface_.Height()});
    if (area.Empty()) {
        return;
    }
    const LayerPlan plan = PlanLayers(controls_.size(), area, [this](size_t i) {
        return controls_[i]->Visible() ? controls_[i]->OpaqueRect() : Rect{};
    });
    // Windows erases the background of the invalid part before the controls paint into it.
    for (const Rect& rect : plan.bare) {
        surface_.FillRect(rect, ColorToRGB(color_));
    }
    for (size_t i = plan.first; i < controls_.size(); ++i) {
        if (controls_[i]->Visible()) {
            controls_[i]->Compose(surface_, area);
        }
    }
    for (const auto& graphic : graphics_) {
        if (graphic->Visible()) {
            graphic->Paint(surface_, area);
        }
    }
    if (Contains(area, pending_)) {
        pending_ = Rect{};
    }
}

void TDIBContainer::Paint(const Rect& update) {
    const Rect area = Intersect(update, Rect{0, 0, surface_.Width(), surface_.Height()});
    if (area.Empty()) {
        return;
    }
    Compose(area);
    if (site_ != nullptr && Visible()) {
        site_->Present(SurfaceBits{surface_.Bits(), surface_.Width(), surface_.Height()}, area,
                       Left() + area.left, Top() + area.top);
    }
}

Extent SurfaceExtentFor(int width, int height) {
    const int w = std::clamp(width, 0, kMaxPictureSide);
    int h = std::clamp(height, 0, kMaxPictureSide);
    if (w > 0 && int64_t{w} * h > kMaxPicturePixels) {
        h = static_cast<int>(kMaxPicturePixels / w);
    }
    return {w, h};
}

void TDIBContainer::BoundsChanged() {
    const Extent size = SurfaceExtentFor(Width(), Height());
    if (surface_.Width() != size.width || surface_.Height() != size.height) {
        surface_.SetSize(static_cast<uint16_t>(size.width), static_cast<uint16_t>(size.height));
        pending_ = Rect{};
        InvalidateRect(Rect{0, 0, Width(), Height()});
    }
}

namespace {

// The topmost (last) of the controls that takes the pointer at (x, y); null when none does.
template <class Controls> auto TopmostAt(const Controls& controls, int x, int y) {
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        if ((*it)->TakesPointerAt(x, y)) {
            return it->get();
        }
    }
    return static_cast<decltype(controls.front().get())>(nullptr);
}

} // namespace

TDIBControl* TDIBContainer::ControlAt(int x, int y) const {
    return TopmostAt(controls_, x, y);
}

TControl* TDIBContainer::PointerTarget(int x, int y) const {
    TFormControl* graphic = TopmostAt(graphics_, x, y);
    return graphic != nullptr ? static_cast<TControl*>(graphic) : ControlAt(x, y);
}

TControl* TDIBContainer::Hovered() const {
    return router_.Hovered();
}

void TDIBContainer::UpdateCursor() {
    if (site_ != nullptr) {
        const TControl* hovered = router_.Hovered();
        site_->SetPointerCursor(hovered != nullptr ? hovered->Cursor() : Cursor());
    }
}

void TDIBContainer::PointerMove(ShiftState shift, int x, int y) {
    router_.Move(shift, x, y);
    UpdateCursor();
}

void TDIBContainer::PointerDown(MouseButton button, ShiftState shift, int x, int y) {
    router_.Down(button, shift, x, y);
    UpdateCursor();
}

void TDIBContainer::PointerUp(MouseButton button, ShiftState shift, int x, int y) {
    router_.Up(button, shift, x, y);
    UpdateCursor();
}

void TDIBContainer::PointerLeave() {
    router_.Leave();
}

void TDIBContainer::MouseMove(ShiftState shift, int x, int y) {
    PointerMove(shift, x, y);
    TControl::MouseMove(shift, x, y);
}

void TDIBContainer::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
    PointerDown(button, shift, x, y);
    TControl::MouseDown(button, shift, x, y);
}

void TDIBContainer::MouseUp(MouseButton button, ShiftState shift, int x, int y) {
    PointerUp(button, shift, x, y);
    TControl::MouseUp(button, shift, x, y);
}

void TDIBContainer::MouseLeave() {
    PointerLeave();
    TControl::MouseLeave();
}

void TDIBContainer::SetDIBFocus(TDIBControl* control) {
    if (control == focus_) {
        return;
    }
    TDIBControl* old = focus_;
    focus_ = control;
    if (old != nullptr) {
        old->FocusChanged(false);
    }
    if (control != nullptr && focus_ == control) {
        control->FocusChanged(true);
    }
}

bool TDIBContainer::SelectNext(bool forward) {
    std::vector<TDIBControl*> cycle;
    for (const auto& control : controls_) {
        if (control->DIBTabOrder() >= 0 && control->Visible() && control->Enabled()) {
            cycle.push_back(control.get());
        }
    }
    if (cycle.empty()) {
        return false;
    }
    // Equal tab orders keep z-order, as the order in which the form created them.
    std::stable_sort(cycle.begin(), cycle.end(), [](const TDIBControl* a, const TDIBControl* b) {
        return a->DIBTabOrder() < b->DIBTabOrder();
    });
    auto at = std::find(cycle.begin(), cycle.end(), focus_);
    TDIBControl* next = nullptr;
    if (at == cycle.end()) {
        next = forward ? cycle.front() : cycle.back();
    } else if (forward) {
        next = std::next(at) == cycle.end() ? cycle.front() : *std::next(at);
    } else {
        next = at == cycle.begin() ? cycle.back() : *std::prev(at);
    }
    SetDIBFocus(next);
    return true;
}

void TDIBContainer::ControlGone(const TDIBControl& control) {
    router_.Forget(&control);
    if (focus_ == &control) {
        focus_ = nullptr;
    }
    if (!destroying_) {
        InvalidateRect(control.BoundsRect());
    }
}

} // namespace kavlo
