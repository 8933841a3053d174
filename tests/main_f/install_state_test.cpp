// The install-state check on real PC roots and discs: every install type and way of finding the
// folder, found and lost, with the records it leaves in kavlo.ini.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "main_f/install_state.h"
#include "platform/posix/posix_platform.h"
#include "platform/profile_document.h"
#include "sampledisc/lnk_writer.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

using test::ReadHostFile;
using test::TempDir;
using test::WriteHostFile;

constexpr const char* kIssue = "0206";

// kavlo.ini before every check: a stale record of ITEM in C:\OLD, and another item's record that no
// check of ITEM may touch.
const char* const kSettings = "[Main]\r\n"
                              "0206=KAVLO_0206\r\n"
                              "[CD0206]\r\n"
                              "ITEM=C:\\OLD\r\n"
                              "ITEM_=OLD.EXE,,,\r\n"
                              "ITEM__=C:\\OLD\\UNINST.EXE\r\n"
                              "OTHER=C:\\KEEP\r\n"
                              "OTHER_=KEEP.EXE,,,\r\n";

// A PC with its Windows folders where start-up would find them, and a disc as the current drive.
class InstallPc {
public:
    explicit InstallPc(std::string windows_dir = "C:\\WINDOWS\\")
        : posix_({.pc_root = (dir_ / "pc").string(),
                  .disc_dir = (dir_ / "disc").string(),
                  .scan_media = false}) {
        state.DiscDrive = posix_.system().ProgramPath().substr(0, 2);
        state.WindowsDir = std::move(windows_dir);
        state.ProgramFilesDir = "C:\\Program Files\\";
        state.UserProgramsDir = "C:\\WINDOWS\\Start Menu\\Programs\\";
        state.CommonProgramsDir = "C:\\WINDOWS\\All Users\\Start Menu\\Programs\\";
        state.UserDesktopDir = "C:\\WINDOWS\\Desktop\\";
        state.CommonDesktopDir = "C:\\WINDOWS\\All Users\\Desktop\\";
        std::filesystem::create_directories(dir_ / "disc");
        posix_.fs().CreateDir(state.WindowsDir);
        posix_.fs().SetCurrentDirectory(state.DiscDrive + "\\");
        settings_ = std::make_unique<IniFile>(posix_.fs(), profiles_, "kavlo.ini", state.WindowsDir);
    }

    // Files by their path on C: ("GAMES/X/X.EXE") or on the disc.
    std::filesystem::path OnC(const std::string& rel) const { return dir_ / ("pc/drive_c/" + rel); }
    void File(const std::string& rel, const std::string& bytes = "MZ") { WriteHostFile(OnC(rel), bytes); }
    void Link(const std::string& rel, const sample::LinkContents& contents) {
        File(rel, sample::WriteShellLink(contents).value());
    }
    void DiscFile(const std::string& rel) { WriteHostFile(dir_ / ("disc/" + rel), "MZ"); }
    void Uninstall(const std::string& name, const std::string& command) {
        Reg(RegRoot::LocalMachine, std::string(kUninstallKey) + name, "UninstallString", command);
    }
    void Reg(RegRoot root, const std::string& key, const std::string& name, const std::string& value) {
        posix_.registry().WriteString(root, key, name, value);
    }

    std::filesystem::path SettingsHost() const {
        return OnC(state.WindowsDir.substr(3, state.WindowsDir.size() - 4) + "/kavlo.ini");
    }
    std::optional<std::string> Record(const std::string& key) const {
        return ProfileDocument::Parse(ReadHostFile(SettingsHost())).Get("CD0206", key);
    }

    InstallStateContext Context() { return {posix_.platform(), profiles_, state, kIssue, settings_.get()}; }
    void Check(TDemos& item) { CheckDemo(item, Context()); }

    MenuState state;

private:
    TempDir dir_;
    PosixPlatform posix_;
    ProfileCache profiles_{std::chrono::milliseconds(0)};
    std::unique_ptr<IniFile> settings_;
};

