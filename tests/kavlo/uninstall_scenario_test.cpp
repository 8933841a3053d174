// Uninstalling headless, end to end: the sample disc's items installed by their real setups and removed
// by the uninstall button, and discs written here whose clean-up scripts, uninstallers and leftovers
// cover the install types and the questions; each checked on the PC root afterwards.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "kavlo/menu_run.h"

namespace kavlo {
namespace {

namespace fs_host = std::filesystem;

using test::Boxes;
using test::json;
using test::Menu;
using test::MenuResult;
using test::RunTool;
using test::TempDir;
using test::WriteDisc;
using test::WriteHostFile;

// A PC of its own with the environment the setups and uninstallers of the sample disc run in.
class UninstallPc {
public:
    UninstallPc() {
        ::setenv("KAVLO_PC", Pc().c_str(), 1);
        ::setenv("KAVLO_TOOL", test::ToolPath().c_str(), 1);
    }

    std::string Pc() const { return (menu.Dir() / "pc").string(); }
    fs_host::path OnC(const std::string& rel) const { return menu.Dir() / "pc" / "drive_c" / rel; }
    bool Exists(const std::string& rel) const { return fs_host::exists(OnC(rel)); }

    // A program of the PC: a host script that the menu starts directly.
    void WriteProgram(const std::string& rel, const std::string& body) const {
        test::WriteHostScript(OnC(rel), body);
    }

    void Tool(const std::vector<std::string>& args) const {
        std::vector<std::string> all{args.front(), "--pc", Pc()};
        all.insert(all.end(), args.begin() + 1, args.end());
        const test::ToolRun run = RunTool(all);
        ASSERT_EQ(run.exit_code, 0) << run.err;
    }

    bool KeyExists(const std::string& key) const {
        return RunTool({"reg", "--pc", Pc(), "query", key}).exit_code == 0;
    }

