#include "skin/controls/dib_form_shaper.h"

#include <algorithm>
#include <span>

namespace kavlo {

ShapeRegion BuildShapeRegion(const TAbstractSuperDIB& source, TColor key) {
    ShapeRegion shape;
    shape.key = key & 0x00FFFFFFu;
    const std::vector<Rect> runs = source.OpaqueRuns(PixelFromColor(shape.key));
    shape.runs = runs.size();
    const std::span<const Rect> all(runs);
    for (size_t first = 0; first < runs.size(); first += kShapeRectsPerBatch) {
        const size_t count = std::min(kShapeRectsPerBatch, runs.size() - first);
        shape.region.Unite(TRegion::FromRects(all.subspan(first, count)));
        ++shape.batches;
    }
    return shape;
}

TDIBFormShaper::TDIBFormShaper() : index_shape_([this] { Apply(); }) {}

void TDIBFormShaper::SetActive(bool active) {
    if (active == active_) {
        return;
    }
    active_ = active;
    Apply();
}

void TDIBFormShaper::SetBitmap(const TAbstractSuperDIB& bitmap) {
    bitmap_.Assign(bitmap);
    Apply();
}

void TDIBFormShaper::SetBitmap(Picture picture) {
    AssignPicture(bitmap_, std::move(picture));
    Apply();
}

void TDIBFormShaper::SetTransparentColor(TColor color) {
    color &= 0x00FFFFFFu;
    if (color == transparent_color_) {
        return;
    }
    transparent_color_ = color;
    Apply();
}

void TDIBFormShaper::SetTransparentMode(TTransparentMode mode) {
    if (mode == transparent_mode_) {
        return;
    }
    transparent_mode_ = mode;
    Apply();
}

void TDIBFormShaper::SetOffset(int x, int y) {
    if (x == offset_x_ && y == offset_y_) {
        return;
    }
    offset_x_ = x;
    offset_y_ = y;
    Apply();
}

void TDIBFormShaper::SetClientAreaOnly(bool client_area_only) {
    if (client_area_only == client_area_only_) {
        return;
    }
    client_area_only_ = client_area_only;
    Apply();
}

void TDIBFormShaper::SetWindow(WindowSite* site, int border_x, int border_y) {
    if (site_ != nullptr && site != site_ && !applied_.empty()) {
        site_->SetShape({});
        applied_.clear();
    }
    site_ = site;
    border_x_ = border_x;
    border_y_ = border_y;
    Apply();
}

const TAbstractSuperDIB& TDIBFormShaper::Source() const {
    if (const TMemoryDIB* image = index_shape_.Image()) {
        return *image;
    }
    return bitmap_;
}

TColor TDIBFormShaper::Key() const {
    const TAbstractSuperDIB& source = Source();
    if (transparent_mode_ == TTransparentMode::tmAuto && !source.Empty()) {
        // The first stored pixel is the bottom-left one.
        return ColorFromPixel(source.Bits()[0] & 0x00FFFFFFu);
    }
    const TMemoryDIB* image = index_shape_.Image();
    if (image != nullptr && image->Transparent()) {
        return image->TransparentColor();
    }
    return transparent_color_;
}

ShapeRegion TDIBFormShaper::Build() const {
    ShapeRegion shape = BuildShapeRegion(Source(), Key());
    const bool bordered = border_x_ != 0 || border_y_ != 0;
    const int dx = offset_x_ + (client_area_only_ && bordered ? border_x_ : 0);
    const int dy = offset_y_ + (client_area_only_ && bordered ? border_y_ : 0);
    shape.region.Offset(dx, dy);
    return shape;
}

void TDIBFormShaper::Apply() {
    if (Loading() || site_ == nullptr) {
        return;
    }
    std::vector<Rect> rects;
    if (active_ && !Source().Empty()) {
        ShapeRegion shape = Build();
        // The window takes client coordinates; the region counts from the window's outer corner.
        shape.region.Offset(-border_x_, -border_y_);
        rects = shape.region.Rects();
    }
    if (rects.empty() && applied_.empty()) {
        return;
    }
    applied_ = rects;
    site_->SetShape(applied_);
}

} // namespace kavlo
