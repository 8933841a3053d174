#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "skin/controls/form_control.h"
#include "skin/text/text.h"

namespace kavlo {

class FontResolver;

// The classic scheme's system colours the dialog widgets paint with.
inline constexpr TColor clWindow = 0x80000005;
inline constexpr TColor clWindowFrame = 0x80000006;
inline constexpr TColor clWindowText = 0x80000008;
inline constexpr TColor clHighlight = 0x8000000D;
inline constexpr TColor clHighlightText = 0x8000000E;
inline constexpr TColor clBtnFace = 0x8000000F;
inline constexpr TColor clBtnShadow = 0x80000010;
inline constexpr TColor clGrayText = 0x80000011;
inline constexpr TColor clBtnText = 0x80000012;
inline constexpr TColor clBtnHighlight = 0x80000014;
inline constexpr TColor cl3DDkShadow = 0x80000015;
inline constexpr TColor cl3DLight = 0x80000016;

// Windows-classic drawing on a surface, each touching only pixels inside `clip`.
namespace classic {
// A one-pixel frame: top and left in one colour, bottom and right in the other.
void Frame(TWinDIB& surface, const Rect& rect, TColor top_left, TColor bottom_right, const Rect& clip);
// The two-pixel well of an edit box or a list.
void Sunken(TWinDIB& surface, const Rect& rect, const Rect& clip);
// The two-pixel bevel of a button face; `pressed` draws it pushed in.
void Raised(TWinDIB& surface, const Rect& rect, bool pressed, const Rect& clip);
// The dotted rectangle round the focused item.
void FocusRect(TWinDIB& surface, const Rect& rect, const Rect& clip);
// Text as DrawText draws it into `box`; `disabled` engraves it (highlight copy one pixel down and right,
// then the grey text).
void Text(TWinDIB& surface, FontResolver& fonts, const FontSpec& font, std::string_view text, const Rect& box,
          unsigned flags, TColor color, const Rect& clip, bool disabled = false);
} // namespace classic

// A control of a dialog that may hold the keyboard focus: the form tells it when it has the focus and
// hands it the keys and typed characters; a press on it asks the form for the focus.
class DialogControl : public TFormControl {
public:
    explicit DialogControl(FontResolver& fonts) : fonts_(fonts) {}

    const FontSpec& Font() const { return font_; }
    void SetFont(FontSpec font);
    bool Focused() const { return focused_; }
    void SetFocused(bool focused);
    // Whether Tab and a press may give it the focus now.
    virtual bool CanFocus() const { return Visible() && Enabled(); }
    // A key while it has the focus; false leaves the key to the form (Enter, Escape, Tab).
    virtual bool KeyDown(uint16_t key, ShiftState shift);
    // A typed character (Windows-1250) while it has the focus.
    virtual void CharTyped(char ch);
    // The form's hook: the control asks for the focus.
    std::function<void(DialogControl&)> request_focus;

    void MouseDown(MouseButton button, ShiftState shift, int x, int y) override;

protected:
    virtual void FocusChanged() { Invalidate(); }
    FontResolver& Fonts() const { return fonts_; }
    // The font's line height in pixels.
    int LineHeight() const;

private:
    FontResolver& fonts_;
    FontSpec font_{.name = "MS Sans Serif", .height = -11};
    bool focused_ = false;
};

// A one-line edit box: caret, typing, back-space and delete, the caret keys; read-only keeps the
// caret but refuses changes.
class TEdit : public DialogControl {
public:
    explicit TEdit(FontResolver& fonts) : DialogControl(fonts) { SetClassName("TEdit"); }

    const std::string& Text() const { return text_; }
    // The caret goes to the end, as after Delphi's Text assignment followed by the user's End.
    void SetText(std::string text);
    bool ReadOnly() const { return read_only_; }
    void SetReadOnly(bool read_only);
    size_t CaretPos() const { return caret_; }
    std::function<void(TEdit&)> OnChange;

    bool KeyDown(uint16_t key, ShiftState shift) override;
    void CharTyped(char ch) override;

protected:
    void DrawPart(TWinDIB& surface, const Rect& part) override;

private:
    void Edit(std::string text, size_t caret);
    void MoveCaret(size_t caret);

    std::string text_;
    size_t caret_ = 0;
    bool read_only_ = false;
};

// A push button: caption with an "&" accelerator, Default (Enter) and Cancel (Escape) roles and a modal
// result it gives its form when clicked.
class TButton : public DialogControl {
public:
    explicit TButton(FontResolver& fonts) : DialogControl(fonts) { SetClassName("TButton"); }

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    bool Default() const { return default_; }
    void SetDefault(bool is_default) { default_ = is_default; }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool cancel) { cancel_ = cancel; }
    int ModalResult() const { return modal_result_; }
    void SetModalResult(int result) { modal_result_ = result; }
    // The black frame of the button Enter would press; the form decides which one has it.
    bool Framed() const { return framed_; }
    void SetFramed(bool framed);
    // The accelerator letter of the caption, upper-cased; 0 when it has none.
    char Accelerator() const;
    // The form's hook: a click with a modal result ends the dialog with it.
    std::function<void(int result)> end_modal;

    bool KeyDown(uint16_t key, ShiftState shift) override;
    void MouseDown(MouseButton button, ShiftState shift, int x, int y) override;
    void MouseUp(MouseButton button, ShiftState shift, int x, int y) override;
    void MouseLeave() override;
    void MouseEnter() override;
    void Click() override;

protected:
    void DrawPart(TWinDIB& surface, const Rect& part) override;

private:
    std::string caption_;
    bool default_ = false;
    bool cancel_ = false;
    int modal_result_ = 0;
    bool framed_ = false;
    bool held_ = false;    // the left button went down on it and is not yet released
    bool pointer_ = false; // the pointer is over it
};

} // namespace kavlo
