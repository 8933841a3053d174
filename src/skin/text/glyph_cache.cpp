#include "skin/text/glyph_cache.h"

#include <algorithm>

#include FT_SIZES_H
#include FT_SYNTHESIS_H

namespace kavlo {
namespace {

// Bounds the memory of a label that shows every character of a large face; a full cache is
// simply emptied and refilled from what is drawn next.
constexpr size_t kMaxCachedGlyphs = 4096;

int RoundPixels(FT_Pos value) {
    return static_cast<int>((value + 32) >> 6);
}

std::vector<uint8_t> CopyCoverage(const FT_Bitmap& bitmap) {
    const int width = static_cast<int>(bitmap.width);
    const int rows = static_cast<int>(bitmap.rows);
    std::vector<uint8_t> coverage(static_cast<size_t>(width) * rows);
    const int pitch = bitmap.pitch;
    for (int y = 0; y < rows; ++y) {
        // A negative pitch means the rows are stored bottom-up.
        const unsigned char* row = pitch >= 0 ? bitmap.buffer + static_cast<ptrdiff_t>(y) * pitch
                                              : bitmap.buffer + static_cast<ptrdiff_t>(rows - 1 - y) * -pitch;
        uint8_t* out = coverage.data() + static_cast<size_t>(y) * width;
        if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (int x = 0; x < width; ++x) {
                out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            }
        } else {
            std::copy(row, row + width, out);
        }
    }
    return coverage;
}

} // namespace

SizedFace::SizedFace(FT_Face face, FT_Size size, bool synthetic_bold, bool synthetic_italic)
    : face_(face), size_(size), synthetic_bold_(synthetic_bold), synthetic_italic_(synthetic_italic),
      has_kerning_(FT_HAS_KERNING(face)) {
    ReadMetrics();
}

SizedFace::~SizedFace() {
    FT_Done_Size(size_);
}

void SizedFace::ReadMetrics() {
    const FT_Size_Metrics& metrics = size_->metrics;
    // Rounded each on its own as GDI does: a -13 Tahoma caption fits a 16-pixel label.
    ascent_ = RoundPixels(FT_MulFix(face_->ascender, metrics.y_scale));
    descent_ = std::max(0, RoundPixels(FT_MulFix(-face_->descender, metrics.y_scale)));
    const int gap = std::max(0, RoundPixels(FT_MulFix(face_->height, metrics.y_scale)) - ascent_ - descent_);
    line_height_ = std::max(1, ascent_ + descent_ + gap);

    if (FT_IS_SCALABLE(face_) && face_->underline_thickness > 0) {
        const FT_Pos position = FT_MulFix(face_->underline_position, metrics.y_scale);
        const FT_Pos thickness = FT_MulFix(face_->underline_thickness, metrics.y_scale);
        underline_thickness_ = std::max(1, RoundPixels(thickness));
        underline_offset_ = std::max(0, RoundPixels(-position - thickness / 2));
    }
    // Keep the line inside the cell, where the next line's text cannot cover it.
    if (underline_offset_ + underline_thickness_ > descent_ && descent_ >= underline_thickness_) {
        underline_offset_ = descent_ - underline_thickness_;
    }
}

unsigned SizedFace::GlyphIndex(char32_t code_point) const {
    return FT_Get_Char_Index(face_, static_cast<FT_ULong>(code_point));
}

const Glyph& SizedFace::GlyphAt(unsigned glyph_index) {
    auto found = glyphs_.find(glyph_index);
    if (found != glyphs_.end()) {
        return found->second;
    }
    if (glyphs_.size() >= kMaxCachedGlyphs) {
        glyphs_.clear();
    }
    return glyphs_.emplace(glyph_index, LoadGlyph(glyph_index)).first->second;
}

Glyph SizedFace::LoadGlyph(unsigned glyph_index) {
    Glyph glyph;
    FT_Activate_Size(size_);
    // Embedded bitmaps are usually two-tone; outlines give the same grey look at every size.
    if (FT_Load_Glyph(face_, glyph_index, FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP) != 0) {
        return glyph;
    }
    FT_GlyphSlot slot = face_->glyph;
    if (synthetic_italic_) {
        FT_GlyphSlot_Oblique(slot);
    }
    if (synthetic_bold_) {
        FT_GlyphSlot_Embolden(slot);
    }
    glyph.advance_px = std::max(0, RoundPixels(slot->advance.x));
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) {
        return glyph;
    }
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.pixel_mode != FT_PIXEL_MODE_MONO) {
        return glyph;
    }
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.coverage = CopyCoverage(bitmap);
    return glyph;
}

int SizedFace::Kerning(unsigned left_index, unsigned right_index) {
    if (!has_kerning_ || left_index == 0 || right_index == 0) {
        return 0;
    }
    const uint64_t key = (static_cast<uint64_t>(left_index) << 32) | right_index;
    auto found = kerning_.find(key);
    if (found != kerning_.end()) {
        return found->second;
    }
    FT_Activate_Size(size_);
    FT_Vector delta{0, 0};
    int pixels = 0;
    if (FT_Get_Kerning(face_, left_index, right_index, FT_KERNING_DEFAULT, &delta) == 0) {
        pixels = RoundPixels(delta.x);
    }
    if (kerning_.size() >= kMaxCachedGlyphs) {
        kerning_.clear();
    }
    kerning_.emplace(key, pixels);
    return pixels;
}

} // namespace kavlo
