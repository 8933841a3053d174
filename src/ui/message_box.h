#pragma once

#include <deque>
#include <optional>
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

// The buttons of a box in the order Windows lays them out; the first is the default.
std::vector<MbResult> ButtonsOf(MbButtons buttons);

// An answer given from outside the box: a button by its result, or the n-th button counted from 1.
using BoxAnswer = std::variant<MbResult, int>;
// The button of a box with these buttons that the answer names; nothing when the box has no such button.
std::optional<MbResult> ButtonFor(const BoxAnswer& answer, MbButtons buttons);

// Message boxes that stay open as windows while the program runs on, so that something besides the
// user's input can answer the box open now: a script, or the end of one.
class WindowedMessageBoxes : public MessageBoxes {
public:
    virtual bool BoxOpen() const = 0;
    // Presses that button of the innermost open box; false when none is open or it has no such button.
    virtual bool Answer(const BoxAnswer& answer) = 0;
    // Presses the default button of the innermost open box; false when none is open or it is answered
    // already (its loop has yet to end).
    virtual bool AnswerDefault() = 0;
};

// Answers from a queue and records every box: the headless program's boxes and the tests'.
// A box with nothing queued for it is shown through the windowed boxes when there are any, else it gets
// its default button, the first (OK or Yes), as it does for an answer it has no button for.
class QueuedMessageBoxes : public MessageBoxes {
public:
    MbResult Show(std::string_view text, std::string_view caption, MbButtons buttons, MbIcon icon) override;

    void QueueAnswer(BoxAnswer answer) { answers_.push_back(answer); }
    // The n-th button of the next box, counted from 1.
    void QueueButton(int n) { answers_.push_back(n); }
    void SetUnanswered(MessageBoxes* windows) { unanswered_ = windows; }
    const std::vector<MessageBoxRecord>& Shown() const { return shown_; }

private:
    std::deque<BoxAnswer> answers_;
    MessageBoxes* unanswered_ = nullptr;
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
