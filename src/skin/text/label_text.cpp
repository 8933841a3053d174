#include "skin/text/label_text.h"

#include "skin/controls/component.h"
#include "skin/surface/dib_transform.h"

namespace kavlo {

unsigned LabelTextFlags(TAlignment alignment, TTextLayout layout, bool word_wrap, bool show_accel_char) {
    unsigned flags = 0;
    switch (alignment) {
        case TAlignment::taLeftJustify:
            flags |= kDtLeft;
            break;
        case TAlignment::taRightJustify:
            flags |= kDtRight;
            break;
        case TAlignment::taCenter:
            flags |= kDtCenter;
            break;
    }
    switch (layout) {
        case TTextLayout::tlTop:
            flags |= kDtTop;
            break;
        case TTextLayout::tlCenter:
            flags |= kDtVCenter;
            break;
        case TTextLayout::tlBottom:
            flags |= kDtBottom;
            break;
    }
    if (word_wrap) {
        flags |= kDtWordBreak;
    }
    if (!show_accel_char) {
        flags |= kDtNoPrefix;
    }
    return flags;
}

Rect ShownPart(const Rect& bounds, int surface_width, int surface_height) {
    const Rect shown = Intersect(bounds, Rect{0, 0, surface_width, surface_height});
    return Rect{shown.left - bounds.left, shown.top - bounds.top, shown.right - bounds.left,
                shown.bottom - bounds.top};
}

void LabelText::SetColor(TColor color) {
    if (color == Color()) {
        return;
    }
    color_ = color;
    parent_color_ = false;
    TextChanged(TextChange::Look);
}

unsigned LabelText::TextFlags() const {
    return LabelTextFlags(alignment_, layout_, word_wrap_, show_accel_char_);
}

Extent LabelText::MeasureText(FontResolver& fonts, int width) const {
    const int box_width = word_wrap_ ? width : 0x7FFF;
    const std::string text = caption_.empty() ? std::string(" ") : caption_;
    const TextMask measure =
        Render(fonts, font_, text, Rect{0, 0, box_width, 0x7FFF}, TextFlags() | kDtCalcRect);
    return {measure.box.Width(), measure.box.Height()};
}

void LabelText::DrawLabel(TWinDIB& target, FontResolver& fonts, const Rect& box, const Rect& clip,
                          const Rect& shown, TColor text_color, std::optional<TColor> engraved) {
    if (!transparent_) {
        target.FillRect(Intersect(box, clip), ColorToRGB(Color()));
    }
    // The coverage reaches one pixel left of and above what shows: the engraved copy lies one pixel
    // down and right, so that much more of it can show.
    const TextMask& mask =
        mask_.Get(fonts, font_, caption_, box.Width(), box.Height(),
                  Rect{shown.left - 1, shown.top - 1, shown.right, shown.bottom}, TextFlags());
    if (engraved) {
        target.DrawTextMask(mask, box.left + 1, box.top + 1, ColorToRGB(*engraved), clip);
    }
    target.DrawTextMask(mask, box.left, box.top, ColorToRGB(text_color), clip);
}

} // namespace kavlo
