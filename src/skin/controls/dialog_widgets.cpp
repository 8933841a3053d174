#include "skin/controls/dialog_widgets.h"

#include <algorithm>

#include "platform/codepage.h"
#include "skin/surface/win_dib.h"
#include "skin/text/font_resolver.h"
#include "ui/events.h"

namespace kavlo {

namespace classic {

namespace {

void Fill(TWinDIB& surface, const Rect& rect, TColor color, const Rect& clip) {
    const Rect part = Intersect(rect, clip);
    if (!part.Empty()) {
        surface.FillRect(part, ColorToRGB(color));
    }
}

} // namespace

void Frame(TWinDIB& surface, const Rect& r, TColor top_left, TColor bottom_right, const Rect& clip) {
    if (r.Empty()) {
        return;
    }
    Fill(surface, {r.left, r.top, r.right - 1, r.top + 1}, top_left, clip);
    Fill(surface, {r.left, r.top, r.left + 1, r.bottom - 1}, top_left, clip);
    Fill(surface, {r.left, r.bottom - 1, r.right, r.bottom}, bottom_right, clip);
    Fill(surface, {r.right - 1, r.top, r.right, r.bottom}, bottom_right, clip);
}

void Sunken(TWinDIB& surface, const Rect& r, const Rect& clip) {
    Frame(surface, r, clBtnShadow, clBtnHighlight, clip);
    Frame(surface, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, cl3DDkShadow, cl3DLight, clip);
}

void Raised(TWinDIB& surface, const Rect& r, bool pressed, const Rect& clip) {
    if (pressed) {
        // A pushed button is flat: one dark outline and the shadow inside it.
        Frame(surface, r, cl3DDkShadow, cl3DDkShadow, clip);
        Frame(surface, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, clBtnShadow, clBtnShadow, clip);
        return;
    }
    Frame(surface, r, clBtnHighlight, cl3DDkShadow, clip);
    Frame(surface, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, cl3DLight, clBtnShadow, clip);
}

void FocusRect(TWinDIB& surface, const Rect& r, const Rect& clip) {
    const Rect area = Intersect(r, Intersect(clip, Rect{0, 0, surface.Width(), surface.Height()}));
    if (area.Empty()) {
        return;
    }
    // Every other pixel of the outline, counted round from the top-left corner, as DrawFocusRect does.
    auto dot = [&](int x, int y) {
        if (x >= area.left && x < area.right && y >= area.top && y < area.bottom && ((x + y) & 1) == 0) {
            surface.FillRect({x, y, x + 1, y + 1}, ColorToRGB(clWindowText));
        }
    };
    for (int x = r.left; x < r.right; ++x) {
        dot(x, r.top);
        dot(x, r.bottom - 1);
    }
    for (int y = r.top; y < r.bottom; ++y) {
        dot(r.left, y);
        dot(r.right - 1, y);
    }
}

void Text(TWinDIB& surface, FontResolver& fonts, const FontSpec& font, std::string_view text, const Rect& box,
          unsigned flags, TColor color, const Rect& clip, bool disabled) {
    const Rect part = Intersect(box, clip);
    if (part.Empty() || text.empty()) {
        return;
    }
    const TextMask mask =
        RenderPart(fonts, font, text, box, Rect{part.left - 1, part.top - 1, part.right, part.bottom}, flags);
    if (disabled) {
        surface.DrawTextMask(mask, 1, 1, ColorToRGB(clBtnHighlight), part);
        surface.DrawTextMask(mask, 0, 0, ColorToRGB(clGrayText), part);
        return;
    }
    surface.DrawTextMask(mask, 0, 0, ColorToRGB(color), part);
}

} // namespace classic

void DialogControl::SetFont(FontSpec font) {
    font_ = std::move(font);
    Invalidate();
}

void DialogControl::SetFocused(bool focused) {
    if (focused != focused_) {
        focused_ = focused;
        FocusChanged();
    }
}

bool DialogControl::KeyDown(uint16_t, ShiftState) {
    return false;
}

void DialogControl::CharTyped(char) {}

void DialogControl::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
    if (button == MouseButton::Left && CanFocus() && request_focus) {
        request_focus(*this);
    }
    TControl::MouseDown(button, shift, x, y);
}

int DialogControl::LineHeight() const {
    return TextExtent(fonts_, font_, "Ag").height;
}

// ----- TEdit

void TEdit::SetText(std::string text) {
    caret_ = text.size();
    if (text != text_) {
        text_ = std::move(text);
        if (OnChange) {
            OnChange(*this);
        }
    }
    Invalidate();
}

void TEdit::SetReadOnly(bool read_only) {
    read_only_ = read_only;
    Invalidate();
}

void TEdit::Edit(std::string text, size_t caret) {
    text_ = std::move(text);
    caret_ = std::min(caret, text_.size());
    Invalidate();
    if (OnChange) {
        OnChange(*this);
    }
}

void TEdit::MoveCaret(size_t caret) {
    caret_ = std::min(caret, text_.size());
    Invalidate();
}

