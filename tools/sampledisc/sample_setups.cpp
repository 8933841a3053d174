#include "sampledisc/sample_setups.h"

#include <algorithm>
#include <optional>

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

std::vector<std::string> Programs(const std::string& game_name) {
    std::vector<std::string> programs;
    size_t start = 0;
    while (start <= game_name.size()) {
        const size_t end = std::min(game_name.find(':', start), game_name.size());
        if (end > start) {
            programs.push_back(game_name.substr(start, end - start));
        }
        start = end + 1;
    }
    return programs;
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

// The shortcut that the menu finds the item by, below the user's Programs folder or desktop;
// nullopt for items found otherwise.
struct Shortcut {
    std::string folder;   // "Programs" or "Desktop"
    std::string relative; // "Net Meter\Net Meter.lnk"
};

std::optional<Shortcut> ShortcutOf(const SampleItem& item) {
    const std::string detect = KeyValue(item.keys, "DirDetect");
    const bool programs = detect == "3" || detect == "15";
    const std::string relative = KeyValue(item.keys, programs ? "ShortCut" : "DesktopShortCut");
    if ((!programs && detect != "9") || relative.empty()) {
        return std::nullopt;
    }
    return Shortcut{programs ? "Programs" : "Desktop", relative};
}

// The uninstaller asks the registry for the folder, as real ones do, and takes the program group's
// folder with the link; the desktop itself stays.
std::string RemoveShortcut(const Shortcut& link) {
    std::string script = "if folder=$(\"$tool\" reg --pc \"$pc\" query " + Quote(kShellFolders) + " " +
                         link.folder + "); then\n";
    script += "    link=$(host \"$folder\"" + Quote("\\" + link.relative) + ")\n";
    script += "    rm -f \"$link\"\n";
    if (link.relative.find('\\') != std::string::npos) {
        script += "    rmdir \"$(dirname \"$link\")\" 2>/dev/null || true\n";
    }
    return script + "fi\n";
}

std::string UninstallerScript(const SampleItem& item, const std::string& dir,
                              const std::vector<std::string>& files) {
    std::string script = "#!/bin/sh\n# Uninstaller of " + Title(item) +
                         ": removes what its setup installed; saved games stay, as real uninstallers leave "
                         "them.\n";
    script += kPrologue;
    script += "dir=$(host " + Quote(dir) + ")\n";
    for (const std::string& file : files) {
        script += "rm -f \"$dir/\"" + Quote(file) + "\n";
    }
    if (const auto link = ShortcutOf(item)) {
        script += RemoveShortcut(*link);
    }
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
    if (KeyValue(item.keys, "InstallType") == "4" && KeyValue(item.keys, "DirDetect") == "0") {
        return dir + "\\UNINST.EXE -f\"" + dir + "\\DeIsL1.isu\"";
    }
    return "\"" + dir + "\\UNINST.EXE\"";
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
    if (KeyValue(item.keys, "InstallType") == "6") {
        script += "printf '[Sierra]\\r\\nSierraDir=%s\\r\\n' " + Quote(dir) +
                  " > \"$(host 'C:\\WINDOWS')/sierra.ini\"\n";
    }
}

} // namespace

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
    if (!ProgramKey(item).empty()) {
        script += "\"$tool\" reg --pc \"$pc\" add " + Quote(ProgramKey(item)) + " " +
                  Quote(KeyValue(item.keys, "RegName")) + " " + Quote(dir + "\\" + files.front()) + "\n";
    }
    AddWindowsFiles(item, dir, script);
    if (const auto link = ShortcutOf(item)) {
        script += "\"$tool\" shortcut --pc \"$pc\" " + Quote("<" + link->folder + ">\\" + link->relative) +
                  " " + Quote(dir + "\\" + files.front()) + " --dir " + Quote(dir) + "\n";
    }
    files.push_back("UNINST.EXE");
    script +=
        "cat > \"$dir/UNINST.EXE\" <<'UNINSTALLER'\n" + UninstallerScript(item, dir, files) + "UNINSTALLER\n";
    script += "chmod +x \"$dir/UNINST.EXE\"\n";
    return script;
}

std::string SimpleSetupScript(const std::string& title) {
    return "#!/bin/sh\n# Setup stand-in: reports what it would install.\necho " +
           Quote(title + " would be installed now.") + "\n";
}

} // namespace kavlo::sample
