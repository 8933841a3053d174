#include "dir/message_dialog.h"

#include <algorithm>
#include <string>

#include "dir/choice_dialog.h"
#include "skin/controls/dialog_form.h"
#include "skin/controls/plain_controls.h"
#include "skin/text/font_resolver.h"

namespace kavlo {

namespace {

constexpr int kIconSide = 32;

struct ButtonLook {
    MbResult result;
    const char* name;
    const char* caption;
};

constexpr ButtonLook kButtons[] = {{MbResult::Ok, "OKButton", "OK"},
                                   {MbResult::Cancel, "CancelButton", "Cancel"},
                                   {MbResult::Yes, "YesButton", "&Yes"},
                                   {MbResult::No, "NoButton", "&No"}};

const ButtonLook& LookOf(MbResult result) {
    return *std::find_if(std::begin(kButtons), std::end(kButtons),
                         [result](const ButtonLook& look) { return look.result == result; });
}

// The sign standing for the box's icon: a letter on the colours of the Windows icon it stands for.
void AddIconSign(DialogForm& dialog, FontResolver& fonts, MbIcon icon, int left, int top) {
    struct Sign {
        const char* letter;
        TColor face;
        TColor ink;
    };
    constexpr TColor kRed = 0x0000FF;
    constexpr TColor kBlue = 0xFF0000;
    constexpr TColor kYellow = 0x00FFFF;
    constexpr TColor kWhite = 0xFFFFFF;
    constexpr TColor kBlack = 0x000000;
    const Sign sign = icon == MbIcon::Error      ? Sign{"X", kRed, kWhite}
                      : icon == MbIcon::Question ? Sign{"?", kBlue, kWhite}
                      : icon == MbIcon::Warning  ? Sign{"!", kYellow, kBlack}
                                                 : Sign{"i", kBlue, kWhite};
    TLabel& label = dialog.Add<TLabel>("Icon", fonts);
    label.SetClassName("TLabel");
    label.SetAutoSize(false);
    label.SetShowAccelChar(false);
    label.SetTransparent(false);
    label.SetColor(sign.face);
    label.SetFont(FontSpec{.name = "Arial", .height = -24, .bold = true});
    label.SetFontColor(sign.ink);
    label.SetAlignment(TAlignment::taCenter);
    label.SetLayout(TTextLayout::tlCenter);
    label.SetCaption(sign.letter);
    label.SetBounds(left, top, kIconSide, kIconSide);
}

// Lays the box out as Windows does: the sign at the top left, the text beside it (centred on the sign
// when shorter), the buttons centred in a row below both, the whole centred on the screen.
void Build(DialogForm& dialog, SkinServices services, std::string_view text, std::string_view caption,
           MbButtons buttons, MbIcon icon) {
    dialog.SetCaption(std::string(caption));
    const FontSpec font = ChoiceDialogFont();
    const DialogUnits units = MeasureDialogUnits(services.fonts, font);
    const ScreenSize screen = services.app.GetBackend().DisplaySize();
    constexpr unsigned kFlags = kDtWordBreak | kDtNoPrefix;
    const Rect measured =
        Render(services.fonts, font, text, Rect{0, 0, screen.width / 2, 0}, kFlags | kDtCalcRect).box;
    const int text_width = std::max(measured.Width(), 1);
    const int text_height = std::max(measured.Height(), units.char_height);

    const int margin_x = units.HorizontalMargin();
    const int margin_y = units.VerticalMargin();
    const int sign_height = icon == MbIcon::None ? 0 : kIconSide;
    const int text_left = icon == MbIcon::None ? margin_x : 2 * margin_x + kIconSide;
    const int body_height = std::max(text_height, sign_height);

    const std::vector<MbResult> offered = ButtonsOf(buttons);
    const int count = static_cast<int>(offered.size());
    const int row_width = count * units.ButtonWidth() + (count - 1) * units.ButtonSpacing();
    const int width = std::max(text_left + text_width + margin_x, 2 * margin_x + row_width);
    const int buttons_top = margin_y + body_height + units.VerticalSpacing();
    dialog.SetClientSize(width, buttons_top + units.ButtonHeight() + margin_y);
    dialog.CenterOnScreen();

    if (icon != MbIcon::None) {
        AddIconSign(dialog, services.fonts, icon, margin_x, margin_y);
    }
    TLabel& message = dialog.Add<TLabel>("Message", services.fonts);
    message.SetClassName("TLabel");
    message.SetAutoSize(false);
    message.SetWordWrap(true);
    message.SetShowAccelChar(false);
    message.SetFont(font);
    message.SetCaption(std::string(text));
    message.SetBounds(text_left, margin_y + (body_height - text_height) / 2, text_width, text_height);

    const bool has_cancel = std::find(offered.begin(), offered.end(), MbResult::Cancel) != offered.end();
    int left = (width - row_width) / 2;
    for (const MbResult result : offered) {
        const ButtonLook& look = LookOf(result);
        TButton& button = dialog.Add<TButton>(look.name, services.fonts);
        button.SetFont(font);
        button.SetCaption(look.caption);
        button.SetModalResult(static_cast<int>(result));
        button.SetDefault(result == offered.front());
        // Escape presses Cancel, or OK when it is the only button; a Yes/No question cannot be escaped.
        button.SetCancel(result == MbResult::Cancel || (!has_cancel && buttons == MbButtons::Ok));
        button.SetBounds(left, buttons_top, units.ButtonWidth(), units.ButtonHeight());
        left += units.ButtonWidth() + units.ButtonSpacing();
    }
}

bool Press(DialogForm& dialog, MbResult result) {
    TButton* button = dialog.Skin().Find<TButton>(LookOf(result).name);
    if (button == nullptr) {
        return false;
    }
    dialog.FocusControl(*button);
    button->Click();
    return true;
}

} // namespace

MbResult DialogMessageBoxes::Show(std::string_view text, std::string_view caption, MbButtons buttons,
                                  MbIcon icon) {
    DialogForm dialog(services_);
    Build(dialog, services_, text, caption, buttons, icon);
    // Listed while its loop runs, and no longer whichever way the loop ends.
    struct Listing {
        std::vector<OpenBox>& open;
        ~Listing() { open.pop_back(); }
    };
    open_.push_back({&dialog, buttons});
    int result = mrCancel;
    {
        const Listing listed{open_};
        result = dialog.ShowModal();
    }
    const std::vector<MbResult> offered = ButtonsOf(buttons);
    if (services_.app.Terminated()) {
        return offered.front();
    }
    // A button's own result; the close box gives Cancel where there is one, else the default.
    const auto pressed = std::find_if(offered.begin(), offered.end(),
                                      [result](MbResult b) { return static_cast<int>(b) == result; });
    return pressed != offered.end() ? *pressed : offered.front();
}

bool DialogMessageBoxes::Answer(const BoxAnswer& answer) {
    if (open_.empty()) {
        return false;
    }
    const OpenBox& box = open_.back();
    const std::optional<MbResult> button = ButtonFor(answer, box.buttons);
    return button && Press(*box.dialog, *button);
}

bool DialogMessageBoxes::AnswerDefault() {
    if (open_.empty() || open_.back().dialog->ModalResult() != mrNone) {
        return false;
    }
    const OpenBox& box = open_.back();
    return Press(*box.dialog, ButtonsOf(box.buttons).front());
}

} // namespace kavlo
