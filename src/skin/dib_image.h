#pragma once

#include "skin/dib_control.h"
#include "skin/dib_image_list.h"
#include "skin/dib_transform.h"

namespace kavlo {

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

protected:
    void DrawContent(TWinDIB& work, int origin_x, int origin_y) override;
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
