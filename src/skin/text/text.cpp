#include "skin/text/text.h"

#include <algorithm>

#include "skin/text/font_resolver.h"
#include "skin/text/glyph_cache.h"

namespace kavlo {
namespace {

constexpr size_t kNone = static_cast<size_t>(-1);

// One character as it will be drawn.
struct PlacedChar {
    SizedFace* face = nullptr; // null: a control character, drawn as nothing
    unsigned glyph = 0;
    int advance = 0;
    int kern = 0; // added before this character when it follows another on the line
    bool blank = false;
    bool accel = false;    // marked by a prefix "&"
    bool line_end = false; // CR or LF of a multi-line text
    bool joins_lf = false; // a CR followed by LF: the pair ends one line
};

struct Line {
    size_t begin = 0;
    size_t end = 0;
    int width = 0;
};

// Reads the UTF-8 made by ToUtf8, which is always well formed.
std::u32string DecodeUtf8(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t cp = length == 1   ? lead
                      : length == 2 ? (lead & 0x1F)
                      : length == 3 ? (lead & 0x0F)
                                    : (lead & 0x07);
        for (int k = 1; k < length && i + k < utf8.size(); ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        out.push_back(cp);
        i += static_cast<size_t>(length);
    }
    return out;
}

class TextLayout {
public:
    TextLayout(FontResolver& fonts, const FontSpec& font, SizedFace& face)
        : fonts_(fonts), font_(font), face_(face) {}

    // Decodes and measures every character; with `prefix` the "&" marks are taken out.
    void Shape(std::string_view text_bytes, bool prefix, bool single_line) {
        const std::u32string text = DecodeUtf8(ToUtf8(text_bytes, CodePageOfCharset(font_.charset)));
        bool accel = false;
        for (size_t i = 0; i < text.size(); ++i) {
            const char32_t cp = text[i];
            if (prefix && cp == U'&') {
                // "&&" stands for one "&"; a lone "&" marks the next character, or nothing at the end.
                if (i + 1 < text.size() && text[i + 1] == U'&') {
                    ++i;
                } else {
                    accel = true;
                    continue;
                }
            }
            PlacedChar placed = Place(cp);
            placed.accel = accel;
            accel = false;
            if (!single_line && (cp == U'\r' || cp == U'\n')) {
                placed.line_end = true;
                placed.joins_lf = cp == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n';
            }
            chars_.push_back(placed);
        }
        SetKerning();
    }

    // Splits at line breaks and, with word_break, wraps every paragraph to max_width.
    void BreakLines(bool word_break, int max_width) {
        size_t begin = 0;
        for (size_t i = 0; i < chars_.size(); ++i) {
            if (!chars_[i].line_end) {
                continue;
            }
            AddParagraph(begin, i, word_break, max_width);
            if (chars_[i].joins_lf) {
                ++i;
            }
            begin = i + 1;
        }
        // A break at the very end starts no further line.
        if (begin < chars_.size()) {
            AddParagraph(begin, chars_.size(), word_break, max_width);
        }
        for (Line& line : lines_) {
            line.width = Width(line.begin, line.end);
        }
    }

    int Width(size_t begin, size_t end) const {
        int width = 0;
        for (size_t i = begin; i < end; ++i) {
            width += chars_[i].advance + (i > begin ? chars_[i].kern : 0);
        }
        return width;
    }

    int BlockHeight() const { return static_cast<int>(lines_.size()) * face_.line_height(); }
    int MaxWidth() const {
        int width = 0;
        for (const Line& line : lines_) {
            width = std::max(width, line.width);
        }
        return width;
    }

    // Lays the lines out in `box` and puts their coverage into the mask, which may hold only a part.
    void Draw(TextMask& mask, const Rect& box, unsigned flags) const;

private:
    PlacedChar Place(char32_t cp) {
        PlacedChar placed;
        placed.blank = cp == U' ' || cp == U'\t';
        if (cp < 0x20 && cp != U'\t') {
            return placed;
        }
        // Tabs are not expanded; they take the room of a blank.
        const char32_t shown = cp == U'\t' ? U' ' : cp;
        SizedFace* face = &face_;
        unsigned glyph = face->GlyphIndex(shown);
        if (glyph == 0) {
            // A character the face lacks comes from the fallback face rather than as a box.
            SizedFace* fallback = fonts_.ResolveFallback(font_);
            if (fallback != nullptr && fallback->GlyphIndex(shown) != 0) {
                face = fallback;
                glyph = fallback->GlyphIndex(shown);
            }
        }
        placed.face = face;
        placed.glyph = glyph;
        placed.advance = face->GlyphAt(glyph).advance_px;
        return placed;
    }

