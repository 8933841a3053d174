#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace kavlo {

// One rendered glyph: grey coverage placed relative to the pen position on the baseline.
struct Glyph {
    int left = 0; // columns right of the pen
    int top = 0;  // rows above the baseline
    int width = 0;
    int rows = 0;
    int advance_px = 0;
    std::vector<uint8_t> coverage; // width * rows, top row first
};

// A face at one pixel size with its own FreeType size object, so several sizes of one face can
// be used in turn; rendered glyphs are kept, because fading labels redraw their captions on
// every tick.
class SizedFace {
public:
    // Takes ownership of `size` (made with FT_New_Size on `face`, already set to em_px).
    SizedFace(FT_Face face, FT_Size size, bool synthetic_bold, bool synthetic_italic);
    ~SizedFace();
    SizedFace(const SizedFace&) = delete;
    SizedFace& operator=(const SizedFace&) = delete;

    FT_Face face() const { return face_; }
    bool synthetic_bold() const { return synthetic_bold_; }
    bool synthetic_italic() const { return synthetic_italic_; }

    // 0 when the face has no glyph for the character (its .notdef).
    unsigned GlyphIndex(char32_t code_point) const;
    // Loaded and rendered on first use; a glyph that cannot be loaded is empty with no advance.
    const Glyph& GlyphAt(unsigned glyph_index);
    // Kerning between two glyphs in whole pixels; 0 for faces without kerning.
    int Kerning(unsigned left_index, unsigned right_index);

    int ascent() const { return ascent_; }
    int descent() const { return descent_; } // below the baseline, positive
    int line_height() const { return line_height_; }
    int underline_offset() const { return underline_offset_; } // rows below the baseline
    int underline_thickness() const { return underline_thickness_; }

private:
    void ReadMetrics();
    Glyph LoadGlyph(unsigned glyph_index);

    FT_Face face_;
    FT_Size size_;
    bool synthetic_bold_ = false;
    bool synthetic_italic_ = false;
    bool has_kerning_ = false;
    int ascent_ = 0;
    int descent_ = 0;
    int line_height_ = 0;
    int underline_offset_ = 1;
    int underline_thickness_ = 1;
    std::unordered_map<unsigned, Glyph> glyphs_;
    std::unordered_map<uint64_t, int> kerning_;
};

} // namespace kavlo
