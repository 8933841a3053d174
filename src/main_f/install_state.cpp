// The install-state check: where an item is installed on this PC, which of its buttons the panel
// offers, and the record of the installation that later discs read back from kavlo.ini.

#include "main_f/install_state.h"

#include <cctype>

#include "engine/command_lines.h"
#include "engine/paths.h"
#include "engine/trees.h"

namespace kavlo {

namespace {

constexpr auto npos = std::string_view::npos;

// Items from the disc, run without installing.
constexpr int kRunsFromDisc = 0;
// Items the menu only shows as present; their record is never touched.
constexpr int kAlwaysPresent = 20;

std::string RecordSection(const InstallStateContext& context) {
    return "CD" + context.issue;
}

// A read-only or locked kavlo.ini is no error: the check's flags stand without a record.
bool Record(const InstallStateContext& context, std::string_view key, std::string_view value) {
    return context.SettingsFile != nullptr &&
           context.SettingsFile->WriteString(RecordSection(context), key, value);
}

void DeleteRecord(const InstallStateContext& context, const std::string& name) {
    if (context.SettingsFile == nullptr) {
        return;
    }
    const std::string section = RecordSection(context);
    context.SettingsFile->DeleteKeys(section, {name, name + "_", name + "__"});
}

// "*" in the catalogue's Uninstall rule means the registry's uninstaller must not be used.
bool KeepsNoUninstaller(const TDemos& item) {
    return item.Uninstall.starts_with('*');
}

std::string WindowsDirOf(const InstallStateContext& context) {
    return PostFixDir(context.state.WindowsDir);
}

std::string FileNamePart(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    return std::string(slash == npos ? path : path.substr(slash + 1));
}

bool SameDriveLetter(std::string_view a, std::string_view b) {
    return !a.empty() && !b.empty() &&
           std::toupper(static_cast<unsigned char>(a[0])) == std::toupper(static_cast<unsigned char>(b[0]));
}

// "?I" names a file below the item's folder on the disc, "?W" one in the Windows directory.
void ExpandUninstallName(TDemos& item, const InstallStateContext& context) {
    const FileSystem& fs = context.platform.fs;
    const std::string_view name = item.UnInstallName;
    if (name.starts_with("?I")) {
        item.UnInstallName = fs.FullPath(item.SourceDir + "\\" + std::string(name.substr(2)));
    } else if (name.starts_with("?W")) {
        item.UnInstallName = fs.FullPath(WindowsDirOf(context) + std::string(name.substr(2)));
    }
}

// The test file of a disc item may name a full path or one relative to the disc root, which the
// menu keeps as its current directory.
void CheckRunsFromDisc(TDemos& item, const InstallStateContext& context) {
    const FileSystem& fs = context.platform.fs;
    item.Installed = item.GameName.empty() ? 0 : 1;
    item.NeedsInstall = 0;
    item.InstalledDir = item.SourceDir;
    if (item.Param.empty() || !fs.FileExists(item.Param)) {
        return;
    }
    const std::string test_file = fs.FullPath(item.Param);
    Record(context, item.Name, RemoveEndSlash(DirPartOf(test_file)));
    Record(context, item.Name + "_",
           FileNamePart(test_file) + ",," + item.Uninstall + "," + std::to_string(item.CD));
    item.CanUninstall = 1;
}

void CheckRecordedInstall(TDemos& item, const InstallStateContext& context) {
    item.InstalledDir = RecordedDir(context, item.Name);
    if (!item.RegUninstall.empty()) {
        item.UnInstallName = UninstallStringOf(context.platform.registry, item.RegUninstall);
    }
}

void CheckUninstallKeyInstall(TDemos& item, const InstallStateContext& context) {
    if (item.RegUninstall.empty()) {
        return;
    }
    item.UnInstallName = UninstallStringOf(context.platform.registry, item.RegUninstall);
    if (item.DirDetect == 0) {
        item.InstalledDir = UninstallerDirOf(item.UnInstallName);
    }
    if (KeepsNoUninstaller(item)) {
        item.UnInstallName.clear();
    }
    if (!item.Param.empty() && !context.platform.fs.FileExists(item.InstalledDir + item.Param)) {
        item.InstalledDir.clear();
    }
}

void CheckDetectedInstall(TDemos& item, const InstallStateContext& context) {
    if (!item.RegUninstall.empty()) {
        if (item.UnInstallName.empty()) {
            item.UnInstallName = UninstallStringOf(context.platform.registry, item.RegUninstall);
        }
        if (KeepsNoUninstaller(item)) {
            item.UnInstallName.clear();
        }
    }
    // This one game's setup records nothing the menu could find; it always goes here.
    if (item.Name == "BONE") {
        item.InstalledDir = context.state.ProgramFilesDir + "Out from Boneville";
    }
}

// The publisher's games share one sierra.ini in the Windows directory naming their folder. A folder
// on the disc drive is the game run from the disc, not installed.
void CheckSierraInstall(TDemos& item, const InstallStateContext& context) {
    FileSystem& fs = context.platform.fs;
    const std::string sierra_ini = WindowsDirOf(context) + "sierra.ini";
    if (!fs.FileExists(sierra_ini)) {
        return;
    }
    const IniFile sierra(fs, context.profiles, sierra_ini, context.state.WindowsDir);
    item.InstalledDir = PostFixDir(sierra.ReadString("Sierra", "SierraDir", ""));
    if (!DirExists(fs, item.InstalledDir) || SameDriveLetter(item.InstalledDir, context.state.DiscDrive)) {
        item.InstalledDir.clear();
    }
}

void CheckUninstallerFolderInstall(TDemos& item, const InstallStateContext& context) {
    if (item.RegUninstall.empty()) {
        return;
    }
    const FileSystem& fs = context.platform.fs;
    if (item.UnInstallName.empty()) {
        item.UnInstallName = UninstallStringOf(context.platform.registry, item.RegUninstall);
    }
    item.InstalledDir = WorkingDirOf(fs, item.UnInstallName);
    if (!item.Param.empty() && !fs.FileExists(item.InstalledDir + item.Param)) {
        item.InstalledDir.clear();
    }
    if (KeepsNoUninstaller(item)) {
        item.UnInstallName.clear();
    }
}

void CheckByInstallType(TDemos& item, const InstallStateContext& context) {
    switch (item.InstallType) {
        case kRunsFromDisc:
            CheckRunsFromDisc(item, context);
            break;
        case 1:
        case 2:
        case 3:
            CheckRecordedInstall(item, context);
            break;
        case 4:
            CheckUninstallKeyInstall(item, context);
            break;
        case 5:
            CheckDetectedInstall(item, context);
            break;
        case 6:
            CheckSierraInstall(item, context);
            break;
        case 7:
            CheckUninstallerFolderInstall(item, context);
            break;
        case kAlwaysPresent:
            item.Installed = 1;
            item.InstalledDir = item.SourceDir;
            item.NeedsInstall = 0;
            item.CanUninstall = 0;
            break;
        default:
            break;
    }
}

std::string RegistryDir(const InstallStateContext& context, RegRoot root, const TDemos& item) {
    const std::string command =
        context.platform.registry.ReadString(root, "\\SOFTWARE\\" + item.RegKey, item.RegName).value_or("");
    return WorkingDirOf(context.platform.fs, command);
}

// The first of the two shortcuts that loads with a target: its "start in" folder, or the folder of
// the program it starts.
std::string ShortcutDir(const InstallStateContext& context, const std::string& first_dir,
                        const std::string& second_dir, const std::string& link) {
    for (const std::string* dir : {&first_dir, &second_dir}) {
        if (const auto shortcut = context.platform.shortcuts.ReadShortcut(*dir + link)) {
            return shortcut->working_dir.empty() ? WorkingDirOf(context.platform.fs, shortcut->target)
                                                 : shortcut->working_dir;
        }
    }
    return {};
}

void DetectByShortcut(TDemos& item, const InstallStateContext& context, const std::string& first_dir,
                      const std::string& second_dir) {
    item.InstalledDir = ShortcutDir(context, first_dir, second_dir, item.Param);
    if (item.InstalledDir.empty()) {
        item.InstalledDir = RecordedDir(context, item.Name);
    } else {
        Record(context, item.Name, item.InstalledDir);
    }
}

// Param is "FILE,SECTION,KEY" of an INI file in the Windows directory that names the folder.
std::string ProgramIniDir(const InstallStateContext& context, const std::string& param) {
    const std::vector<std::string> parts = SplitList(param);
    if (parts.size() < 3) {
        return {};
    }
    std::string file_name = parts[0];
    if (UCase(file_name).find(".INI") == npos) {
        file_name += ".INI";
    }
    const IniFile ini(context.platform.fs, context.profiles, WindowsDirOf(context) + file_name,
                      context.state.WindowsDir);
    return ini.ReadString(parts[1], parts[2], "");
}

void DetectByFirstLine(TDemos& item, const InstallStateContext& context) {
    const std::string path = WindowsDirOf(context) + item.Param;
    if (!context.platform.fs.FileExists(path)) {
        return;
    }
    const std::string text = context.platform.fs.ReadFile(path).value_or("");
    item.InstalledDir = text.substr(0, text.find_first_of("\r\n"));
}

// The folder of a file the setup put in the Start menu, the user's before the common one.
void DetectByStartMenuFile(TDemos& item, const InstallStateContext& context) {
    const FileSystem& fs = context.platform.fs;
    if (!item.RegUninstall.empty()) {
        item.UnInstallName = UninstallStringOf(context.platform.registry, item.RegUninstall);
    }
    for (const std::string& dir : {context.state.UserProgramsDir, context.state.CommonProgramsDir}) {
        const std::string path = dir + item.Param;
        if (fs.FileExists(path)) {
            item.InstalledDir = DirPartOf(path);
            break;
        }
    }
    Record(context, item.Name, item.InstalledDir);
}

void DetectDir(TDemos& item, const InstallStateContext& context) {
    const MenuState& state = context.state;
    switch (item.DirDetect) {
        case 1:
            item.InstalledDir = UninstallerDirOf(item.UnInstallName);
            break;
        case 2:
            item.InstalledDir = RegistryDir(context, RegRoot::LocalMachine, item);
            break;
        case 3:
            DetectByShortcut(item, context, state.UserProgramsDir, state.CommonProgramsDir);
            break;
        case 4:
            item.InstalledDir = RegistryDir(context, RegRoot::CurrentUser, item);
            break;
        case 5:
        case 8:
            item.InstalledDir = RecordedDir(context, item.Name);
            break;
        case 6:
            item.InstalledDir = ProgramIniDir(context, item.Param);
            break;
        case 7:
            if (item.UnInstallName.empty()) {
                item.UnInstallName = UninstallStringOf(context.platform.registry, item.RegUninstall);
            }
            item.InstalledDir = WorkingDirOf(context.platform.fs, item.UnInstallName);
            break;
        case 9:
            DetectByShortcut(item, context, state.UserDesktopDir, state.CommonDesktopDir);
            break;
        case 10:
            DetectByFirstLine(item, context);
            break;
        case 15:
            DetectByStartMenuFile(item, context);
            break;
        default:
            break;
    }
}

// The run entry, the uninstall key, the Uninstall rule and, for discs 10 and up, the disc number:
// the Installed page reads a disc number below 10 as none, which a trailing "," leaves it.
std::string InstallRecord(const TDemos& item, const std::string& run_entry) {
    std::string record = run_entry + "," + item.RegUninstall + "," + item.Uninstall + ",";
    if (item.CD >= 10) {
        record += std::to_string(item.CD);
    }
    return record;
}

void RecordFoundItem(const TDemos& item, const InstallStateContext& context, const GameFile& game) {
    const bool one_program = item.GameName.find(':') == npos || item.GameName.find(';') != npos;
    const std::string& run_entry = one_program ? item.GameName : game.run_entry;
    if (!Record(context, item.Name, item.InstalledDir) ||
        !Record(context, item.Name + "_", InstallRecord(item, run_entry))) {
        return;
    }
    if (!item.UnInstallName.empty()) {
        Record(context, item.Name + "__", item.UnInstallName);
    }
}

void DecideByGameFile(TDemos& item, const InstallStateContext& context) {
    const GameFile game = FindGameFile(context.platform.fs, item);
    if (game.found) {
        item.Installed = 1;
        item.CanUninstall = 1;
        item.NeedsInstall = 0;
        RecordFoundItem(item, context, game);
    } else {
        item.NeedsInstall = 1;
        item.Installed = 0;
        item.CanUninstall = 0;
        DeleteRecord(context, item.Name);
    }
}

std::string ProgramPath(const std::string& dir, std::string_view entry) {
    return dir + "\\" + CutAfterExtension(TextBeforeColon(entry));
}

} // namespace

std::string UninstallStringOf(const Registry& registry, std::string_view reg_uninstall) {
    if (reg_uninstall.empty()) {
        return {};
    }
    return registry
        .ReadString(RegRoot::LocalMachine, std::string(kUninstallKey) + std::string(reg_uninstall),
                    "UninstallString")
        .value_or("");
}

GameFile FindGameFile(const FileSystem& fs, const TDemos& item) {
    if (item.InstalledDir.empty()) {
        return {};
    }
    if (item.GameName.find(':') != npos) {
        const std::vector<std::string> alternatives = SplitList(item.GameName);
        for (auto it = alternatives.rbegin(); it != alternatives.rend(); ++it) {
            if (fs.FileExists(ProgramPath(item.InstalledDir, *it))) {
                return {true, *it};
            }
        }
        return {};
    }
    if (!fs.FileExists(ProgramPath(item.InstalledDir, item.GameName))) {
        return {};
    }
    // A registry-detected item may name a second file that only a complete installation has.
    if (item.DirDetect == 2 && !item.Param.empty() &&
        !fs.FileExists(item.InstalledDir + "\\" + CutAfterExtension(item.Param))) {
        return {};
    }
    return {true, item.GameName};
}

std::string RecordedDir(const InstallStateContext& context, std::string_view name) {
    const std::string section = RecordSection(context);
    if (context.SettingsFile != nullptr) {
        std::string dir = context.SettingsFile->ReadString(section, name, "");
        if (!dir.empty()) {
            return dir;
        }
    }
    // Older menus kept their records at the root of C:, or in the Windows directory of an earlier
    // installation of Windows; where the Windows directory is C:\WINDOWS, that file is kavlo.ini.
    std::vector<std::string> older = {"C:\\kavlo.ini"};
    if (!SamePathText(RemoveEndSlash(context.state.WindowsDir), "C:\\WINDOWS")) {
        older.emplace_back("c:\\windows\\kavlo.ini");
    }
    FileSystem& fs = context.platform.fs;
    for (const std::string& path : older) {
        if (!fs.FileExists(path)) {
            continue;
        }
        const IniFile file(fs, context.profiles, path, context.state.WindowsDir);
        std::string dir = file.ReadString(section, name, "");
        if (!dir.empty()) {
            return dir;
        }
    }
    return {};
}

void CheckDemo(TDemos& item, const InstallStateContext& context) {
    ExpandUninstallName(item, context);
    CheckByInstallType(item, context);
    if (item.InstallType == 5 || (item.InstallType == 4 && item.DirDetect > 0)) {
        DetectDir(item, context);
    }
    item.InstalledDir = RemoveEndSlash(item.InstalledDir);
    if (item.InstallType != kRunsFromDisc && item.InstallType != kAlwaysPresent) {
        DecideByGameFile(item, context);
    }
}

} // namespace kavlo