bool TEdit::KeyDown(uint16_t key, ShiftState) {
    switch (key) {
        case vk::Left:
            MoveCaret(caret_ > 0 ? caret_ - 1 : 0);
            return true;
        case vk::Right:
            MoveCaret(caret_ + 1);
            return true;
        case vk::Home:
            MoveCaret(0);
            return true;
        case vk::End:
            MoveCaret(text_.size());
            return true;
        case vk::Back:
            if (!read_only_ && caret_ > 0) {
                Edit(text_.substr(0, caret_ - 1) + text_.substr(caret_), caret_ - 1);
            }
            return true;
        case vk::Delete:
            if (!read_only_ && caret_ < text_.size()) {
                Edit(text_.substr(0, caret_) + text_.substr(caret_ + 1), caret_);
            }
            return true;
        default:
            return false;
    }
}

void TEdit::CharTyped(char ch) {
    if (read_only_) {
        return;
    }
    // Control characters are keys: back-space is taken as a key, Enter, Escape and Tab are the dialog's.
    if (static_cast<unsigned char>(ch) < 0x20) {
        return;
    }
    Edit(text_.substr(0, caret_) + ch + text_.substr(caret_), caret_ + 1);
}

void TEdit::DrawPart(TWinDIB& surface, const Rect& part) {
    const Rect box = BoundsRect();
    classic::Sunken(surface, box, part);
    const Rect inner{box.left + 2, box.top + 2, box.right - 2, box.bottom - 2};
    surface.FillRect(Intersect(inner, part), ColorToRGB(Enabled() ? clWindow : clBtnFace));
    const Rect text_area{inner.left + 1, inner.top, inner.right - 1, inner.bottom};
    // The text scrolls left as far as the caret needs to stay in sight.
    const int caret_x = TextExtent(Fonts(), Font(), std::string_view(text_).substr(0, caret_)).width;
    const int scroll = std::max(0, caret_x - (text_area.Width() - 1));
    const int line = LineHeight();
    const int top = text_area.top + std::max(0, (text_area.Height() - line) / 2);
    const Rect clip = Intersect(text_area, part);
    classic::Text(surface, Fonts(), Font(), text_,
                  {text_area.left - scroll, top, text_area.right + 0x7FFF, top + line},
                  kDtSingleLine | kDtNoPrefix, clWindowText, clip, !Enabled());
    if (Focused() && Enabled()) {
        const int x = text_area.left - scroll + caret_x;
        surface.FillRect(Intersect(Rect{x, top, x + 1, top + line}, clip), ColorToRGB(clWindowText));
    }
}

// ----- TButton

void TButton::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    Invalidate();
}

void TButton::SetFramed(bool framed) {
    if (framed != framed_) {
        framed_ = framed;
        Invalidate();
    }
}

char TButton::Accelerator() const {
    for (size_t i = 0; i + 1 < caption_.size(); ++i) {
        if (caption_[i] != '&') {
            continue;
        }
        if (caption_[i + 1] != '&') {
            return UpperCase1250(caption_[i + 1]);
        }
        ++i; // "&&" shows a plain "&"
    }
    return 0;
}

bool TButton::KeyDown(uint16_t key, ShiftState) {
    if (key == vk::Space) {
        Click();
        return true;
    }
    return false;
}

void TButton::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
    if (button == MouseButton::Left) {
        held_ = true;
        pointer_ = true;
        Invalidate();
    }
    DialogControl::MouseDown(button, shift, x, y);
}

void TButton::MouseUp(MouseButton button, ShiftState shift, int x, int y) {
    if (button == MouseButton::Left && held_) {
        held_ = false;
        Invalidate();
    }
    DialogControl::MouseUp(button, shift, x, y);
}

void TButton::MouseEnter() {
    pointer_ = true;
    if (held_) {
        Invalidate();
    }
    DialogControl::MouseEnter();
}

void TButton::MouseLeave() {
    pointer_ = false;
    if (held_) {
        Invalidate();
    }
    DialogControl::MouseLeave();
}

void TButton::Click() {
    if (!Enabled() || !Visible()) {
        return;
    }
    DialogControl::Click();
    if (modal_result_ != 0 && end_modal) {
        end_modal(modal_result_);
    }
}

void TButton::DrawPart(TWinDIB& surface, const Rect& part) {
    Rect face = BoundsRect();
    surface.FillRect(part, ColorToRGB(clBtnFace));
    if (framed_ && Enabled()) {
        classic::Frame(surface, face, clWindowFrame, clWindowFrame, part);
        face = {face.left + 1, face.top + 1, face.right - 1, face.bottom - 1};
    }
    const bool pressed = held_ && pointer_;
    classic::Raised(surface, face, pressed, part);
    Rect text_box = face;
    if (pressed) {
        text_box = {text_box.left + 1, text_box.top + 1, text_box.right + 1, text_box.bottom + 1};
    }
    classic::Text(surface, Fonts(), Font(), caption_, text_box, kDtCenter | kDtVCenter | kDtSingleLine,
                  clBtnText, part, !Enabled());
    if (Focused()) {
        classic::FocusRect(surface, {face.left + 3, face.top + 3, face.right - 3, face.bottom - 3}, part);
    }
}

} // namespace kavlo
