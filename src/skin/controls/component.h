#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "skin/formats/form_stream.h"
#include "skin/surface/skin_types.h"
#include "ui/events.h"

namespace kavlo {

// Delphi's TCursor numbers, as forms store them.
using TCursor = int16_t;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crHandPoint = -21;

// System colours ($80000000 | COLOR_ index) as the classic Windows scheme paints them; other colours
// lose their palette byte.
TColor ColorToRGB(TColor color);

// Anything a form stream creates: a name, the class the stream named, a tag, and the stored properties
// the component does not take itself (event handler names among them), kept for whoever builds the
// window on top.
class TComponent {
public:
    TComponent() = default;
    virtual ~TComponent() = default;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    const std::string& ClassName() const { return class_name_; }
    void SetClassName(std::string class_name) { class_name_ = std::move(class_name); }
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    FormProperties& Kept() { return kept_; }
    const FormProperties& Kept() const { return kept_; }
    // The handler the form wires to an event ("OnClick" -> "DIBSection1Click"); empty when none.
    std::string HandlerName(std::string_view event) const { return FormIdentName(kept_, event, ""); }

    // True while a form stream is being read into the component: effects wait for Loaded.
    bool Loading() const { return loading_; }
    void BeginLoading() { loading_ = true; }
    // Called once every component of the form exists and its references are resolved.
    void EndLoading() {
        loading_ = false;
        Loaded();
    }

protected:
    virtual void Loaded() {}

private:
    bool loading_ = false;
    std::string name_;
    std::string class_name_;
    int tag_ = 0;
    FormProperties kept_;
};

class TControl;

// Whatever holds controls and repaints them: the form for its own controls, a DIB container for its
// DIB controls. Rectangles are in the holder's client coordinates.
class ControlParent {
public:
    virtual void InvalidateRect(const Rect& rect) = 0;
    // What a child with ParentColor takes as its own colour.
    virtual TColor Color() const = 0;

protected:
    ~ControlParent() = default;
};

// The mouse events of a control, with Delphi's arguments. Positions are the control's own coordinates.
struct MouseHandlers {
    std::function<void(TControl& sender)> OnClick;
    std::function<void(TControl& sender)> OnMouseEnter;
    std::function<void(TControl& sender)> OnMouseLeave;
    std::function<void(TControl& sender, MouseButton button, ShiftState shift, int x, int y)> OnMouseDown;
    std::function<void(TControl& sender, MouseButton button, ShiftState shift, int x, int y)> OnMouseUp;
    std::function<void(TControl& sender, ShiftState shift, int x, int y)> OnMouseMove;
};

// A visible component: position and size in its parent's client area, visibility, cursor and mouse
// events. Every change a user would see asks the parent to repaint the places concerned.
class TControl : public TComponent {
public:
    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.Width(); }
    int Height() const { return bounds_.Height(); }
    const Rect& BoundsRect() const { return bounds_; }
    // Negative sizes become 0, as Windows keeps them.
    virtual void SetBounds(int left, int top, int width, int height);
    void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
    void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
    void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
    void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor) { cursor_ = cursor; }

    // Visible, enabled and with (x, y) (its parent's coordinates) inside it: where the pointer finds it.
    bool TakesPointerAt(int x, int y) const {
        return visible_ && enabled_ && x >= bounds_.left && x < bounds_.right && y >= bounds_.top &&
               y < bounds_.bottom;
    }

    ControlParent* Parent() const { return parent_; }
    void SetParent(ControlParent* parent) { parent_ = parent; }
    // Asks the parent to repaint the control's rectangle, if it shows.
    void Invalidate();

    MouseHandlers handlers;

    // What a pointer router calls; the default ones run the handlers.
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void MouseDown(MouseButton button, ShiftState shift, int x, int y);
    virtual void MouseUp(MouseButton button, ShiftState shift, int x, int y);
    virtual void MouseMove(ShiftState shift, int x, int y);
    virtual void Click();

protected:
    // After every change of bounds; the old rectangle has already been repainted.
    virtual void BoundsChanged() {}
    virtual void EnabledChanged() { Invalidate(); }

private:
    Rect bounds_;
    bool visible_ = true;
    bool enabled_ = true;
    TCursor cursor_ = crDefault;
    ControlParent* parent_ = nullptr;
};

} // namespace kavlo