struct Flags {
    int NeedsInstall;
    int Installed;
    int CanUninstall;
};
constexpr Flags kFound{0, 1, 1};
constexpr Flags kNotFound{1, 0, 0};

// The keys Name, Name + "_" and Name + "__" after the check; nullopt: the key is gone.
struct Records {
    std::optional<std::string> dir, run, uninstaller;
};
const Records kRemoved{std::nullopt, std::nullopt, std::nullopt};
const Records kUntouched{"C:\\OLD", "OLD.EXE,,,", "C:\\OLD\\UNINST.EXE"};

using D = TDemos;

struct Field {
    std::string D::*field;
    std::string value;
};

// One catalogue item named ITEM, as loading hands it over: the program and the string fields given,
// the rest empty.
TDemos Item(int install_type, int dir_detect, uint8_t cd, std::string game,
            const std::vector<Field>& fields = {}) {
    TDemos item;
    item.Name = "ITEM";
    item.GameName = std::move(game);
    item.InstallType = install_type;
    item.DirDetect = dir_detect;
    item.CD = cd;
    for (const Field& f : fields) {
        item.*f.field = f.value;
    }
    return item;
}

// What the check leaves: InstalledDir, the flags, UnInstallName and the records ("{disc}" in the
// recorded folder stands for the disc's drive).
struct Outcome {
    std::string installed_dir;
    Flags flags;
    std::string uninstall_name;
    Records records;
};

struct CheckCase {
    std::string name;
    TDemos item;
    Outcome expected;
    std::function<void(InstallPc&)> setup = nullptr; // the PC beside the stale record
};

std::string WithDisc(std::string text, const std::string& drive) {
    if (const std::size_t at = text.find("{disc}"); at != std::string::npos) {
        text.replace(at, 6, drive);
    }
    return text;
}

std::optional<std::string> WithDisc(const std::optional<std::string>& text, const std::string& drive) {
    return text ? std::optional(WithDisc(*text, drive)) : std::nullopt;
}

void RunCases(const std::vector<CheckCase>& cases) {
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        InstallPc pc;
        pc.File("WINDOWS/kavlo.ini", kSettings);
        if (c.setup) {
            c.setup(pc);
        }
        TDemos item = c.item;
        pc.Check(item);
        const std::string& disc = pc.state.DiscDrive;
        const Outcome& want = c.expected;
        EXPECT_EQ(item.InstalledDir, want.installed_dir);
        EXPECT_EQ(item.NeedsInstall, want.flags.NeedsInstall);
        EXPECT_EQ(item.Installed, want.flags.Installed);
        EXPECT_EQ(item.CanUninstall, want.flags.CanUninstall);
        EXPECT_EQ(item.UnInstallName, want.uninstall_name);
        EXPECT_EQ(pc.Record(item.Name), WithDisc(want.records.dir, disc));
        EXPECT_EQ(pc.Record(item.Name + "_"), want.records.run);
        EXPECT_EQ(pc.Record(item.Name + "__"), want.records.uninstaller);
        EXPECT_EQ(pc.Record("OTHER_"), "KEEP.EXE,,,");
    }
}

const std::string kIsUninstaller =
    "C:\\WINDOWS\\UNINST.EXE -f\"C:\\GAMES\\X\\DeIsL1.isu\" -c\"C:\\GAMES\\X\\_ISRES.DLL\"";

