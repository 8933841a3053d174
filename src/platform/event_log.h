#pragma once

#include <string>
#include <variant>
#include <vector>

namespace kavlo {

// What the menu showed to or asked of the world, in order: message boxes, programs started and shell
// verbs. Texts are Windows-1250, as the menu holds them. The headless program dumps it; in a window it
// is kept all the same, so a run can be read back.
struct LoggedMessageBox {
    std::string caption;
    std::string text;
    std::string buttons; // "ok", "okcancel", "yesno", "yesnocancel"
    std::string answer;  // "ok", "cancel", "yes", "no"
};
struct LoggedProcess {
    std::string command_line;
    std::string working_dir;
    bool wait = false; // the menu waits for the program to end
};
struct LoggedShell {
    std::string verb; // "open", "play", "install" as the caller wrote it
    std::string file;
    std::string params;
    std::string dir;
};
using LoggedEvent = std::variant<LoggedMessageBox, LoggedProcess, LoggedShell>;

class EventLog {
public:
    void Add(LoggedEvent event) { events_.push_back(std::move(event)); }
    const std::vector<LoggedEvent>& Events() const { return events_; }

private:
    std::vector<LoggedEvent> events_;
};

} // namespace kavlo
