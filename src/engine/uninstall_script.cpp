#include "engine/uninstall_script.h"

#include <algorithm>
#include <array>
#include <optional>

#include "engine/paths.h"
#include "engine/trees.h"

namespace kavlo {

namespace {

constexpr std::string_view kMapGroupsKey =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups";
constexpr std::string_view kGroupsKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\Groups";
constexpr std::string_view kUninstallKeys = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// The menu reads value names into a buffer of this many characters; a longer name cannot be the one
// the catalogue means, and cutting it could name another program's value.
constexpr std::size_t kMaxValueName = 30;

// Keys that Windows and every other program need: no command deletes them or a key that holds them.
constexpr std::array<std::string_view, 5> kSystemKeys = {
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
    "SOFTWARE\\Classes",
    "SYSTEM\\CurrentControlSet",
};

bool StartsWithNoCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && UCase(text.substr(0, start.size())) == UCase(start);
}

class Cleanup {
public:
    Cleanup(const UninstallScriptContext& context, std::string_view installed_dir)
        : c_(context), installed_dir_(RemoveEndSlash(installed_dir)) {}

    void Run(const std::string& command);

private:
    void Directory(const std::string& command);
    void File(const std::string& command);
    void RegistryCommand(const std::string& command);
    void Shell(const std::string& command);
    void Uninstaller(const std::string& command);

    // The full path of `base` + `relative` when it stays inside `base` and reaches it through no
    // directory link: "..", a drive or a link must not carry a deletion out of the folder the
    // command names.
    std::optional<std::string> Inside(std::string_view base, std::string_view relative) const;
    // A path with its drive ("C:\GAMES\X"), checked as Inside the drive's root.
    std::optional<std::string> OnDrive(std::string_view path) const;
    // "?" + rest: the rest on the drive of the installed directory.
    std::optional<std::string> OnInstalledDrive(std::string_view rest) const;

    void AskDelete(const std::optional<std::string>& dir, std::string_view named);
    // Deletes one file and then its folder and parents while empty; a file that is not there is
    // already gone.
    void DeleteFileAndBranch(const std::optional<std::string>& path, std::string_view named);
    void DeleteKey(RegRoot root, std::string_view key, bool with_subkeys);
    void DeleteValue(RegRoot root, std::string_view key, std::string_view name);

    void Note(const std::string& text) const;
    void CannotDelete(std::string_view path) const { Note("Can't delete " + std::string(path)); }

