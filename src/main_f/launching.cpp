// Running what is installed: an item by its install type (with the choice among several versions of a
// game), the rows' play buttons, the readme and web buttons, and the window's fixed buttons that start
// the partner's program and open the magazine's home page.

#include <algorithm>
#include <cctype>

#include "engine/paths.h"
#include "main_f/form1.h"
#include "platform/codepage.h"

namespace kavlo {

namespace {

// The magazine's own site, opened by the small logo at the top of the window.
constexpr const char* kHomePage = "http://www.kavlo.example/";

// Asked in Czech whatever the disc's language, as every disc of the series asks it.
constexpr const char* kVersionQuestion = "Jakou verzi hry chcete spustit?";

// A version label is cut to what the choice's button has room for.
constexpr size_t kMaxChoiceLength = 50;

// Documents and media that only the shell can open; everything else is started as a program.
constexpr const char* kShellDocuments[] = {".LNK", ".JAR", ".MSI", ".HTA", ".PDF", ".WMZ", ".AVI",
                                           ".WMV", ".MOV", ".MPG", ".MP3", ".WAV", ".M3U", ".XM"};

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// Web addresses are ASCII; only those letters change.
std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
        return c < 0x80 ? static_cast<char>(std::tolower(c)) : static_cast<char>(c);
    });
    return lower;
}

struct GameVersion {
    std::string command; // program and its arguments, relative to the installed folder
    std::string label;
};

// The versions a "command:label" list offers whose program is present in the installed folder, in
// the list's order.
std::vector<GameVersion> PresentVersions(const FileSystem& fs, const TDemos& item) {
    std::vector<GameVersion> versions;
    for (const std::string& element : SplitList(item.GameName)) {
        const std::string command = TextBeforeColon(element);
        if (!fs.FileExists(item.InstalledDir + "\\" + CutAfterExtension(command))) {
            continue;
        }
        const size_t colon = element.find(':');
        const std::string label = colon == std::string::npos ? std::string() : element.substr(colon + 1);
        versions.push_back({command, label.substr(0, kMaxChoiceLength)});
    }
    return versions;
}

} // namespace

void TForm1::ConfigureLauncher() {
    std::string acrobat_reader;
    if (catalogue.CatalogueFile != nullptr) {
        acrobat_reader = catalogue.CatalogueFile->ReadString("MAIN", "AcrobatReader", "");
    }
    launcher_.Configure(
        LaunchSettings{state.DiscDrive, catalogue.header.Debug, acrobat_reader, ApplicationTitle});
}

// The program of an item that offers several versions, as the reader picks it; empty when none of
// them is installed or the reader closes the question.
std::string TForm1::ChooseVersion(const TDemos& item) {
    const std::vector<GameVersion> versions = PresentVersions(platform_.fs, item);
    if (versions.size() == 1) {
        return versions.front().command;
    }
    if (versions.empty()) {
        return {};
    }
    std::vector<std::string> labels;
    for (const GameVersion& version : versions) {
        labels.push_back(version.label);
    }
    const int result = ChoiceDialog(FromUtf8(kVersionQuestion), labels);
    const int index = result - 11;
    if (index < 0 || index >= static_cast<int>(versions.size())) {
        return {};
    }
    return versions[static_cast<size_t>(index)].command;
}

void TForm1::RunProc(TDemos& item) {
    if (item.InstallType == 20) {
        if (!Contains(UCase(item.GameName), ".MPG")) {
            platform_.processes.ShellExecute("PLAY", item.InstalledDir + "\\" + item.GameName, "",
                                             item.InstalledDir);
        }
        return;
    }
    if (item.InstallType < 0 || item.InstallType > 11) {
        return;
    }
    const bool versions = Contains(item.GameName, ":") && Contains(item.GameName, ";");
    const std::string command = versions ? ChooseVersion(item) : item.GameName;
    const std::string path = item.InstalledDir + "\\" + command;

    // A program run from the disc that installs something of its own: once it has ended, the panel
    // shows whether it did.
    if (item.InstallType == 0 && !item.Param.empty()) {
        launcher_.WaitExec(path);
        CheckDemo(item);
        FillList();
        ProcessPage();
        return;
    }
    const std::string upper = UCase(path);
    const bool document = std::any_of(std::begin(kShellDocuments), std::end(kShellDocuments),
                                      [&upper](const char* kind) { return Contains(upper, kind); });
    if (document) {
        launcher_.ShellExec(path);
    } else {
        launcher_.NormalExec(path);
    }
}

