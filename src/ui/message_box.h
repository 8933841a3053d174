#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/event_log.h"

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

// The buttons of a box in the order Windows lays them out.
std::vector<MbResult> ButtonsOf(MbButtons buttons);

// Answers from a queue and records every box: the headless program's boxes and the tests'.
// With an empty queue, or an answer the box has no button for, a box gets its default button, the
// first (OK or Yes).
class QueuedMessageBoxes : public MessageBoxes {
public:
    MbResult Show(std::string_view text, std::string_view caption, MbButtons buttons, MbIcon icon) override;

    void QueueAnswer(MbResult answer) { answers_.push_back(answer); }
    // The n-th button of the next box, counted from 1.
    void QueueButton(int n) { answers_.push_back(n); }
    const std::vector<MessageBoxRecord>& Shown() const { return shown_; }

private:
    std::deque<std::variant<MbResult, int>> answers_;
    std::vector<MessageBoxRecord> shown_;
};

// Shows boxes through another set of boxes and writes each, with its answer, to the event log.
class LoggedMessageBoxes : public MessageBoxes {
public:
    LoggedMessageBoxes(MessageBoxes& inner, EventLog& log) : inner_(inner), log_(log) {}
    MbResult Show(std::string_view text, std::string_view caption, MbButtons buttons, MbIcon icon) override;

private:
    MessageBoxes& inner_;
    EventLog& log_;
};

// The names the event log and scripts use: "ok", "okcancel", "yesno", "yesnocancel"; "ok", "cancel",
// "yes", "no".
std::string ButtonsName(MbButtons buttons);
std::string AnswerName(MbResult answer);

} // namespace kavlo
