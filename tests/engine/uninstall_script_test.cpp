#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "engine/trees.h"
#include "engine/uninstall_script.h"
#include "pc_fixture.h"
#include "platform/posix/pc_root.h"
#include "sampledisc/lnk_writer.h"

namespace kavlo {
namespace {

namespace fs_host = std::filesystem;

constexpr const char* kGame = "C:\\Games\\Orbit";

// Records what the commands ask of the window; a question is answered Yes by deleting the tree.
struct RecordingHost : UninstallHost {
    explicit RecordingHost(FileSystem& file_system) : fs(file_system) {}
    void DeleteQuestion(std::string_view dir) override {
        questions.emplace_back(dir);
        RemoveTree(fs, dir, {});
    }
    void Message(std::string_view text) override { messages.emplace_back(text); }
    void RunAndWait(std::string_view command_line) override { runs.emplace_back(command_line); }

    FileSystem& fs;
    std::vector<std::string> questions;
    std::vector<std::string> messages;
    std::vector<std::string> runs;
};

class UninstallScriptTest : public test::PcTest {
protected:
    UninstallScriptTest() : host_(fs()) {
        const std::string user = "C:\\Documents and Settings\\" + HostUserName() + "\\";
        const std::string all = "C:\\Documents and Settings\\All Users\\";
        folders_ = {"C:\\WINDOWS\\SYSTEM\\",
                    "C:\\WINDOWS\\",
                    "C:\\Program Files\\Common Files\\",
                    "C:\\Program Files\\",
                    user + "Desktop\\",
                    all + "Desktop\\",
                    user + "Start Menu\\Programs\\",
                    all + "Start Menu\\Programs\\"};
        user_ = "Documents and Settings/" + HostUserName() + "/";
    }

    UninstallScriptContext Context(bool debug) {
        return {fs(), registry(), shortcuts(), folders_, ProtectedDirsOf(system(), registry()), debug, host_};
    }

    // Every file and folder below the PC root with the registry's text: what a refused command must
    // leave exactly as it was.
    std::string Snapshot() {
        std::string all;
        for (const auto& entry : fs_host::recursive_directory_iterator(OnC("").parent_path().parent_path())) {
            all += entry.path().string() + "\n";
        }
        return all + test::ReadHostFile(OnC("").parent_path().parent_path() / "registry.reg");
    }