void TForm1::QuickRun(int item) {
    switch (state.CurrentPage) {
        case PageKind::Demos:
        case PageKind::Extra:
        case PageKind::Readers:
        case PageKind::Fulls:
        case PageKind::Addons:
        case PageKind::Extra2:
        case PageKind::Extra3:
            if (TDemos* demos = DemosItem(state.CurrentPage, item)) {
                RunProc(*demos);
            }
            break;
        case PageKind::Settings:
            if (const int row = item - state.TopItem + 1; row >= 1 && row <= 3) {
                ToggleSetting(row);
            }
            break;
        default:
            break;
    }
}

void TForm1::ReadmeDIBImageClick(TControl&) {
    StopMusic();
    if (controls.ReadmeImage->Tag() == 0) {
        return;
    }
    const std::string& disc = state.DiscDrive;
    std::string readme;
    switch (state.CurrentPage) {
        case PageKind::Demos:
            if (const TDemos* item = DemosItem(state.CurrentPage, state.CurrentItem)) {
                readme = item->NeedsInstall != 0 ? item->SourceDir + "\\" + item->ReadmeDVD
                                                 : item->InstalledDir + "\\" + item->ReadmeName;
            }
            break;
        case PageKind::Extra:
        case PageKind::Shareware:
        case PageKind::Drivers:
        case PageKind::Addons:
            if (const TDemos* item = DemosItem(state.CurrentPage, state.CurrentItem)) {
                readme = item->SourceDir + "\\" + item->ReadmeName;
            }
            break;
        case PageKind::Readers:
        case PageKind::Fulls:
        case PageKind::Extra2:
        case PageKind::Extra3:
            if (const TDemos* item = DemosItem(state.CurrentPage, state.CurrentItem)) {
                readme = item->InstalledDir + "\\" + item->ReadmeName;
            }
            break;
        case PageKind::Updates:
            if (state.CurrentItem >= 1 && state.CurrentItem <= catalogue.header.Updates) {
                const TUpdate& update = catalogue.Updates[state.CurrentItem];
                readme = disc + "\\Updates\\" + DirPartOf(update.FileName) + "\\" + update.ReadmeName;
            }
            break;
        case PageKind::Service:
            if (const TDemos* item = DemosItem(state.CurrentPage, state.CurrentItem)) {
                readme = disc + "\\Servis\\" + item->SourceDir + "\\" + item->ReadmeName;
            }
            break;
        default:
            break;
    }
    if (!readme.empty()) {
        launcher_.ShellExec(readme);
    }
}

void TForm1::WebDIBImageClick(TControl&) {
    StopMusic();
    if (controls.WebImage->Tag() == 0) {
        return;
    }
    std::string address;
    switch (state.CurrentPage) {
        case PageKind::Demos:
        case PageKind::Extra:
        case PageKind::Shareware:
        case PageKind::Drivers:
        case PageKind::Readers:
        case PageKind::Fulls:
        case PageKind::Addons:
        case PageKind::Extra2:
        case PageKind::Extra3:
        case PageKind::Service:
            if (const TDemos* item = DemosItem(state.CurrentPage, state.CurrentItem)) {
                address = item->Web;
            }
            break;
        case PageKind::Shots:
            if (state.CurrentItem >= 1 && state.CurrentItem <= catalogue.header.Shots) {
                address = catalogue.Shots[state.CurrentItem].Web;
            }
            break;
        default:
            return;
    }
    address = AsciiLower(address);
    // A secure address keeps its own scheme rather than getting a second one in front.
    if (!Contains(address, "http://") && !address.starts_with("https://")) {
        address = "http://" + address;
    }
    platform_.processes.ShellExecute("OPEN", address, "", "");
}

void TForm1::SponsorClick(TControl&) {
    launcher_.NormalExec(state.DiscDrive + "\\Redarer\\REDARER.exe");
}

void TForm1::Image1Click(TControl&) {
    platform_.processes.ShellExecute("OPEN", kHomePage, "", "");
}

} // namespace kavlo
