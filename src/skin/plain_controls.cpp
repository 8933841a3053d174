#include "skin/plain_controls.h"

#include <algorithm>

#include "skin/dib_image.h"

namespace kavlo {

namespace {

void CopyPixels(const TAbstractSuperDIB& src, const Rect& src_rect, TAbstractSuperDIB& dst) {
    for (int y = 0; y < src_rect.Height(); ++y) {
        const uint32_t* from = src.ScanLine(src_rect.top + y) + src_rect.left;
        std::copy(from, from + src_rect.Width(), dst.ScanLine(y));
    }
}

void CopyBack(const TAbstractSuperDIB& work, TAbstractSuperDIB& dst, int x, int y) {
    for (int row = 0; row < work.Height(); ++row) {
        const uint32_t* from = work.ScanLine(row);
        std::copy(from, from + work.Width(), dst.ScanLine(y + row) + x);
    }
}

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

void TFormControl::Paint(TWinDIB& surface, const Rect& update) {
    const Rect part =
        Intersect(Intersect(BoundsRect(), update), Rect{0, 0, surface.Width(), surface.Height()});
    if (part.Empty() || DrawDirect(surface, part)) {
        return;
    }
    if (work_.Width() != part.Width() || work_.Height() != part.Height()) {
        work_.SetSize(static_cast<uint16_t>(part.Width()), static_cast<uint16_t>(part.Height()));
    }
    CopyPixels(surface, part, work_);
    DrawContent(work_, Left() - part.left, Top() - part.top);
    CopyBack(work_, surface, part.left, part.top);
}

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

bool TImage::CoversOpaquely(const Rect& area) const {
    if (picture_.Empty() || stretch_ || picture_.Routine() != DrawRoutine::PlainCopy) {
        return false;
    }
    const int x = Left() + (center_ ? (Width() - picture_.Width()) / 2 : 0);
    const int y = Top() + (center_ ? (Height() - picture_.Height()) / 2 : 0);
    const Rect drawn = Intersect(Rect{x, y, x + picture_.Width(), y + picture_.Height()}, BoundsRect());
    return drawn.left <= area.left && drawn.top <= area.top && drawn.right >= area.right &&
           drawn.bottom >= area.bottom;
}

void TImage::DrawContent(TWinDIB& work, int origin_x, int origin_y) {
    DrawPicture(work, origin_x, origin_y, Rect{0, 0, work.Width(), work.Height()});
}

bool TImage::DrawDirect(TWinDIB& surface, const Rect& part) {
    // A picture keeps to its own pixels, and the copy back is plain: drawing on the surface is the same.
    DrawPicture(surface, Left(), Top(), part);
    return true;
}

void TLabel::Changed(bool resize) {
    if (resize) {
        AdjustSize();
    }
    Invalidate();
}

void TLabel::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    Changed(true);
}

void TLabel::SetFont(FontSpec font) {
    font_ = std::move(font);
    Changed(true);
}

void TLabel::SetFontColor(TColor color) {
    font_color_ = color;
    Changed(false);
}

void TLabel::SetColor(TColor color) {
    color_ = color;
    Changed(false);
}

void TLabel::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Changed(false);
}

void TLabel::SetLayout(TTextLayout layout) {
    layout_ = layout;
    Changed(false);
}

void TLabel::SetWordWrap(bool word_wrap) {
    word_wrap_ = word_wrap;
    Changed(true);
}

void TLabel::SetAutoSize(bool auto_size) {
    auto_size_ = auto_size;
    Changed(true);
}

void TLabel::SetTransparent(bool transparent) {
    transparent_ = transparent;
    Changed(false);
}

void TLabel::SetShowAccelChar(bool show) {
    show_accel_char_ = show;
    Changed(true);
}

unsigned TLabel::TextFlags() const {
    return LabelTextFlags(alignment_, layout_, word_wrap_, show_accel_char_);
}

void TLabel::AdjustSize() {
    if (!auto_size_) {
        return;
    }
    const int box_width = word_wrap_ ? Width() : 0x7FFF;
    const std::string text = caption_.empty() ? std::string(" ") : caption_;
    const TextMask measure =
        Render(fonts_, font_, text, Rect{0, 0, box_width, 0x7FFF}, TextFlags() | kDtCalcRect);
    int left = Left();
    if (alignment_ == TAlignment::taRightJustify) {
        left = Left() + Width() - measure.box.Width();
    }
    SetBounds(left, Top(), measure.box.Width(), measure.box.Height());
}

void TLabel::DrawContent(TWinDIB& work, int origin_x, int origin_y) {
    const Rect box{origin_x, origin_y, origin_x + Width(), origin_y + Height()};
    if (!transparent_) {
        work.FillRect(box, ColorToRGB(color_));
    }
    if (!Enabled()) {
        // Windows' disabled text: a highlight copy one pixel down and right, then the shadow colour.
        const Rect shadow{box.left + 1, box.top + 1, box.right + 1, box.bottom + 1};
        work.DrawText(fonts_, shadow, caption_, font_, ColorToRGB(0x80000014), TextFlags());
        work.DrawText(fonts_, box, caption_, font_, ColorToRGB(0x80000010), TextFlags());
        return;
    }
    work.DrawText(fonts_, box, caption_, font_, ColorToRGB(font_color_), TextFlags());
}

void TAnimate::SetTransparent(bool transparent) {
    transparent_ = transparent;
    Invalidate();
}

void TAnimate::SetColor(TColor color) {
    color_ = color;
    Invalidate();
}

void TAnimate::DrawContent(TWinDIB& work, int origin_x, int origin_y) {
    if (!transparent_) {
        work.FillRect(Rect{origin_x, origin_y, origin_x + Width(), origin_y + Height()}, ColorToRGB(color_));
    }
}

bool TAnimate::DrawDirect(TWinDIB& surface, const Rect& part) {
    if (!transparent_) {
        surface.FillRect(part, ColorToRGB(color_));
    }
    return true;
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

std::string TImageList::ReadData(std::string_view data) {
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
    PictureResult loaded = LoadPicture(bitmap);
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

PictureResult ReadGraphicData(std::string_view data) {
    if (data.size() < 4) {
        return PictureResult::Fail("graphic data is shorter than its size field");
    }
    const uint32_t size = GetLe(data, 0, 4);
    if (size > data.size() - 4) {
        return PictureResult::Fail("graphic data is shorter than its size field says");
    }
    return LoadPicture(data.substr(4, size));
}

PictureResult ReadPictureData(std::string_view data) {
    if (data.empty() || data.size() < 1u + static_cast<uint8_t>(data[0])) {
        return PictureResult::Fail("picture data has no graphic class");
    }
    const size_t name_size = static_cast<uint8_t>(data[0]);
    const std::string_view class_name = data.substr(1, name_size);
    if (class_name != "TBitmap" && class_name != "TJPEGImage") {
        return PictureResult::Fail("unknown graphic class " + std::string(class_name));
    }
    return ReadGraphicData(data.substr(1 + name_size));
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
