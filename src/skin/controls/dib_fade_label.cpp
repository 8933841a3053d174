#include "skin/controls/dib_fade_label.h"

#include <cmath>

#include "skin/controls/dib_container.h"

namespace kavlo {

TDIBFadeLabel::TDIBFadeLabel(TDIBContainer& container)
    : TDIBControl(container), LabelText(false),
      timer_(container.Services().app, TimerHandle::Kind::DIBTimer) {
    timer_.SetOnTimer([this] { Tick(); });
}

void TDIBFadeLabel::TextChanged(TextChange change) {
    switch (change) {
        case TextChange::Extent:
            AdjustSize();
            break;
        case TextChange::FontColor:
            // A label at rest shows its font colour; a highlighted or fading one keeps its colour until
            // the next tick or leave.
            if (!pointer_inside_ && !Focused() && !timer_.Active()) {
                SetCurrentColor(FontColor());
            }
            break;
        case TextChange::Look:
            break;
    }
    Invalidate();
}

TColor TDIBFadeLabel::ParentsColor() const {
    return Container().Color();
}

void TDIBFadeLabel::SetColorHighlighted(TColor color) {
    if (color == color_highlighted_) {
        return;
    }
    color_highlighted_ = color;
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
    // A running fade counts down through the old number of frames: it restarts from the new one.
    if (timer_.Active()) {
        FadeBack();
    }
}

void TDIBFadeLabel::SetFrameDelay(uint32_t delay_ms) {
    frame_delay_ms_ = delay_ms;
    if (timer_.Active()) {
        if (delay_ms == 0) {
            timer_.SetEnabled(false);
            SetCurrentColor(FontColor());
        } else {
            timer_.SetInterval(delay_ms);
        }
    }
}

TColor TDIBFadeLabel::FadeColor(int i) const {
    const TColor from = ColorToRGB(FontColor());
    const TColor to = ColorToRGB(color_highlighted_);
    TColor entry = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const double a = (from >> shift) & 0xFFu;
        const double b = (to >> shift) & 0xFFu;
        const long channel = std::lround(a + (i + 1.0) * (b - a) / frame_count_);
        entry |= static_cast<TColor>(channel & 0xFF) << shift;
    }
    return entry;
}

std::vector<TColor> TDIBFadeLabel::FadeTable() const {
    std::vector<TColor> table;
    for (int i = 0; frame_count_ >= 2 && i < frame_count_; ++i) {
        table.push_back(FadeColor(i));
    }
    return table;
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
        SetCurrentColor(FontColor());
    }
}

void TDIBFadeLabel::Tick() {
    if (countdown_ > 0 && countdown_ < frame_count_) {
        SetCurrentColor(FadeColor(countdown_));
        --countdown_;
        return;
    }
    timer_.SetEnabled(false);
    SetCurrentColor(FontColor());
}

void TDIBFadeLabel::SetCurrentColor(TColor color) {
    if (color == current_color_) {
        return;
    }
    current_color_ = color;
    Invalidate();
}

void TDIBFadeLabel::AdjustSize() {
    if (!AutoSize()) {
        return;
    }
    const Extent size = MeasureText(Container().Services().fonts, Width());
    int left = Left();
    if (Alignment() == TAlignment::taRightJustify) {
        left = Left() + Width() - size.width;
    } else if (Alignment() == TAlignment::taCenter) {
        left = Left() + (Width() - size.width) / 2;
    }
    SetBounds(left, Top(), size.width, size.height);
}

void TDIBFadeLabel::Draw(TWinDIB& target, int x, int y, const Rect& clip) {
    const Rect box{x, y, x + Width(), y + Height()};
    FontResolver& fonts = Container().Services().fonts;
    const TWinDIB& window = Container().Surface();
    const Rect shown = ShownPart(BoundsRect(), window.Width(), window.Height());
    if (Enabled()) {
        DrawLabel(target, fonts, box, clip, shown, current_color_, std::nullopt);
    } else {
        // The engraved look of disabled text: a highlight copy one pixel down and right, then the text.
        DrawLabel(target, fonts, box, clip, shown, FontColor(), color_highlighted_);
    }
}

void TDIBFadeLabel::DrawContent(TWinDIB& work, int origin_x, int origin_y) {
    Draw(work, origin_x, origin_y, Rect{0, 0, work.Width(), work.Height()});
}

bool TDIBFadeLabel::DrawDirect(TWinDIB& surface, const Rect& part) {
    // The brush and the text keep to the label's rectangle, and at full opacity the copy back is plain.
    Draw(surface, Left(), Top(), part);
    return true;
}

} // namespace kavlo