    const UninstallScriptContext& c_;
    std::string installed_dir_;
};

std::optional<std::string> Cleanup::Inside(std::string_view base, std::string_view relative) const {
    if (base.empty() || relative.empty()) {
        return std::nullopt;
    }
    const std::string full_base = PostFixDir(c_.fs.FullPath(base));
    const std::string path = RemoveEndSlash(c_.fs.FullPath(PostFixDir(base) + std::string(relative)));
    if (path.size() <= full_base.size() || !StartsWithNoCase(path, full_base)) {
        return std::nullopt;
    }
    for (std::size_t at = full_base.size(); at <= path.size(); ++at) {
        if (at < path.size() && path[at] != '\\') {
            continue;
        }
        const auto attributes = c_.fs.GetAttributes(path.substr(0, at));
        if (attributes && (*attributes & kAttrReparsePoint) != 0) {
            return std::nullopt;
        }
    }
    return path;
}

std::optional<std::string> Cleanup::OnDrive(std::string_view path) const {
    if (path.size() < 4 || path[1] != ':' || path[2] != '\\') {
        return std::nullopt;
    }
    return Inside(path.substr(0, 3), path.substr(3));
}

std::optional<std::string> Cleanup::OnInstalledDrive(std::string_view rest) const {
    if (installed_dir_.empty()) {
        return std::nullopt;
    }
    return OnDrive(installed_dir_.substr(0, 1) + std::string(rest));
}

void Cleanup::Note(const std::string& text) const {
    if (c_.debug) {
        c_.host.Message(text);
    }
}

void Cleanup::Run(const std::string& command) {
    if (command.size() < 2) {
        return;
    }
    switch (command[0]) {
        case 'D':
            Directory(command);
            break;
        case 'F':
            File(command);
            break;
        case 'R':
            RegistryCommand(command);
            break;
        case 'S':
            Shell(command);
            break;
        case 'U':
            Uninstaller(command);
            break;
        default:
            break;
    }
}

void Cleanup::AskDelete(const std::optional<std::string>& dir, std::string_view named) {
    if (!dir) {
        CannotDelete(named);
        return;
    }
    c_.host.DeleteQuestion(*dir);
}

void Cleanup::Directory(const std::string& command) {
    const std::string_view rest = std::string_view(command).substr(2);
    if (command.starts_with("DEF")) {
        const std::string_view path = rest.substr(1);
        const auto dir = Inside(c_.folders.ProgramFilesDir, path);
        if (!dir) {
            CannotDelete(c_.folders.ProgramFilesDir + std::string(path));
            return;
        }
        DeleteEmptyBranch(c_.fs, *dir, c_.protected_dirs);
    } else if (command.starts_with("DE")) {
        DeleteEmptyBranch(c_.fs, installed_dir_, c_.protected_dirs);
    } else if (command == "DG") {
        c_.host.DeleteQuestion(installed_dir_);
    } else if (command.starts_with("DG")) {
        AskDelete(Inside(installed_dir_, rest), installed_dir_ + "\\" + std::string(rest));
    } else if (command.starts_with("D?")) {
        AskDelete(OnInstalledDrive(rest), command.substr(1));
    } else if (command.starts_with("DC")) {
        AskDelete(OnDrive(command.substr(1)), command.substr(1));
    }
}

void Cleanup::DeleteFileAndBranch(const std::optional<std::string>& path, std::string_view named) {
    if (!path) {
        CannotDelete(named);
        return;
    }
    const bool gone = !c_.fs.GetAttributes(*path).has_value();
    if (!gone && (!c_.fs.FileExists(*path) || !RemoveFile(c_.fs, *path))) {
        CannotDelete(*path);
    }
    DeleteEmptyBranch(c_.fs, DirPartOf(*path), c_.protected_dirs);
}

void Cleanup::File(const std::string& command) {
    const std::string rest = command.substr(2);
    const UninstallFolders& f = c_.folders;
    auto in = [&](const std::string& base) { DeleteFileAndBranch(Inside(base, rest), base + rest); };
    switch (command[1]) {
        case '?':
            DeleteFileAndBranch(OnInstalledDrive(rest), command.substr(1));
            break;
        case 'C':
            DeleteFileAndBranch(OnDrive(command.substr(1)), command.substr(1));
            break;
        case 'D':
            in(f.UserDesktopDir);
            in(f.CommonDesktopDir);
            break;
        case 'G':
            DeleteFileAndBranch(Inside(installed_dir_, rest), installed_dir_ + "\\" + rest);
            break;
        case 'P':
            in(f.UserProgramsDir);
            in(f.CommonProgramsDir);
            break;
        case 'S':
            in(f.SystemDir);
            break;
        case 'W':
            in(f.WindowsDir);
            break;
        default:
            break;
    }
}

// "\Software\Maker\Game" from "Software\\Maker\Game\": a key below a root, never the root itself,
// a key straight below it (all programs' keys live there) or a key Windows needs.
std::optional<std::string> RemovableKey(std::string_view key) {
    std::string path;
    int parts = 0;
    for (std::size_t start = 0; start <= key.size();) {
        const std::size_t end = std::min(key.find('\\', start), key.size());
        if (end > start) {
            path += "\\" + std::string(key.substr(start, end - start));
            ++parts;
        }
        start = end + 1;
    }
    if (parts < 2) {
        return std::nullopt;
    }
    const bool holds_system_key =
        std::any_of(kSystemKeys.begin(), kSystemKeys.end(), [&](std::string_view kept) {
            return StartsWithNoCase("\\" + std::string(kept) + "\\", path + "\\");
        });
    if (holds_system_key) {
        return std::nullopt;
    }
    return path;
}

void Cleanup::DeleteKey(RegRoot root, std::string_view key, bool with_subkeys) {
    const auto path = RemovableKey(key);
    if (!path) {
        Note("Reg Key not deleted...");
        return;
    }
    if (!c_.registry.KeyExists(root, *path)) {
        return;
    }
    const bool deleted =
        with_subkeys ? c_.registry.DeleteTree(root, *path) : c_.registry.DeleteKey(root, *path);
    if (!deleted) {
        Note("Reg Key not deleted...");
    }
}

void Cleanup::DeleteValue(RegRoot root, std::string_view key, std::string_view name) {
    const bool names_a_key = key.find_first_not_of('\\') != std::string_view::npos;
    if (!names_a_key || name.size() > kMaxValueName) {
        Note("Reg Entry not deleted...");
        return;
    }
    if (!c_.registry.ReadValue(root, key, name)) {
        return;
    }
    if (!c_.registry.DeleteValue(root, key, name)) {
        Note("Reg Entry not deleted...");
    }
}

void Cleanup::RegistryCommand(const std::string& command) {
    if (command.size() < 3) {
        return;
    }
    // Any letter but M leaves the registry on the current user's root.
    const RegRoot root = command[1] == 'M' ? RegRoot::LocalMachine : RegRoot::CurrentUser;
    std::string key = command.substr(3);
    if (!key.starts_with('\\')) {
        key.insert(0, 1, '\\');
    }
    switch (command[2]) {
        case 'D':
            DeleteKey(root, key, true);
            break;
        case 'E':
            DeleteKey(root, key, false);
            break;
        case 'F': {
            const std::size_t bar = key.find('|');
            if (bar == std::string::npos) {
                Note("Reg Entry not deleted...");
                break;
            }
            DeleteValue(root, std::string_view(key).substr(0, bar), std::string_view(key).substr(bar + 1));
            break;
        }
        default:
            break;
    }
}

void Cleanup::Shell(const std::string& command) {
    const std::string rest = command.substr(2);
    const UninstallFolders& f = c_.folders;
    switch (command[1]) {
        case 'D': {
            const auto path = Inside(f.UserDesktopDir, rest);
            const bool deleted = path && (!c_.fs.GetAttributes(*path) ||
                                          (c_.fs.FileExists(*path) && RemoveFile(c_.fs, *path)));
            if (!deleted) {
                CannotDelete(path.value_or(f.UserDesktopDir + rest));
            }
            break;
        }
        case 'F': {
            // An old-style program group: its entries in the group converter's keys, then its file.
            const std::size_t bar = rest.find('|');
            if (bar == std::string::npos) {
                Note("Reg Entry not deleted...");
                break;
            }
            const std::string file = rest.substr(bar + 1);
            DeleteValue(RegRoot::CurrentUser, kMapGroupsKey, rest.substr(0, bar));
            DeleteValue(RegRoot::CurrentUser, kGroupsKey, f.WindowsDir + file);
            const auto path = Inside(f.WindowsDir, file);
            if (!path || (c_.fs.GetAttributes(*path) && !RemoveFile(c_.fs, *path))) {
                CannotDelete(path.value_or(f.WindowsDir + file));
            }
            break;
        }
        case 'N':
            if (!RemoveStartFolder(c_.fs, rest, f.UserProgramsDir, f.CommonProgramsDir)) {
                CannotDelete(f.UserProgramsDir + rest);
            }
            break;
        default:
            break;
    }
}

void Cleanup::Uninstaller(const std::string& command) {
    const std::string rest = command.substr(2);
    if (rest.empty()) {
        return;
    }
    if (command[1] == 'S') {
        const std::string program = c_.folders.SystemDir + rest;
        c_.host.Message(program);
        c_.host.RunAndWait(program);
    } else if (command[1] == 'U') {
        const std::optional<std::string> line = c_.registry.ReadString(
            RegRoot::LocalMachine, std::string(kUninstallKeys) + rest, "UninstallString");
        if (line && !line->empty()) {
            c_.host.RunAndWait(*line);
        }
    }
}

// The target and arguments of a Start-menu shortcut, the user's first; "" when neither loads.
std::string ShortcutCommand(const UninstallScriptContext& c, const std::string& name) {
    for (const std::string* folder : {&c.folders.UserProgramsDir, &c.folders.CommonProgramsDir}) {
        if (folder->empty()) {
            continue;
        }
        if (const auto link = c.shortcuts.ReadShortcut(*folder + name)) {
            return link->arguments.empty() ? link->target : link->target + " " + link->arguments;
        }
    }
    return {};
}

} // namespace

std::string BuildUninstallCommand(std::string_view list, std::string command_line,
                                  std::string_view installed_dir, BuildCommands commands,
                                  const UninstallScriptContext& context) {
    const bool all = commands == BuildCommands::All;
    for (const std::string& command : SplitList(list)) {
        if (command.empty()) {
            continue;
        }
        const std::string argument = command.substr(1);
        switch (command[0]) {
            case 'G':
                command_line = RemoveEndSlash(installed_dir) + "\\" + argument;
                break;
            case 'S':
                command_line = context.folders.SystemDir + argument;
                break;
            case 'A':
                if (all) {
                    command_line += argument;
                }
                break;
            case 'C':
                if (all) {
                    command_line += context.folders.CommonFilesDir + argument;
                }
                break;
            case 'P':
                if (all) {
                    command_line = ShortcutCommand(context, argument);
                }
                break;
            default:
                break;
        }
    }
    return command_line;
}

void RunCleanup(std::string_view list, std::string_view installed_dir,
                const UninstallScriptContext& context) {
    Cleanup cleanup(context, installed_dir);
    for (const std::string& command : SplitList(list)) {
        cleanup.Run(command);
    }
}

} // namespace kavlo
