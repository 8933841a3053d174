#pragma once

#include <bit>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "skin/surface/dib_draw.h"
#include "skin/surface/skin_types.h"

namespace kavlo {

// Pixels are handled as 32-bit words 0xAARRGGBB, which is the byte order blue, green, red, alpha
// only on a little-endian machine (every target of the menu is one).
static_assert(std::endian::native == std::endian::little);

enum class TTransparentMode : uint8_t {
    tmAuto = 0,  // the key is the colour of the bottom-left pixel
    tmFixed = 1, // the key is TransparentColor
};

// TColor ($00BBGGRR) and the colour bits of a pixel (0x00RRGGBB) hold the same colour in opposite
// byte orders.
constexpr uint32_t PixelFromColor(TColor color) {
    return ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
}
constexpr TColor ColorFromPixel(uint32_t pixel) {
    return ((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu);
}

// A 32-bit pixel surface with the drawing properties of a skin image: Width x Height pixels stored
// bottom-up, Opacity, Angle, Scale, colour key and per-pixel alpha. The owner hears of every property
// change through the change handler; writing pixels is not a property change.
class TAbstractSuperDIB {
public:
    using ChangeHandler = std::function<void(TAbstractSuperDIB&)>;

    virtual ~TAbstractSuperDIB() = default;

    uint16_t Width() const { return width_; }
    uint16_t Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    // A new size; every pixel becomes 0 (black, alpha 0).
    void SetSize(uint16_t width, uint16_t height);

    // Raw pixels in stored order: Width() words a row, bottom row first.
    uint32_t* Bits() { return pixels_.data(); }
    const uint32_t* Bits() const { return pixels_.data(); }
    size_t PixelCount() const { return pixels_.size(); }
    // Row y counted from the top (stored row Height - y - 1). y must lie inside the surface.
    uint32_t* ScanLine(int y);
    const uint32_t* ScanLine(int y) const;
    // Checked access in top-down coordinates: reads outside give 0, writes outside do nothing.
    uint32_t Pixel(int x, int y) const;
    void SetPixel(int x, int y, uint32_t argb);
    void Fill(uint32_t argb);
    DibRows View() { return {pixels_.data(), width_, height_}; }
    ConstDibRows View() const { return {pixels_.data(), width_, height_}; }

    // The raw block's pixel bytes (blue, green, red, alpha, bottom row first), for the stored record.
    std::span<const uint8_t> PixelBytes() const;
    // Takes a raw block's pixels; false (and nothing changed) when the byte count is not width x
    // height x 4.
    bool SetPixelBytes(uint16_t width, uint16_t height, std::span<const uint8_t> bgra);
    // Takes pixels in stored order; false (and nothing changed) when the count is not width x height.
    bool SetPixels(uint16_t width, uint16_t height, std::vector<uint32_t> pixels);

    uint8_t Opacity() const { return opacity_; }
    void SetOpacity(uint8_t opacity);
    int16_t Angle() const { return angle_; }
    void SetAngle(int16_t degrees);
    long double ScaleX() const { return scale_x_; }
    long double ScaleY() const { return scale_y_; }
    void SetScale(long double percent); // both axes
    void SetScaleX(long double percent);
    void SetScaleY(long double percent);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    // The key in force: the fixed colour in tmFixed, the bottom-left pixel's colour in tmAuto (the
    // fixed colour while the surface is empty).
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return transparent_mode_; }
    void SetTransparentMode(TTransparentMode mode);
    bool Masked() const { return masked_; }
    void SetMasked(bool masked);
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool auto_size);

    // The key in force in pixel layout (0x00RRGGBB), as the draw routines compare it.
    uint32_t TransparentKey() const { return PixelFromColor(TransparentColor()); }
    DrawRoutine Routine() const { return routine_; }
    // True when Angle or Scale ask for the transformed draw.
    bool Transformed() const;

    // Draws the whole surface, or `src_rect` of it, with its top-left corner at (x, y) of `dest`,
    // through the routine the properties chose; rotated and scaled when Angle or Scale say so.
    void Draw(TAbstractSuperDIB& dest, int x, int y) const;
    void Draw(TAbstractSuperDIB& dest, int x, int y, const Rect& src_rect) const;

    // Copies pixels and drawing properties of another surface (not its change handler).
    void Assign(const TAbstractSuperDIB& other);

    // Every maximal run of pixels whose colour differs from `key_rgb` (0x00RRGGBB), row by row from
    // the top, as rectangles (x0, y, x1, y + 1): the outline of a shaped window.
    std::vector<Rect> OpaqueRuns(uint32_t key_rgb) const;
    // Runs of pixels whose alpha is at least `threshold`, likewise.
    std::vector<Rect> AlphaRuns(uint8_t threshold) const;

    void SetOnChange(ChangeHandler handler) { on_change_ = std::move(handler); }

protected:
    TAbstractSuperDIB() = default;
    // Copies carry pixels and properties; a change handler belongs to its owner and is never copied.
    TAbstractSuperDIB(const TAbstractSuperDIB& other);
    TAbstractSuperDIB& operator=(const TAbstractSuperDIB& other);

    void Changed();

private:
    void ChooseRoutine();
    void DrawPlain(TAbstractSuperDIB& dest, int x, int y, const Rect& src_rect) const;

    uint16_t width_ = 0;
    uint16_t height_ = 0;
    std::vector<uint32_t> pixels_;
    uint8_t opacity_ = 255;
    int16_t angle_ = 0;
    long double scale_x_ = 100;
    long double scale_y_ = 100;
    bool transparent_ = false;
    TColor transparent_color_ = 0;
    TTransparentMode transparent_mode_ = TTransparentMode::tmAuto;
    bool masked_ = false;
    bool auto_size_ = false;
    DrawRoutine routine_ = DrawRoutine::PlainCopy;
    RowRoutine row_routine_ = RowRoutineFor(DrawRoutine::PlainCopy);
    ChangeHandler on_change_;
};

// A surface in plain memory: the images of the image lists and the controls' work surfaces.
class TMemoryDIB : public TAbstractSuperDIB {
public:
    TMemoryDIB() = default;
    TMemoryDIB(uint16_t width, uint16_t height) { SetSize(width, height); }
    TMemoryDIB(const TMemoryDIB&) = default;
    TMemoryDIB& operator=(const TMemoryDIB&) = default;
};

} // namespace kavlo
