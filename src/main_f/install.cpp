// The play/install button by page, the install procedure by install type, and the poll that notices
// when a setup the menu did not wait for has finished.

#include <charconv>

#include "engine/paths.h"
#include "engine/trees.h"
#include "main_f/form1.h"

namespace kavlo {

namespace {

// Install types whose setups the menu waits for; within them an MSI package goes to the shell.
constexpr int kFirstWaitedSetup = 5;
constexpr int kLastWaitedSetup = 9;

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// Pages whose installs the 3-second poll watches.
bool Polled(PageKind page) {
    return InstallsItems(page) && page != PageKind::Extra;
}

// A search depth from the catalogue; anything but a decimal number is no limit worth reading.
int DecimalOrZero(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() ? value : 0;
}

} // namespace

void TForm1::PlayDIBImageClick(TControl&) {
    StopMusic();
    if (controls.PlayImage->Tag() == 0) {
        return;
    }
    const PageKind page = state.CurrentPage;
    const int n = state.CurrentItem;
    const std::string& disc = state.DiscDrive;
    if (InstallsItems(page)) {
        if (TDemos* item = DemosItem(page, n)) {
            if (item->Installed != 0) {
                RunProc(*item);
            } else {
                InstallProc(*item);
            }
        }
        return;
    }
    switch (page) {
        case PageKind::Drivers:
            if (TDemos* item = DemosItem(page, n)) {
                InstallProc(*item);
            }
            break;
        case PageKind::Installed:
            if (TDemos* item = DemosItem(page, n)) {
                RunProc(*item);
            }
            break;
        case PageKind::Updates:
            if (n >= 1 && n <= catalogue.header.Updates && catalogue.Updates[n].Mode == 0) {
                launcher_.NormalExec(disc + "\\Updates\\" + catalogue.Updates[n].FileName);
            }
            break;
        case PageKind::Movies:
            if (n >= 1 && n <= catalogue.header.Movies) {
                PlayMovie(catalogue.Movies[n]);
            }
            break;
        case PageKind::Dovudiz: {
            const std::string path =
                catalogue.CatalogueFile != nullptr
                    ? catalogue.CatalogueFile->ReadString("MAIN", "DovudizPath", "Dovudiz\\index.htm")
                    : std::string("Dovudiz\\index.htm");
            platform_.processes.ShellExecute("OPEN", disc + "\\" + path, "", "");
            break;
        }
        case PageKind::Service:
            if (const TDemos* item = DemosItem(page, n)) {
                PlayService(*item);
            }
            break;
        default:
            break;
    }
}

void TForm1::PlayMovie(const TMovies& movie) {
    if (catalogue.header.DVD == 1 && movie.Flags == 50) {
        launcher_.PlayDVD();
    } else {
        platform_.processes.ShellExecute("OPEN", movie.FilePath + "\\" + movie.GameName, "", "");
    }
    if (movie.InstallType == 30) {
        platform_.processes.ShellExecute("OPEN", movie.FilePath, "", "");
    }
}

// Service items name their folder relative to the disc's service folder; a driver's INF file is
// installed by the shell from its own folder.
void TForm1::PlayService(const TDemos& item) {
    const std::string dir = state.DiscDrive + "\\Servis\\" + item.SourceDir;
    const std::string file = dir + "\\" + item.InstallName;
    if (Contains(item.InstallName, ".INF")) {
        platform_.processes.ShellExecute("INSTALL", file, "", dir);
    } else {
        launcher_.NormalExec(file);
    }
}

void TForm1::InstallProc(TDemos& item) {
    controls.Timer1->Timer().SetEnabled(false);
    install_item_ = state.CurrentItem;
    install_page_ = state.CurrentPage;

    if (item.InstallType == 30) {
        platform_.processes.ShellExecute("OPEN", item.SourceDir, "", "");
        return;
    }
    if (item.NeedsInstall == 0) {
        launcher_.WaitExec(item.InstalledDir + "\\" + item.SetupName);
        return;
    }
    if (state.InstallTest) {
        boxes_.Show(item.SourceDir + "\\" + item.InstallName + " " + item.InstalledDir, ApplicationTitle,
                    MbButtons::Ok, MbIcon::None);
    }
    const std::string setup = item.SourceDir + "\\" + item.InstallName;
    switch (item.InstallType) {
        case 2:
        case 3:
            InstallArchive(item);
            break;
        case 4:
            launcher_.NormalExec(setup);
            controls.Timer1->Timer().SetEnabled(true);
            break;
        case 10:
            launcher_.WaitExec(setup);
            break;
        default:
            if (item.InstallType >= kFirstWaitedSetup && item.InstallType <= kLastWaitedSetup) {
                app_.SetScreenCursor(Cursor::HourGlass);
                if (Contains(UCase(item.InstallName), "MSI")) {
                    launcher_.ShellExec(setup);
                } else {
                    launcher_.WaitExec(setup);
                }
            }
            break;
    }
    if (item.InstallType == 5 && item.DirDetect == 8) {
        SearchInstalledProgram(item);
    }
    if (item.InstallType != 4) {
        FinishInstall(item);
    }
    FillList();
    ProcessPage();
}

// The reader picks the folder, the archive is unpacked into it (an incomplete result leaves no
// folder to record), and the item's own setup, if it has one, runs from there.
void TForm1::InstallArchive(TDemos& item) {
    if (ChooseTargetDir().empty()) {
        return;
    }
    UnpackChosenDir();
    item.InstalledDir = ChosenDir;
    RecordInstall(item);
    if (item.Name == "NECROMANIA") {
        platform_.fs.WriteFileAtomic(PostFixDir(state.WindowsDir) + "Necromania - demo.dr",
                                     item.InstalledDir + "\r\n");
    }
    if (!item.SetupName.empty() && !item.InstalledDir.empty()) {
        launcher_.WaitExec(item.InstalledDir + "\\" + item.SetupName);
    }
}

// A read-only kavlo.ini is no error: the install stands without its record.
void TForm1::RecordInstall(const TDemos& item) {
    if (SettingsFile != nullptr) {
        SettingsFile->WriteString("CD" + catalogue.header.CD, item.Name, item.InstalledDir);
    }
}

// A setup that lets the reader choose its folder: the program is looked for in the setup's usual
// folder, then on every local drive from C: to K:.
void TForm1::SearchInstalledProgram(TDemos& item) {
    const std::vector<std::string> search = SplitList(item.Param);
    const std::string file = search.size() > 0 ? search[0] : std::string();
    const int depth = search.size() > 1 ? DecimalOrZero(search[1]) : 0;
    const std::string usual = search.size() > 2 ? search[2] : std::string();
    app_.SetScreenCursor(Cursor::HourGlass);
    item.InstalledDir.clear();
    FileSystem& fs = platform_.fs;
    if (!usual.empty() && fs.FileExists(usual + "\\" + item.GameName)) {
        item.InstalledDir = usual;
    }
    for (char letter = 'c'; letter <= 'k' && item.InstalledDir.empty() && !file.empty(); ++letter) {
        const std::string root = std::string(1, letter) + ":\\";
        const DriveType type = fs.GetDriveType(root);
        if (type == DriveType::Removable || type == DriveType::Fixed) {
            item.InstalledDir = SearchTree(fs, root, file, depth);
        }
    }
    app_.SetScreenCursor(Cursor::Default);
    RecordInstall(item);
}

// The list comes back as it was when the install started, with the item's state found anew.
void TForm1::FinishInstall(TDemos& item) {
    app_.SetScreenCursor(Cursor::Default);
    state.CurrentItem = install_item_;
    state.CurrentPage = install_page_;
    if (FullScreen) {
        SetFullScreen();
    } else {
        BringToFront();
    }
    CheckDemo(item);
    app_.SetScreenCursor(Cursor::Default);
    app_.ProcessMessages();
}

void TForm1::BringToFront() {
    app_.GetBackend().RaiseWindow(window_);
}

void TForm1::Timer1Timer() {
    if (!Polled(install_page_)) {
        return;
    }
    TDemos* item = DemosItem(install_page_, install_item_);
    if (item == nullptr) {
        return;
    }
    CheckDemo(*item);
    if (item->Installed == 0) {
        return;
    }
    // The reader may have opened another page meanwhile: its list is left as it is.
    if (state.CurrentPage == install_page_) {
        state.CurrentItem = install_item_;
        FillList();
        app_.ProcessMessages();
        ProcessPage();
    }
    controls.Timer1->Timer().SetEnabled(false);
    app_.SetScreenCursor(Cursor::Default);
}

} // namespace kavlo
