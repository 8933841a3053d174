#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/geometry.h"
#include "ui/headless/headless_backend.h"

namespace kavlo {

// One line of a headless script.
struct ScriptCommand {
    enum class Kind {
        Click,
        RClick,
        Move,
        Key,
        Wheel,
        Wait,
        Answer,
        Type,
        Dump,
        Screenshot,
        Quit,
        // Another program takes the focus and gives it back; the window goes to the task bar and back.
        Deactivate,
        Activate,
        Minimize,
        Restore
    };
    Kind kind = Kind::Quit;
    int line = 0;
    std::string name;               // component (click, rclick, move) or file (dump, screenshot)
    std::optional<int> x, y;        // click/rclick/move: from the component's top-left; wheel: client
    uint16_t key = 0;               // key
    int amount = 0;                 // wait: ms; wheel: +120 up, -120 down; answer: button number
    std::optional<MbResult> answer; // answer by name
    std::string text;               // type: Windows-1250
};

struct ScriptParseResult {
    std::vector<ScriptCommand> commands;
    std::string error; // empty when every line was understood
};

// One command a line (blank lines and lines starting with '#' are skipped); the script is UTF-8.
ScriptParseResult ParseScript(std::string_view text);

// What a script needs of the program it drives.
class ScriptHost {
public:
    struct Target {
        WindowId window = kNoWindow;
        ScreenRect rect; // client coordinates of that window
    };
    virtual ~ScriptHost() = default;
    // The component of that name in any window of the program; nothing when there is none.
    virtual std::optional<Target> FindTarget(std::string_view name) = 0;
    // The button of the innermost open dialog that an answer presses: the N-th of its shown buttons,
    // or the button named for the answer ("OKButton", "CancelButton", "YesButton", "NoButton");
    // nothing when no dialog is open or it has no such button.
    virtual std::optional<std::string> DialogButtonFor(const BoxAnswer& answer) = 0;
    // Writes the state dump or the screenshot; false when the file cannot be written.
    virtual bool Dump(const std::string& file) = 0;
    virtual bool Screenshot(const std::string& file) = 0;
    // The program's main window: what activation and minimising commands address.
    virtual WindowId MainWindow() = 0;

protected:
    ScriptHost() = default;
};

// Plays a parsed script into a headless backend, one command each time the program has nothing left
// to do: input is queued, waits let the virtual clock run, answers press a button of the box open now
// or wait for the next box.
class ScriptRunner {
public:
    ScriptRunner(HeadlessBackend& backend, ScriptHost& host, std::vector<ScriptCommand> commands);
    // Hands the runner to the backend as its script source.
    void Attach();
    // Runs commands until one gives the program something to do; false when the script has ended
    // (by running out, by quit, or by an error).
    bool Step();
    const std::string& Error() const { return error_; }

private:
    // True when the command gave the program input or time.
    bool Run(const ScriptCommand& command);
    // Whether the command turns to an open message box: answers, keys and typing (the box has the
    // focus), pointer commands on its buttons, and dumps, which show it.
    bool ForOpenBox(const ScriptCommand& command);
    bool Pointer(const ScriptCommand& command);
    WindowId InputWindow() const;
    void Fail(const ScriptCommand& command, std::string why);

    HeadlessBackend& backend_;
    ScriptHost& host_;
    std::vector<ScriptCommand> commands_;
    size_t next_ = 0;
    bool ended_ = false;
    std::string error_;
};

} // namespace kavlo
