#pragma once

#include <functional>

#include "skin/controls/component.h"
#include "ui/events.h"

namespace kavlo {

// Hands the pointer of one client area to the controls in it: enter and leave as the pointer crosses
// them, the pressed control keeps the pointer until release (as a captured window does), and a press
// and left release over the same control make a click. Positions come in the area's coordinates and go
// to the controls in their own.
class PointerRouter {
public:
    // The topmost control that takes the pointer at a point, or null.
    using HitTest = std::function<TControl*(int x, int y)>;

    explicit PointerRouter(HitTest hit_test) : hit_test_(std::move(hit_test)) {}

    void Move(ShiftState shift, int x, int y);
    void Down(MouseButton button, ShiftState shift, int x, int y);
    void Up(MouseButton button, ShiftState shift, int x, int y);
    // The pointer left the area altogether.
    void Leave();
    // A control that goes away must not be called again.
    void Forget(const TControl* control);

    TControl* Hovered() const { return hovered_; }
    TControl* Captured() const { return captured_; }

private:
    TControl* Hover(int x, int y);

    HitTest hit_test_;
    TControl* hovered_ = nullptr;
    TControl* captured_ = nullptr;
};

} // namespace kavlo
