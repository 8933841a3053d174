#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/controls/animate.h"
#include "skin/controls/component.h"
#include "skin/controls/dib_site.h"
#include "skin/controls/form_control.h"
#include "skin/formats/picture.h"
#include "skin/surface/dib.h"
#include "skin/surface/win_dib.h"
#include "skin/text/label_text.h"
#include "skin/text/text.h"

namespace kavlo {

// A picture on the form (Delphi's TImage): a bitmap or JPEG drawn at its natural size, centred or
// stretched; Transparent leaves out the colour of its bottom-left pixel.
class TImage : public TFormControl {
public:
    const TMemoryDIB& Picture() const { return picture_; }
    void SetPicture(kavlo::Picture picture);
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool auto_size);
    bool Center() const { return center_; }
    void SetCenter(bool center);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    bool Transparent() const { return picture_.Transparent(); }
    void SetTransparent(bool transparent);
    Rect OpaqueRect() const override;

protected:
    void DrawPart(TWinDIB& surface, const Rect& part) override;

private:
    void AdjustSize();
    void DrawPicture(TAbstractSuperDIB& dest, int x, int y, const Rect& clip) const;

    TMemoryDIB picture_;
    bool auto_size_ = false;
    bool center_ = false;
    bool stretch_ = false;
};

// A text label on the form (Delphi's TLabel).
class TLabel : public TFormControl, public LabelText {
public:
    explicit TLabel(FontResolver& fonts) : LabelText(true), fonts_(fonts) {}

protected:
    void DrawPart(TWinDIB& surface, const Rect& part) override;
    void TextChanged(TextChange change) override;
    TColor ParentsColor() const override;

private:
    void AdjustSize();

    FontResolver& fonts_;
};

// A timer component of the form: TTimer or TDIBTimer.
class TimerComponent : public TComponent {
public:
    TimerComponent(Application& app, TimerHandle::Kind kind) : timer_(app, kind) {}
    TimerHandle& Timer() { return timer_; }
    const TimerHandle& Timer() const { return timer_; }

private:
    TimerHandle timer_;
};

// A platform image list (Delphi's TImageList): images of one size, addressed by index.
class TImageList : public TComponent {
public:
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetSize(int width, int height);
    // Masked lists carry a mask bitmap after the images; the images themselves are read either way.
    bool Masked() const { return masked_; }
    void SetMasked(bool masked) { masked_ = masked; }
    int Count() const { return static_cast<int>(images_.size()); }
    // Null outside the list.
    const TMemoryDIB* Image(int index) const;
    void Add(const TAbstractSuperDIB& image);
    void Clear() { images_.clear(); }

    // The stored "Bitmap" data: an image-list stream ("IL" header, then the images as one bitmap file,
    // 4 to a row) or a bare bitmap file holding the images in a row. Empty on success, else the reason;
    // the list is unchanged on failure. The bitmap's pixels are taken from `budget`, when given.
    std::string ReadData(std::string_view data, PixelBudget* budget = nullptr);

private:
    int width_ = 16;
    int height_ = 16;
    bool masked_ = true;
    std::vector<TMemoryDIB> images_;
};

// The image-list stream of `images` (all width x height): the header, then one 24-bit bitmap file with
// the images 4 to a row.
std::string WriteImageListData(const std::vector<const TAbstractSuperDIB*>& images, int width, int height);

// Graphic data as forms store it. "Picture.Data": the graphic class name as a short string, then the
// graphic's own data; "Bitmap.Data" (and the graphic's data): a 32-bit size, then the file's bytes.
// The pixels are taken from `budget`, when given.
PictureResult ReadPictureData(std::string_view data, PixelBudget* budget = nullptr);
PictureResult ReadGraphicData(std::string_view data, PixelBudget* budget = nullptr);
// The 24-bit bitmap file of a surface, as the writers above store it.
std::string EncodeBmpFile(const TAbstractSuperDIB& dib);
std::string WritePictureData(const TAbstractSuperDIB& dib); // as a TBitmap
std::string WriteGraphicData(const TAbstractSuperDIB& dib);

} // namespace kavlo