    void SetKerning() {
        for (size_t i = 1; i < chars_.size(); ++i) {
            const PlacedChar& left = chars_[i - 1];
            PlacedChar& right = chars_[i];
            if (left.face != nullptr && left.face == right.face) {
                right.kern = right.face->Kerning(left.glyph, right.glyph);
            }
        }
    }

    void AddParagraph(size_t begin, size_t end, bool word_break, int max_width) {
        if (!word_break) {
            lines_.push_back({begin, end, 0});
            return;
        }
        size_t pos = begin;
        while (true) {
            const size_t next = WrapOne(pos, end, max_width);
            if (next == kNone) {
                return;
            }
            pos = next;
        }
    }

    // Adds the line starting at pos; returns where the next one starts, kNone at the end.
    size_t WrapOne(size_t pos, size_t end, int max_width) {
        int width = 0;
        size_t break_end = kNone;
        size_t break_next = kNone;
        size_t run_start = kNone;
        for (size_t j = pos; j < end; ++j) {
            const int step = chars_[j].advance + (j > pos ? chars_[j].kern : 0);
            if (chars_[j].blank) {
                if (run_start == kNone) {
                    run_start = j;
                }
                // Blanks may hang past the edge; the line is broken before the next word.
                width += step;
                continue;
            }
            if (run_start != kNone) {
                if (run_start > pos) {
                    break_end = run_start;
                    break_next = j;
                }
                run_start = kNone;
            }
            if (width + step > max_width && j > pos) {
                if (break_end != kNone) {
                    lines_.push_back({pos, break_end, 0});
                    return break_next;
                }
                // One word longer than the line: broken between characters.
                lines_.push_back({pos, j, 0});
                return j;
            }
            width += step;
        }
        lines_.push_back({pos, end, 0});
        return kNone;
    }

    FontResolver& fonts_;
    const FontSpec& font_;
    SizedFace& face_;
    std::vector<PlacedChar> chars_;
    std::vector<Line> lines_;
};

class MaskCanvas {
public:
    explicit MaskCanvas(TextMask& mask) : mask_(mask) {}

    void Blit(const Glyph& glyph, int x, int y) {
        const Rect& box = mask_.box;
        const int x0 = std::max(x, box.left);
        const int x1 = std::min(x + glyph.width, box.right);
        const int y0 = std::max(y, box.top);
        const int y1 = std::min(y + glyph.rows, box.bottom);
        for (int ty = y0; ty < y1; ++ty) {
            const uint8_t* src = glyph.coverage.data() + static_cast<size_t>(ty - y) * glyph.width;
            uint8_t* dst = Row(ty);
            for (int tx = x0; tx < x1; ++tx) {
                // Overlapping glyphs cover each other as two layers of ink would.
                const int a = dst[tx - box.left];
                const int b = src[tx - x];
                dst[tx - box.left] = static_cast<uint8_t>(a + ((255 - a) * b + 127) / 255);
            }
        }
    }

    void Fill(int left, int top, int width, int height) {
        const Rect& box = mask_.box;
        const Rect area = Intersect(box, Rect{left, top, left + width, top + height});
        for (int ty = area.top; ty < area.bottom; ++ty) {
            std::fill(Row(ty) + (area.left - box.left), Row(ty) + (area.right - box.left), uint8_t{255});
        }
    }

private:
    uint8_t* Row(int y) {
        return mask_.coverage.data() + static_cast<size_t>(y - mask_.box.top) * mask_.box.Width();
    }