TEST(CheckDemo, InstallTypesFoundAndLost) {
    const std::vector<CheckCase> cases = {
        {"1: the recorded folder, the uninstaller from its key",
         Item(1, 0, 1, "GAME.EXE", {{&D::RegUninstall, "Game"}, {&D::Uninstall, "del X"}}),
         {"C:\\OLD",
          kFound,
          "C:\\OLD\\UNINST.EXE /x",
          {"C:\\OLD", "GAME.EXE,Game,del X,", "C:\\OLD\\UNINST.EXE /x"}},
         [](InstallPc& pc) {
             pc.File("OLD/GAME.EXE");
             pc.Uninstall("Game", "C:\\OLD\\UNINST.EXE /x");
         }},
        {"2: the folder deleted by hand", Item(2, 0, 1, "GAME.EXE"), {"C:\\OLD", kNotFound, "", kRemoved}},
        // A missing uninstall key reads as empty, so no "__" record is written and the old one stays.
        {"3: a missing uninstall key empties the catalogue's uninstaller",
         Item(3, 0, 1, "GAME.EXE",
              {{&D::UnInstallName, "C:\\CATALOGUE\\UNINST.EXE"}, {&D::RegUninstall, "Missing"}}),
         {"C:\\OLD", kFound, "", {"C:\\OLD", "GAME.EXE,Missing,,", "C:\\OLD\\UNINST.EXE"}},
         [](InstallPc& pc) { pc.File("OLD/GAME.EXE"); }},
        {"4: the folder from the uninstaller's command line, its test file present",
         Item(4, 0, 1, "X.EXE", {{&D::RegUninstall, "X Game"}, {&D::Param, "DATA\\LEVEL.DAT"}}),
         {"C:\\GAMES\\X", kFound, kIsUninstaller, {"C:\\GAMES\\X", "X.EXE,X Game,,", kIsUninstaller}},
         [](InstallPc& pc) {
             pc.Uninstall("X Game", kIsUninstaller);
             pc.File("GAMES/X/X.EXE");
             pc.File("GAMES/X/DATA/LEVEL.DAT");
         }},
        {"4: a missing test file means not installed",
         Item(4, 0, 1, "X.EXE", {{&D::RegUninstall, "X Game"}, {&D::Param, "DATA\\LEVEL.DAT"}}),
         {"", kNotFound, kIsUninstaller, kRemoved},
         [](InstallPc& pc) {
             pc.Uninstall("X Game", kIsUninstaller);
             pc.File("GAMES/X/X.EXE");
         }},
        {"4: \"*\" keeps the registry's uninstaller out",
         Item(4, 0, 1, "X.EXE", {{&D::RegUninstall, "X Game"}, {&D::Uninstall, "*"}}),
         {"C:\\GAMES\\X", kFound, "", {"C:\\GAMES\\X", "X.EXE,X Game,*,", "C:\\OLD\\UNINST.EXE"}},
         [](InstallPc& pc) {
             pc.Uninstall("X Game", kIsUninstaller);
             pc.File("GAMES/X/X.EXE");
         }},
        {"5: the one game that always goes to Program Files",
         Item(5, 0, 1, "BONE.EXE", {{&D::Name, "BONE"}}),
         {"C:\\Program Files\\Out from Boneville",
          kFound,
          "",
          {"C:\\Program Files\\Out from Boneville", "BONE.EXE,,,", std::nullopt}},
         [](InstallPc& pc) { pc.File("Program Files/Out from Boneville/BONE.EXE"); }},
        {"6: sierra.ini names the folder",
         Item(6, 0, 1, "KQ.EXE"),
         {"C:\\SIERRA\\KQ", kFound, "", {"C:\\SIERRA\\KQ", "KQ.EXE,,,", "C:\\OLD\\UNINST.EXE"}},
         [](InstallPc& pc) {
             pc.File("WINDOWS/SIERRA.INI", "[Sierra]\r\nSierraDir=C:\\SIERRA\\KQ\r\n");
             pc.File("SIERRA/KQ/KQ.EXE");
         }},
        {"6: a sierra.ini folder on the disc drive is the game on the disc",
         Item(6, 0, 1, "KQ.EXE"),
         {"", kNotFound, "", kRemoved},
         [](InstallPc& pc) {
             pc.File("WINDOWS/sierra.ini",
                     "[Sierra]\r\nSierraDir=" + pc.state.DiscDrive + "\\SIERRA\\KQ\r\n");
             pc.DiscFile("SIERRA/KQ/KQ.EXE");
         }},
        {"7: the uninstaller's folder, with its test file",
         Item(7, 0, 1, "W.EXE", {{&D::RegUninstall, "W"}, {&D::Param, "W.EXE"}}),
         {"C:\\GAMES\\W",
          kFound,
          "C:\\GAMES\\W\\UNINST.EXE /u",
          {"C:\\GAMES\\W", "W.EXE,W,,", "C:\\GAMES\\W\\UNINST.EXE /u"}},
         [](InstallPc& pc) {
             pc.Uninstall("W", "C:\\GAMES\\W\\UNINST.EXE /u");
             pc.File("GAMES/W/UNINST.EXE");
             pc.File("GAMES/W/W.EXE");
         }},
        {"7: the test file missing",
         Item(7, 0, 1, "W.EXE", {{&D::RegUninstall, "W"}, {&D::Param, "W.DAT"}}),
         {"", kNotFound, "C:\\GAMES\\W\\UNINST.EXE /u", kRemoved},
         [](InstallPc& pc) {
             pc.Uninstall("W", "C:\\GAMES\\W\\UNINST.EXE /u");
             pc.File("GAMES/W/UNINST.EXE");
             pc.File("GAMES/W/W.EXE");
         }},
        {"0: a test file on C: is recorded, the item runs from the disc",
         Item(0, 0, 2, "RUN.EXE",
              {{&D::Uninstall, "del T"},
               {&D::SourceDir, "E:\\DEMOS\\RUN"},
               {&D::Param, "C:\\GAMES\\T\\TEST.DAT"}}),
         {"E:\\DEMOS\\RUN", kFound, "", {"C:\\GAMES\\T", "TEST.DAT,,del T,2", "C:\\OLD\\UNINST.EXE"}},
         [](InstallPc& pc) { pc.File("GAMES/T/TEST.DAT"); }},
        {"0: a test file relative to the disc root",
         Item(0, 0, 12, "RUN.EXE", {{&D::SourceDir, "E:\\DEMOS\\RUN"}, {&D::Param, "DEMOS\\RUN\\SAVE.DAT"}}),
         {"E:\\DEMOS\\RUN", kFound, "", {"{disc}\\DEMOS\\RUN", "SAVE.DAT,,,12", "C:\\OLD\\UNINST.EXE"}},
         [](InstallPc& pc) { pc.DiscFile("DEMOS/RUN/SAVE.DAT"); }},
        // Nothing to run and no test file: the record of an earlier check stays.
        {"0: no program and no test file",
         Item(0, 0, 1, "", {{&D::SourceDir, "E:\\DOCS"}, {&D::Param, "C:\\NOWHERE\\X.DAT"}}),
         {"E:\\DOCS", {0, 0, 0}, "", kUntouched}},
        {"20: always there, its record never touched",
         Item(20, 0, 1, "GONE.EXE", {{&D::SourceDir, "E:\\EXTRA"}}),
         {"E:\\EXTRA", {0, 1, 0}, "", kUntouched}},
    };
    RunCases(cases);
}

