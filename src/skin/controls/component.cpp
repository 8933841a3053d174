#include "skin/controls/component.h"

#include <algorithm>
#include <array>

namespace kavlo {

namespace {

// The classic Windows scheme, as GetSysColor reports it there, in TColor order ($00BBGGRR).
constexpr std::array<TColor, 25> kSystemColors = {
    0xC8D0D4, // COLOR_SCROLLBAR
    0xA56E3A, // COLOR_BACKGROUND
    0x6A240A, // COLOR_ACTIVECAPTION
    0x808080, // COLOR_INACTIVECAPTION
    0xC8D0D4, // COLOR_MENU
    0xFFFFFF, // COLOR_WINDOW
    0x000000, // COLOR_WINDOWFRAME
    0x000000, // COLOR_MENUTEXT
    0x000000, // COLOR_WINDOWTEXT
    0xFFFFFF, // COLOR_CAPTIONTEXT
    0xC8D0D4, // COLOR_ACTIVEBORDER
    0xC8D0D4, // COLOR_INACTIVEBORDER
    0x808080, // COLOR_APPWORKSPACE
    0x6A240A, // COLOR_HIGHLIGHT
    0xFFFFFF, // COLOR_HIGHLIGHTTEXT
    0xC8D0D4, // COLOR_BTNFACE
    0x808080, // COLOR_BTNSHADOW
    0x808080, // COLOR_GRAYTEXT
    0x000000, // COLOR_BTNTEXT
    0xC8D0D4, // COLOR_INACTIVECAPTIONTEXT
    0xFFFFFF, // COLOR_BTNHIGHLIGHT
    0x404040, // COLOR_3DDKSHADOW
    0xC8D0D4, // COLOR_3DLIGHT
    0x000000, // COLOR_INFOTEXT
    0xE1FFFF, // COLOR_INFOBK
};

} // namespace

TColor ColorToRGB(TColor color) {
    if ((color & 0x80000000u) != 0) {
        const uint32_t index = color & 0xFFu;
        return index < kSystemColors.size() ? kSystemColors[index] : 0;
    }
    return color & 0x00FFFFFFu;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    const Rect bounds{left, top, left + std::max(width, 0), top + std::max(height, 0)};
    if (bounds == bounds_) {
        return;
    }
    Invalidate();
    bounds_ = bounds;
    BoundsChanged();
    Invalidate();
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) {
        return;
    }
    if (!visible) {
        Invalidate();
    }
    visible_ = visible;
    Invalidate();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    EnabledChanged();
}

void TControl::Invalidate() {
    if (visible_ && parent_ != nullptr && !bounds_.Empty()) {
        parent_->InvalidateRect(bounds_);
    }
}

void TControl::MouseEnter() {
    if (handlers.OnMouseEnter) {
        handlers.OnMouseEnter(*this);
    }
}

void TControl::MouseLeave() {
    if (handlers.OnMouseLeave) {
        handlers.OnMouseLeave(*this);
    }
}

void TControl::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
    if (handlers.OnMouseDown) {
        handlers.OnMouseDown(*this, button, shift, x, y);
    }
}

void TControl::MouseUp(MouseButton button, ShiftState shift, int x, int y) {
    if (handlers.OnMouseUp) {
        handlers.OnMouseUp(*this, button, shift, x, y);
    }
}

void TControl::MouseMove(ShiftState shift, int x, int y) {
    if (handlers.OnMouseMove) {
        handlers.OnMouseMove(*this, shift, x, y);
    }
}

void TControl::Click() {
    if (handlers.OnClick) {
        handlers.OnClick(*this);
    }
}

} // namespace kavlo