    TextMask& mask_;
};

void TextLayout::Draw(TextMask& mask, const Rect& box, unsigned flags) const {
    int top = box.top;
    if (flags & kDtBottom) {
        top = box.bottom - BlockHeight();
    } else if (flags & kDtVCenter) {
        top = box.top + (box.Height() - BlockHeight()) / 2;
    }
    MaskCanvas canvas(mask);
    const int underline_top = face_.ascent() + face_.underline_offset();
    const int thickness = face_.underline_thickness();
    for (const Line& line : lines_) {
        int x = box.left;
        if (flags & kDtRight) {
            x = box.right - line.width;
        } else if (flags & kDtCenter) {
            x = box.left + (box.Width() - line.width) / 2;
        }
        const int baseline = top + face_.ascent();
        if (font_.underline) {
            canvas.Fill(x, top + underline_top, line.width, thickness);
        }
        int pen = x;
        for (size_t i = line.begin; i < line.end; ++i) {
            const PlacedChar& placed = chars_[i];
            pen += i > line.begin ? placed.kern : 0;
            if (placed.face != nullptr) {
                const Glyph& glyph = placed.face->GlyphAt(placed.glyph);
                canvas.Blit(glyph, pen + glyph.left, baseline - glyph.top);
            }
            if (placed.accel) {
                canvas.Fill(pen, top + underline_top, placed.advance, thickness);
            }
            pen += placed.advance;
        }
        top += face_.line_height();
    }
}

void FindInk(TextMask& mask) {
    const int width = mask.box.Width();
    mask.ink.assign(static_cast<size_t>(mask.box.Height()), {});
    for (size_t y = 0; y < mask.ink.size(); ++y) {
        const uint8_t* row = mask.coverage.data() + y * static_cast<size_t>(width);
        int first = 0;
        int last = width;
        while (first < last && row[first] == 0) {
            ++first;
        }
        while (last > first && row[last - 1] == 0) {
            --last;
        }
        mask.ink[y] = {first, last};
    }
}

} // namespace

CodePage CodePageOfCharset(int charset) {
    return charset == kTurkishCharset ? CodePage::Windows1254 : CodePage::Windows1250;
}

uint8_t TextMask::At(int x, int y) const {
    if (x < box.left || x >= box.right || y < box.top || y >= box.bottom || coverage.empty()) {
        return 0;
    }
    return coverage[static_cast<size_t>(y - box.top) * box.Width() + (x - box.left)];
}

TextMask Render(FontResolver& fonts, const FontSpec& font, std::string_view text_bytes, Rect box,
                unsigned flags) {
    return RenderPart(fonts, font, text_bytes, box, box, flags);
}

TextMask RenderPart(FontResolver& fonts, const FontSpec& font, std::string_view text_bytes, Rect box,
                    Rect part, unsigned flags) {
    TextMask mask;
    mask.box = box;
    SizedFace* face = fonts.Resolve(font);
    const bool calc_rect = (flags & kDtCalcRect) != 0;
    if (calc_rect && face == nullptr) {
        mask.box = Rect{box.left, box.top, box.left, box.top};
        return mask;
    }
    if (!calc_rect) {
        if (box.Empty()) {
            return mask;
        }
        mask.box = Intersect(box, part);
        mask.coverage.assign(static_cast<size_t>(mask.box.Width()) * mask.box.Height(), 0);
    }
    if (face == nullptr) {
        FindInk(mask);
        return mask;
    }
    const bool single_line = (flags & kDtSingleLine) != 0;
    TextLayout layout(fonts, font, *face);
    layout.Shape(text_bytes, (flags & kDtNoPrefix) == 0, single_line);
    layout.BreakLines(!single_line && (flags & kDtWordBreak) != 0, box.Width());
    if (calc_rect) {
        mask.box = Rect{box.left, box.top, box.left + layout.MaxWidth(), box.top + layout.BlockHeight()};
        return mask;
    }
    if (!mask.box.Empty()) {
        layout.Draw(mask, box, flags);
    }
    FindInk(mask);
    return mask;
}

const TextMask& CachedTextMask::Get(FontResolver& fonts, const FontSpec& font, std::string_view text_bytes,
                                    int width, int height, const Rect& shown, unsigned flags) {
    const bool same = key_ && key_->fonts == &fonts && key_->width == width && key_->height == height &&
                      key_->shown == shown && key_->flags == flags && key_->text == text_bytes &&
                      key_->font == font;
    if (!same) {
        key_ = Key{&fonts, font, std::string(text_bytes), width, height, shown, flags};
        mask_ = RenderPart(fonts, font, text_bytes, Rect{0, 0, width, height}, shown, flags);
    }
    return mask_;
}
TextSize TextExtent(FontResolver& fonts, const FontSpec& font, std::string_view text_bytes) {
    SizedFace* face = fonts.Resolve(font);
    if (face == nullptr) {
        return {};
    }
    TextLayout layout(fonts, font, *face);
    layout.Shape(text_bytes, false, true);
    layout.BreakLines(false, 0);
    return {layout.MaxWidth(), face->line_height()};
}

} // namespace kavlo
