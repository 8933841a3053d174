// The Installed page's list, read from real kavlo.ini files on a temporary PC: which sections and
// keys it lists, the disc names and numbers, the uninstall rules, and what it prunes.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "main_f/installed_list.h"
#include "platform/posix/posix_platform.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

using test::ReadHostFile;
using test::TempDir;
using test::WriteHostFile;

constexpr const char* kIssue = "0206";

std::string IniText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// A PC whose kavlo.ini, program files and uninstall keys are the case's own.
class InstalledPc {
public:
    InstalledPc() : posix_({.pc_root = (dir_ / "pc").string(), .scan_media = false}) {}

    void WriteSettings(const std::vector<std::string>& lines) {
        WriteHostFile(SettingsHost(), IniText(lines));
    }
    std::string Settings() const { return ReadHostFile(SettingsHost()); }
    void AddProgram(const std::string& rel) { WriteHostFile(dir_ / ("pc/drive_c/" + rel), "MZ"); }
    void RemoveProgram(const std::string& rel) { std::filesystem::remove(dir_ / ("pc/drive_c/" + rel)); }
    void AddUninstallKey(const std::string& name, const std::string& command) {
        posix_.registry().WriteString(RegRoot::LocalMachine,
                                      "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + name,
                                      "UninstallString", command);
    }

    int Read(InstalledTable& table) {
        IniFile settings(posix_.fs(), profiles_, "kavlo.ini", "C:\\WINDOWS");
        return ReadInstalledList(table,
                                 InstalledListContext{posix_.fs(), posix_.registry(), settings, kIssue});
    }

private:
    std::filesystem::path SettingsHost() const { return dir_ / "pc/drive_c/WINDOWS/kavlo.ini"; }

    TempDir dir_;
    PosixPlatform posix_;
    ProfileCache profiles_{std::chrono::milliseconds(0)};
};

struct Listed {
    std::string Name;
    std::string TechInfo;
    int Installed;
    int InstallType;
    std::string InstalledDir;
    std::string GameName;
    std::string RegUninstall;
    std::string Uninstall;
    std::string UnInstallName;
};

struct ListCase {
    std::string name;
    std::vector<std::string> settings;                          // kavlo.ini, line by line
    std::vector<std::string> programs;                          // files on C:
    std::vector<std::pair<std::string, std::string>> uninstall; // uninstall key -> UninstallString
    std::vector<Listed> listed;                                 // the list, in order
    std::vector<std::string> pruned;                            // lines of kavlo.ini that must go
};

std::vector<std::string> Without(const std::vector<std::string>& lines,
                                 const std::vector<std::string>& gone) {
    std::vector<std::string> kept;
    for (const std::string& line : lines) {
        if (std::find(gone.begin(), gone.end(), line) == gone.end()) {
            kept.push_back(line);
        }
    }
    return kept;
}

const std::string kHugeName(10000, 'A');

