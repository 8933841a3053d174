#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/codepage.h"
#include "skin/surface/skin_types.h"

namespace kavlo {

class FontResolver;

// A Delphi TFont as far as text drawing needs it.
struct FontSpec {
    std::string name; // family, Windows-1250 bytes
    // Negative: the em height in pixels; positive: the cell height including internal leading;
    // 0: the default height (as -11).
    int height = -11;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int charset = 1; // DEFAULT_CHARSET; 162 is TURKISH_CHARSET, 238 EASTEUROPE_CHARSET

    bool operator==(const FontSpec&) const = default;
};

// The font character set picks the code page the caption bytes are read in.
constexpr int kTurkishCharset = 162;
CodePage CodePageOfCharset(int charset);

// DrawText's flag values, so a label's flags pass through unchanged.
enum DrawTextFlags : unsigned {
    kDtLeft = 0x0000,
    kDtCenter = 0x0001,
    kDtRight = 0x0002,
    kDtTop = 0x0000,
    kDtVCenter = 0x0004,
    kDtBottom = 0x0008,
    kDtWordBreak = 0x0010,
    kDtSingleLine = 0x0020,
    kDtCalcRect = 0x0400,
    kDtNoPrefix = 0x0800,
};

// Grey coverage of drawn text over a box of the target surface: 0 untouched, 255 fully covered.
// Unlike the surfaces, rows run top-down.
struct TextMask {
    // The columns of one row between its first and past its last covered pixel, relative to the
    // box's left edge; first == last for a row without ink.
    struct Ink {
        int first = 0;
        int last = 0;
    };

    // In target coordinates. With kDtCalcRect: the box the text needs (left and top kept, as
    // DrawText reports it) and no coverage.
    Rect box;
    std::vector<uint8_t> coverage; // box.Width() * box.Height() bytes, top row first
    std::vector<Ink> ink;          // one per row of `coverage`, so drawing visits only inked pixels

    // Coverage at a target position; 0 outside the box.
    uint8_t At(int x, int y) const;
};

struct TextSize {
    int width = 0;
    int height = 0;
    bool operator==(const TextSize&) const = default;
};

// Lays out and rasterises text as DrawText would draw it into `box`: CR, LF or CR LF break lines
// unless kDtSingleLine; kDtWordBreak wraps at blanks (a word longer than the line is broken
// between characters); without kDtNoPrefix "&&" shows "&" and "&x" underlines x. Vertical
// alignment applies to the whole block of lines, single line or not. Glyphs outside the box are
// clipped. The bytes are read in the code page of the font's character set.
TextMask Render(FontResolver& fonts, const FontSpec& font, std::string_view text_bytes, Rect box,
                unsigned flags);
// The same, but with coverage only for the part of the box inside `part` (the mask's box is that
// part): a label far larger than any window needs no more coverage than its window shows.
TextMask RenderPart(FontResolver& fonts, const FontSpec& font, std::string_view text_bytes, Rect box,
                    Rect part, unsigned flags);

// The mask of one text in a box of one size at the origin, with coverage for the `shown` part of it,
// kept until any of these change: a label redraws the same text at every composition and fade tick.
class CachedTextMask {
public:
    const TextMask& Get(FontResolver& fonts, const FontSpec& font, std::string_view text_bytes, int width,
                        int height, const Rect& shown, unsigned flags);

private:
    struct Key {
        const FontResolver* fonts = nullptr;
        FontSpec font;
        std::string text;
        int width = 0;
        int height = 0;
        Rect shown;
        unsigned flags = 0;
        bool operator==(const Key&) const = default;
    };

    std::optional<Key> key_;
    TextMask mask_;
};

// GetTextExtentPoint32: one line, no prefix handling; the height is the font's line height.
TextSize TextExtent(FontResolver& fonts, const FontSpec& font, std::string_view text_bytes);

} // namespace kavlo
