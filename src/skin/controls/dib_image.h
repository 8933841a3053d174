#pragma once

#include "skin/controls/dib_control.h"
#include "skin/controls/dib_image_list.h"
#include "skin/surface/dib_transform.h"

namespace kavlo {

// Draws `image` unturned at (x, y) of `dest` with its own routine, touching no pixel outside `clip`
// (destination coordinates). The image's own Angle and Scale are not applied.
void DrawImageClipped(const TAbstractSuperDIB& image, TAbstractSuperDIB& dest, int x, int y,
                      const Rect& clip);

// The transformed draw of an unturned image scaled by scale_x/scale_y percent, its bounding box at
// (x, y) of `dest`, limited to `clip`: the same pixels, sampled as the general turned draw samples
// them, at the cost of a lookup per pixel. Without a turn the source column depends on the
// destination column alone and the source row on the destination row alone, so both are worked out
// once per draw instead of once per pixel.
void DrawUnturned(const TAbstractSuperDIB& image, TAbstractSuperDIB& dest, int x, int y, long double scale_x,
                  long double scale_y, const Rect& clip);

// A DIB control that shows one image of an image list (IndexMain), turned and scaled by the control's
// own Angle and Scale, or stretched to the control's size.
class TDIBImage : public TDIBControl {
public:
    explicit TDIBImage(TDIBContainer& container);

    TDIBImageLink& IndexMain() { return index_main_; }
    const TDIBImageLink& IndexMain() const { return index_main_; }

    // The control takes the size of the image as drawn; clears Stretch.
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool auto_size);
    // The image is offset by half the room left around it; ignored with AutoSize.
    bool Center() const { return center_; }
    void SetCenter(bool center);
    // The image is scaled to the control's size in whole percents; clears AutoSize.
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);

    // The percentages the image is drawn with: the stretch ones or the control's Scale.
    long double DrawScaleX() const;
    long double DrawScaleY() const;
    // The bounding size of the linked image as drawn; 0 x 0 without an image.
    Extent DrawnSize() const;
    // Where the image's bounding box lies in the control.
    int ImageOffsetX() const;
    int ImageOffsetY() const;
    Rect OpaqueRect() const override;

protected:
    void DrawContent(TWinDIB& work, int origin_x, int origin_y) override;
    bool DrawDirect(TWinDIB& surface, const Rect& part) override;
    bool HasContent() const override;
    void ScaleSet() override;
    void AngleSet() override;
    void BoundsChanged() override;

private:
    void LinkChanged();
    void AdjustSize();

    TDIBImageLink index_main_;
    bool auto_size_ = false;
    bool center_ = false;
    bool stretch_ = false;
};

} // namespace kavlo