TEST(InstalledList, ListsPrunesAndKeepsAsTheRecordsSay) {
    const std::vector<ListCase> cases = {
        {"issues of several years, one game from two discs, one program gone",
         {"[Main]", "Enhanced=1", "[CD1197]", "OLD=C:\\GAMES\\OLD", "OLD_=OLD.EXE,,,", "[CD1298]",
          "QUAKE=C:\\GAMES\\QUAKE", "QUAKE_=QUAKE.EXE,Quake,,", "QUAKE__=C:\\GAMES\\QUAKE\\UNINST.EXE",
          "[CD0206]", "quake=C:\\GAMES\\QUAKE2", "quake_=QUAKE.EXE:Q3D.EXE,,,2", "ALIEN=C:\\GAMES\\ALIEN",
          "ALIEN_=ALIEN.EXE -window,Alien Reg,del ALIEN,", "GONE=C:\\GAMES\\GONE", "GONE_=GONE.EXE,,,",
          "GONE__=C:\\GAMES\\GONE\\UNINST.EXE"},
         {"GAMES/OLD/OLD.EXE", "GAMES/QUAKE/QUAKE.EXE", "GAMES/QUAKE2/QUAKE.EXE", "GAMES/ALIEN/ALIEN.EXE"},
         {},
         {{"ALIEN", "KAVLO 02-06", 1, 2, "C:\\GAMES\\ALIEN", "ALIEN.EXE -window", "Alien Reg", "del ALIEN",
           ""},
          {"quake", "KAVLO 02-06-2", 1, 2, "C:\\GAMES\\QUAKE2", "QUAKE.EXE:Q3D.EXE", "", "", ""},
          {"QUAKE", "KAVLO 12-98", 1, 4, "C:\\GAMES\\QUAKE", "QUAKE.EXE", "Quake", "",
           "C:\\GAMES\\QUAKE\\UNINST.EXE"}},
         {"GONE=C:\\GAMES\\GONE", "GONE_=GONE.EXE,,,", "GONE__=C:\\GAMES\\GONE\\UNINST.EXE"}},
        {"only the switches", {"[Main]", "Enhanced=1", "0206=KAVLO_0206"}, {}, {}, {}, {}},
        // One section is never a record section, even when it looks like one.
        {"a lone section", {"[CD0206]", "GONE=C:\\GAMES\\GONE", "GONE_=GONE.EXE,,,"}, {}, {}, {}, {}},
        {"disc numbers; discs 10 and up run only from their own issue",
         {"[Main]", "[CD0206]", "HERE=C:\\G\\HERE", "HERE_=HERE.EXE,,,12", "HOME=C:\\G\\HOME",
          "HOME_=HOME.EXE,,,10", "[CD0305]", "AWAY=C:\\G\\AWAY", "AWAY_=AWAY.EXE,,,11", "NINE=C:\\G\\NINE",
          "NINE_=NINE.EXE,,,9", "JUNK=C:\\G\\JUNK", "JUNK_=JUNK.EXE,,,x"},
         {"G/HERE/HERE.EXE", "G/HOME/HOME.EXE", "G/AWAY/AWAY.EXE", "G/NINE/NINE.EXE", "G/JUNK/JUNK.EXE"},
         {},
         {{"AWAY", "KAVLO 03-05-1", 0, 2, "C:\\G\\AWAY", "AWAY.EXE", "", "", ""},
          {"HERE", "KAVLO 02-06-2", 1, 2, "C:\\G\\HERE", "HERE.EXE", "", "", ""},
          {"HOME", "KAVLO 02-06", 1, 2, "C:\\G\\HOME", "HOME.EXE", "", "", ""},
          {"JUNK", "KAVLO 03-05", 1, 2, "C:\\G\\JUNK", "JUNK.EXE", "", "", ""},
          {"NINE", "KAVLO 03-05-9", 1, 2, "C:\\G\\NINE", "NINE.EXE", "", "", ""}},
         {}},
        {"disc labels, and the uninstall keys of the first disc",
         {"[Main]", "1399=KAVLO SPECIAL", "[CD1399]", "XMAS=C:\\G\\XMAS", "XMAS_=XMAS.EXE,,,", "[CD0198]",
          "FIRST=C:\\G\\FIRST", "FIRST_=FIRST.EXE,First Game,,", "[CD0298]", "SECOND=C:\\G\\SECOND",
          "SECOND_=SECOND.EXE,Second Game,,"},
         {"G/XMAS/XMAS.EXE", "G/FIRST/FIRST.EXE", "G/SECOND/SECOND.EXE"},
         {{"First Game", "C:\\G\\FIRST\\UNINST.EXE"}, {"Second Game", "C:\\G\\SECOND\\UNINST.EXE"}},
         {{"FIRST", "KAVLO 01-98", 1, 4, "C:\\G\\FIRST", "FIRST.EXE", "First Game", "",
           "C:\\G\\FIRST\\UNINST.EXE"},
          {"SECOND", "KAVLO 02-98", 1, 2, "C:\\G\\SECOND", "SECOND.EXE", "Second Game", "", ""},
          {"XMAS", "KAVLO SPECIAL", 1, 2, "C:\\G\\XMAS", "XMAS.EXE", "", "", ""}},
         {}},
        {"garbage section names, empty and huge values, odd key names",
         {"[Main]",
          "[CDxx]",
          "A=C:\\G\\A",
          "A_=A.EXE,,,",
          "[CD]",
          "B=C:\\G\\B",
          "[CD12]",
          "C=C:\\G\\C",
          "[CDab98]",
          "D=C:\\G\\D",
          "D_=D.EXE,,,",
          "[CD1-98]",
          "E=C:\\G\\E",
          "E_=E.EXE,,,",
          "[CD0250]",
          "F=C:\\G\\F",
          "F_=F.EXE,,,",
          "[CD0206]",
          "EMPTYDIR=",
          "EMPTYDIR_=EMPTY.EXE,,,",
          "NORECORD=C:\\G\\NORECORD",
          "NORECORD_=",
          "HUGE=C:\\G\\HUGE",
          "HUGE_=" + kHugeName + ".EXE,,,",
          "SEP,NAME=C:\\G\\SEP",
          "SEP,NAME_=SEP.EXE,,,",
          "=C:\\G\\NAMELESS",
          "ONLY_=ONLY.EXE",
          "WORD"},
         {"G/A/A.EXE", "G/D/D.EXE", "G/E/E.EXE", "G/F/F.EXE", "G/SEP/SEP.EXE", "G/NORECORD/NORECORD.EXE"},
         {},
         {{"SEP,NAME", "KAVLO 02-06", 1, 2, "C:\\G\\SEP", "SEP.EXE", "", "", ""}},
         {"EMPTYDIR=", "EMPTYDIR_=EMPTY.EXE,,,", "HUGE=C:\\G\\HUGE", "HUGE_=" + kHugeName + ".EXE,,,"}},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.name);
        InstalledPc pc;
        pc.WriteSettings(c.settings);
        for (const std::string& program : c.programs) {
            pc.AddProgram(program);
        }
        for (const auto& [key, command] : c.uninstall) {
            pc.AddUninstallKey(key, command);
        }
        InstalledTable table;
        const int count = pc.Read(table);
        ASSERT_EQ(count, static_cast<int>(c.listed.size()));
        for (int n = 1; n <= count; ++n) {
            const TDemos& item = table[n];
            const Listed& want = c.listed[static_cast<size_t>(n - 1)];
            EXPECT_EQ(item.Name, want.Name) << n;
            EXPECT_EQ(item.TechInfo, want.TechInfo) << n;
            EXPECT_EQ(item.Installed, want.Installed) << n;
            EXPECT_EQ(item.InstallType, want.InstallType) << n;
            EXPECT_EQ(item.InstalledDir, want.InstalledDir) << n;
            EXPECT_EQ(item.GameName, want.GameName) << n;
            EXPECT_EQ(item.RegUninstall, want.RegUninstall) << n;
            EXPECT_EQ(item.Uninstall, want.Uninstall) << n;
            EXPECT_EQ(item.UnInstallName, want.UnInstallName) << n;
            EXPECT_EQ(item.CanUninstall, 1) << n;
            EXPECT_EQ(item.NeedsInstall, 0) << n;
        }
        EXPECT_EQ(pc.Settings(), IniText(Without(c.settings, c.pruned)));
    }
}

