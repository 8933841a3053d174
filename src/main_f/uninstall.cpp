// The uninstall button: the item's own uninstaller, the test whether it really went, the catalogue's
// clean-up commands and the offer to delete what it left behind.

#include <cmath>

#include "engine/paths.h"
#include "engine/trees.h"
#include "engine/uninstall_script.h"
#include "main_f/form1.h"
#include "platform/codepage.h"

namespace kavlo {

namespace {

// More leftovers than this are never offered for deletion: that is no longer a few saved games.
constexpr uint64_t kLeftoversLimit = 262'144'000;

// Shown in Czech whatever the disc's language: the text has only ever existed in Czech.
constexpr const char* kSetupMissing = "Uninstall vyžaduje Kavlo CD/DVD s instalačním souborem v mechanice.";

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

UninstallFolders FoldersOf(const MenuState& s) {
    return {s.SystemDir,      s.WindowsDir,       s.CommonFilesDir,  s.ProgramFilesDir,
            s.UserDesktopDir, s.CommonDesktopDir, s.UserProgramsDir, s.CommonProgramsDir};
}

// The PC's folders no uninstall may remove: those the registry names and those start-up settled on.
std::vector<std::string> ProtectedDirs(TForm1& f) {
    std::vector<std::string> dirs = ProtectedDirsOf(f.GetPlatform().system, f.GetPlatform().registry);
    const MenuState& s = f.state;
    for (const std::string* dir :
         {&s.WindowsDir, &s.SystemDir, &s.ProgramFilesDir, &s.CommonFilesDir, &s.UserDesktopDir,
          &s.CommonDesktopDir, &s.UserProgramsDir, &s.CommonProgramsDir}) {
        if (!dir->empty()) {
            dirs.push_back(*dir);
        }
    }
    return dirs;
}

// The clean-up commands ask and run through the window.
class WindowHost : public UninstallHost {
public:
    explicit WindowHost(TForm1& form) : f_(form) {}
    void DeleteQuestion(std::string_view dir) override { f_.DeleteQuestion(dir); }
    void Message(std::string_view text) override {
        f_.Boxes().Show(text, f_.ApplicationTitle, MbButtons::Ok, MbIcon::None);
    }
    void RunAndWait(std::string_view command_line) override { f_.Launch().WaitExec(command_line); }

private:
    TForm1& f_;
};

// Refusals are the editor's business: only debug mode tells them.
void DebugNote(TForm1& f, const std::string& text) {
    if (f.catalogue.header.Debug) {
        f.Boxes().Show(text, f.ApplicationTitle, MbButtons::Ok, MbIcon::None);
    }
}

std::string DropFirst(const std::string& text) {
    return text.substr(1);
}

// Whether the uninstaller left the program in place, that is, was cancelled or failed. One game's
// uninstaller keeps its program file and removes only its log.
bool ProgramStillThere(const FileSystem& fs, const TDemos& item) {
    if (item.InstalledDir.empty()) {
        return false;
    }
    const std::string program = CutAfterExtension(TextBeforeColon(item.GameName));
    if (!fs.FileExists(item.InstalledDir + "\\" + program)) {
        return false;
    }
    return item.GameName != "rayne.exe" || fs.FileExists(item.InstalledDir + "\\Uninst.isu");
}

class Uninstalling {
public:
    Uninstalling(TForm1& form, TDemos& item)
        : f_(form), item_(item), fs_(form.GetPlatform().fs), folders_(FoldersOf(form.state)),
          host_(form), context_{fs_,      form.GetPlatform().registry, form.GetPlatform().shortcuts,
                                folders_, ProtectedDirs(form),         form.catalogue.header.Debug,
                                host_} {}

    // Runs the uninstaller and, when the program is gone, the clean-up commands; false when the
    // program is still there.
    bool Run();

private:
    void RunUninstaller();
    void RunOwnUninstaller();
    void RunSierraUninstaller();

