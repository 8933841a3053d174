#include "skin/dib_fade_label.h"

#include <cmath>

#include "skin/dib_container.h"

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

TDIBFadeLabel::TDIBFadeLabel(TDIBContainer& container)
    : TDIBControl(container), timer_(container.Services().app, TimerHandle::Kind::DIBTimer) {
    RebuildTable();
    timer_.SetOnTimer([this] { Tick(); });
}

void TDIBFadeLabel::SetCaption(std::string caption) {
    if (caption == caption_) {
        return;
    }
    caption_ = std::move(caption);
    AdjustSize();
    Invalidate();
}

void TDIBFadeLabel::SetFont(FontSpec font) {
    if (font == font_) {
        return;
    }
    font_ = std::move(font);
    AdjustSize();
    Invalidate();
}

void TDIBFadeLabel::SetFontColor(TColor color) {
    if (color == font_color_) {
        return;
    }
    font_color_ = color;
    RebuildTable();
    // A label at rest shows its font colour; a highlighted or fading one keeps its colour until the
    // next tick or leave.
    if (!pointer_inside_ && !Focused() && !timer_.Active()) {
        SetCurrentColor(font_color_);
    }
    Invalidate();
}

void TDIBFadeLabel::SetColor(TColor color) {
    if (color == color_) {
        return;
    }
    color_ = color;
    Invalidate();
}

void TDIBFadeLabel::SetAlignment(TAlignment alignment) {
    if (alignment == alignment_) {
        return;
    }
    alignment_ = alignment;
    Invalidate();
}

void TDIBFadeLabel::SetLayout(TTextLayout layout) {
    if (layout == layout_) {
        return;
    }
    layout_ = layout;
    Invalidate();
}

void TDIBFadeLabel::SetWordWrap(bool word_wrap) {
    if (word_wrap == word_wrap_) {
        return;
    }
    word_wrap_ = word_wrap;
    AdjustSize();
    Invalidate();
}

void TDIBFadeLabel::SetAutoSize(bool auto_size) {
    if (auto_size == auto_size_) {
        return;
    }
    auto_size_ = auto_size;
    AdjustSize();
}

void TDIBFadeLabel::SetTransparent(bool transparent) {
    if (transparent == transparent_) {
        return;
    }
    transparent_ = transparent;
    Invalidate();
}

void TDIBFadeLabel::SetShowAccelChar(bool show) {
    if (show == show_accel_char_) {
        return;
    }
    show_accel_char_ = show;
    AdjustSize();
    Invalidate();
}

void TDIBFadeLabel::SetColorHighlighted(TColor color) {
    if (color == color_highlighted_) {
        return;
    }
    color_highlighted_ = color;
    RebuildTable();
    if (pointer_inside_ || Focused()) {
        SetCurrentColor(color_highlighted_);
    }
    Invalidate();
}

void TDIBFadeLabel::SetFrameCount(int count) {
    if (count == frame_count_) {
        return;
    }
    frame_count_ = count;
    // A running fade indexes the table by its countdown: a table of the old length would be read past
    // its end after a larger count, so the table follows the count and the fade restarts from it.
    RebuildTable();
    if (timer_.Active()) {
        FadeBack();
    }
}

void TDIBFadeLabel::SetFrameDelay(uint32_t delay_ms) {
    frame_delay_ms_ = delay_ms;
    if (timer_.Active()) {
        if (delay_ms == 0) {
            timer_.SetEnabled(false);
            SetCurrentColor(font_color_);
        } else {
            timer_.SetInterval(delay_ms);
        }
    }
}

