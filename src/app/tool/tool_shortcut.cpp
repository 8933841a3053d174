#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "platform/codepage.h"
#include "platform/posix/posix_platform.h"
#include "sampledisc/lnk_writer.h"
#include "tool/tool_commands.h"

namespace kavlo::tool {

namespace {

// `kavlo-tool shortcut --pc DIR LINK TARGET [--args TEXT] [--dir WORKDIR]`: a setup script leaves
// a start-menu or desktop shortcut where the menu then looks for it.
struct ShortcutOptions {
    std::string pc_root;     // host directory, UTF-8
    std::string link;        // Windows path, may begin with <Programs> or <Desktop>; UTF-8
    std::string target;      // Windows path, UTF-8
    std::string arguments;   // UTF-8
    std::string working_dir; // Windows path, UTF-8
};

constexpr const char* kShellFolders =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders";

[[noreturn]] void Fail(const std::string& message) {
    std::cerr << "shortcut: " << message << '\n';
    throw CLI::RuntimeError(1);
}

// The link's Windows path with a leading placeholder replaced by the user's folder that the PC's
// registry names, as a setup asks the shell for it.
std::string LinkPath(const Registry& registry, const std::string& link) {
    for (const char* folder : {"Programs", "Desktop"}) {
        const std::string placeholder = std::string("<") + folder + ">";
        if (link.compare(0, placeholder.size(), placeholder) != 0) {
            continue;
        }
        const std::optional<std::string> dir =
            registry.ReadString(RegRoot::CurrentUser, kShellFolders, folder);
        if (!dir || dir->empty()) {
            Fail(std::string("the PC's registry names no ") + folder + " folder");
        }
        return *dir + FromUtf8(link.substr(placeholder.size()));
    }
    return FromUtf8(link);
}

// Makes the missing folders above a file, as a setup does for its start-menu group.
bool CreateParentDirs(FileSystem& fs, const std::string& file) {
    for (size_t pos = file.find('\\', 3); pos != std::string::npos; pos = file.find('\\', pos + 1)) {
        const std::string dir = file.substr(0, pos);
        if (!fs.DirectoryExists(dir) && !fs.CreateDir(dir)) {
            return false;
        }
    }
    return true;
}

void RunShortcut(const ShortcutOptions& options) {
    PosixPlatform posix(PosixPlatformOptions{.pc_root = options.pc_root, .scan_media = false});
    if (!posix.ok()) {
        Fail(posix.error());
    }
    const std::string link = posix.fs().FullPath(LinkPath(posix.registry(), options.link));
    const std::optional<std::string> bytes = sample::WriteShellLink(sample::LinkContents{
        .target = FromUtf8(options.target),
        .working_dir = FromUtf8(options.working_dir),
        .arguments = FromUtf8(options.arguments),
    });
    if (!bytes) {
        Fail("cannot make a link to " + options.target +
             ": the target must be an absolute drive path, and every text short enough for a link");
    }
    if (!CreateParentDirs(posix.fs(), link) || !posix.fs().WriteFileAtomic(link, *bytes)) {
        Fail("cannot write " + ToUtf8(link));
    }
}

} // namespace

void AddShortcutCommand(CLI::App& app) {
    auto options = std::make_shared<ShortcutOptions>();
    CLI::App* cmd = app.add_subcommand("shortcut", "Write a shell link (.lnk) into the PC, as a setup does");
    cmd->add_option("--pc", options->pc_root, "PC root directory (default: the menu's own)");
    cmd->add_option("link", options->link,
                    "Windows path of the link; <Programs>\\... or <Desktop>\\... for the user's folders")
        ->required();
    cmd->add_option("target", options->target, "Windows path of the program it starts")->required();
    cmd->add_option("--args", options->arguments, "Command-line arguments of the program");
    cmd->add_option("--dir", options->working_dir, "Working directory (\"start in\")");
    cmd->callback([options] { RunShortcut(*options); });
}

} // namespace kavlo::tool
