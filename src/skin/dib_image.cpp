#include "skin/dib_image.h"

namespace kavlo {

TDIBImage::TDIBImage(TDIBContainer& container)
    : TDIBControl(container), index_main_([this] { LinkChanged(); }) {}

void TDIBImage::SetAutoSize(bool auto_size) {
    if (auto_size == auto_size_) {
        return;
    }
    auto_size_ = auto_size;
    if (auto_size_) {
        stretch_ = false;
        AdjustSize();
    }
    Invalidate();
}

void TDIBImage::SetCenter(bool center) {
    if (center == center_) {
        return;
    }
    center_ = center;
    Invalidate();
}

void TDIBImage::SetStretch(bool stretch) {
    if (stretch == stretch_) {
        return;
    }
    stretch_ = stretch;
    if (stretch_) {
        auto_size_ = false;
    }
    Invalidate();
}

long double TDIBImage::DrawScaleX() const {
    const TMemoryDIB* image = index_main_.Image();
    if (stretch_ && image != nullptr && image->Width() != 0) {
        return Width() * 100 / image->Width();
    }
    return ScaleX();
}

long double TDIBImage::DrawScaleY() const {
    const TMemoryDIB* image = index_main_.Image();
    if (stretch_ && image != nullptr && image->Height() != 0) {
        return Height() * 100 / image->Height();
    }
    return ScaleY();
}

Extent TDIBImage::DrawnSize() const {
    const TMemoryDIB* image = index_main_.Image();
    if (image == nullptr) {
        return {};
    }
    return TransformedSize(image->Width(), image->Height(), Angle(), DrawScaleX(), DrawScaleY());
}

int TDIBImage::ImageOffsetX() const {
    // Integer division truncates toward zero, which is how the halves of an odd room are dropped.
    return center_ && !auto_size_ ? (Width() - DrawnSize().width) / 2 : 0;
}

int TDIBImage::ImageOffsetY() const {
    return center_ && !auto_size_ ? (Height() - DrawnSize().height) / 2 : 0;
}

void TDIBImage::DrawContent(TWinDIB& work, int origin_x, int origin_y) {
    TDIBImagesItem* item = index_main_.Item();
    if (item == nullptr || item->DIB().Empty()) {
        return;
    }
    item->DrawAs(work, origin_x + ImageOffsetX(), origin_y + ImageOffsetY(), Angle(), DrawScaleX(),
                 DrawScaleY());
}

void TDIBImage::ScaleSet() {
    stretch_ = false;
    AdjustSize();
    Invalidate();
}

void TDIBImage::AngleSet() {
    AdjustSize();
    Invalidate();
}

void TDIBImage::BoundsChanged() {
    AdjustSize();
}

void TDIBImage::LinkChanged() {
    AdjustSize();
    Invalidate();
}

void TDIBImage::AdjustSize() {
    if (!auto_size_ || index_main_.Image() == nullptr) {
        // Without an image the control keeps its size.
        return;
    }
    const Extent size = DrawnSize();
    SetBounds(Left(), Top(), size.width, size.height);
}

} // namespace kavlo
