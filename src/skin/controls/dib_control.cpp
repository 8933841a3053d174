#include "skin/controls/dib_control.h"

#include <algorithm>

#include "skin/controls/dib_container.h"

namespace kavlo {

TDIBControl::TDIBControl(TDIBContainer& container) : container_(container) {
    SetParent(&container);
}

TDIBControl::~TDIBControl() {
    container_.ControlGone(*this);
}

void TDIBControl::SetOpacity(uint8_t opacity) {
    if (opacity == opacity_) {
        return;
    }
    opacity_ = opacity;
    Invalidate();
}

void TDIBControl::SetAngle(int16_t degrees) {
    if (degrees == angle_) {
        return;
    }
    angle_ = degrees;
    AngleSet();
}

void TDIBControl::SetScale(long double percent) {
    scale_x_ = percent;
    scale_y_ = percent;
    ScaleSet();
}

void TDIBControl::SetScaleX(long double percent) {
    scale_x_ = percent;
    ScaleSet();
}

void TDIBControl::SetScaleY(long double percent) {
    scale_y_ = percent;
    ScaleSet();
}

bool TDIBControl::Focused() const {
    return container_.DIBFocus() == this;
}

namespace {

// Plain row copies: the container's pixels go to the work surface as they are, alpha included.
void CopyPixels(const TAbstractSuperDIB& src, const Rect& src_rect, TAbstractSuperDIB& dst) {
    for (int y = 0; y < src_rect.Height(); ++y) {
        const uint32_t* from = src.ScanLine(src_rect.top + y) + src_rect.left;
        std::copy(from, from + src_rect.Width(), dst.ScanLine(y));
    }
}

} // namespace

void TDIBControl::Compose(TWinDIB& surface, const Rect& update) {
    const Rect part =
        Intersect(Intersect(BoundsRect(), update), Rect{0, 0, surface.Width(), surface.Height()});
    if (part.Empty() || (opacity_ == 255 && DrawDirect(surface, part))) {
        return;
    }
    if (!HasContent()) {
        // The work surface would hold the very pixels it is blended onto: blend them in place.
        if (opacity_ != 255) {
            for (int y = part.top; y < part.bottom; ++y) {
                BlendOntoItself(surface.ScanLine(y) + part.left, part.Width());
            }
        }
        return;
    }
    if (work_.Width() != part.Width() || work_.Height() != part.Height()) {
        work_.SetSize(static_cast<uint16_t>(part.Width()), static_cast<uint16_t>(part.Height()));
    }
    CopyPixels(surface, part, work_);
    DrawContent(work_, Left() - part.left, Top() - part.top);
    work_.SetOpacity(opacity_);
    static_cast<const TAbstractSuperDIB&>(work_).Draw(surface, part.left, part.top);
}

} // namespace kavlo
