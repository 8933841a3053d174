#include "ui/headless/script.h"

#include <charconv>
#include <sstream>

#include "platform/codepage.h"

namespace kavlo {

namespace {

std::vector<std::string> Words(std::string_view line) {
    std::istringstream in{std::string(line)};
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

std::optional<int> Number(std::string_view word) {
    int value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size()) {
        return std::nullopt;
    }
    return value;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

std::optional<ScriptCommand::Kind> KindOf(const std::string& verb) {
    using Kind = ScriptCommand::Kind;
    static const std::pair<const char*, Kind> kVerbs[] = {
        {"click", Kind::Click},       {"rclick", Kind::RClick},
        {"move", Kind::Move},         {"key", Kind::Key},
        {"wheel", Kind::Wheel},       {"wait", Kind::Wait},
        {"answer", Kind::Answer},     {"type", Kind::Type},
        {"dump", Kind::Dump},         {"screenshot", Kind::Screenshot},
        {"quit", Kind::Quit},         {"deactivate", Kind::Deactivate},
        {"activate", Kind::Activate}, {"minimize", Kind::Minimize},
        {"restore", Kind::Restore}};
    for (const auto& [name, kind] : kVerbs) {
        if (verb == name) {
            return kind;
        }
    }
    return std::nullopt;
}

// The rest of a line after its first word, as written (file names and typed text keep their spaces).
std::string_view Rest(std::string_view line) {
    const size_t start = line.find_first_not_of(" \t");
    const size_t gap = line.find_first_of(" \t", start);
    if (gap == std::string_view::npos) {
        return {};
    }
    const size_t text = line.find_first_not_of(" \t", gap);
    return text == std::string_view::npos ? std::string_view{} : line.substr(text);
}

bool ParsePointer(const std::vector<std::string>& words, ScriptCommand& command) {
    if (words.size() != 2 && words.size() != 4) {
        return false;
    }
    command.name = words[1];
    if (words.size() == 4) {
        command.x = Number(words[2]);
        command.y = Number(words[3]);
        return command.x && command.y;
    }
    return true;
}

bool ParseAnswer(const std::string& word, ScriptCommand& command) {
    static const std::pair<const char*, MbResult> kAnswers[] = {
        {"yes", MbResult::Yes}, {"no", MbResult::No}, {"ok", MbResult::Ok}, {"cancel", MbResult::Cancel}};
    for (const auto& [name, result] : kAnswers) {
        if (Lower(word) == name) {
            command.answer = result;
            return true;
        }
    }
    const std::optional<int> n = Number(word);
    command.amount = n.value_or(0);
    return n && *n >= 1;
}

// Fills the command from its words; false when the line is not one the runner understands.
bool ParseArguments(std::string_view line, const std::vector<std::string>& words, ScriptCommand& command) {
    using Kind = ScriptCommand::Kind;
    switch (command.kind) {
        case Kind::Click:
        case Kind::RClick:
        case Kind::Move:
            return ParsePointer(words, command);
        case Kind::Key: {
            const std::optional<uint16_t> key =
                words.size() == 2 ? VirtualKeyFromName(words[1]) : std::nullopt;
            command.key = key.value_or(0);
            return key.has_value();
        }
        case Kind::Wheel:
            if (words.size() != 4 || (Lower(words[1]) != "up" && Lower(words[1]) != "down")) {
                return false;
            }
            command.amount = Lower(words[1]) == "up" ? 120 : -120;
            command.x = Number(words[2]);
            command.y = Number(words[3]);
            return command.x && command.y;
        case Kind::Wait: {
            const std::optional<int> ms = words.size() == 2 ? Number(words[1]) : std::nullopt;
            command.amount = ms.value_or(0);
            return ms && *ms >= 0;
        }
        case Kind::Answer:
            return words.size() == 2 && ParseAnswer(words[1], command);
        case Kind::Type:
            command.text = FromUtf8(Rest(line));
            return words.size() >= 2;
        case Kind::Dump:
        case Kind::Screenshot:
            command.name = std::string(Rest(line));
            return !command.name.empty();
        case Kind::Quit:
        case Kind::Deactivate:
        case Kind::Activate:
        case Kind::Minimize:
        case Kind::Restore:
            return words.size() == 1;
    }
    return false;
}

} // namespace

ScriptParseResult ParseScript(std::string_view text) {
    ScriptParseResult result;
    std::istringstream in{std::string(text)};
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::vector<std::string> words = Words(line);
        if (words.empty() || words[0][0] == '#') {
            continue;
        }
        ScriptCommand command;
        command.line = number;
        const std::optional<ScriptCommand::Kind> kind = KindOf(Lower(words[0]));
        if (kind) {
            command.kind = *kind;
        }
        if (!kind || !ParseArguments(line, words, command)) {
            result.error = "script line " + std::to_string(number) + ": cannot understand \"" + line + "\"";
            result.commands.clear();
            return result;
        }
        result.commands.push_back(std::move(command));
    }
    return result;
}

ScriptRunner::ScriptRunner(HeadlessBackend& backend, ScriptHost& host, std::vector<ScriptCommand> commands)
    : backend_(backend), host_(host), commands_(std::move(commands)) {}

void ScriptRunner::Attach() {
    backend_.SetScriptSource([this] { return Step(); });
}

bool ScriptRunner::Step() {
    while (!ended_ && next_ < commands_.size()) {
        const ScriptCommand& command = commands_[next_];
        // A box that the script does not turn to takes its default button and the run goes on: the
        // command runs once the box has closed.
        WindowedMessageBoxes* boxes = backend_.BoxWindows();
        if (boxes != nullptr && boxes->BoxOpen() && !ForOpenBox(command)) {
            boxes->AnswerDefault();
            return true;
        }
        ++next_;
        if (Run(command)) {
            return true;
        }
    }
    ended_ = true;
    return false;
}

bool ScriptRunner::ForOpenBox(const ScriptCommand& command) {
    using Kind = ScriptCommand::Kind;
    switch (command.kind) {
        case Kind::Answer:
        case Kind::Dump:
        case Kind::Screenshot:
        case Kind::Key:
        case Kind::Type:
            return true;
        case Kind::Click:
        case Kind::RClick:
        case Kind::Move: {
            const std::optional<ScriptHost::Target> target = host_.FindTarget(command.name);
            return target && target->window == InputWindow();
        }
        case Kind::Wheel:
        case Kind::Wait:
        case Kind::Quit:
        case Kind::Deactivate:
        case Kind::Activate:
        case Kind::Minimize:
        case Kind::Restore:
            return false;
    }
    return false;
}

void ScriptRunner::Fail(const ScriptCommand& command, std::string why) {
    if (error_.empty()) {
        error_ = "script line " + std::to_string(command.line) + ": " + std::move(why);
    }
    ended_ = true;
}

WindowId ScriptRunner::InputWindow() const {
    return backend_.ActiveWindow().value_or(kNoWindow);
}

bool ScriptRunner::Pointer(const ScriptCommand& command) {
    const std::optional<ScriptHost::Target> target = host_.FindTarget(command.name);
    if (!target) {
        Fail(command, "no component named " + command.name);
        return false;
    }
    const int x = target->rect.left + command.x.value_or(target->rect.Width() / 2);
    const int y = target->rect.top + command.y.value_or(target->rect.Height() / 2);
    const WindowId window = target->window;
    backend_.QueueEvent({window, MouseMoveEvent{x, y, {}}});
    if (command.kind == ScriptCommand::Kind::Move) {
        return true;
    }
    const MouseButton button =
        command.kind == ScriptCommand::Kind::Click ? MouseButton::Left : MouseButton::Right;
    ShiftState held;
    held.left = button == MouseButton::Left;
    held.right = button == MouseButton::Right;
    backend_.QueueEvent({window, MouseDownEvent{button, x, y, held}});
    backend_.QueueEvent({window, MouseUpEvent{button, x, y, {}}});
    return true;
}

bool ScriptRunner::Run(const ScriptCommand& command) {
    using Kind = ScriptCommand::Kind;
    switch (command.kind) {
        case Kind::Click:
        case Kind::RClick:
        case Kind::Move:
            return Pointer(command);
        case Kind::Key:
            backend_.QueueEvent({InputWindow(), KeyDownEvent{command.key, {}}});
            backend_.QueueEvent({InputWindow(), KeyUpEvent{command.key, {}}});
            return true;
        case Kind::Wheel:
            backend_.QueueEvent({InputWindow(), MouseMoveEvent{*command.x, *command.y, {}}});
            backend_.QueueEvent({InputWindow(), WheelEvent{command.amount, *command.x, *command.y, {}}});
            return true;
        case Kind::Wait:
            backend_.BeginWait(static_cast<uint64_t>(command.amount));
            return true;
        case Kind::Answer: {
            const BoxAnswer answer = command.answer ? BoxAnswer{*command.answer} : BoxAnswer{command.amount};
            WindowedMessageBoxes* windows = backend_.BoxWindows();
            if (windows == nullptr || !windows->BoxOpen()) {
                // An open dialog takes the answer as a click on that button; otherwise it is kept
                // for the next box.
                if (const std::optional<std::string> button = host_.DialogButtonFor(answer)) {
                    ScriptCommand click = command;
                    click.kind = Kind::Click;
                    click.name = *button;
                    return Pointer(click);
                }
                backend_.QueuedBoxes().QueueAnswer(answer);
                return false;
            }
            if (!windows->Answer(answer)) {
                Fail(command, "the open message box has no such button");
                return false;
            }
            return true;
        }
        case Kind::Type:
            for (const char ch : command.text) {
                backend_.QueueEvent({InputWindow(), CharEvent{ch}});
            }
            return true;
        case Kind::Dump:
            if (!host_.Dump(command.name)) {
                Fail(command, "cannot write " + command.name);
            }
            return false;
        case Kind::Screenshot:
            if (!host_.Screenshot(command.name)) {
                Fail(command, "cannot write " + command.name);
            }
            return false;
        case Kind::Quit:
            ended_ = true;
            return false;
        case Kind::Deactivate:
            backend_.QueueEvent({host_.MainWindow(), FocusLostEvent{}});
            return true;
        case Kind::Activate:
            backend_.QueueEvent({host_.MainWindow(), FocusGainedEvent{}});
            return true;
        case Kind::Minimize:
            backend_.QueueEvent({host_.MainWindow(), MinimizedEvent{}});
            return true;
        case Kind::Restore:
            backend_.QueueEvent({host_.MainWindow(), RestoredEvent{}});
            return true;
    }
    return false;
}

} // namespace kavlo