    Menu menu;
};

std::vector<std::string> BoxTexts(const json& dump) {
    std::vector<std::string> texts;
    for (const json& box : Boxes(dump)) {
        texts.push_back(box["text"].get<std::string>() + " -> " + box["answer"].get<std::string>());
    }
    return texts;
}

std::vector<std::string> Started(const json& dump) {
    std::vector<std::string> lines;
    for (const json& event : dump["events"]) {
        if (event["kind"] == "process") {
            lines.push_back(event["commandLine"]);
        }
    }
    return lines;
}

std::string Leftovers(const std::string& dir) {
    return "After uninstallation process some files has been left in directory " + dir +
           ". These are usually savegames, pictures or temporary files, that wasn't deleted. Do you want "
           "to delete them (recommended)?";
}

TEST(UninstallScenario, SampleSetupsAreUndoneAndTheirSavesOffered) {
    TempDir dir;
    const fs_host::path disc = WriteDisc(dir / "disc");
    UninstallPc pc;
    ASSERT_EQ(pc.menu.Run(disc.string()).run.exit_code, 0); // the PC root with its folders
    for (const char* setup : {"IRONMER", "SALTMARS", "VELVET", "EMBER"}) {
        ASSERT_EQ(std::system(("sh '" + (disc / "DEMOS" / setup / "SETUP.EXE").string() + "'").c_str()), 0)
            << setup;
    }

    // Rows 3 and 8, then 11 and 14 of the Demos page; every uninstaller keeps its saved game, and
    // the reader lets the menu delete it.
    const MenuResult r = pc.menu.Run(disc.string(), {},
                                     "click DemosLabel3\nanswer yes\nclick StopImage\n"
                                     "click DemosLabel8\nanswer yes\nclick StopImage\n"
                                     "click DemosLabel10\nkey Down\nanswer yes\nclick StopImage\n"
                                     "key Down\nkey Down\nkey Down\nanswer yes\nclick StopImage\n");
    ASSERT_EQ(r.run.exit_code, 0) << r.run.err;

    const std::string pf = "C:\\Program Files\\";
    EXPECT_EQ(Started(r.dump),
              (std::vector<std::string>{
                  pf + "Iron Meridian\\UNINST.EXE -f\"" + pf + "Iron Meridian\\DeIsL1.isu\"",
                  "\"" + pf + "Saltmarsh Tactics\\UNINST.EXE\"", "\"" + pf + "Velvet Circuit\\UNINST.EXE\"",
                  "\"" + pf + "Ember Knights\\UNINST.EXE\""}));
    EXPECT_EQ(BoxTexts(r.dump), (std::vector<std::string>{
                                    Leftovers("C:\\PROGRAM FILES\\IRON MERIDIAN") + " -> yes",
                                    Leftovers("C:\\PROGRAM FILES\\SALTMARSH TACTICS") + " -> yes",
                                    Leftovers("C:\\PROGRAM FILES\\VELVET CIRCUIT") + " -> yes",
                                    Leftovers("C:\\PROGRAM FILES\\EMBER KNIGHTS") + " -> yes",
                                }));
    for (const char* gone : {"Program Files/Iron Meridian", "Program Files/Saltmarsh Tactics",
                             "Program Files/Velvet Circuit", "Program Files/Ember Knights"}) {
        EXPECT_FALSE(pc.Exists(gone)) << gone;
    }
    EXPECT_TRUE(pc.Exists("Program Files/Common Files"));
    // The clean-up script of Saltmarsh Tactics takes its maker's key along.
    EXPECT_FALSE(pc.KeyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\Heron Works"));
    EXPECT_FALSE(pc.KeyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                              "Ember Knights"));
    EXPECT_EQ(r.dump["components"]["StopImage"]["tag"], 0);
    EXPECT_EQ(r.dump["MenuState"]["CurrentItem"], 14);
}

// A catalogue of demos, each "key=value" line of an item given as written.
std::string DemosDisc(const TempDir& dir, const std::vector<std::vector<std::string>>& items, bool debug) {
    std::string catalogue = "[Main]\r\nVersion=0\r\nCD=1226\r\nDebug=" + std::string(debug ? "1" : "0") +
                            "\r\nDemos=" + std::to_string(items.size()) + "\r\n";
    for (size_t i = 0; i < items.size(); ++i) {
        catalogue += "[Demo" + std::to_string(i + 1) + "]\r\nFirm=F\r\nDate=1226\r\n";
        for (const std::string& line : items[i]) {
            catalogue += line + "\r\n";
        }
    }
    WriteHostFile(dir / "disc" / "KAVLO" / "kavloxp.ini", catalogue);
    WriteHostFile(dir / "disc" / "KAVLO.EXE", "");
    WriteHostFile(dir / "disc" / "DEMOS" / "POCKET" / "POCKET.EXE", "MZ");
    return (dir / "disc").string();
}

// An uninstaller that removes its program and itself, and leaves everything else.
std::string RemoveProgram(const std::string& program) {
    return "cd \"$(dirname \"$0\")\"\nrm -f " + program + " \"$0\"\n";
}

TEST(UninstallScenario, ScriptsQuestionsAndLeftoversOfEveryKind) {
    TempDir dir;
    const std::string disc = DemosDisc(
        dir,
        {
            {"Name=Frost", "InstallType=2", "GameName=RALLY.EXE", "Uninstall=DG"},
            {"Name=Keeper", "InstallType=5", "DirDetect=5", "GameName=KEEPER.EXE",
             "Uninstall=!DE,RUDSoftware\\Maker\\Keeper"},
            {"Name=Linker", "InstallType=5", "DirDetect=3", "ShortCut=Linker\\Linker.lnk",
             "GameName=LINKER.EXE",
             "Uninstall=?PLinker\\Uninstall Linker.lnk,DE,FPLinker\\Linker.lnk,FPLinker\\Uninstall "
             "Linker.lnk"},
            {"Name=Pocket", "InstallType=0", "InstallDir=POCKET", "GameName=POCKET.EXE",
             "TestName=C:\\WINDOWS\\POCKET.SAV", "Uninstall=FWPOCKET.SAV"},
            {"Name=Amber", "InstallType=6", "GameName=AMBER.EXE", "Uninstall=*DG"},
            {"Name=Empty", "InstallType=1", "GameName=E.EXE", "UnInstallName=C:\\Games\\Empty\\UNINST.EXE"},
            {"Name=Small", "InstallType=1", "GameName=S.EXE", "UnInstallName=C:\\Games\\Small\\UNINST.EXE"},
            {"Name=Huge", "InstallType=1", "GameName=H.EXE", "UnInstallName=C:\\Games\\Huge\\UNINST.EXE"},
            {"Name=Bad", "InstallType=1", "GameName=BAD.EXE", "UnInstallName=C:\\Program Files\\BADUN.EXE",
             "Uninstall=DG,FG..\\WINDOWS\\WIN.INI,RMD\\,RMFSoftware\\Maker|" + std::string(31, 'v')},
            {"Name=Vast", "InstallType=1", "GameName=V.EXE", "UnInstallName=C:\\Games\\Vast\\UNINST.EXE"},
        },
        /*debug=*/true);
    UninstallPc pc;
    ASSERT_EQ(pc.menu.Run(disc).run.exit_code, 0);

    WriteHostFile(pc.OnC("Games/Frost/RALLY.EXE"), "MZ");
    WriteHostFile(pc.OnC("Games/Keeper/KEEPER.EXE"), "MZ");
    pc.Tool({"reg", "add", "HKEY_CURRENT_USER\\Software\\Maker\\Keeper\\Options", "Volume", "7"});
    pc.Tool({"reg", "add", "HKEY_CURRENT_USER\\Software\\Maker", "Other", "1"});
    WriteHostFile(pc.OnC("Games/Linker/LINKER.EXE"), "MZ");
    pc.WriteProgram("Games/Linker/UNLINK.EXE", RemoveProgram("LINKER.EXE"));
    pc.Tool({"shortcut", "<Programs>\\Linker\\Linker.lnk", "C:\\Games\\Linker\\LINKER.EXE", "--dir",
             "C:\\Games\\Linker"});
    pc.Tool({"shortcut", "<Programs>\\Linker\\Uninstall Linker.lnk", "C:\\Games\\Linker\\UNLINK.EXE",
             "--args", "/S"});
    WriteHostFile(pc.OnC("WINDOWS/POCKET.SAV"), "level 3");
    WriteHostFile(pc.OnC("WINDOWS/sierra.ini"), "[Sierra]\r\nSierraDir=C:\\Sierra\\Amber\r\n");
    WriteHostFile(pc.OnC("Sierra/Amber/AMBER.EXE"), "MZ");
    pc.WriteProgram("Sierra/Amber/SETUP.EXE", "[ \"$1\" = /U ] && " + RemoveProgram("AMBER.EXE"));
    pc.Tool({"shortcut", "<Programs>\\Sierra\\Amber.lnk", "C:\\Sierra\\Amber\\AMBER.EXE"});
    for (const char* name : {"Empty", "Small", "Huge", "Vast"}) {
        const std::string game = "Games/" + std::string(name) + "/";
        WriteHostFile(pc.OnC(game + name[0] + ".EXE"), "");
        pc.WriteProgram(game + "UNINST.EXE", RemoveProgram(std::string(1, name[0]) + ".EXE"));
        fs_host::create_directories(pc.OnC(game + "SAVES/EMPTY"));
    }
    WriteHostFile(pc.OnC("Games/Small/SAVES/SLOT1.SAV"), std::string(400'000, 's'));
    WriteHostFile(pc.OnC("Games/Huge/SAVES/REPLAY.DEM"), "");
    fs_host::resize_file(pc.OnC("Games/Huge/SAVES/REPLAY.DEM"), 300ull << 20);
    // Beyond 4 GiB: counted in 32 bits, this would look like 100 KiB.
    WriteHostFile(pc.OnC("Games/Vast/SAVES/MOVIE.VOB"), "");
    fs_host::resize_file(pc.OnC("Games/Vast/SAVES/MOVIE.VOB"), (4ull << 30) + (100u << 10));
    WriteHostFile(pc.OnC("Program Files/BAD.EXE"), "");
    pc.WriteProgram("Program Files/BADUN.EXE", RemoveProgram("BAD.EXE"));
    WriteHostFile(pc.OnC("WINDOWS/WIN.INI"), "[windows]\r\n");
    pc.menu.WriteSettings("[CD1226]\r\nFrost=C:\\Games\\Frost\r\nKeeper=C:\\Games\\Keeper\r\n"
                          "Empty=C:\\Games\\Empty\r\nSmall=C:\\Games\\Small\r\nHuge=C:\\Games\\Huge\r\n"
                          "Bad=C:\\Program Files\r\nVast=C:\\Games\\Vast\r\n");

    const std::string steps[] = {
        // No keeps the archive's directory and ends the uninstall there; Yes takes it.
        "click DemosLabel1\nanswer no\nclick StopImage",
        "answer yes\nclick StopImage",
        // "!": no uninstaller runs; the same question decides.
        "click DemosLabel2\nanswer no\nclick StopImage",
        "answer yes\nclick StopImage",
        // "?" + P: the uninstaller and its arguments come from a Start-menu shortcut.
        "click DemosLabel3\nclick StopImage",
        "click DemosLabel4\nclick StopImage",
        "click DemosLabel5\nclick StopImage",
        // Leftovers of 0 bytes go unasked, 0.4 MB are asked once, 300 MB are never offered.
        "click DemosLabel6\nclick StopImage",
        "click DemosLabel7\nanswer yes\nclick StopImage",
        "click DemosLabel8\nclick StopImage",
        // A record that names Program Files: nothing protected goes, debug mode says so in five boxes,
        // each open until the script answers it.
        "click DemosLabel9\nclick StopImage\nanswer ok\nanswer ok\nkey Return\nkey Escape\nanswer 1",
        // Nor are 4 GB, however a smaller counter would wrap them.
        "click DemosLabel10\nclick StopImage",
    };
    MenuResult r;
    const std::vector<json> states = pc.menu.Steps(disc, {std::begin(steps), std::end(steps)}, {}, "", &r);
    ASSERT_EQ(r.run.exit_code, 0) << r.run.err;

    // Still offered, and lit: the pointer stays on the button it clicked.
    EXPECT_EQ(states[0]["components"]["StopImage"]["tag"], 2);
    EXPECT_FALSE(pc.Exists("Games/Frost"));
    EXPECT_EQ(states[2]["components"]["StopImage"]["tag"], 2);
    EXPECT_FALSE(pc.Exists("Games/Keeper"));
    EXPECT_FALSE(pc.KeyExists("HKEY_CURRENT_USER\\Software\\Maker\\Keeper"));
    EXPECT_TRUE(pc.KeyExists("HKEY_CURRENT_USER\\Software\\Maker"));

    EXPECT_FALSE(pc.Exists("Games/Linker"));
    const std::string user_programs =
        states[4]["MenuState"]["UserProgramsDir"].get<std::string>(); // with its back-slash
    EXPECT_FALSE(pc.Exists(user_programs.substr(3) + "Linker"));

    // The disc's item stays runnable and loses only its uninstall button.
    EXPECT_FALSE(pc.Exists("WINDOWS/POCKET.SAV"));
    EXPECT_EQ(states[5]["components"]["StopImage"]["tag"], 0);
    EXPECT_EQ(states[5]["components"]["PlayImage"]["tag"], 1);

    EXPECT_FALSE(pc.Exists("Sierra/Amber"));
    EXPECT_FALSE(pc.Exists(user_programs.substr(3) + "Sierra"));

    EXPECT_FALSE(pc.Exists("Games/Empty"));
    EXPECT_FALSE(pc.Exists("Games/Small"));
    EXPECT_TRUE(pc.Exists("Games/Huge/SAVES/REPLAY.DEM"));
    EXPECT_FALSE(pc.Exists("Games/Huge/H.EXE"));
    EXPECT_TRUE(pc.Exists("Games/Vast/SAVES/MOVIE.VOB"));
    EXPECT_FALSE(pc.Exists("Games/Vast/V.EXE"));

    EXPECT_TRUE(pc.Exists("Program Files/Common Files"));
    EXPECT_TRUE(pc.Exists("WINDOWS/WIN.INI"));
    EXPECT_FALSE(pc.Exists("Program Files/BAD.EXE"));

    EXPECT_EQ(Started(r.dump),
              (std::vector<std::string>{"C:\\Games\\Linker\\UNLINK.EXE /S", "C:\\Sierra\\Amber\\SETUP.EXE /U",
                                        "C:\\Games\\Empty\\UNINST.EXE", "C:\\Games\\Small\\UNINST.EXE",
                                        "C:\\Games\\Huge\\UNINST.EXE", "C:\\Program Files\\BADUN.EXE",
                                        "C:\\Games\\Vast\\UNINST.EXE"}));
    const std::string ask = "Would you like to delete all files in ";
    EXPECT_EQ(BoxTexts(r.dump), (std::vector<std::string>{
                                    ask + "C:\\GAMES\\FROST ? -> no",
                                    ask + "C:\\GAMES\\FROST ? -> yes",
                                    ask + "C:\\GAMES\\KEEPER ? -> no",
                                    ask + "C:\\GAMES\\KEEPER ? -> yes",
                                    Leftovers("C:\\GAMES\\SMALL") + " -> yes",
                                    "Can't delete C:\\Program Files -> ok",
                                    "Can't delete C:\\Program Files\\..\\WINDOWS\\WIN.INI -> ok",
                                    "Reg Key not deleted... -> ok",
                                    "Reg Entry not deleted... -> ok",
                                    "Can't delete C:\\Program Files -> ok",
                                }));
}

TEST(UninstallScenario, TheInstalledPageRemovesAProgramOfAnotherDisc) {
    TempDir dir;
    const std::string disc = DemosDisc(dir, {{"Name=Frost", "InstallType=2", "GameName=RALLY.EXE"}}, false);
    UninstallPc pc;
    ASSERT_EQ(pc.menu.Run(disc).run.exit_code, 0);
    WriteHostFile(pc.OnC("Games/Old/OLD.EXE"), "MZ");
    WriteHostFile(pc.OnC("Games/Old/SAVES/S.SAV"), "saved");
    pc.menu.WriteSettings("[CD1198]\r\nOld Game=C:\\Games\\Old\r\nOld Game_=OLD.EXE,,DG,\r\n");

    const MenuResult r =
        pc.menu.Run(disc, {}, "click DIBSection2\nclick DemosLabel1\nanswer yes\nclick StopImage\n");
    ASSERT_EQ(r.run.exit_code, 0) << r.run.err;
    EXPECT_FALSE(pc.Exists("Games/Old"));
    EXPECT_EQ(BoxTexts(r.dump),
              (std::vector<std::string>{"Would you like to delete all files in C:\\GAMES\\OLD ? -> yes"}));
    // The page is built again, without the program and its record.
    EXPECT_EQ(r.dump["MenuState"]["CurrentPage"], 20);
    EXPECT_EQ(r.dump["components"]["DemosLabel1"]["caption"], "");
    EXPECT_EQ(test::ReadHostFile(pc.menu.Settings()).find("Old Game"), std::string::npos);
}

} // namespace
} // namespace kavlo
