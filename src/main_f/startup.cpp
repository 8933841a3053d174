#include <algorithm>

#include "engine/paths.h"
#include "main_f/form1.h"
#include "platform/codepage.h"

namespace kavlo {

namespace {

constexpr size_t kQueryBufferChars = 250; // the system queries' buffers; longer paths are cut
constexpr std::string_view kShellFolders =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders";

std::string Cut(std::string text) {
    if (text.size() > kQueryBufferChars) {
        text.resize(kQueryBufferChars);
    }
    return text;
}

// The drive part of a path as ExtractFileDrive gives it: "E:" for "E:\KAVLO.EXE".
std::string DriveOf(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':') {
        return std::string(path.substr(0, 2));
    }
    return {};
}

std::string OsNameOf(OsPlatform platform) {
    switch (platform) {
        case OsPlatform::Win32s:
            return "Windows 3.1";
        case OsPlatform::Windows9x:
            return "Windows 95";
        case OsPlatform::WindowsNT:
            return "Windows NT";
        default:
            return {};
    }
}

} // namespace

void TForm1::FormCreate() {
    if (!FindDisc()) {
        return;
    }
    state.DiscDir = state.DiscDrive + "\\KAVLO\\";
    RegisterFonts();
    PrepareControls();
    state.PictureCount = 0;
    LoadSystemInfo();
    if (state.OsName == "Windows NT" && !IsAdmin()) {
        // Shown in Czech whatever the disc's language: the text has only ever existed in Czech.
        ShowBox(FromUtf8("Nemáte administrátorská práva - většina dem nepůjde nainstalovat!"),
                MbIcon::Warning);
    }
    LoadData();
    ReadSwitches();
}

// Started from the hard disk, the menu looks for its disc; from any other drive it trusts that drive.
bool TForm1::FindDisc() {
    state.DiscDrive = DriveOf(platform_.system.ProgramPath());
    if (state.DiscDrive != "C:") {
        return true;
    }
    for (char letter = 'D'; letter <= 'Z'; ++letter) {
        const std::string drive = std::string(1, letter) + ":";
        if (platform_.fs.FileExists(drive + "\\KAVLO.EXE") &&
            platform_.fs.FileExists(drive + "\\Kavlo\\KAVLOXP.ini")) {
            state.DiscDrive = drive;
            return true;
        }
    }
    ShowBox("There is no KAVLO CD/DVD in any drive...", MbIcon::Error);
    terminate_requested_ = true;
    app_.Terminate(0);
    return false;
}

void TForm1::RegisterFonts() {
    for (const char* name : {"bb.jpg", "bc.jpg"}) {
        const std::string path = state.DiscDir + name;
        if (platform_.fonts.AddFontResource(path) > 0) {
            registered_fonts_.push_back(path);
        }
    }
    platform_.fonts.BroadcastFontChange();
    fonts_.FontsChanged();
}

void TForm1::LoadSystemInfo() {
    SystemInfo& system = platform_.system;
    state.OsName = OsNameOf(system.Platform());
    state.SystemDir = PostFixDir(Cut(system.SystemDirectory()));
    state.WindowsDir = PostFixDir(Cut(system.WindowsDirectory()));
    state.TempDir = PostFixDir(ReadEnvVar(system, "TMP"));
    state.ProgramFilesDir = state.WindowsDir.substr(0, 1) + ":\\Program Files\\";

    state.CommonDesktopDir = ShellFolder(RegRoot::LocalMachine, "Common Desktop");
    if (state.CommonDesktopDir.empty()) {
        state.CommonDesktopDir = ShellFolder(RegRoot::LocalMachine, "Desktop");
    }
    state.CommonProgramsDir = ShellFolder(RegRoot::LocalMachine, "Common Programs");
    if (state.CommonProgramsDir.empty()) {
        state.CommonProgramsDir = ShellFolder(RegRoot::LocalMachine, "Programs");
    }
    state.UserDesktopDir = ShellFolder(RegRoot::CurrentUser, "Desktop");
    state.UserProgramsDir = ShellFolder(RegRoot::CurrentUser, "Programs");
    if (state.UserProgramsDir.empty()) {
        state.UserProgramsDir = state.WindowsDir + "Start Menu\\Programs\\";
    }
    if (state.UserDesktopDir.empty()) {
        state.UserDesktopDir = state.WindowsDir + "Desktop\\";
    }
    state.CommonFilesDir =
        PostFixDir(platform_.registry
                       .ReadString(RegRoot::LocalMachine, "\\Software\\Microsoft\\Windows\\CurrentVersion",
                                   "CommonFilesDir")
                       .value_or(""));
}

std::string TForm1::ShellFolder(RegRoot root, std::string_view name) const {
    return PostFixDir(platform_.registry.ReadString(root, kShellFolders, name).value_or(""));
}

bool TForm1::IsAdmin() const {
    return platform_.system.IsAdmin();
}

void TForm1::LoadData() {
    SettingsFile = std::make_unique<IniFile>(platform_.fs, profiles_, "kavlo.ini", state.WindowsDir);
    SettingsFile->WriteInteger("Main", "Language", 1); // a read-only settings file is no reason to stop
    platform_.fs.SetCurrentDirectory(state.DiscDrive + "\\");
}

void TForm1::ReadSwitches() {
    state.Enhanced = SettingsFile->ReadBool("Main", "Enhanced", true);
    state.Slow = SettingsFile->ReadBool("Main", "Slow", false);
    state.Music = SettingsFile->ReadBool("Main", "Music", true);
}

void TForm1::ShowBox(std::string_view text, MbIcon icon) {
    boxes_.Show(text, ApplicationTitle, MbButtons::Ok, icon);
}

} // namespace kavlo
