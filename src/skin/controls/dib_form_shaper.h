#pragma once

#include <cstddef>

#include "skin/controls/component.h"
#include "skin/controls/dib_image_list.h"
#include "skin/controls/dib_site.h"
#include "skin/formats/picture.h"
#include "skin/surface/dib.h"
#include "skin/surface/dib_region.h"

namespace kavlo {

// A region is collected this many rectangles at a time (a 32-byte header and 400 x 16 bytes of
// rectangles), each full batch united into the result.
inline constexpr size_t kShapeRectsPerBatch = 400;

// The outline of a shape picture and how it was built.
struct ShapeRegion {
    TRegion region; // window coordinates
    TColor key = 0;
    size_t runs = 0;
    size_t batches = 0;
};

// The pixels of `source` whose colour differs from `key`, as row runs united 400 at a time.
ShapeRegion BuildShapeRegion(const TAbstractSuperDIB& source, TColor key);

// Cuts a window to the outline of a picture: every pixel of the key colour is cut away.
class TDIBFormShaper : public TComponent {
public:
    TDIBFormShaper();

    bool Active() const { return active_; }
    void SetActive(bool active);
    // The mask picture used when IndexShape points at no image.
    const TMemoryDIB& Bitmap() const { return bitmap_; }
    void SetBitmap(const TAbstractSuperDIB& bitmap);
    // The same from a decoded picture, whose pixels it takes over.
    void SetBitmap(Picture picture);
    TDIBImageLink& IndexShape() { return index_shape_; }
    TColor TransparentColor() const { return transparent_color_; }
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return transparent_mode_; }
    void SetTransparentMode(TTransparentMode mode);
    int OffsetX() const { return offset_x_; }
    int OffsetY() const { return offset_y_; }
    void SetOffset(int x, int y);
    bool ClientAreaOnly() const { return client_area_only_; }
    void SetClientAreaOnly(bool client_area_only);

    // The window shaped (ControlToShape, by default the owner form) and the widths of its border,
    // which the region's window coordinates include and the client area does not.
    void SetWindow(WindowSite* site, int border_x = 0, int border_y = 0);

    // The picture the outline comes from: the linked image, else Bitmap.
    const TAbstractSuperDIB& Source() const;
    TColor Key() const;
    // The outline in window coordinates, offsets applied.
    ShapeRegion Build() const;
    // What was last applied to the window, in client coordinates; empty when not shaped.
    const std::vector<Rect>& Applied() const { return applied_; }

protected:
    void Loaded() override { Apply(); }

private:
    void Apply();

    bool active_ = false;
    TMemoryDIB bitmap_;
    TDIBImageLink index_shape_;
    TColor transparent_color_ = 0xFFFFFF;
    TTransparentMode transparent_mode_ = TTransparentMode::tmAuto;
    int offset_x_ = 0;
    int offset_y_ = 0;
    bool client_area_only_ = false;
    WindowSite* site_ = nullptr;
    int border_x_ = 0;
    int border_y_ = 0;
    std::vector<Rect> applied_;
};

} // namespace kavlo