TEST(CheckDemo, FolderDetectionFoundAndLost) {
    const std::vector<CheckCase> cases = {
        {"1: the uninstaller's -f folder, read from its key when the catalogue names none",
         Item(5, 1, 1, "Y.EXE", {{&D::RegUninstall, "Y"}}),
         {"C:\\GAMES\\Y",
          kFound,
          "C:\\WINDOWS\\UNINST.EXE -f\"C:\\GAMES\\Y\\DeIsL1.isu\"",
          {"C:\\GAMES\\Y", "Y.EXE,Y,,", "C:\\WINDOWS\\UNINST.EXE -f\"C:\\GAMES\\Y\\DeIsL1.isu\""}},
         [](InstallPc& pc) {
             pc.Uninstall("Y", "C:\\WINDOWS\\UNINST.EXE -f\"C:\\GAMES\\Y\\DeIsL1.isu\"");
             pc.File("GAMES/Y/Y.EXE");
         }},
        {"2: a command line under HKEY_LOCAL_MACHINE, with the second file it asks for",
         Item(5, 2, 1, "R.EXE", {{&D::RegKey, "Firm\\Game"}, {&D::RegName, "Path"}, {&D::Param, "R.DAT"}}),
         {"C:\\GAMES\\R", kFound, "", {"C:\\GAMES\\R", "R.EXE,,,", "C:\\OLD\\UNINST.EXE"}},
         [](InstallPc& pc) {
             pc.Reg(RegRoot::LocalMachine, "\\SOFTWARE\\Firm\\Game", "Path", "\"C:\\GAMES\\R\\R.EXE\" -x");
             pc.File("GAMES/R/R.EXE");
             pc.File("GAMES/R/R.DAT");
         }},
        {"2: the second file missing",
         Item(5, 2, 1, "R.EXE", {{&D::RegKey, "Firm\\Game"}, {&D::RegName, "Path"}, {&D::Param, "R.DAT"}}),
         {"C:\\GAMES\\R", kNotFound, "", kRemoved},
         [](InstallPc& pc) {
             pc.Reg(RegRoot::LocalMachine, "\\SOFTWARE\\Firm\\Game", "Path", "\"C:\\GAMES\\R\\R.EXE\" -x");
             pc.File("GAMES/R/R.EXE");
         }},
        {"4: the same under HKEY_CURRENT_USER",
         Item(4, 4, 1, "U.EXE", {{&D::RegKey, "Firm\\Game"}, {&D::RegName, "Exe"}}),
         {"C:\\GAMES\\U", kFound, "", {"C:\\GAMES\\U", "U.EXE,,,", "C:\\OLD\\UNINST.EXE"}},
         [](InstallPc& pc) {
             pc.Reg(RegRoot::CurrentUser, "\\SOFTWARE\\Firm\\Game", "Exe", "C:\\GAMES\\U\\U.EXE");
             pc.File("GAMES/U/U.EXE");
         }},
        {"4: HKEY_LOCAL_MACHINE's value is not looked at",
         Item(4, 4, 1, "U.EXE", {{&D::RegKey, "Firm\\Game"}, {&D::RegName, "Exe"}}),
         {"", kNotFound, "", kRemoved},
         [](InstallPc& pc) {
             pc.Reg(RegRoot::LocalMachine, "\\SOFTWARE\\Firm\\Game", "Exe", "C:\\GAMES\\U\\U.EXE");
             pc.File("GAMES/U/U.EXE");
         }},
        {"5: the recorded folder",
         Item(5, 5, 1, "GAME.EXE"),
         {"C:\\OLD", kFound, "", {"C:\\OLD", "GAME.EXE,,,", "C:\\OLD\\UNINST.EXE"}},
         [](InstallPc& pc) { pc.File("OLD/GAME.EXE"); }},
        {"8: the recorded folder, gone", Item(4, 8, 1, "GAME.EXE"), {"C:\\OLD", kNotFound, "", kRemoved}},
        {"6: the program's own INI file in the Windows directory",
         Item(5, 6, 1, "FROST.EXE", {{&D::Param, "frost,Setup,Path"}}),
         {"C:\\GAMES\\FROST", kFound, "", {"C:\\GAMES\\FROST", "FROST.EXE,,,", "C:\\OLD\\UNINST.EXE"}},
         [](InstallPc& pc) {
             pc.File("WINDOWS/FROST.INI", "[Setup]\r\nPath=C:\\GAMES\\FROST\\\r\n");
             pc.File("GAMES/FROST/FROST.EXE");
         }},
        {"6: the INI file without the key",
         Item(5, 6, 1, "FROST.EXE", {{&D::Param, "frost.ini,Setup,Path"}}),
         {"", kNotFound, "", kRemoved},
         [](InstallPc& pc) {
             pc.File("WINDOWS/FROST.INI", "[Setup]\r\nOther=C:\\GAMES\\FROST\r\n");
             pc.File("GAMES/FROST/FROST.EXE");
         }},
        {"7: the folder the uninstaller's command line starts in",
         Item(4, 7, 1, "S.EXE", {{&D::RegUninstall, "S"}}),
         {"C:\\GAMES\\S",
          kFound,
          "C:\\GAMES\\S\\UNWISE.EXE C:\\GAMES\\S\\INSTALL.LOG",
          {"C:\\GAMES\\S", "S.EXE,S,,", "C:\\GAMES\\S\\UNWISE.EXE C:\\GAMES\\S\\INSTALL.LOG"}},
         [](InstallPc& pc) {
             pc.Uninstall("S", "C:\\GAMES\\S\\UNWISE.EXE C:\\GAMES\\S\\INSTALL.LOG");
             pc.File("GAMES/S/UNWISE.EXE");
             pc.File("GAMES/S/S.EXE");
         }},
        {"10: the first line of a file in the Windows directory",
         Item(5, 10, 1, "L.EXE", {{&D::Param, "LINE.TXT"}}),
         {"C:\\GAMES\\L", kFound, "", {"C:\\GAMES\\L", "L.EXE,,,", "C:\\OLD\\UNINST.EXE"}},
         [](InstallPc& pc) {
             pc.File("WINDOWS/LINE.TXT", "C:\\GAMES\\L\r\nC:\\ELSEWHERE\r\n");
             pc.File("GAMES/L/L.EXE");
         }},
        {"15: the folder of the setup's file in the common Start menu",
         Item(4, 15, 1, "F.LNK", {{&D::RegUninstall, "F"}, {&D::Param, "Fifteen\\F.LNK"}}),
         {"C:\\WINDOWS\\All Users\\Start Menu\\Programs\\Fifteen",
          kFound,
          "C:\\GAMES\\F\\UNINST.EXE",
          {"C:\\WINDOWS\\All Users\\Start Menu\\Programs\\Fifteen", "F.LNK,F,,", "C:\\GAMES\\F\\UNINST.EXE"}},
         [](InstallPc& pc) {
             pc.File("WINDOWS/All Users/Start Menu/Programs/Fifteen/F.LNK");
             pc.Uninstall("F", "C:\\GAMES\\F\\UNINST.EXE");
         }},
    };
    RunCases(cases);
}

