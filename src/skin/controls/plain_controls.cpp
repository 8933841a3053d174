#include "skin/controls/plain_controls.h"

#include <algorithm>

#include "skin/controls/dib_image.h"

namespace kavlo {

namespace {

void PutLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFu));
    }
}

uint32_t GetLe(std::string_view data, size_t offset, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<uint8_t>(data[offset + static_cast<size_t>(i)]);
    }
    return value;
}

constexpr size_t kImageListHeaderSize = 28;
constexpr int kImagesPerRow = 4;

} // namespace

void TImage::SetPicture(kavlo::Picture picture) {
    AssignPicture(picture_, std::move(picture));
    // Delphi's TBitmap keys on its bottom-left pixel.
    picture_.SetTransparentMode(TTransparentMode::tmAuto);
    AdjustSize();
    Invalidate();
}

void TImage::SetAutoSize(bool auto_size) {
    auto_size_ = auto_size;
    AdjustSize();
}

void TImage::SetCenter(bool center) {
    if (center != center_) {
        center_ = center;
        Invalidate();
    }
}

void TImage::SetStretch(bool stretch) {
    if (stretch != stretch_) {
        stretch_ = stretch;
        Invalidate();
    }
}

void TImage::SetTransparent(bool transparent) {
    if (transparent != picture_.Transparent()) {
        picture_.SetTransparent(transparent);
        Invalidate();
    }
}

void TImage::AdjustSize() {
    if (auto_size_ && !picture_.Empty()) {
        SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
    }
}

void TImage::DrawPicture(TAbstractSuperDIB& dest, int x, int y, const Rect& clip) const {
    if (picture_.Empty()) {
        return;
    }
    if (stretch_) {
        DrawUnturned(picture_, dest, x, y, Width() * 100.0L / picture_.Width(),
                     Height() * 100.0L / picture_.Height(), clip);
        return;
    }
    const int dx = center_ ? (Width() - picture_.Width()) / 2 : 0;
    const int dy = center_ ? (Height() - picture_.Height()) / 2 : 0;
    DrawImageClipped(picture_, dest, x + dx, y + dy, clip);
}

Rect TImage::OpaqueRect() const {
    if (picture_.Empty() || stretch_ || picture_.Routine() != DrawRoutine::PlainCopy) {
        return {};
    }
    const int x = Left() + (center_ ? (Width() - picture_.Width()) / 2 : 0);
    const int y = Top() + (center_ ? (Height() - picture_.Height()) / 2 : 0);
    return Intersect(Rect{x, y, x + picture_.Width(), y + picture_.Height()}, BoundsRect());
}

void TImage::DrawPart(TWinDIB& surface, const Rect& part) {
    DrawPicture(surface, Left(), Top(), part);
}

void TLabel::TextChanged(TextChange change) {
    if (change == TextChange::Extent) {
        AdjustSize();
    }
    Invalidate();
}

TColor TLabel::ParentsColor() const {
    return Parent() != nullptr ? Parent()->Color() : TColor{0x8000000F}; // clBtnFace
}

void TLabel::AdjustSize() {
    if (!AutoSize()) {
        return;
    }
    const Extent size = MeasureText(fonts_, Width());
    const int left = Alignment() == TAlignment::taRightJustify ? Left() + Width() - size.width : Left();
    SetBounds(left, Top(), size.width, size.height);
}

void TLabel::DrawPart(TWinDIB& surface, const Rect& part) {
    const Rect box = BoundsRect();
    const Rect shown = ShownPart(box, surface.Width(), surface.Height());
    if (Enabled()) {
        DrawLabel(surface, fonts_, box, part, shown, FontColor(), std::nullopt);
    } else {
        // Windows' disabled text: a highlight copy one pixel down and right, then the shadow colour.
        DrawLabel(surface, fonts_, box, part, shown, 0x80000010, TColor{0x80000014});
    }
}

void TImageList::SetSize(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
}

const TMemoryDIB* TImageList::Image(int index) const {
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    return &images_[static_cast<size_t>(index)];
}

void TImageList::Add(const TAbstractSuperDIB& image) {
    images_.emplace_back();
    images_.back().Assign(image);
}

std::string TImageList::ReadData(std::string_view data, PixelBudget* budget) {
    int width = width_;
    int height = height_;
    int count = -1; // unknown: as many as the bitmap holds
    std::string_view bitmap = data;
    if (data.size() >= 2 && data.substr(0, 2) == "IL") {
        if (data.size() < kImageListHeaderSize) {
            return "image list data is shorter than its header";
        }
        count = static_cast<int>(GetLe(data, 4, 2));
        width = static_cast<int>(GetLe(data, 10, 2));
        height = static_cast<int>(GetLe(data, 12, 2));
        bitmap = data.substr(kImageListHeaderSize);
        // A mask bitmap may follow the images; the file header says where the first one ends.
        if (bitmap.size() >= 6 && bitmap.substr(0, 2) == "BM") {
            bitmap = bitmap.substr(0, std::min<size_t>(bitmap.size(), GetLe(bitmap, 2, 4)));
        }
    }
    if (width <= 0 || height <= 0) {
        return "image list has no image size";
    }
    PictureResult loaded = LoadPicture(bitmap, budget);
    if (!loaded) {
        return "image list bitmap: " + loaded.error;
    }
    const kavlo::Picture& picture = *loaded.picture;
    const int columns = picture.width / width;
    const int rows = picture.height / height;
    if (count < 0) {
        count = columns * rows;
    }
    if (columns == 0 || count > columns * rows) {
        return "image list bitmap is too small for its images";
    }
    TMemoryDIB sheet;
    AssignPicture(sheet, picture);
    std::vector<TMemoryDIB> images(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        TMemoryDIB& image = images[static_cast<size_t>(i)];
        image.SetSize(static_cast<uint16_t>(width), static_cast<uint16_t>(height));
        const int x = (i % columns) * width;
        const int y = (i / columns) * height;
        sheet.Draw(image, 0, 0, Rect{x, y, x + width, y + height});
    }
    width_ = width;
    height_ = height;
    images_ = std::move(images);
    return {};
}

