#include "ui/sdl/sdl_message_box.h"

#include <SDL.h>

#include <string>
#include <vector>

#include "platform/codepage.h"

namespace kavlo {

namespace {

struct Choice {
    MbResult answer = MbResult::Ok;
    const char* label = "";
};

// The buttons in Windows' order; the first is the one Enter presses.
std::vector<Choice> ChoicesOf(MbButtons buttons) {
    switch (buttons) {
        case MbButtons::OkCancel:
            return {{MbResult::Ok, "OK"}, {MbResult::Cancel, "Cancel"}};
        case MbButtons::YesNoCancel:
            return {{MbResult::Yes, "Yes"}, {MbResult::No, "No"}, {MbResult::Cancel, "Cancel"}};
        case MbButtons::YesNo:
            return {{MbResult::Yes, "Yes"}, {MbResult::No, "No"}};
        case MbButtons::Ok:
            break;
    }
    return {{MbResult::Ok, "OK"}};
}

// What Escape or closing the box answers: the cautious choice.
MbResult EscapeAnswer(MbButtons buttons) {
    switch (buttons) {
        case MbButtons::OkCancel:
        case MbButtons::YesNoCancel:
            return MbResult::Cancel;
        case MbButtons::YesNo:
            return MbResult::No;
        case MbButtons::Ok:
            break;
    }
    return MbResult::Ok;
}

uint32_t IconFlags(MbIcon icon) {
    switch (icon) {
        case MbIcon::Error:
            return SDL_MESSAGEBOX_ERROR;
        case MbIcon::Warning:
            return SDL_MESSAGEBOX_WARNING;
        case MbIcon::Question:
        case MbIcon::Information:
            return SDL_MESSAGEBOX_INFORMATION;
        case MbIcon::None:
            break;
    }
    return 0;
}

} // namespace

MbResult SdlMessageBoxes::Show(std::string_view text, std::string_view caption, MbButtons buttons,
                               MbIcon icon) {
    const std::vector<Choice> choices = ChoicesOf(buttons);
    const MbResult escape = EscapeAnswer(buttons);
    std::vector<SDL_MessageBoxButtonData> data;
    for (const Choice& choice : choices) {
        uint32_t flags = data.empty() ? SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT : 0;
        if (choice.answer == escape) {
            flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        }
        data.push_back({flags, static_cast<int>(choice.answer), choice.label});
    }
    const std::string text_utf8 = ToUtf8(text);
    const std::string caption_utf8 = ToUtf8(caption);
    const SDL_MessageBoxData box{IconFlags(icon) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT,
                                 parent_ ? parent_() : nullptr,
                                 caption_utf8.c_str(),
                                 text_utf8.c_str(),
                                 static_cast<int>(data.size()),
                                 data.data(),
                                 nullptr};
    int pressed = -1;
    if (SDL_ShowMessageBox(&box, &pressed) != 0 || pressed < 0) {
        return escape;
    }
    return static_cast<MbResult>(pressed);
}

} // namespace kavlo