TEST(CheckDemo, ProgramNamesUninstallersAndRecordEndings) {
    const auto old_game = [](InstallPc& pc) { pc.File("OLD/GAME.EXE"); };
    const std::vector<CheckCase> cases = {
        {"of two alternatives only the second is there",
         Item(1, 0, 1, "GAME.EXE:GAME3D.EXE"),
         {"C:\\OLD", kFound, "", {"C:\\OLD", "GAME3D.EXE,,,", "C:\\OLD\\UNINST.EXE"}},
         [](InstallPc& pc) { pc.File("OLD/GAME3D.EXE"); }},
        {"of two alternatives only the first is there",
         Item(1, 0, 1, "GAME.EXE:GAME3D.EXE"),
         {"C:\\OLD", kFound, "", {"C:\\OLD", "GAME.EXE,,,", "C:\\OLD\\UNINST.EXE"}},
         old_game},
        {"of two alternatives both there: the last one runs",
         Item(1, 0, 1, "GAME.EXE:GAME3D.EXE"),
         {"C:\\OLD", kFound, "", {"C:\\OLD", "GAME3D.EXE,,,", "C:\\OLD\\UNINST.EXE"}},
         [](InstallPc& pc) {
             pc.File("OLD/GAME.EXE");
             pc.File("OLD/GAME3D.EXE");
         }},
        {"neither alternative",
         Item(1, 0, 1, "GAME.EXE:GAME3D.EXE"),
         {"C:\\OLD", kNotFound, "", kRemoved},
         [](InstallPc& pc) { pc.File("OLD/GAME.DAT"); }},
        {"a program with arguments is looked for without them",
         Item(1, 0, 1, "GAME.EXE -window"),
         {"C:\\OLD", kFound, "", {"C:\\OLD", "GAME.EXE -window,,,", "C:\\OLD\\UNINST.EXE"}},
         old_game},
        {"?W: an uninstaller in the Windows directory",
         Item(1, 0, 1, "GAME.EXE", {{&D::UnInstallName, "?WUNINST.EXE"}}),
         {"C:\\OLD",
          kFound,
          "C:\\WINDOWS\\UNINST.EXE",
          {"C:\\OLD", "GAME.EXE,,,", "C:\\WINDOWS\\UNINST.EXE"}},
         old_game},
        {"?I: an uninstaller beside the item's folder",
         Item(1, 0, 1, "GAME.EXE",
              {{&D::UnInstallName, "?I..\\SETUP\\UNINST.EXE"}, {&D::SourceDir, "C:\\STAGE\\DEMO"}}),
         {"C:\\OLD",
          kFound,
          "C:\\STAGE\\SETUP\\UNINST.EXE",
          {"C:\\OLD", "GAME.EXE,,,", "C:\\STAGE\\SETUP\\UNINST.EXE"}},
         old_game},
        {"disc 2 of a set ends the record with a comma",
         Item(1, 0, 2, "GAME.EXE", {{&D::RegUninstall, "My Game"}, {&D::Uninstall, "del"}}),
         {"C:\\OLD", kFound, "", {"C:\\OLD", "GAME.EXE,My Game,del,", "C:\\OLD\\UNINST.EXE"}},
         old_game},
        {"disc 12 is written out",
         Item(1, 0, 12, "GAME.EXE", {{&D::RegUninstall, "My Game"}, {&D::Uninstall, "del"}}),
         {"C:\\OLD", kFound, "", {"C:\\OLD", "GAME.EXE,My Game,del,12", "C:\\OLD\\UNINST.EXE"}},
         old_game},
    };
    RunCases(cases);
}

