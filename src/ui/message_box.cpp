#include "ui/message_box.h"

#include <algorithm>

namespace kavlo {

std::vector<MbResult> ButtonsOf(MbButtons buttons) {
    switch (buttons) {
        case MbButtons::OkCancel:
            return {MbResult::Ok, MbResult::Cancel};
        case MbButtons::YesNoCancel:
            return {MbResult::Yes, MbResult::No, MbResult::Cancel};
        case MbButtons::YesNo:
            return {MbResult::Yes, MbResult::No};
        default:
            return {MbResult::Ok};
    }
}

MbResult QueuedMessageBoxes::Show(std::string_view text, std::string_view caption, MbButtons buttons,
                                  MbIcon icon) {
    const std::vector<MbResult> offered = ButtonsOf(buttons);
    MbResult answer = offered.front();
    if (!answers_.empty()) {
        const std::variant<MbResult, int> queued = answers_.front();
        answers_.pop_front();
        if (const auto* result = std::get_if<MbResult>(&queued)) {
            if (std::find(offered.begin(), offered.end(), *result) != offered.end()) {
                answer = *result;
            }
        } else if (const int n = std::get<int>(queued); n >= 1 && n <= static_cast<int>(offered.size())) {
            answer = offered[static_cast<size_t>(n - 1)];
        }
    }
    shown_.push_back({std::string(text), std::string(caption), buttons, icon, answer});
    return answer;
}

MbResult LoggedMessageBoxes::Show(std::string_view text, std::string_view caption, MbButtons buttons,
                                  MbIcon icon) {
    const MbResult answer = inner_.Show(text, caption, buttons, icon);
    log_.Add(
        LoggedMessageBox{std::string(caption), std::string(text), ButtonsName(buttons), AnswerName(answer)});
    return answer;
}

std::string ButtonsName(MbButtons buttons) {
    switch (buttons) {
        case MbButtons::OkCancel:
            return "okcancel";
        case MbButtons::YesNoCancel:
            return "yesnocancel";
        case MbButtons::YesNo:
            return "yesno";
        default:
            return "ok";
    }
}

std::string AnswerName(MbResult answer) {
    switch (answer) {
        case MbResult::Cancel:
            return "cancel";
        case MbResult::Yes:
            return "yes";
        case MbResult::No:
            return "no";
        default:
            return "ok";
    }
}

} // namespace kavlo
