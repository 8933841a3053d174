#include "engine/launch.h"

#include "engine/command_lines.h"
#include "engine/paths.h"
#include "platform/codepage.h"

namespace kavlo {

namespace {

// How long one turn of a wait sleeps while the program runs: the window still answers within a
// twentieth of a second, and each turn's look at the window system costs next to nothing. At 20 ms the
// turns alone took 0.5-0.75 % of a core.
constexpr uint32_t kWaitSliceMs = 50;

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

// Replaces the first "%<letter>" in either case.
void ReplaceFirstPlaceholder(std::string& text, char letter, std::string_view by) {
    const std::string upper = UCase(text);
    const std::string placeholder = std::string("%") + letter;
    if (const size_t at = upper.find(placeholder); at != std::string::npos) {
        text.replace(at, placeholder.size(), by);
    }
}

} // namespace

Launcher::Launcher(Platform& platform, Application& app, MessageBoxes& boxes)
    : platform_(platform), app_(app), boxes_(boxes) {}

void Launcher::ReportDoubtfulPath(std::string_view command_line) {
    if (settings_.debug && Contains(command_line, "\\\\")) {
        boxes_.Show("Wrong path: " + std::string(command_line), settings_.caption, MbButtons::Ok,
                    MbIcon::None);
    }
}

bool Launcher::NormalExec(std::string_view command_line) {
    if (command_line.empty()) {
        return false;
    }
    ReportDoubtfulPath(command_line);
    std::string working_dir = WorkingDirOf(platform_.fs, command_line);
    std::string line(command_line);
    // Programs that only start right with a word of their own or from a folder of their own.
    if (Contains(command_line, "ENGINE.EXE")) {
        line = "\"" + std::string(command_line) + "\" -module ipsc";
    }
    if (Contains(command_line, "BIN\\STGAME.EXE -D")) {
        working_dir += "..\\";
    }
    ReplaceAll(line, "BOS.EXE", "BoS.exe");

    const std::optional<ProcessHandle> process = platform_.processes.CreateProcess(line, working_dir, false);
    if (process) {
        platform_.processes.Close(*process);
    }
    // Documents cannot be started as programs; the shell opens them.
    const std::string upper = UCase(command_line);
    for (const char* document : {".HTM", ".MSI", ".CHM", ".LNK", ".JAR", ".ZIP"}) {
        if (Contains(upper, document)) {
            ShellExec(command_line);
        }
    }
    return process.has_value();
}

bool Launcher::WaitExec(std::string_view command_line) {
    if (command_line.empty()) {
        return false;
    }
    ReportDoubtfulPath(command_line);
    if (Contains(UCase(command_line), ".LNK")) {
        ShellExec(command_line);
        return false;
    }
    std::string working_dir = WorkingDirOf(platform_.fs, command_line);
    if (working_dir.starts_with("RunDll32") || working_dir == command_line) {
        working_dir = "C:\\";
    }
    const Cursor previous_cursor = app_.ScreenCursor();
    app_.SetScreenCursor(Cursor::HourGlass);
    const std::optional<ProcessHandle> process =
        platform_.processes.CreateProcess(command_line, working_dir, true);
    if (!process) {
        app_.SetScreenCursor(previous_cursor);
        return false;
    }
    // The window stays alive while the program runs, but the wait sleeps between its turns instead
    // of asking the process again and again. After a quit the messages are left alone; the program
    // is still waited for, so whoever started it sees it finished.
    for (;;) {
        const std::optional<uint32_t> code = platform_.processes.ExitCode(*process);
        if (!code || *code != kStillActive) {
            break;
        }
        if (!app_.Terminated()) {
            app_.ProcessMessages();
        }
        platform_.processes.Wait(*process, kWaitSliceMs);
    }
    platform_.processes.Close(*process);
    app_.SetScreenCursor(previous_cursor);
    return true;
}

void Launcher::ShellExec(std::string_view text) {
    const std::string upper = UCase(text);
    // The file ends three characters after its last dot (four for ".HTML"); what follows are its
    // parameters. A text without a dot is a file name without parameters.
    std::string_view file = text;
    std::string_view params;
    if (const size_t dot = text.rfind('.'); dot != std::string_view::npos) {
        const size_t length = dot + 1 + (Contains(upper, ".HTML") ? 4 : 3);
        if (length < text.size()) {
            file = text.substr(0, length);
            params = text.substr(length, 20);
        }
    }
    if (Contains(upper, ".PDF") && !platform_.registry.KeyExists(RegRoot::ClassesRoot, "\\.pdf") &&
        !settings_.acrobat_reader.empty()) {
        WaitExec(settings_.disc_root + "\\" + settings_.acrobat_reader);
    }
    platform_.processes.ShellExecute("OPEN", file, params, "");
}

void Launcher::PlayDVD() {
    const Registry& registry = platform_.registry;
    const std::optional<std::string> verb = registry.ReadString(RegRoot::ClassesRoot, "\\DVD\\Shell", "");
    std::optional<std::string> command;
    if (verb) {
        command = registry.ReadString(RegRoot::ClassesRoot, "\\DVD\\Shell\\" + *verb + "\\command", "");
    }
    if (!command) {
        boxes_.Show(FromUtf8("Nemáte nainstalovaný softwarový DVD přehrávač! Nainstalujte si ho (třeba "
                             "PowerDVD či WinDVD) nebo vložte DVD do stolního prehrávače."),
                    settings_.caption, MbButtons::Ok, MbIcon::Error);
        return;
    }
    ReplaceFirstPlaceholder(*command, 'L', settings_.disc_root);
    ReplaceFirstPlaceholder(*command, '1', settings_.disc_root);
    NormalExec(*command);
}

} // namespace kavlo