// Start-menu and desktop shortcuts, the user's before the common ones; without a shortcut that
// loads, the recorded folder.
TEST(CheckDemo, ShortcutsNameTheFolder) {
    const std::string user_menu = "WINDOWS/Start Menu/Programs/Snow Cat/";
    const std::string common_menu = "WINDOWS/All Users/Start Menu/Programs/Snow Cat/";
    const auto game = [](InstallPc& pc) { pc.File("GAMES/SNOW/CAT.EXE"); };
    const TDemos from_menu = Item(5, 3, 1, "CAT.EXE", {{&D::Param, "Snow Cat\\Cat.lnk"}});
    const TDemos from_desktop = Item(4, 9, 1, "CAT.EXE", {{&D::Param, "Cat.lnk"}});
    const Records found{"C:\\GAMES\\SNOW", "CAT.EXE,,,", "C:\\OLD\\UNINST.EXE"};
    const std::vector<CheckCase> cases = {
        {"3: the user's link and its working directory",
         from_menu,
         {"C:\\GAMES\\SNOW", kFound, "", found},
         [&](InstallPc& pc) {
             game(pc);
             pc.Link(user_menu + "Cat.lnk",
                     {.target = "C:\\GAMES\\SNOW\\CAT.EXE", .working_dir = "C:\\GAMES\\SNOW\\"});
             pc.Link(common_menu + "Cat.lnk", {.target = "C:\\ELSEWHERE\\CAT.EXE"});
         }},
        {"3: a broken user link, then the common link's target folder",
         from_menu,
         {"C:\\GAMES\\SNOW", kFound, "", found},
         [&](InstallPc& pc) {
             game(pc);
             pc.File(user_menu + "Cat.lnk", "not a link");
             pc.Link(common_menu + "Cat.lnk",
                     {.target = "C:\\GAMES\\SNOW\\CAT.EXE", .arguments = "-nosound"});
         }},
        {"3: the link leads to a folder the game has left",
         from_menu,
         {"C:\\GAMES\\SNOW", kNotFound, "", kRemoved},
         [&](InstallPc& pc) { pc.Link(user_menu + "Cat.lnk", {.target = "C:\\GAMES\\SNOW\\CAT.EXE"}); }},
        {"3: no link, the recorded folder",
         from_menu,
         {"C:\\OLD", kFound, "", {"C:\\OLD", "CAT.EXE,,,", "C:\\OLD\\UNINST.EXE"}},
         [](InstallPc& pc) { pc.File("OLD/CAT.EXE"); }},
        {"9: the common desktop's link",
         from_desktop,
         {"C:\\GAMES\\SNOW", kFound, "", found},
         [&](InstallPc& pc) {
             game(pc);
             pc.Link("WINDOWS/All Users/Desktop/Cat.lnk", {.target = "C:\\GAMES\\SNOW\\CAT.EXE"});
         }},
        {"9: a Start-menu link is no desktop link",
         from_desktop,
         {"C:\\OLD", kNotFound, "", kRemoved},
         [&](InstallPc& pc) {
             game(pc);
             pc.Link(user_menu + "Cat.lnk", {.target = "C:\\GAMES\\SNOW\\CAT.EXE"});
         }},
    };
    RunCases(cases);
}

