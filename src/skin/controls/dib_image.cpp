#include "skin/controls/dib_image.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kavlo {

void DrawImageClipped(const TAbstractSuperDIB& image, TAbstractSuperDIB& dest, int x, int y,
                      const Rect& clip) {
    const Rect area = Intersect(clip, Rect{0, 0, dest.Width(), dest.Height()});
    const Rect source = Intersect(Rect{area.left - x, area.top - y, area.right - x, area.bottom - y},
                                  Rect{0, 0, image.Width(), image.Height()});
    const auto clipped = ClipDraw(image.Width(), image.Height(), source, dest.Width(), dest.Height(),
                                  x + source.left, y + source.top);
    if (source.Empty() || !clipped) {
        return;
    }
    DrawClipped(RowRoutineFor(image.Routine()), DrawParams{image.Opacity(), image.TransparentKey()},
                image.View(), dest.View(), *clipped);
}

namespace {

// Where the pixels of one axis of the bounding box come from, for the box positions from..to - 1 only
// (a large scale makes a box far larger than what is visible): the source index of each position,
// -1 where it maps outside the image. The arithmetic is the general draw's inverse mapping with the
// turn left out (cos 1, sin 0): position + 0.5 - box / 2, divided by the scale, plus half the image.
std::vector<int> AxisMap(int box, int from, int to, int image, long double scale_percent) {
    const long double factor = scale_percent / 100;
    const long double half_box = box / 2.0L;
    std::vector<int> map;
    map.reserve(static_cast<size_t>(to - from));
    for (int b = from; b < to; ++b) {
        const long double at = (b + 0.5L - half_box) / factor + image / 2.0L;
        map.push_back(at >= 0 && at < image ? static_cast<int>(at) : -1);
    }
    return map;
}

} // namespace

void DrawUnturned(const TAbstractSuperDIB& image, TAbstractSuperDIB& dest, int x, int y, long double scale_x,
                  long double scale_y, const Rect& clip) {
    if (image.Empty() || scale_x == 0 || scale_y == 0) {
        return;
    }
    if (scale_x == 100 && scale_y == 100) {
        DrawImageClipped(image, dest, x, y, clip);
        return;
    }
    const Extent box = TransformedSize(image.Width(), image.Height(), 0, scale_x, scale_y);
    const Rect area =
        Intersect(Intersect(clip, Rect{0, 0, dest.Width(), dest.Height()}),
                  Rect{x, y, static_cast<int>(std::min<int64_t>(int64_t{x} + box.width, INT32_MAX)),
                       static_cast<int>(std::min<int64_t>(int64_t{y} + box.height, INT32_MAX))});
    if (area.Width() < 1 || area.Height() < 1) {
        return;
    }
    // Indexed by destination position minus the area's left (top) edge.
    const std::vector<int> columns =
        AxisMap(box.width, area.left - x, area.right - x, image.Width(), scale_x);
    const std::vector<int> rows = AxisMap(box.height, area.top - y, area.bottom - y, image.Height(), scale_y);
    // The columns that map into the image form one span, as the mapping only grows along the axis.
    int first = area.left;
    int last = area.right;
    while (first < last && columns[static_cast<size_t>(first - area.left)] < 0) {
        ++first;
    }
    while (last > first && columns[static_cast<size_t>(last - 1 - area.left)] < 0) {
        --last;
    }
    if (first >= last) {
        return;
    }
    const RowRoutine routine = RowRoutineFor(image.Routine());
    const DrawParams params{image.Opacity(), image.TransparentKey()};
    std::vector<uint32_t> line(static_cast<size_t>(last - first));
    for (int dy = area.top; dy < area.bottom; ++dy) {
        const int sy = rows[static_cast<size_t>(dy - area.top)];
        if (sy < 0) {
            continue;
        }
        const uint32_t* src_row = image.ScanLine(sy);
        for (int dx = first; dx < last; ++dx) {
            line[static_cast<size_t>(dx - first)] = src_row[columns[static_cast<size_t>(dx - area.left)]];
        }
        routine(line.data(), dest.ScanLine(dy) + first, last - first, params);
    }
}

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

// Sizes and routines come from the item, so that laying out and planning the composition leave an image
// packed until it is drawn.
long double TDIBImage::DrawScaleX() const {
    const TDIBImagesItem* item = index_main_.Item();
    if (stretch_ && item != nullptr && item->Width() != 0) {
        return Width() * 100 / item->Width();
    }
    return ScaleX();
}

long double TDIBImage::DrawScaleY() const {
    const TDIBImagesItem* item = index_main_.Item();
    if (stretch_ && item != nullptr && item->Height() != 0) {
        return Height() * 100 / item->Height();
    }
    return ScaleY();
}

Extent TDIBImage::DrawnSize() const {
    const TDIBImagesItem* item = index_main_.Item();
    if (item == nullptr) {
        return {};
    }
    return TransformedSize(item->Width(), item->Height(), Angle(), DrawScaleX(), DrawScaleY());
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
    const int x = origin_x + ImageOffsetX();
    const int y = origin_y + ImageOffsetY();
    if (Angle() == 0) {
        DrawUnturned(item->DIB(), work, x, y, DrawScaleX(), DrawScaleY(),
                     Rect{0, 0, work.Width(), work.Height()});
        return;
    }
    item->DrawAs(work, x, y, Angle(), DrawScaleX(), DrawScaleY());
}

Rect TDIBImage::OpaqueRect() const {
    const TDIBImagesItem* item = index_main_.Item();
    if (item == nullptr || Opacity() != 255 || Angle() != 0 || DrawScaleX() != 100 || DrawScaleY() != 100 ||
        item->Routine() != DrawRoutine::PlainCopy) {
        return {};
    }
    const int x = Left() + ImageOffsetX();
    const int y = Top() + ImageOffsetY();
    return Intersect(Rect{x, y, x + item->Width(), y + item->Height()}, BoundsRect());
}

bool TDIBImage::HasContent() const {
    const TDIBImagesItem* item = index_main_.Item();
    return item != nullptr && item->Width() != 0 && item->Height() != 0;
}

bool TDIBImage::DrawDirect(TWinDIB& surface, const Rect& part) {
    if (Angle() != 0) {
        return false;
    }
    const TMemoryDIB* image = index_main_.Image();
    if (image != nullptr) {
        DrawUnturned(*image, surface, Left() + ImageOffsetX(), Top() + ImageOffsetY(), DrawScaleX(),
                     DrawScaleY(), part);
    }
    return true;
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
    if (!auto_size_ || index_main_.Item() == nullptr) {
        // Without an image the control keeps its size.
        return;
    }
    const Extent size = DrawnSize();
    SetBounds(Left(), Top(), size.width, size.height);
}

} // namespace kavlo