std::string EncodeBmpFile(const TAbstractSuperDIB& dib) {
    const int width = dib.Width();
    const int height = dib.Height();
    const uint32_t stride = static_cast<uint32_t>((width * 3 + 3) & ~3);
    const uint32_t image_size = stride * static_cast<uint32_t>(height);
    std::string out;
    out += "BM";
    PutLe(out, 54 + image_size, 4);
    PutLe(out, 0, 4);
    PutLe(out, 54, 4);
    PutLe(out, 40, 4);
    PutLe(out, static_cast<uint32_t>(width), 4);
    PutLe(out, static_cast<uint32_t>(height), 4); // positive: bottom-up, as the surface stores it
    PutLe(out, 1, 2);
    PutLe(out, 24, 2);
    PutLe(out, 0, 4);
    PutLe(out, image_size, 4);
    PutLe(out, 2835, 4);
    PutLe(out, 2835, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    for (int stored = 0; stored < height; ++stored) {
        const uint32_t* row = dib.Bits() + static_cast<size_t>(stored) * width;
        for (int x = 0; x < width; ++x) {
            PutLe(out, row[x] & 0x00FFFFFFu, 3);
        }
        out.append(stride - static_cast<uint32_t>(width * 3), '\0');
    }
    return out;
}

std::string WriteImageListData(const std::vector<const TAbstractSuperDIB*>& images, int width, int height) {
    const int count = static_cast<int>(images.size());
    const int rows = std::max(1, (count + kImagesPerRow - 1) / kImagesPerRow);
    TMemoryDIB sheet(static_cast<uint16_t>(width * kImagesPerRow), static_cast<uint16_t>(height * rows));
    for (int i = 0; i < count; ++i) {
        TMemoryDIB copy;
        copy.Assign(*images[static_cast<size_t>(i)]);
        copy.SetOpacity(255);
        copy.SetMasked(false);
        copy.SetTransparent(false);
        copy.SetAngle(0);
        copy.SetScale(100);
        copy.Draw(sheet, (i % kImagesPerRow) * width, (i / kImagesPerRow) * height);
    }
    std::string out = "IL";
    PutLe(out, 0x101, 2);                                       // version
    PutLe(out, static_cast<uint32_t>(count), 2);                // images in use
    PutLe(out, static_cast<uint32_t>(rows * kImagesPerRow), 2); // room
    PutLe(out, kImagesPerRow, 2);                               // growth
    PutLe(out, static_cast<uint32_t>(width), 2);
    PutLe(out, static_cast<uint32_t>(height), 2);
    PutLe(out, 0xFFFFFFFFu, 4); // no background colour
    PutLe(out, 0x0018, 2);      // 24-bit colour, no mask
    for (int i = 0; i < 4; ++i) {
        PutLe(out, 0xFFFFu, 2); // no overlay images
    }
    return out + EncodeBmpFile(sheet);
}

PictureResult ReadGraphicData(std::string_view data, PixelBudget* budget) {
    if (data.size() < 4) {
        return PictureResult::Fail("graphic data is shorter than its size field");
    }
    const uint32_t size = GetLe(data, 0, 4);
    if (size > data.size() - 4) {
        return PictureResult::Fail("graphic data is shorter than its size field says");
    }
    return LoadPicture(data.substr(4, size), budget);
}

PictureResult ReadPictureData(std::string_view data, PixelBudget* budget) {
    if (data.empty() || data.size() < 1u + static_cast<uint8_t>(data[0])) {
        return PictureResult::Fail("picture data has no graphic class");
    }
    const size_t name_size = static_cast<uint8_t>(data[0]);
    const std::string_view class_name = data.substr(1, name_size);
    if (class_name != "TBitmap" && class_name != "TJPEGImage") {
        return PictureResult::Fail("unknown graphic class " + std::string(class_name));
    }
    return ReadGraphicData(data.substr(1 + name_size), budget);
}

std::string WriteGraphicData(const TAbstractSuperDIB& dib) {
    std::string bmp = EncodeBmpFile(dib);
    std::string out;
    PutLe(out, static_cast<uint32_t>(bmp.size()), 4);
    return out + bmp;
}

std::string WritePictureData(const TAbstractSuperDIB& dib) {
    return std::string("\x07TBitmap") + WriteGraphicData(dib);
}

} // namespace kavlo
