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

std::optional<MbResult> ButtonFor(const BoxAnswer& answer, MbButtons buttons) {
    const std::vector<MbResult> offered = ButtonsOf(buttons);
    if (const auto* result = std::get_if<MbResult>(&answer)) {
        if (std::find(offered.begin(), offered.end(), *result) != offered.end()) {
            return *result;
        }
    } else if (const int n = std::get<int>(answer); n >= 1 && n <= static_cast<int>(offered.size())) {
        return offered[static_cast<size_t>(n - 1)];
    }
    return std::nullopt;
}

MbResult QueuedMessageBoxes::Show(std::string_view text, std::string_view caption, MbButtons buttons,
                                  MbIcon icon) {
    MbResult answer = ButtonsOf(buttons).front();
    if (!answers_.empty()) {
        const BoxAnswer queued = answers_.front();
        answers_.pop_front();
        answer = ButtonFor(queued, buttons).value_or(answer);
    } else if (unanswered_ != nullptr) {
        answer = unanswered_->Show(text, caption, buttons, icon);
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