    TForm1& f_;
    TDemos& item_;
    FileSystem& fs_;
    UninstallFolders folders_;
    WindowHost host_;
    UninstallScriptContext context_;
};

void Uninstalling::RunUninstaller() {
    switch (item_.InstallType) {
        case 0:
            item_.InstalledDir.clear();
            break;
        case 1:
        case 2:
        case 3:
        case 11:
            if (!item_.UnInstallName.empty()) {
                f_.Launch().WaitExec(item_.UnInstallName);
            } else {
                f_.DeleteQuestion(item_.InstalledDir);
            }
            break;
        case 4:
        case 5:
        case 7:
            RunOwnUninstaller();
            if (item_.UnInstallName.empty() && !item_.InstalledDir.empty()) {
                f_.DeleteQuestion(item_.InstalledDir);
            }
            break;
        case 6:
            RunSierraUninstaller();
            break;
        default:
            break;
    }
}

void Uninstalling::RunOwnUninstaller() {
    std::string& script = item_.Uninstall;
    if (script == "SETUP") {
        item_.UnInstallName = item_.SourceDir + "\\" + item_.InstallName;
        if (!fs_.FileExists(item_.UnInstallName)) {
            f_.Boxes().Show(FromUtf8(kSetupMissing), f_.ApplicationTitle, MbButtons::Ok, MbIcon::Error);
        }
    }
    if (script.starts_with('?')) {
        script = DropFirst(script);
        item_.UnInstallName = BuildUninstallCommand(script, item_.UnInstallName, item_.InstalledDir,
                                                    BuildCommands::All, context_);
    }
    if (script.starts_with('!')) {
        script = DropFirst(script);
        item_.UnInstallName.clear();
    }
    if (Contains(UCase(item_.UnInstallName), ".LNK")) {
        f_.Launch().ShellExec(item_.UnInstallName);
    } else {
        f_.Launch().WaitExec(item_.UnInstallName);
    }
}

void Uninstalling::RunSierraUninstaller() {
    const std::string setup = item_.InstalledDir + "\\SETUP.EXE";
    f_.Launch().WaitExec(setup + " /U");
    if (!fs_.FileExists(setup)) {
        const MenuState& s = f_.state;
        RemoveStartFolder(fs_, "Sierra", s.UserProgramsDir, s.CommonProgramsDir);
        fs_.RemoveDir(item_.InstalledDir);
    }
}

bool Uninstalling::Run() {
    // A row of the Installed page may come from another disc: its record, read as the page opened,
    // knows where it is; a check against this disc's records would lose it.
    if (f_.state.CurrentPage != PageKind::Installed) {
        f_.CheckDemo(item_);
    }
    if (item_.InstallType == 2 && item_.Uninstall.starts_with('?')) {
        item_.Uninstall = DropFirst(item_.Uninstall);
        item_.UnInstallName = BuildUninstallCommand(item_.Uninstall, item_.UnInstallName, item_.InstalledDir,
                                                    BuildCommands::GS, context_);
    }
    RunUninstaller();
    if (ProgramStillThere(fs_, item_)) {
        return false;
    }
    DeleteEmptyBranch(fs_, item_.InstalledDir, context_.protected_dirs);
    item_.CanUninstall = 0;
    item_.NeedsInstall = 1;
    item_.Installed = 0;
    if (!item_.Uninstall.empty()) {
        const std::string_view list = item_.Uninstall.starts_with('*')
                                          ? std::string_view(item_.Uninstall).substr(1)
                                          : std::string_view(item_.Uninstall);
        RunCleanup(list, item_.InstalledDir, context_);
    }
    if (item_.InstallType == 0) {
        item_.CanUninstall = fs_.FileExists(item_.Param) ? 1 : 0;
        item_.NeedsInstall = 0;
        item_.Installed = 1;
    }
    f_.App().ProcessMessages();
    if (f_.FullScreen) {
        f_.SetFullScreen();
    }
    return true;
}

bool OffersUninstall(PageKind page) {
    return InstallsItems(page) || page == PageKind::Installed;
}

} // namespace

void TForm1::StopDIBImageClick(TControl&) {
    StopMusic();
    if (controls.StopImage->Tag() == 0 || !OffersUninstall(state.CurrentPage)) {
        return;
    }
    if (TDemos* item = DemosItem(state.CurrentPage, state.CurrentItem)) {
        UninstallProc(*item);
    }
}

void TForm1::UninstallProc(TDemos& item) {
    std::string leftovers;
    {
        // The steps drop the script's prefixes; the item keeps its script whichever way they end.
        const std::string script = item.Uninstall;
        Uninstalling uninstalling(*this, item);
        const bool removed = uninstalling.Run();
        item.Uninstall = script;
        if (!removed) {
            return;
        }
        leftovers = item.InstalledDir;
    }
    DeleteLeftovers(leftovers);
    if (state.CurrentPage == PageKind::Installed) {
        ApplyDelete();
    } else {
        FillList();
        ProcessPage();
    }
    controls.DIBContainer1->Invalidate();
    app_.ProcessMessages();
}

void TForm1::DeleteQuestion(std::string_view dir) {
    if (dir.empty()) {
        return;
    }
    const std::vector<std::string> protected_dirs = ProtectedDirs(*this);
    if (platform_.fs.DirectoryExists(dir) && IsProtectedDir(platform_.fs, dir, protected_dirs)) {
        DebugNote(*this, "Can't delete " + std::string(dir));
        return;
    }
    if (!DirExists(platform_.fs, dir)) {
        return;
    }
    const std::string question = LoadSpecial(catalogue.header.Version * 100 + 11, UCase(dir));
    if (boxes_.Show(question, ApplicationTitle, MbButtons::YesNo, MbIcon::Question) == MbResult::Yes) {
        RemoveTree(platform_.fs, dir, protected_dirs);
    }
}

void TForm1::DeleteLeftovers(std::string_view dir) {
    if (dir.size() < 3 || !DirExists(platform_.fs, dir)) {
        return;
    }
    const std::vector<std::string> protected_dirs = ProtectedDirs(*this);
    if (IsProtectedDir(platform_.fs, dir, protected_dirs)) {
        DebugNote(*this, "Can't delete " + std::string(dir));
        return;
    }
    const std::string upper = UCase(dir);
    const uint64_t size = SizeofTree(platform_.fs, upper);
    if (size > kLeftoversLimit) {
        return;
    }
    const int version = catalogue.header.Version;
    auto ask = [&](int index, const std::string& arg) {
        return boxes_.Show(LoadSpecial(version * 100 + index, arg), ApplicationTitle, MbButtons::YesNo,
                           MbIcon::Question) == MbResult::Yes;
    };
    if (size == 0) {
        RemoveTree(platform_.fs, upper, protected_dirs);
        return;
    }
    if (!ask(34, upper)) {
        return;
    }
    // Rounded half to even, as the menu has always rounded.
    const double mib = std::nearbyint(static_cast<double>(size) / 1024.0 / 1024.0);
    if (mib < 1 || ask(35, std::to_string(static_cast<uint64_t>(mib)))) {
        RemoveTree(platform_.fs, upper, protected_dirs);
    }
}

void TForm1::ApplyDelete() {
    for (const PageKind page :
         {PageKind::Demos, PageKind::Readers, PageKind::Fulls, PageKind::Extra2, PageKind::Extra3}) {
        for (int n = 1; TDemos* item = DemosItem(page, n); ++n) {
            CheckDemo(*item);
        }
    }
    SetInstalledPage();
}

} // namespace kavlo