// Where a directory recorded by an earlier menu is found, by the Windows directory of this PC.
TEST(CheckDemo, RecordedDirFallsBackToOlderSettingsFiles) {
    struct Case {
        std::string name;
        std::string windows_dir;
        std::vector<std::pair<std::string, std::string>> files; // path on C: -> content
        std::string expected;
    };
    const std::string record = "[CD0206]\r\nITEM=C:\\FOUND\r\n";
    const std::vector<Case> cases = {
        {"kavlo.ini first",
         "C:\\WINDOWS\\",
         {{"WINDOWS/kavlo.ini", record}, {"kavlo.ini", "[CD0206]\r\nITEM=C:\\ROOT\r\n"}},
         "C:\\FOUND"},
        {"an empty value reads on in C:\\kavlo.ini",
         "C:\\WINDOWS\\",
         {{"WINDOWS/kavlo.ini", "[CD0206]\r\nITEM=\r\n"}, {"kavlo.ini", record}},
         "C:\\FOUND"},
        {"another issue's record is not this one",
         "C:\\WINDOWS\\",
         {{"WINDOWS/kavlo.ini", "[CD0106]\r\nITEM=C:\\OTHER\r\n"}},
         ""},
        {"an earlier Windows directory",
         "C:\\WINNT\\",
         {{"WINNT/kavlo.ini", "[Main]\r\n"}, {"WINDOWS/kavlo.ini", record}},
         "C:\\FOUND"},
        {"C:\\kavlo.ini before the earlier Windows directory",
         "C:\\WINNT\\",
         {{"kavlo.ini", record}, {"WINDOWS/kavlo.ini", "[CD0206]\r\nITEM=C:\\LATER\r\n"}},
         "C:\\FOUND"},
        {"nowhere", "C:\\WINNT\\", {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InstallPc pc(c.windows_dir);
        for (const auto& [path, content] : c.files) {
            pc.File(path, content);
        }
        EXPECT_EQ(RecordedDir(pc.Context(), "item"), c.expected);
    }
}

// A kavlo.ini the user cannot write: the check decides as ever, and the file stays as it was.
TEST(CheckDemo, ReadOnlySettingsKeepTheirRecords) {
    struct Case {
        std::string name;
        bool program_there;
        Flags flags;
    };
    for (const Case& c : std::vector<Case>{{"found", true, kFound}, {"lost", false, kNotFound}}) {
        SCOPED_TRACE(c.name);
        InstallPc pc;
        pc.File("WINDOWS/kavlo.ini", kSettings);
        std::filesystem::permissions(pc.SettingsHost(), std::filesystem::perms::owner_read);
        if (c.program_there) {
            pc.File("OLD/GAME.EXE");
        }
        TDemos item = Item(1, 0, 12, "GAME.EXE", {{&D::UnInstallName, "?WUNINST.EXE"}});
        pc.Check(item);
        EXPECT_EQ(item.NeedsInstall, c.flags.NeedsInstall);
        EXPECT_EQ(item.Installed, c.flags.Installed);
        EXPECT_EQ(item.CanUninstall, c.flags.CanUninstall);
        EXPECT_EQ(ReadHostFile(pc.SettingsHost()), kSettings);
    }
}

} // namespace
} // namespace kavlo
