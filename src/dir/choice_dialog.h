#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "skin/controls/dib_site.h"
#include "skin/text/text.h"

namespace kavlo {

class FontResolver;

// A dialog's measures in dialog units, from the average size of its font's letters.
struct DialogUnits {
    int char_width = 0;  // the 52 letters' width / 52
    int char_height = 0; // their height
    int HorizontalMargin() const { return 8 * char_width / 4; }
    int VerticalMargin() const { return 8 * char_height / 8; }
    int VerticalSpacing() const { return 10 * char_height / 8; }
    int ButtonWidth() const { return 50 * char_width / 4; }
    int ButtonHeight() const { return 14 * char_height / 8; }
    int ButtonSpacing() const { return 4 * char_width / 4; }
};
DialogUnits MeasureDialogUnits(FontResolver& fonts, const FontSpec& font);

// The font of the menu's own dialogs: the system's dialog face in the Central European character set.
FontSpec ChoiceDialogFont();

// Asks `question` in a modal dialog centred on the screen, captioned `caption`, with one button per
// choice ("Choice1", "Choice2", ...): the result is 11 + the index of the pressed button, or mrCancel (2)
// when the dialog is closed by its close box.
int ShowChoiceDialog(SkinServices services, std::string_view caption, std::string_view question,
                     const std::vector<std::string>& choices);

} // namespace kavlo
