#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace kavlo {

// The buttons and icon of a message box, with the values of MessageBox's flags.
enum class MbButtons : int { Ok = 0x0, OkCancel = 0x1, YesNoCancel = 0x3, YesNo = 0x4 };
enum class MbIcon : int { None = 0x0, Error = 0x10, Question = 0x20, Warning = 0x30, Information = 0x40 };
// The answers, with the values of MessageBox's results.
enum class MbResult : int { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// Modal message boxes. Texts are Windows-1250.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MbResult Show(std::string_view text, std::string_view caption, MbButtons buttons,
                          MbIcon icon) = 0;
};

struct MessageBoxRecord {
    std::string text;
    std::string caption;
    MbButtons buttons = MbButtons::Ok;
    MbIcon icon = MbIcon::None;
    MbResult answer = MbResult::Ok;
};

// Answers from a queue and records every box: the headless program's boxes and the tests'.
// With an empty queue a box gets its first button (OK or Yes).
class QueuedMessageBoxes : public MessageBoxes {
public:
    MbResult Show(std::string_view text, std::string_view caption, MbButtons buttons, MbIcon icon) override;

    void QueueAnswer(MbResult answer) { answers_.push_back(answer); }
    const std::vector<MessageBoxRecord>& Shown() const { return shown_; }

private:
    std::deque<MbResult> answers_;
    std::vector<MessageBoxRecord> shown_;
};

} // namespace kavlo
