#include "sampledisc/sample_setups.h"

#include <algorithm>
#include <optional>

#include "engine/paths.h"
#include "sampledisc/disc_writer.h"

namespace kavlo::sample {

namespace {

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

std::string Title(const SampleItem& item) {
    std::string title = KeyValue(item.keys, "FullName");
    title.erase(std::remove_if(title.begin(), title.end(), [](char c) { return c == ':' || c == '~'; }),
                title.end());
    return title;
}

// Where the setup puts the item: Program Files, or for the one demo whose setup lets the user
// choose, a games folder that the menu must then search for.
std::string TargetDir(const SampleItem& item) {
    if (KeyValue(item.keys, "DirDetect") == "8") {
        return "C:\\Games\\" + Title(item);
    }
    return "C:\\Program Files\\" + Title(item);
}

bool IsSierraStyle(const SampleItem& item) {
    return KeyValue(item.keys, "InstallType") == "6";
}

const char* kPrologue = "set -e\n"
                        "pc=\"${KAVLO_PC:?KAVLO_PC must name the PC root}\"\n"
                        "tool=\"${KAVLO_TOOL:-kavlo-tool}\"\n"
                        "# A Windows path on drive C: as a file of the PC root.\n"
                        "host() { printf '%s' \"$1\" | sed -e \"s|^[Cc]:|$pc/drive_c|\" -e 's|\\\\|/|g'; }\n";

constexpr const char* kShellFolders =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders";

std::string UninstallKey(const SampleItem& item) {
    std::string name = KeyValue(item.keys, "RegUninstall");
    std::replace(name.begin(), name.end(), '*', ' ');
    return name.empty()
               ? std::string()
               : "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + name;
}

std::string ProgramKey(const SampleItem& item) {
    const std::string key = KeyValue(item.keys, "RegKey");
    if (key.empty()) {
        return {};
    }
    const bool user = KeyValue(item.keys, "DirDetect") == "4";
    return std::string(user ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE") + "\\SOFTWARE\\" + key;
}

// The commands of the item's uninstall script, its prefix taken off.
std::vector<std::string> UninstallCommands(const SampleItem& item) {
    std::string script = KeyValue(item.keys, "Uninstall");
    while (!script.empty() && (script.front() == '?' || script.front() == '!' || script.front() == '*')) {
        script.erase(0, 1);
    }
    return SplitList(script);
}

// The Start-menu shortcut, below the user's Programs folder, that the uninstall script reads its
// uninstaller from ("?P..."); "" when it names none.
std::string UninstallLinkOf(const SampleItem& item) {
    if (!StartsWith(KeyValue(item.keys, "Uninstall"), "?")) {
        return {};
    }
    for (const std::string& command : UninstallCommands(item)) {
        if (command.size() > 1 && command[0] == 'P') {
            return command.substr(1);
        }
    }
    return {};
}

// The install log that the uninstaller must be given, as classic uninstallers want theirs: in the
// uninstall key's command (-f) or in the arguments of the uninstall shortcut (/log); "" for none.
std::string LogFileOf(const SampleItem& item) {
    if (!UninstallLinkOf(item).empty()) {
        return "uninstall.log";
    }
    if (KeyValue(item.keys, "InstallType") == "4" && KeyValue(item.keys, "DirDetect") == "0" &&
        !UninstallKey(item).empty()) {
        return "DeIsL1.isu";
    }
    return {};
}

std::string UninstallerName(const SampleItem& item) {
    // Sierra-style setups stay in the game's folder and uninstall with "SETUP.EXE /U".
    return IsSierraStyle(item) ? "SETUP.EXE" : "UNINST.EXE";
}

// A shortcut the setup leaves in the user's Programs folder or on the desktop.
struct Link {
    std::string folder;   // "Programs" or "Desktop"
    std::string relative; // "Net Meter\Net Meter.lnk"
    std::string target;   // Windows path
    std::string arguments;
    bool removed_by_uninstaller; // false: left for the menu's clean-up script
};

bool SameLink(const Link& a, const std::string& folder, const std::string& relative) {
    return a.folder == folder && Upper(a.relative) == Upper(relative);
}

// The links the setup makes: the one the menu finds the item by, the uninstall shortcut the script
// reads, and those that a careless uninstaller leaves behind and the script's SN, FD, SD and FP
// commands clear away (Sierra's setups leave a "Sierra" group that the menu removes).
std::vector<Link> LinksOf(const SampleItem& item, const std::string& dir, const std::string& program) {
    std::vector<Link> links;
    const std::string detect = KeyValue(item.keys, "DirDetect");
    const bool programs = detect == "3" || detect == "15";
    const std::string found_by = KeyValue(item.keys, programs ? "ShortCut" : "DesktopShortCut");
    if ((programs || detect == "9") && !found_by.empty()) {
        links.push_back({programs ? "Programs" : "Desktop", found_by, program, "", true});
    }
    if (const std::string uninstall = UninstallLinkOf(item); !uninstall.empty()) {
        links.push_back({"Programs", uninstall, dir + "\\" + UninstallerName(item),
                         "/log \"" + dir + "\\" + LogFileOf(item) + "\"", true});
    }
    if (IsSierraStyle(item)) {
        links.push_back({"Programs", "Sierra\\" + Title(item) + ".lnk", program, "", false});
    }
    const auto leave = [&](const std::string& folder, const std::string& relative) {
        if (std::none_of(links.begin(), links.end(),
                         [&](const Link& link) { return SameLink(link, folder, relative); })) {
            links.push_back({folder, relative, program, "", false});
        }
    };
    for (const std::string& command : UninstallCommands(item)) {
        if (StartsWith(command, "SN") && command.size() > 2) {
            leave("Programs", command.substr(2) + "\\" + Title(item) + ".lnk");
        } else if ((StartsWith(command, "FD") || StartsWith(command, "SD")) && command.size() > 2) {
            leave("Desktop", command.substr(2));
        } else if (StartsWith(command, "FP") && command.size() > 2) {
            leave("Programs", command.substr(2));
        }
    }
    return links;
}

// Registry entries and files that the uninstaller forgets and the item's clean-up script removes
// (RMD/RUD, RME/RUE, RMF/RUF, FW, FG), each next to something the script must leave alone.
void AddLeftovers(const SampleItem& item, std::string& script) {
    // The program's own INI file in the Windows folder is written with its contents elsewhere.
    const std::string ini_value = KeyValue(item.keys, "IniFile");
    const std::string ini_file = Upper(ini_value.substr(0, ini_value.find(',')));
    for (const std::string& command : UninstallCommands(item)) {
        if (command.size() > 3 && command[0] == 'R' && (command[1] == 'M' || command[1] == 'U')) {
            const std::string root = command[1] == 'M' ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
            std::string key = command.substr(3);
            const size_t bar = key.find('|');
            const std::string value = bar == std::string::npos ? std::string() : key.substr(bar + 1);
            key = key.substr(0, bar);
            if (!key.empty() && key.front() == '\\') {
                key.erase(0, 1);
            }
            const std::string full = root + "\\" + key;
            if (Upper(full) == Upper(UninstallKey(item)) || Upper(full) == Upper(ProgramKey(item))) {
                continue; // the setup writes this key anyway
            }
            if (command[2] == 'D') {
                script += "\"$tool\" reg --pc \"$pc\" add " + Quote(full + "\\Options") + " Detail high\n";
            } else if (command[2] == 'E') {
                script += "\"$tool\" reg --pc \"$pc\" add " + Quote(full) + "\n";
            } else if (command[2] == 'F' && !value.empty()) {
                script += "\"$tool\" reg --pc \"$pc\" add " + Quote(full) + " " + Quote(value) + " 1\n";
                script += "\"$tool\" reg --pc \"$pc\" add " + Quote(full) + " Language English\n";
            }
        } else if (StartsWith(command, "FW") && command.size() > 2 && Upper(command.substr(2)) != ini_file) {
            script += "printf 'last=1\\r\\n' > \"$(host 'C:\\WINDOWS')/\"" + Quote(command.substr(2)) + "\n";
        } else if (StartsWith(command, "FG") && command.size() > 2) {
            std::string file = command.substr(2);
            std::replace(file.begin(), file.end(), '\\', '/');
            script += "printf 'video=1\\r\\n' > \"$dir/\"" + Quote(file) + "\n";
        }
    }
}

std::string WriteLink(const Link& link, const std::string& dir) {
    std::string line = "\"$tool\" shortcut --pc \"$pc\" " + Quote("<" + link.folder + ">\\" + link.relative) +
                       " " + Quote(link.target) + " --dir " + Quote(dir);
    if (!link.arguments.empty()) {
        line += " --args " + Quote(link.arguments);
    }
    return line + "\n";
}

// The uninstaller asks the registry for the folders, as real ones do, and takes a program group's
// folder with its last link; the desktop itself stays.
std::string RemoveLinks(const std::vector<Link>& links) {
    std::string script;
    for (const Link& link : links) {
        if (!link.removed_by_uninstaller) {
            continue;
        }
        script += "if folder=$(\"$tool\" reg --pc \"$pc\" query " + Quote(kShellFolders) + " " + link.folder +
                  "); then\n";
        script += "    link=$(host \"$folder\"" + Quote("\\" + link.relative) + ")\n";
        script += "    rm -f \"$link\"\n";
        if (link.relative.find('\\') != std::string::npos) {
            script += "    rmdir \"$(dirname \"$link\")\" 2>/dev/null || true\n";
        }
        script += "fi\n";
    }
    return script;
}

// Started without its install log, a classic uninstaller does not know what to remove and stops.
const char* kNeedsLog = "log=\n"
                        "while [ $# -gt 0 ]; do\n"
                        "    case \"$1\" in\n"
                        "        -f*) log=${1#-f} ;;\n"
                        "        /log) shift; log=${1-} ;;\n"
                        "    esac\n"
                        "    [ $# -eq 0 ] || shift\n"
                        "done\n"
                        "if [ -z \"$log\" ] || [ ! -f \"$(host \"$log\")\" ]; then\n"
                        "    echo 'The install log was not given: nothing is removed.' >&2\n"
                        "    exit 2\n"
                        "fi\n";

std::string UninstallerScript(const SampleItem& item, const std::string& dir,
                              const std::vector<std::string>& files, const std::vector<Link>& links) {
    std::string script = "#!/bin/sh\n# Uninstaller of " + Title(item) +
                         ": removes what its setup installed; saved games stay, as real uninstallers leave "
                         "them.\n";
    script += kPrologue;
    if (IsSierraStyle(item)) {
        script += "if [ \"${1-}\" != /U ] && [ \"${1-}\" != /u ]; then\n"
                  "    echo " +
                  Quote(Title(item) + " is installed; SETUP.EXE /U removes it.") + "\n    exit 0\nfi\n";
    }
    if (!LogFileOf(item).empty()) {
        script += kNeedsLog;
    }
    script += "dir=$(host " + Quote(dir) + ")\n";
    for (const std::string& file : files) {
        script += "rm -f \"$dir/\"" + Quote(file) + "\n";
    }
    script += RemoveLinks(links);
    if (!UninstallKey(item).empty()) {
        script += "\"$tool\" reg --pc \"$pc\" delete " + Quote(UninstallKey(item)) + " || true\n";
    }
    if (!ProgramKey(item).empty()) {
        script += "\"$tool\" reg --pc \"$pc\" delete " + Quote(ProgramKey(item)) + " || true\n";
    }
    script += "rmdir \"$dir/DATA\" \"$dir\" 2>/dev/null || true\n";
    return script;
}

// The uninstall command as the item's uninstall key records it; one demo uses the style of the
// classic setup engines whose uninstaller takes the log file after -f.
std::string UninstallCommand(const SampleItem& item, const std::string& dir) {
    if (LogFileOf(item) == "DeIsL1.isu") {
        return dir + "\\UNINST.EXE -f\"" + dir + "\\DeIsL1.isu\"";
    }
    return "\"" + dir + "\\" + UninstallerName(item) + "\"";
}

void AddWindowsFiles(const SampleItem& item, const std::string& dir, std::string& script) {
    const std::string detect = KeyValue(item.keys, "DirDetect");
    if (detect == "6") { // orbit.ini,Paths,InstallDir
        const std::string ini_value = KeyValue(item.keys, "IniFile");
        const size_t a = ini_value.find(','), b = ini_value.find(',', a + 1);
        script += "printf '[%s]\\r\\n%s=%s\\r\\n' " + Quote(ini_value.substr(a + 1, b - a - 1)) + " " +
                  Quote(ini_value.substr(b + 1)) + " " + Quote(dir) + " > \"$(host 'C:\\WINDOWS')/\"" +
                  Quote(ini_value.substr(0, a)) + "\n";
    }
    if (IsSierraStyle(item)) {
        script += "printf '[Sierra]\\r\\nSierraDir=%s\\r\\n' " + Quote(dir) +
                  " > \"$(host 'C:\\WINDOWS')/sierra.ini\"\n";
    }
}

} // namespace

std::vector<std::string> Programs(const std::string& game_name) {
    std::vector<std::string> elements{game_name};
    if (game_name.find(':') != std::string::npos) {
        elements = SplitList(game_name);
    }
    std::vector<std::string> programs;
    for (const std::string& element : elements) {
        const std::string program = CutAfterExtension(TextBeforeColon(element));
        if (!program.empty()) {
            programs.push_back(program);
        }
    }
    return programs;
}

bool HasSetupProgram(const SampleItem& item) {
    const std::string install = Upper(KeyValue(item.keys, "InstallName"));
    return install.size() > 4 && install.compare(install.size() - 4, 4, ".EXE") == 0 &&
           item.prefix != "Driver" && item.prefix != "Service";
}

std::string SetupScript(const SampleItem& item) {
    const std::string dir = TargetDir(item);
    std::vector<std::string> files = Programs(KeyValue(item.keys, "GameName"));
    std::string script = "#!/bin/sh\n# Setup of " + Title(item) +
                         " from the sample disc: installs into the PC root the menu runs on.\n";
    script += kPrologue;
    script += "dir=$(host " + Quote(dir) + ")\n";
    script += "mkdir -p \"$dir/SAVES\"\n";
    for (const std::string& program : files) {
        script += "cat > \"$dir/\"" + Quote(program) + " <<'GAME'\n" + GameScript(Title(item)) + "GAME\n";
        script += "chmod +x \"$dir/\"" + Quote(program) + "\n";
    }
    const std::string program = dir + "\\" + files.front();
    const std::string readme = KeyValue(item.keys, "ReadmeName");
    if (!readme.empty()) {
        script += "printf '%s\\r\\n\\r\\n%s\\r\\n' " + Quote(Title(item)) + " " +
                  Quote("Thank you for installing. " + item.english) + " > \"$dir/\"" + Quote(readme) + "\n";
        files.push_back(readme);
    }
    const std::string test_file = KeyValue(item.keys, "TestFile");
    if (!test_file.empty()) {
        std::string host_file = test_file;
        std::replace(host_file.begin(), host_file.end(), '\\', '/');
        script += "mkdir -p \"$dir/DATA\"\nprintf 'map data\\n' > \"$dir/\"" + Quote(host_file) + "\n";
        files.push_back(host_file);
    }
    script += "printf 'slot 1\\n' > \"$dir/SAVES/SLOT1.SAV\"\n";
    if (!UninstallKey(item).empty()) {
        script += "\"$tool\" reg --pc \"$pc\" add " + Quote(UninstallKey(item)) + " DisplayName " +
                  Quote(Title(item)) + "\n";
        script += "\"$tool\" reg --pc \"$pc\" add " + Quote(UninstallKey(item)) + " UninstallString " +
                  Quote(UninstallCommand(item, dir)) + "\n";
        script += "printf '%s\\n' " + Quote(UninstallKey(item)) + " > \"$dir/DeIsL1.isu\"\n";
        files.push_back("DeIsL1.isu");
    }
    if (LogFileOf(item) == "uninstall.log") {
        script += "printf '%s\\n' " + Quote(dir) + " > \"$dir/uninstall.log\"\n";
        files.push_back("uninstall.log");
    }
    if (!ProgramKey(item).empty()) {
        script += "\"$tool\" reg --pc \"$pc\" add " + Quote(ProgramKey(item)) + " " +
                  Quote(KeyValue(item.keys, "RegName")) + " " + Quote(program) + "\n";
    }
    AddWindowsFiles(item, dir, script);
    AddLeftovers(item, script);
    const std::vector<Link> links = LinksOf(item, dir, program);
    for (const Link& link : links) {
        script += WriteLink(link, dir);
    }
    const std::string uninstaller = UninstallerName(item);
    files.push_back(uninstaller);
    script += "cat > \"$dir/\"" + Quote(uninstaller) + " <<'UNINSTALLER'\n" +
              UninstallerScript(item, dir, files, links) + "UNINSTALLER\n";
    script += "chmod +x \"$dir/\"" + Quote(uninstaller) + "\n";
    return script;
}

std::string SimpleSetupScript(const std::string& title) {
    return "#!/bin/sh\n# Setup stand-in: reports what it would install.\necho " +
           Quote(title + " would be installed now.") + "\n";
}

std::string PdfReaderSetupScript() {
    std::string script = "#!/bin/sh\n# Setup of the PDF reader: registers the document type with the PC.\n";
    script += kPrologue;
    script += "\"$tool\" reg --pc \"$pc\" add 'HKEY_CLASSES_ROOT\\.pdf' '' 'PdfReader.Document'\n";
    script +=
        "\"$tool\" reg --pc \"$pc\" add 'HKEY_CLASSES_ROOT\\PdfReader.Document\\shell\\open\\command' '' "
        "'\"C:\\Program Files\\PDF Reader\\READER.EXE\" \"%1\"'\n";
    return script;
}

} // namespace kavlo::sample
