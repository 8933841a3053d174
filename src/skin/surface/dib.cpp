#include "skin/surface/dib.h"

#include <algorithm>
#include <cstring>

#include "skin/surface/dib_transform.h"

namespace kavlo {

TAbstractSuperDIB::TAbstractSuperDIB(const TAbstractSuperDIB& other)
    : width_(other.width_), height_(other.height_), pixels_(other.pixels_), opacity_(other.opacity_),
      angle_(other.angle_), scale_x_(other.scale_x_), scale_y_(other.scale_y_),
      transparent_(other.transparent_), transparent_color_(other.transparent_color_),
      transparent_mode_(other.transparent_mode_), masked_(other.masked_), auto_size_(other.auto_size_),
      routine_(other.routine_), row_routine_(other.row_routine_) {}

TAbstractSuperDIB& TAbstractSuperDIB::operator=(const TAbstractSuperDIB& other) {
    if (this != &other) {
        ChangeHandler keep = std::move(on_change_);
        width_ = other.width_;
        height_ = other.height_;
        pixels_ = other.pixels_;
        opacity_ = other.opacity_;
        angle_ = other.angle_;
        scale_x_ = other.scale_x_;
        scale_y_ = other.scale_y_;
        transparent_ = other.transparent_;
        transparent_color_ = other.transparent_color_;
        transparent_mode_ = other.transparent_mode_;
        masked_ = other.masked_;
        auto_size_ = other.auto_size_;
        routine_ = other.routine_;
        row_routine_ = other.row_routine_;
        on_change_ = std::move(keep);
    }
    return *this;
}

void TAbstractSuperDIB::Assign(const TAbstractSuperDIB& other) {
    *this = other;
    Changed();
}

void TAbstractSuperDIB::Changed() {
    if (on_change_) {
        on_change_(*this);
    }
}

void TAbstractSuperDIB::SetSize(uint16_t width, uint16_t height) {
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<size_t>(width) * height, 0u);
    Changed();
}

uint32_t* TAbstractSuperDIB::ScanLine(int y) {
    return pixels_.data() + static_cast<size_t>(height_ - y - 1) * width_;
}

const uint32_t* TAbstractSuperDIB::ScanLine(int y) const {
    return pixels_.data() + static_cast<size_t>(height_ - y - 1) * width_;
}

uint32_t TAbstractSuperDIB::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0;
    }
    return ScanLine(y)[x];
}

void TAbstractSuperDIB::SetPixel(int x, int y, uint32_t argb) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    ScanLine(y)[x] = argb;
}

void TAbstractSuperDIB::Fill(uint32_t argb) {
    std::fill(pixels_.begin(), pixels_.end(), argb);
}

std::span<const uint8_t> TAbstractSuperDIB::PixelBytes() const {
    return {reinterpret_cast<const uint8_t*>(pixels_.data()), pixels_.size() * sizeof(uint32_t)};
}

bool TAbstractSuperDIB::SetPixelBytes(uint16_t width, uint16_t height, std::span<const uint8_t> bgra) {
    const size_t count = static_cast<size_t>(width) * height;
    if (bgra.size() != count * sizeof(uint32_t)) {
        return false;
    }
    std::vector<uint32_t> pixels(count);
    if (count != 0) {
        std::memcpy(pixels.data(), bgra.data(), bgra.size());
    }
    return SetPixels(width, height, std::move(pixels));
}

bool TAbstractSuperDIB::SetPixels(uint16_t width, uint16_t height, std::vector<uint32_t> pixels) {
    if (pixels.size() != static_cast<size_t>(width) * height) {
        return false;
    }
    width_ = width;
    height_ = height;
    pixels_ = std::move(pixels);
    Changed();
    return true;
}

void TAbstractSuperDIB::SetOpacity(uint8_t opacity) {
    if (opacity == opacity_) {
        return;
    }
    opacity_ = opacity;
    ChooseRoutine();
    Changed();
}

void TAbstractSuperDIB::SetAngle(int16_t degrees) {
    if (degrees == angle_) {
        return;
    }
    angle_ = degrees;
    Changed();
}

void TAbstractSuperDIB::SetScale(long double percent) {
    if (percent == scale_x_ && percent == scale_y_) {
        return;
    }
    scale_x_ = percent;
    scale_y_ = percent;
    Changed();
}