void TDIBFadeLabel::RebuildTable() {
    fade_table_.clear();
    if (frame_count_ < 2) {
        return;
    }
    const TColor from = ColorToRGB(font_color_);
    const TColor to = ColorToRGB(color_highlighted_);
    fade_table_.reserve(static_cast<size_t>(frame_count_));
    for (int i = 0; i < frame_count_; ++i) {
        TColor entry = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const double a = (from >> shift) & 0xFFu;
            const double b = (to >> shift) & 0xFFu;
            const long channel = std::lround(a + (i + 1) * (b - a) / frame_count_);
            entry |= static_cast<TColor>(channel & 0xFF) << shift;
        }
        fade_table_.push_back(entry);
    }
}

void TDIBFadeLabel::MouseEnter() {
    pointer_inside_ = true;
    Highlight();
    TDIBControl::MouseEnter();
}

void TDIBFadeLabel::MouseLeave() {
    pointer_inside_ = false;
    if (!Focused()) {
        FadeBack();
    }
    TDIBControl::MouseLeave();
}

void TDIBFadeLabel::FocusChanged(bool focused) {
    if (focused) {
        Highlight();
    } else if (!pointer_inside_) {
        FadeBack();
    }
}

void TDIBFadeLabel::Highlight() {
    timer_.SetEnabled(false);
    SetCurrentColor(color_highlighted_);
}

void TDIBFadeLabel::FadeBack() {
    if (frame_count_ > 1 && frame_delay_ms_ != 0) {
        countdown_ = frame_count_ - 1;
        timer_.SetInterval(frame_delay_ms_);
        timer_.SetEnabled(true);
    } else {
        timer_.SetEnabled(false);
        SetCurrentColor(font_color_);
    }
}

void TDIBFadeLabel::Tick() {
    if (countdown_ > 0 && static_cast<size_t>(countdown_) < fade_table_.size()) {
        SetCurrentColor(fade_table_[static_cast<size_t>(countdown_)]);
        --countdown_;
        return;
    }
    timer_.SetEnabled(false);
    SetCurrentColor(font_color_);
}

void TDIBFadeLabel::SetCurrentColor(TColor color) {
    if (color == current_color_) {
        return;
    }
    current_color_ = color;
    Invalidate();
}

unsigned TDIBFadeLabel::TextFlags() const {
    return LabelTextFlags(alignment_, layout_, word_wrap_, show_accel_char_);
}

void TDIBFadeLabel::AdjustSize() {
    if (!auto_size_) {
        return;
    }
    // As a label measures itself: unlimited width unless it wraps, and a blank for an empty caption
    // so that it keeps one line's height.
    const int box_width = word_wrap_ ? Width() : 0x7FFF;
    const std::string text = caption_.empty() ? std::string(" ") : caption_;
    const TextMask measure = Render(Container().Services().fonts, font_, text, Rect{0, 0, box_width, 0x7FFF},
                                    TextFlags() | kDtCalcRect);
    const int width = measure.box.Width();
    const int height = measure.box.Height();
    int left = Left();
    if (alignment_ == TAlignment::taRightJustify) {
        left = Left() + Width() - width;
    } else if (alignment_ == TAlignment::taCenter) {
        left = Left() + (Width() - width) / 2;
    }
    SetBounds(left, Top(), width, height);
}

void TDIBFadeLabel::DrawContent(TWinDIB& work, int origin_x, int origin_y) {
    const Rect box{origin_x, origin_y, origin_x + Width(), origin_y + Height()};
    if (!transparent_) {
        work.FillRect(box, ColorToRGB(color_));
    }
    FontResolver& fonts = Container().Services().fonts;
    const unsigned flags = TextFlags();
    if (!Enabled()) {
        // The engraved look of disabled text: a highlight copy one pixel down and right, then the text.
        const Rect shadow{box.left + 1, box.top + 1, box.right + 1, box.bottom + 1};
        work.DrawText(fonts, shadow, caption_, font_, ColorToRGB(color_highlighted_), flags);
        work.DrawText(fonts, box, caption_, font_, ColorToRGB(font_color_), flags);
        return;
    }
    work.DrawText(fonts, box, caption_, font_, ColorToRGB(current_color_), flags);
}

} // namespace kavlo
