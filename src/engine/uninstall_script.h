#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/shortcuts.h"

namespace kavlo {

// The catalogue's "Uninstall" key of an item is a small command language: an optional prefix ("?",
// "!" or "*"), then a list of commands, each one or more command letters directly followed by its
// argument. Some commands build the uninstall command line before the uninstaller runs; the others
// clean up after it (files, folders, shortcuts, program groups, registry keys and values, further
// uninstallers). Nothing here asks the user or starts a program itself: the window around it does,
// through UninstallHost.

// The folders the commands name, each with a trailing back-slash, as start-up found them.
struct UninstallFolders {
    std::string SystemDir;
    std::string WindowsDir;
    std::string CommonFilesDir;
    std::string ProgramFilesDir;
    std::string UserDesktopDir;
    std::string CommonDesktopDir;
    std::string UserProgramsDir;
    std::string CommonProgramsDir;
};

// What the commands need from the menu around them.
class UninstallHost {
public:
    virtual ~UninstallHost() = default;
    // Asks, in the disc's language, whether to delete the directory tree, and deletes it on Yes.
    virtual void DeleteQuestion(std::string_view dir) = 0;
    // A plain message box: the program a "US" command runs, and the debug-mode failure notes.
    virtual void Message(std::string_view text) = 0;
    // Runs the command line and returns when the program has ended.
    virtual void RunAndWait(std::string_view command_line) = 0;
};

struct UninstallScriptContext {
    FileSystem& fs;
    Registry& registry;
    const Shortcuts& shortcuts;
    const UninstallFolders& folders;
    // What no command may remove, not even as an empty directory (ProtectedDirsOf and the folders
    // above); drive roots are never removed either.
    std::vector<std::string> protected_dirs;
    // The catalogue's debug mode: failures and refusals are reported instead of passed over.
    bool debug = false;
    UninstallHost& host;
};

// Which commands build the uninstall command line: G and S for install type 2; A, C, G, P and S for
// install types 4, 5 and 7.
enum class BuildCommands { GS, All };

// The uninstall command line after the building commands of `list` (its prefix already dropped)
// were applied in order to `command_line`.
std::string BuildUninstallCommand(std::string_view list, std::string command_line,
                                  std::string_view installed_dir, BuildCommands commands,
                                  const UninstallScriptContext& context);

// Carries out the clean-up commands of `list` (prefixes already dropped) in order; other commands
// are passed over. `installed_dir` is the item's directory, without a trailing back-slash.
void RunCleanup(std::string_view list, std::string_view installed_dir, const UninstallScriptContext& context);

} // namespace kavlo