void TAbstractSuperDIB::SetScaleX(long double percent) {
    if (percent == scale_x_) {
        return;
    }
    scale_x_ = percent;
    Changed();
}

void TAbstractSuperDIB::SetScaleY(long double percent) {
    if (percent == scale_y_) {
        return;
    }
    scale_y_ = percent;
    Changed();
}

void TAbstractSuperDIB::SetTransparent(bool transparent) {
    if (transparent == transparent_) {
        return;
    }
    transparent_ = transparent;
    ChooseRoutine();
    Changed();
}

TColor TAbstractSuperDIB::TransparentColor() const {
    if (transparent_mode_ == TTransparentMode::tmAuto && !pixels_.empty()) {
        // The first stored pixel is the bottom-left one.
        return ColorFromPixel(pixels_.front() & 0x00FFFFFFu);
    }
    return transparent_color_;
}

void TAbstractSuperDIB::SetTransparentColor(TColor color) {
    color &= 0x00FFFFFFu;
    if (color == transparent_color_) {
        return;
    }
    transparent_color_ = color;
    Changed();
}

void TAbstractSuperDIB::SetTransparentMode(TTransparentMode mode) {
    if (mode == transparent_mode_) {
        return;
    }
    transparent_mode_ = mode;
    Changed();
}

void TAbstractSuperDIB::SetMasked(bool masked) {
    if (masked == masked_) {
        return;
    }
    masked_ = masked;
    ChooseRoutine();
    Changed();
}

void TAbstractSuperDIB::SetAutoSize(bool auto_size) {
    if (auto_size == auto_size_) {
        return;
    }
    auto_size_ = auto_size;
    Changed();
}

void TAbstractSuperDIB::ChooseRoutine() {
    routine_ = ChooseDrawRoutine(opacity_, masked_, transparent_);
    row_routine_ = RowRoutineFor(routine_);
}

bool TAbstractSuperDIB::Transformed() const {
    return angle_ != 0 || scale_x_ != 100 || scale_y_ != 100;
}

void TAbstractSuperDIB::Draw(TAbstractSuperDIB& dest, int x, int y) const {
    Draw(dest, x, y, Rect{0, 0, width_, height_});
}

void TAbstractSuperDIB::Draw(TAbstractSuperDIB& dest, int x, int y, const Rect& src_rect) const {
    if (&dest == this) {
        // Drawing a surface onto itself would read pixels the same draw has already written.
        TMemoryDIB copy;
        copy.Assign(*this);
        copy.Draw(dest, x, y, src_rect);
        return;
    }
    if (Transformed()) {
        DrawTransformed(*this, dest, x, y, src_rect);
        return;
    }
    DrawPlain(dest, x, y, src_rect);
}

void TAbstractSuperDIB::DrawPlain(TAbstractSuperDIB& dest, int x, int y, const Rect& src_rect) const {
    const auto clip = ClipDraw(width_, height_, src_rect, dest.width_, dest.height_, x, y);
    if (!clip) {
        return;
    }
    const DrawParams params{opacity_, TransparentKey()};
    DrawClipped(row_routine_, params, View(), dest.View(), *clip);
}

namespace {

template <typename Keep> std::vector<Rect> RowRuns(const TAbstractSuperDIB& dib, Keep keep) {
    std::vector<Rect> runs;
    for (int y = 0; y < dib.Height(); ++y) {
        const uint32_t* row = dib.ScanLine(y);
        int x = 0;
        while (x < dib.Width()) {
            if (!keep(row[x])) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < dib.Width() && keep(row[x])) {
                ++x;
            }
            runs.push_back(Rect{start, y, x, y + 1});
        }
    }
    return runs;
}

} // namespace

std::vector<Rect> TAbstractSuperDIB::OpaqueRuns(uint32_t key_rgb) const {
    key_rgb &= 0x00FFFFFFu;
    return RowRuns(*this, [key_rgb](uint32_t pixel) { return (pixel & 0x00FFFFFFu) != key_rgb; });
}

std::vector<Rect> TAbstractSuperDIB::AlphaRuns(uint8_t threshold) const {
    return RowRuns(*this, [threshold](uint32_t pixel) { return (pixel >> 24) >= threshold; });
}

} // namespace kavlo
