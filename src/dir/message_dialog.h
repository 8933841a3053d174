#pragma once

#include <string_view>
#include <vector>

#include "skin/controls/dib_site.h"
#include "ui/message_box.h"

namespace kavlo {

class DialogForm;

// Message boxes as modal dialogs of the menu's own, drawn with the dialog widgets on a window of their
// own centred on the screen: the caption, a sign for the icon ("Icon"), the text word-wrapped in
// "Message", and the buttons "OKButton", "CancelButton", "YesButton", "NoButton" in Windows' order, the
// first the default. Enter, Escape, the buttons' letters and the script all answer them; a box the
// program terminates under takes its default button.
class DialogMessageBoxes final : public WindowedMessageBoxes {
public:
    explicit DialogMessageBoxes(SkinServices services) : services_(services) {}

    MbResult Show(std::string_view text, std::string_view caption, MbButtons buttons, MbIcon icon) override;
    bool BoxOpen() const override { return !open_.empty(); }
    bool Answer(const BoxAnswer& answer) override;
    bool AnswerDefault() override;

private:
    struct OpenBox {
        DialogForm* dialog = nullptr;
        MbButtons buttons = MbButtons::Ok;
    };

    SkinServices services_;
    std::vector<OpenBox> open_; // innermost last
};

} // namespace kavlo
