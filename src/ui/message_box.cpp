#include "ui/message_box.h"

namespace kavlo {

MbResult QueuedMessageBoxes::Show(std::string_view text, std::string_view caption, MbButtons buttons,
                                  MbIcon icon) {
    MbResult answer =
        buttons == MbButtons::Ok || buttons == MbButtons::OkCancel ? MbResult::Ok : MbResult::Yes;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    shown_.push_back({std::string(text), std::string(caption), buttons, icon, answer});
    return answer;
}

} // namespace kavlo