// Hundreds of record sections: the list walks the first 48 entries only, leaves the rest of
// kavlo.ini alone, and a second reading clears what the first one filled.
TEST(InstalledList, WalksAtMost48EntriesOfAnyNumberOfSections) {
    InstalledPc pc;
    std::vector<std::string> lines = {"[Main]"};
    for (int section = 0; section < 300; ++section) {
        // Every code once: section names repeat only where a file was edited by hand.
        const int years[] = {99, 5, 20};
        char code[5];
        std::snprintf(code, sizeof code, "%02d%02d", section % 100, years[section / 100]);
        lines.push_back("[CD" + std::string(code) + "]");
        lines.push_back("G" + std::to_string(1000 + section) + "=C:\\G\\" + std::to_string(section));
        lines.push_back("G" + std::to_string(1000 + section) + "_=RUN.EXE,,,");
        pc.AddProgram("G/" + std::to_string(section) + "/RUN.EXE");
    }
    // Sorted after every other name, so beyond the walk: its vanished program is not noticed.
    lines.push_back("[CD0206]");
    lines.push_back("ZZZ=C:\\G\\ZZZ");
    lines.push_back("ZZZ_=ZZZ.EXE,,,");
    pc.WriteSettings(lines);

    InstalledTable table;
    ASSERT_EQ(pc.Read(table), kInstalledListLimit);
    for (int n = 1; n <= kInstalledListLimit; ++n) {
        EXPECT_EQ(table[n].Name, "G" + std::to_string(999 + n));
    }
    EXPECT_EQ(table[kInstalledListLimit + 1].Name, "");
    EXPECT_EQ(pc.Settings(), IniText(lines));

    // Most programs removed by hand: their records go, and the old entries leave no trace.
    for (int section = 2; section < 300; ++section) {
        pc.RemoveProgram("G/" + std::to_string(section) + "/RUN.EXE");
    }
    ASSERT_EQ(pc.Read(table), 2);
    EXPECT_EQ(table[3].Name, "");
    EXPECT_EQ(table[3].InstalledDir, "");
    const std::string after = pc.Settings();
    EXPECT_EQ(after.find("G1002="), std::string::npos);
    EXPECT_EQ(after.find("G1047_="), std::string::npos);
    EXPECT_NE(after.find("G1048=C:\\G\\48\r\nG1048_=RUN.EXE,,,\r\n"), std::string::npos);
    EXPECT_NE(after.find("ZZZ_=ZZZ.EXE,,,"), std::string::npos);
}

} // namespace
} // namespace kavlo
