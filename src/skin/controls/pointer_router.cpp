#include "skin/controls/pointer_router.h"

namespace kavlo {

TControl* PointerRouter::Hover(int x, int y) {
    TControl* under = hit_test_(x, y);
    if (under != hovered_) {
        TControl* left = hovered_;
        hovered_ = under;
        if (left != nullptr) {
            left->MouseLeave();
        }
        if (under != nullptr && hovered_ == under) {
            under->MouseEnter();
        }
    }
    return hovered_;
}

void PointerRouter::Move(ShiftState shift, int x, int y) {
    TControl* under = Hover(x, y);
    TControl* target = captured_ != nullptr ? captured_ : under;
    if (target != nullptr) {
        target->MouseMove(shift, x - target->Left(), y - target->Top());
    }
}

void PointerRouter::Down(MouseButton button, ShiftState shift, int x, int y) {
    TControl* target = Hover(x, y);
    if (target == nullptr) {
        return;
    }
    captured_ = target;
    target->MouseDown(button, shift, x - target->Left(), y - target->Top());
}

void PointerRouter::Up(MouseButton button, ShiftState shift, int x, int y) {
    TControl* under = Hover(x, y);
    TControl* target = captured_ != nullptr ? captured_ : under;
    captured_ = nullptr;
    if (target == nullptr) {
        return;
    }
    target->MouseUp(button, shift, x - target->Left(), y - target->Top());
    // The release handler may have hidden or moved the control: the click needs it still under the
    // pointer, as a button clicks only when released over itself.
    if (button == MouseButton::Left && hit_test_(x, y) == target) {
        target->Click();
    }
}

void PointerRouter::Leave() {
    if (hovered_ != nullptr) {
        TControl* left = hovered_;
        hovered_ = nullptr;
        left->MouseLeave();
    }
}

void PointerRouter::Forget(const TControl* control) {
    if (hovered_ == control) {
        hovered_ = nullptr;
    }
    if (captured_ == control) {
        captured_ = nullptr;
    }
}

} // namespace kavlo
