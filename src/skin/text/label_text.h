#pragma once

#include <optional>
#include <string>

#include "skin/surface/dib_transform.h"
#include "skin/surface/win_dib.h"
#include "skin/text/text.h"

namespace kavlo {

enum class TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };

// The DrawText flags of a label's alignment, layout, word wrap and accelerator settings.
unsigned LabelTextFlags(TAlignment alignment, TTextLayout layout, bool word_wrap, bool show_accel_char);

// The part of a control's rectangle `bounds` that a surface of the given size holds, relative to the
// control's top-left corner.
Rect ShownPart(const Rect& bounds, int surface_width, int surface_height);

// The text half of a label, shared by the form's labels and the container's fade labels: what it says,
// in which font and colours, placed how, and the drawing of it. The coverage of the last drawing is
// kept, as a label is drawn far more often (every composition, every fade tick) than its text changes.
class LabelText {
public:
    virtual ~LabelText() = default;

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption) { Set(caption_, std::move(caption), TextChange::Extent); }
    const FontSpec& Font() const { return font_; }
    void SetFont(FontSpec font) { Set(font_, std::move(font), TextChange::Extent); }
    TColor FontColor() const { return font_color_; }
    void SetFontColor(TColor color) { Set(font_color_, color, TextChange::FontColor); }
    // With ParentColor (the default) the label takes its parent's colour; setting a new colour ends
    // that, as it does in Delphi.
    TColor Color() const { return parent_color_ ? ParentsColor() : color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parent_color_; }
    void SetParentColor(bool parent_color) { Set(parent_color_, parent_color, TextChange::Look); }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment) { Set(alignment_, alignment, TextChange::Look); }
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout layout) { Set(layout_, layout, TextChange::Look); }
    bool WordWrap() const { return word_wrap_; }
    void SetWordWrap(bool word_wrap) { Set(word_wrap_, word_wrap, TextChange::Extent); }
    // The control takes the size of its text.
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool auto_size) { Set(auto_size_, auto_size, TextChange::Extent); }
    // Without Transparent the label fills its rectangle with Color first.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent) { Set(transparent_, transparent, TextChange::Look); }
    bool ShowAccelChar() const { return show_accel_char_; }
    void SetShowAccelChar(bool show) { Set(show_accel_char_, show, TextChange::Extent); }

protected:
    explicit LabelText(bool auto_size) : auto_size_(auto_size) {}

    // Look: only the drawing changes. Extent: the size the text needs may change too.
    enum class TextChange { Look, Extent, FontColor };
    // Called after a property took a new value.
    virtual void TextChanged(TextChange change) = 0;
    // The colour of the window the label lies on; clBtnFace while it lies on none.
    virtual TColor ParentsColor() const = 0;

    unsigned TextFlags() const;
    // The size the caption needs, as a label measures itself: unlimited width unless it wraps at
    // `width`, and a blank for an empty caption so that it keeps one line's height.
    Extent MeasureText(FontResolver& fonts, int width) const;
    // Draws the label whose rectangle is `box` onto `target`, touching only pixels inside `clip`: the
    // brush unless Transparent, then the caption in `text_color`. With `engraved` (the disabled look) a
    // copy in that colour goes one pixel down and right first. `shown` is the part of the label its
    // window can show, relative to the label's top-left corner: the text is rendered for that part only.
    void DrawLabel(TWinDIB& target, FontResolver& fonts, const Rect& box, const Rect& clip, const Rect& shown,
                   TColor text_color, std::optional<TColor> engraved);

private:
    template <typename T> void Set(T& field, T value, TextChange change) {
        if (field == value) {
            return;
        }
        field = std::move(value);
        TextChanged(change);
    }

    std::string caption_;
    FontSpec font_{.name = "MS Sans Serif", .height = -11};
    TColor font_color_ = 0x80000008; // clWindowText
    TColor color_ = 0x8000000F;      // clBtnFace
    TAlignment alignment_ = TAlignment::taLeftJustify;
    TTextLayout layout_ = TTextLayout::tlTop;
    bool word_wrap_ = false;
    bool auto_size_ = false;
    bool transparent_ = false;
    bool show_accel_char_ = true;
    bool parent_color_ = true;
    CachedTextMask mask_;
};

} // namespace kavlo