    RecordingHost host_;
    UninstallFolders folders_;
    std::string user_; // the user's profile below drive C:, host style
};

TEST_F(UninstallScriptTest, CleanupCommandsRemoveWhatTheyName) {
    for (const char* file : {"Games/Orbit/ORBIT.CFG", "Games/Orbit/SAVES/S1.SAV", "Games/Orbit/DATA/MAP.DAT",
                             "Games/Other/KEEP.DAT", "OrbitTemp/T.TMP", "WINDOWS/orbit.ini",
                             "WINDOWS/ORBIT.GRP", "WINDOWS/SYSTEM/ORBITDRV.DLL", "WINDOWS/SYSTEM/KEEP.DLL",
                             "Documents and Settings/All Users/Desktop/Orbit.lnk",
                             "Documents and Settings/All Users/Start Menu/Programs/Orbit/Readme.lnk",
                             "Documents and Settings/All Users/Start Menu/Programs/Orbit Extras/Tools.lnk"}) {
        MakeFile(OnC(file));
    }
    for (const char* file : {"Desktop/Orbit.lnk", "Start Menu/Programs/Orbit/Play.lnk",
                             "Start Menu/Programs/Orbit Extras/Editor.lnk"}) {
        MakeFile(OnC(user_ + file));
    }
    fs_host::create_directories(OnC("Program Files/Orbit Tools/Cache"));
    Registry& reg = registry();
    ASSERT_TRUE(reg.WriteString(RegRoot::CurrentUser, "Software\\Prism Lab\\Orbit\\Settings", "Volume", "7"));
    ASSERT_TRUE(reg.WriteString(RegRoot::LocalMachine, "Software\\Prism Lab\\Keep\\Sub", "A", "1"));
    ASSERT_TRUE(reg.CreateKey(RegRoot::LocalMachine, "Software\\Prism Lab\\Empty"));
    ASSERT_TRUE(reg.WriteString(RegRoot::LocalMachine, "Software\\Prism Lab\\Keep", "Orbit", "x"));
    ASSERT_TRUE(reg.WriteString(RegRoot::LocalMachine, "Software\\Prism Lab\\Keep", "Other", "y"));
    ASSERT_TRUE(reg.WriteString(RegRoot::CurrentUser,
                                "Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups", "Orbit",
                                "Orbit"));
    ASSERT_TRUE(reg.WriteString(RegRoot::CurrentUser,
                                "Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\Groups",
                                "C:\\WINDOWS\\ORBIT.GRP", "1"));
    ASSERT_TRUE(reg.WriteString(RegRoot::LocalMachine,
                                "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrbitPatch",
                                "UninstallString", "C:\\Games\\Orbit\\UNPATCH.EXE /q"));
    ASSERT_TRUE(reg.WriteDword(RegRoot::LocalMachine,
                               "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Dword",
                               "UninstallString", 1));

    RunCleanup(
        "FGORBIT.CFG,FWorbit.ini,FSORBITDRV.DLL,FDOrbit.lnk,FPOrbit\\Play.lnk,FPOrbit\\Readme.lnk,"
        "SNOrbit Extras,DEFOrbit Tools\\Cache,RUDSoftware\\Prism Lab\\Orbit,RMESoftware\\Prism Lab\\Empty,"
        "RMESoftware\\Prism Lab\\Keep,RMFSoftware\\Prism Lab\\Keep|Orbit,SFOrbit|ORBIT.GRP,"
        "UUOrbitPatch,UUDword,UUMissing,USREGSVR.EXE /u ORBITDRV.DLL,"
        "D?:\\Games\\Orbit\\SAVES,DC:\\OrbitTemp,DGDATA,DE,FC:\\Games\\Orbit\\GONE.TXT",
        std::string(kGame) + "\\", Context(true));

    for (const char* gone :
         {"Games/Orbit", "OrbitTemp", "WINDOWS/orbit.ini", "WINDOWS/ORBIT.GRP", "WINDOWS/SYSTEM/ORBITDRV.DLL",
          "Documents and Settings/All Users/Desktop/Orbit.lnk",
          "Documents and Settings/All Users/Start Menu/Programs/Orbit",
          "Documents and Settings/All Users/Start Menu/Programs/Orbit Extras", "Program Files/Orbit Tools"}) {
        EXPECT_FALSE(Exists(OnC(gone))) << gone;
    }
    for (const char* gone :
         {"Desktop/Orbit.lnk", "Start Menu/Programs/Orbit", "Start Menu/Programs/Orbit Extras"}) {
        EXPECT_FALSE(Exists(OnC(user_ + gone))) << gone;
    }
    // Emptied by the commands, the desktops, the programs folders, Program Files and C:\Games's
    // neighbours stay.
    for (const std::string& kept :
         {user_ + "Desktop", user_ + "Start Menu/Programs",
          std::string("Documents and Settings/All Users/Desktop"),
          std::string("Documents and Settings/All Users/Start Menu/Programs"),
          std::string("Program Files/Common Files"), std::string("Games/Other/KEEP.DAT"),
          std::string("WINDOWS/SYSTEM/KEEP.DLL")}) {
        EXPECT_TRUE(Exists(OnC(kept))) << kept;
    }
    EXPECT_FALSE(reg.KeyExists(RegRoot::CurrentUser, "Software\\Prism Lab\\Orbit"));
    EXPECT_FALSE(reg.KeyExists(RegRoot::LocalMachine, "Software\\Prism Lab\\Empty"));
    EXPECT_TRUE(reg.KeyExists(RegRoot::LocalMachine, "Software\\Prism Lab\\Keep\\Sub"));
    EXPECT_FALSE(reg.ReadValue(RegRoot::LocalMachine, "Software\\Prism Lab\\Keep", "Orbit"));
    EXPECT_TRUE(reg.ReadValue(RegRoot::LocalMachine, "Software\\Prism Lab\\Keep", "Other"));
    EXPECT_TRUE(reg.ValueNames(RegRoot::CurrentUser,
                               "Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups")
                    .empty());
    EXPECT_TRUE(
        reg.ValueNames(RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\Groups")
            .empty());

    // The Keep key has a subkey and is kept; the US command shows what it runs; a missing file is
    // already gone.
    EXPECT_EQ(host_.messages, (std::vector<std::string>{"Reg Key not deleted...",
                                                        "C:\\WINDOWS\\SYSTEM\\REGSVR.EXE /u ORBITDRV.DLL"}));
    EXPECT_EQ(host_.runs, (std::vector<std::string>{"C:\\Games\\Orbit\\UNPATCH.EXE /q",
                                                    "C:\\WINDOWS\\SYSTEM\\REGSVR.EXE /u ORBITDRV.DLL"}));
    EXPECT_EQ(host_.questions, (std::vector<std::string>{"C:\\Games\\Orbit\\SAVES", "C:\\OrbitTemp",
                                                         "C:\\Games\\Orbit\\DATA"}));
}

TEST_F(UninstallScriptTest, BadCommandsRemoveNothingAndSpeakOnlyInDebugMode) {
    MakeFile(OnC("Games/Orbit/ORBIT.EXE"));
    MakeFile(OnC("Games/Orbit/DIR.CFG/INNER.TXT"));
    MakeFile(OnC("WINDOWS/WIN.INI"));
    MakeFile(OnC("boot.ini"));
    MakeFile(OnC("Elsewhere/PRECIOUS.SAV"));
    MakeFile(OnC(user_ + "NTUSER.DAT"));
    fs_host::create_directory_symlink(OnC("Elsewhere"), OnC("Games/Orbit/LINK"));
    ASSERT_TRUE(registry().WriteString(RegRoot::LocalMachine, "Software\\Prism Lab\\Keep", "Value", "1"));
    const std::string long_name(31, 'v');
    ASSERT_TRUE(registry().WriteString(RegRoot::LocalMachine, "Software\\Prism Lab\\Keep",
                                       long_name.substr(0, 30), "1"));

    const std::string script =
        // Out of the folder the command names: "..", another drive, through a directory link.
        "FG..\\..\\WINDOWS\\WIN.INI;FW..\\boot.ini;FGLINK\\PRECIOUS.SAV;FG..\\Orbit\\..\\..\\boot.ini;"
        "DG..\\..\\WINDOWS;DGLINK;SD..\\NTUSER.DAT;SFOrbit|..\\boot.ini;"
        // Folders no command removes.
        "DC:\\;DEF;DEF..;FG;FGDIR.CFG;"
        // Registry roots, keys every program shares, a value name longer than the menu reads,
        // missing arguments.
        "RMD;RUD\\;RMD\\\\;RMDSOFTWARE;RMDSoftware\\Microsoft;"
        "RMESOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall;"
        "RMF\\|x;RMFSoftware\\Prism Lab\\Keep|" +
        long_name +
        ";RUFSoftware\\Prism Lab;SFno-bar;"
        // Passed over in silence: unknown letters, empty commands, lower case, too short.
        "XYZ;;Q;fwWIN.INI;FXWIN.INI;RMXSoftware\\Prism Lab;D;R;US;UU;SN;SN..;DQ";
    const std::string before = Snapshot();
    for (const bool debug : {false, true}) {
        RunCleanup(script, std::string(kGame), Context(debug));
        EXPECT_EQ(Snapshot(), before) << "debug " << debug;
        EXPECT_TRUE(host_.questions.empty());
        EXPECT_TRUE(host_.runs.empty());
        if (!debug) {
            EXPECT_TRUE(host_.messages.empty());
        }
    }
    const std::string user_desktop = folders_.UserDesktopDir;
    EXPECT_EQ(host_.messages,
              (std::vector<std::string>{"Can't delete C:\\Games\\Orbit\\..\\..\\WINDOWS\\WIN.INI",
                                        "Can't delete C:\\WINDOWS\\..\\boot.ini",
                                        "Can't delete C:\\Games\\Orbit\\LINK\\PRECIOUS.SAV",
                                        "Can't delete C:\\Games\\Orbit\\..\\Orbit\\..\\..\\boot.ini",
                                        "Can't delete C:\\Games\\Orbit\\..\\..\\WINDOWS",
                                        "Can't delete C:\\Games\\Orbit\\LINK",
                                        "Can't delete " + user_desktop + "..\\NTUSER.DAT",
                                        "Can't delete C:\\WINDOWS\\..\\boot.ini",
                                        "Can't delete C:\\",
                                        "Can't delete C:\\Program Files\\",
                                        "Can't delete C:\\Program Files\\..",
                                        "Can't delete C:\\Games\\Orbit\\",
                                        "Can't delete C:\\Games\\Orbit\\DIR.CFG",
                                        "Reg Key not deleted...",
                                        "Reg Key not deleted...",
                                        "Reg Key not deleted...",
                                        "Reg Key not deleted...",
                                        "Reg Key not deleted...",
                                        "Reg Key not deleted...",
                                        "Reg Entry not deleted...",
                                        "Reg Entry not deleted...",
                                        "Reg Entry not deleted...",
                                        "Reg Entry not deleted...",
                                        "Can't delete " + folders_.UserProgramsDir + ".."}));
}

TEST_F(UninstallScriptTest, BuildingCommandsMakeTheUninstallCommandLine) {
    auto write_link = [&](const std::string& host_path, const sample::LinkContents& contents) {
        const auto bytes = sample::WriteShellLink(contents);
        ASSERT_TRUE(bytes.has_value());
        MakeFile(OnC(host_path), *bytes);
    };
    write_link(user_ + "Start Menu/Programs/Orbit/Uninstall Orbit.lnk",
               {.target = "C:\\Games\\Orbit\\UNWISE.EXE", .arguments = "/S C:\\Games\\Orbit\\INSTALL.LOG"});
    write_link("Documents and Settings/All Users/Start Menu/Programs/Orbit/Remove.lnk",
               {.target = "C:\\Games\\Orbit\\REMOVE.EXE"});
    // A shortcut of the user's that does not load falls back to the common one of that name.
    MakeFile(OnC(user_ + "Start Menu/Programs/Orbit/Remove.lnk"), "broken");
    MakeFile(OnC(user_ + "Start Menu/Programs/Orbit/Broken.lnk"), "broken");

    struct Case {
        std::string list;
        BuildCommands commands;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"GUNINST.EXE /U,DE", BuildCommands::GS, "C:\\Games\\Orbit\\UNINST.EXE /U"},
        {"SUNINSTAL.EXE", BuildCommands::GS, "C:\\WINDOWS\\SYSTEM\\UNINSTAL.EXE"},
        // Type 2 takes only G and S; the others leave the line as the registry had it.
        {"A -y;CX.EXE;POrbit\\Remove.lnk", BuildCommands::GS, "REG.EXE"},
        {"GUNWISE.EXE;A /S", BuildCommands::All, "C:\\Games\\Orbit\\UNWISE.EXE /S"},
        {"SRUNDLL32.EXE ;CInstallShield\\setup.dll", BuildCommands::All,
         "C:\\WINDOWS\\SYSTEM\\RUNDLL32.EXE C:\\Program Files\\Common Files\\InstallShield\\setup.dll"},
        {"POrbit\\Uninstall Orbit.lnk", BuildCommands::All,
         "C:\\Games\\Orbit\\UNWISE.EXE /S C:\\Games\\Orbit\\INSTALL.LOG"},
        {"POrbit\\Remove.lnk,DE", BuildCommands::All, "C:\\Games\\Orbit\\REMOVE.EXE"},
        {"POrbit\\Broken.lnk", BuildCommands::All, ""},
        {"PNone.lnk", BuildCommands::All, ""},
        {"", BuildCommands::All, "REG.EXE"},
        {"X,;Q", BuildCommands::All, "REG.EXE"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BuildUninstallCommand(c.list, "REG.EXE", kGame, c.commands, Context(false)), c.expected)
            << c.list;
    }
}

} // namespace
} // namespace kavlo
