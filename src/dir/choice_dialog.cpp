#include "dir/choice_dialog.h"

#include <algorithm>

#include "skin/controls/dialog_form.h"
#include "skin/text/font_resolver.h"

namespace kavlo {

namespace {

constexpr int kFirstChoiceResult = 11;
constexpr int kEastEuropeCharset = 238;

} // namespace

DialogUnits MeasureDialogUnits(FontResolver& fonts, const FontSpec& font) {
    const TextSize size = TextExtent(fonts, font, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return {size.width / 52, size.height};
}

FontSpec ChoiceDialogFont() {
    return FontSpec{.name = "MS Sans Serif", .height = -11, .charset = kEastEuropeCharset};
}

int ShowChoiceDialog(SkinServices services, std::string_view caption, std::string_view question,
                     const std::vector<std::string>& choices) {
    DialogForm dialog(services);
    dialog.SetCaption(std::string(caption));
    const FontSpec font = ChoiceDialogFont();
    const DialogUnits units = MeasureDialogUnits(services.fonts, font);
    const ScreenSize screen = services.app.GetBackend().DisplaySize();
    constexpr unsigned kFlags = kDtWordBreak | kDtNoPrefix;
    const Rect text =
        Render(services.fonts, font, question, Rect{0, 0, screen.width / 2, 0}, kFlags | kDtCalcRect).box;

    const int count = static_cast<int>(choices.size());
    const int buttons_width = count * units.ButtonWidth() + std::max(0, count - 1) * units.ButtonSpacing();
    const int width = 2 * units.HorizontalMargin() + std::max(text.Width(), buttons_width);
    const int height =
        2 * units.VerticalMargin() + text.Height() + units.VerticalSpacing() + units.ButtonHeight();
    dialog.SetClientSize(width, height);
    dialog.CenterOnScreen();

    TLabel& message = dialog.Add<TLabel>("Message", services.fonts);
    message.SetAutoSize(false);
    message.SetWordWrap(true);
    message.SetShowAccelChar(false);
    message.SetClassName("TLabel");
    message.SetFont(font);
    message.SetCaption(std::string(question));
    message.SetBounds(units.HorizontalMargin(), units.VerticalMargin(), text.Width(), text.Height());

    const int buttons_top = units.VerticalMargin() + text.Height() + units.VerticalSpacing();
    int left = (width - buttons_width) / 2;
    for (int i = 0; i < count; ++i) {
        TButton& button = dialog.Add<TButton>("Choice" + std::to_string(i + 1), services.fonts);
        button.SetFont(font);
        button.SetCaption(choices[static_cast<size_t>(i)]);
        button.SetModalResult(kFirstChoiceResult + i);
        button.SetBounds(left, buttons_top, units.ButtonWidth(), units.ButtonHeight());
        left += units.ButtonWidth() + units.ButtonSpacing();
    }
    return dialog.ShowModal();
}

} // namespace kavlo
