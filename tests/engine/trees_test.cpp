#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/paths.h"
#include "engine/trees.h"
#include "pc_fixture.h"
#include "platform/posix/pc_root.h"

namespace kavlo {
namespace {

namespace fs_host = std::filesystem;

using TreeTest = test::PcTest;

void MakeReadOnly(const fs_host::path& host) {
    fs_host::permissions(
        host, fs_host::perms::owner_write | fs_host::perms::group_write | fs_host::perms::others_write,
        fs_host::perm_options::remove);
}

std::vector<std::string> SystemDirs() {
    return {"C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "C:\\Program Files"};
}

TEST_F(TreeTest, DirExistsAnswersForDirectoriesOnly) {
    MakeFile(OnC("WINDOWS/WIN.INI"));
    struct Case {
        std::string path;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"C:\\WINDOWS", true},
        {"c:\\windows\\", true},
        {"C:\\WINDOWS\\SYSTEM", true},
        {"C:\\NOPE", false},
        {"C:\\WINDOWS\\WIN.INI", false},
        // Drive roots never count: no caller may offer to delete or measure a whole drive.
        {"C:\\", false},
        {"C:", false},
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DirExists(fs(), c.path), c.expected) << "path: " << c.path;
    }
}

TEST_F(TreeTest, RemoveFileDeletesReadOnlyFiles) {
    MakeFile(OnC("G/LOCKED.DAT"));
    MakeReadOnly(OnC("G/LOCKED.DAT"));
    EXPECT_TRUE(RemoveFile(fs(), "C:\\G\\locked.dat"));
    EXPECT_FALSE(Exists(OnC("G/LOCKED.DAT")));
    EXPECT_FALSE(RemoveFile(fs(), "C:\\G\\LOCKED.DAT"));
    EXPECT_FALSE(RemoveFile(fs(), "C:\\G"));
    EXPECT_TRUE(Exists(OnC("G")));
}

TEST_F(TreeTest, RemoveTreeDeletesEverythingBelow) {
    MakeFile(OnC("GAMES/X/GAME.EXE"));
    MakeFile(OnC("GAMES/X/.hidden"));
    MakeFile(OnC("GAMES/X/SAVE/RO.SAV"));
    MakeFile(OnC("GAMES/X/DATA/DEEP/A.PAK"));
    MakeFile(OnC("GAMES/KEEP.TXT"));
    MakeReadOnly(OnC("GAMES/X/SAVE/RO.SAV"));
    MakeReadOnly(OnC("GAMES/X/SAVE"));
    MakeReadOnly(OnC("GAMES/X"));
    RemoveTree(fs(), "c:\\games\\x\\", SystemDirs());
    EXPECT_FALSE(Exists(OnC("GAMES/X")));
    EXPECT_TRUE(Exists(OnC("GAMES/KEEP.TXT")));
    // A missing directory is no error.
    RemoveTree(fs(), "C:\\GAMES\\X", SystemDirs());
    EXPECT_TRUE(Exists(OnC("GAMES/KEEP.TXT")));
}

TEST_F(TreeTest, RemoveTreeRemovesDirectoryLinksAsLinks) {
    MakeFile(OnC("ELSEWHERE/PRECIOUS.SAV"));
    MakeFile(OnC("GAMES/X/GAME.EXE"));
    fs_host::create_directory_symlink(OnC("ELSEWHERE"), OnC("GAMES/X/SAVES"));
    fs_host::create_directory_symlink(OnC("ELSEWHERE"), OnC("GAMES/LINK"));
    RemoveTree(fs(), "C:\\GAMES\\X", {});
    EXPECT_FALSE(Exists(OnC("GAMES/X")));
    // Given the link itself, only the link goes.
    RemoveTree(fs(), "C:\\GAMES\\LINK\\", {});
    EXPECT_FALSE(fs_host::is_symlink(OnC("GAMES/LINK")));
    EXPECT_TRUE(Exists(OnC("ELSEWHERE/PRECIOUS.SAV")));
}

TEST_F(TreeTest, RemoveTreeRefusesRootsAndSystemDirectories) {
    MakeFile(OnC("ROOT.TXT"));
    MakeFile(OnC("WINDOWS/WIN.INI"));
    MakeFile(OnC("WINDOWS/SYSTEM/DRV.DLL"));
    MakeFile(OnC("Program Files/Game/G.EXE"));
    MakeFile(OnC("Program Files/Other/O.EXE"));
    MakeFile(OnC("OS/WIN/KERNEL.DLL"));
    const std::vector<std::string> refused = {
        "C:\\",
        "c:",
        "C:\\GAMES\\..",
        "C:\\WINDOWS",
        "c:\\windows\\system\\",
        "C:\\PROGRAM FILES\\",
        "C:\\Program Files\\Game\\..",
        // A folder that holds a protected one would take it along.
        "C:\\OS",
    };
    std::vector<std::string> protected_dirs = SystemDirs();
    protected_dirs.push_back("C:\\OS\\WIN");
    for (const std::string& dir : refused) {
        RemoveTree(fs(), dir, protected_dirs);
    }
    for (const char* kept : {"ROOT.TXT", "WINDOWS/WIN.INI", "WINDOWS/SYSTEM/DRV.DLL",
                             "Program Files/Game/G.EXE", "Program Files/Other/O.EXE", "OS/WIN/KERNEL.DLL"}) {
        EXPECT_TRUE(Exists(OnC(kept))) << kept;
    }
    // Below the protected directories, trees go as usual.
    RemoveTree(fs(), "C:\\Program Files\\Game", protected_dirs);
    EXPECT_FALSE(Exists(OnC("Program Files/Game")));
    EXPECT_TRUE(Exists(OnC("Program Files/Other/O.EXE")));
}

TEST_F(TreeTest, ProtectedDirsComeFromThePc) {
    const std::string user = "C:\\Documents and Settings\\" + HostUserName() + "\\";
    std::vector<std::string> expected = SystemDirs();
    expected.insert(expected.end(),
                    {"C:\\Program Files\\Common Files", user + "Desktop", user + "Start Menu\\Programs",
                     "C:\\Documents and Settings\\All Users\\Desktop",
                     "C:\\Documents and Settings\\All Users\\Start Menu\\Programs"});
    EXPECT_EQ(ProtectedDirsOf(system(), registry()), expected);
    ASSERT_TRUE(registry().WriteString(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                       "ProgramFilesDir", "D:\\Apps"));
    ASSERT_TRUE(registry().DeleteKey(
        RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders"));
    expected = {"C:\\WINDOWS",
                "C:\\WINDOWS\\SYSTEM",
                "D:\\Apps",
                "C:\\Program Files\\Common Files",
                "C:\\Documents and Settings\\All Users\\Desktop",
                "C:\\Documents and Settings\\All Users\\Start Menu\\Programs"};
    EXPECT_EQ(ProtectedDirsOf(system(), registry()), expected);
}

class DiscTreeTest : public test::PcTest {
protected:
    DiscTreeTest() : PcTest(/*with_disc=*/true) {}
};

TEST_F(DiscTreeTest, RemoveTreeRefusesAnyDriveRoot) {
    MakeFile(OnDisc("DATA/A.DAT"));
    RemoveTree(fs(), "D:\\", {});
    RemoveTree(fs(), "D:\\DATA\\..\\", {});
    EXPECT_TRUE(Exists(OnDisc("DATA/A.DAT")));
}

TEST_F(TreeTest, DeleteEmptyBranchClimbsWhileEmpty) {
    fs_host::create_directories(OnC("P/A/B/C"));
    MakeFile(OnC("P/A/B/MsCreate.Dir"));
    MakeReadOnly(OnC("P/A/B/MsCreate.Dir"));
    MakeFile(OnC("P/A/KEEP.TXT"));
    DeleteEmptyBranch(fs(), "C:\\P\\A\\B\\C");
    EXPECT_FALSE(Exists(OnC("P/A/B")));
    EXPECT_TRUE(Exists(OnC("P/A/KEEP.TXT")));
    EXPECT_TRUE(Exists(OnC("P")));

    // An empty branch goes up to the root, which stays.
    fs_host::remove(OnC("P/A/KEEP.TXT"));
    fs_host::create_directories(OnC("P/A/B"));
    DeleteEmptyBranch(fs(), "C:\\P\\A\\B\\");
    EXPECT_FALSE(Exists(OnC("P")));
    EXPECT_TRUE(Exists(OnC("")));
    EXPECT_TRUE(Exists(OnC("WINDOWS")));
    // A protected folder ends the climb even when it is empty.
    fs_host::create_directories(OnC("P/A/B"));
    DeleteEmptyBranch(fs(), "C:\\P\\A\\B", {"c:\\p\\"});
    EXPECT_FALSE(Exists(OnC("P/A")));
    EXPECT_TRUE(Exists(OnC("P")));
}

TEST_F(TreeTest, RemoveReadOnlyClearsPlainFilesOnly) {
    MakeFile(OnC("G/A.EXE"));
    MakeFile(OnC("G/SUB/B.DAT"));
    MakeFile(OnC("G/.hidden"));
    fs_host::create_directories(OnC("ELSEWHERE"));
    MakeFile(OnC("ELSEWHERE/C.DAT"));
    fs_host::create_directory_symlink(OnC("ELSEWHERE"), OnC("G/LINK"));
    for (const char* file : {"G/A.EXE", "G/SUB/B.DAT", "G/.hidden", "ELSEWHERE/C.DAT"}) {
        MakeReadOnly(OnC(file));
    }
    RemoveReadOnly(fs(), "C:\\G");
    auto read_only = [&](const char* path) { return (*fs().GetAttributes(path) & kAttrReadOnly) != 0; };
    EXPECT_FALSE(read_only("C:\\G\\A.EXE"));
    EXPECT_FALSE(read_only("C:\\G\\SUB\\B.DAT"));
    EXPECT_TRUE(read_only("C:\\G\\.hidden"));
    EXPECT_TRUE(read_only("C:\\ELSEWHERE\\C.DAT"));
}

TEST_F(TreeTest, RemoveStartFolderStaysInsideTheProgramsFolders) {
    const std::string user = "C:\\Start\\User\\Programs\\";
    const std::string common = "C:\\Start\\All\\Programs\\";
    MakeFile(OnC("Start/User/Programs/Game/Play.lnk"));
    MakeFile(OnC("Start/All/Programs/Game/Setup/Uninstall.lnk"));
    MakeFile(OnC("Start/User/Programs/Other/Other.lnk"));
    MakeFile(OnC("Start/All/Programs/Other.lnk"));
    for (const char* group : {"", " ", ".", "..", "..\\..", "\\", "C:\\Start", "Game\\..\\Other\\.."}) {
        RemoveStartFolder(fs(), group, user, common);
    }
    EXPECT_FALSE(RemoveStartFolder(fs(), "..\\..", user, common)); // refused, so a caller can say so
    EXPECT_TRUE(Exists(OnC("Start/User/Programs/Game/Play.lnk")));
    EXPECT_TRUE(Exists(OnC("Start/All/Programs/Game/Setup/Uninstall.lnk")));
    EXPECT_TRUE(RemoveStartFolder(fs(), "game", user, common));
    EXPECT_FALSE(Exists(OnC("Start/User/Programs/Game")));
    EXPECT_FALSE(Exists(OnC("Start/All/Programs/Game")));
    EXPECT_TRUE(Exists(OnC("Start/User/Programs/Other/Other.lnk")));
    EXPECT_TRUE(Exists(OnC("Start/All/Programs/Other.lnk")));
}

TEST_F(TreeTest, SizeofTreeSumsBeyond4GB) {
    MakeFile(OnC("BIG/A.DAT"), std::string(1000, 'a'));
    MakeFile(OnC("BIG/.hidden"), std::string(24, 'h'));
    MakeFile(OnC("BIG/SUB/B.DAT"), std::string(100, 'b'));
    fs_host::create_directories(OnC("BIG/EMPTY"));
    EXPECT_EQ(SizeofTree(fs(), "C:\\BIG"), 1124u);
    // Sparse files: the sizes count, no disk space is used.
    const uint64_t five_gb = 5ull << 30;
    MakeFile(OnC("BIG/SUB/DEEP/HUGE1.VOB"), "");
    fs_host::resize_file(OnC("BIG/SUB/DEEP/HUGE1.VOB"), five_gb);
    MakeFile(OnC("BIG/HUGE2.VOB"), "");
    fs_host::resize_file(OnC("BIG/HUGE2.VOB"), five_gb);
    EXPECT_EQ(SizeofTree(fs(), "c:\\big\\"), 2 * five_gb + 1124u);
    EXPECT_EQ(SizeofTree(fs(), "C:\\MISSING"), 0u);
}

TEST_F(TreeTest, SearchTreeWalksDepthFirstInListingOrder) {
    MakeFile(OnC("ROOT/A/Z/GAME.INI"));
    MakeFile(OnC("ROOT/B/GAME.INI"));
    MakeFile(OnC("ROOT/C/GAME.INI/NOT_A_FILE"));
    MakeFile(OnC("ROOT/C/D/OTHER.INI"));
    struct Case {
        std::string root;
        std::string name;
        std::string expected;
    };
    const std::vector<Case> cases = {
        // A deeper hit in an earlier folder wins over a later, shallower one.
        {"C:\\ROOT", "game.ini", "C:\\ROOT\\A\\Z\\"},
        {"C:\\ROOT\\B\\", "GAME.INI", "C:\\ROOT\\B\\"},
        {"C:\\ROOT\\C", "OTHER.INI", "C:\\ROOT\\C\\D\\"},
        // A directory of that name is no hit.
        {"C:\\ROOT\\C", "GAME.INI", ""},
        {"C:\\ROOT", "NONE.INI", ""},
        {"C:\\MISSING", "GAME.INI", ""},
        {"C:\\ROOT", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SearchTree(fs(), c.root, c.name, 1), c.expected) << c.root << " " << c.name;
    }
}

TEST_F(TreeTest, WalksDoNotFollowDirectoryLinks) {
    MakeFile(OnC("ROOT/TOP.INI"), std::string(10, 't'));
    MakeFile(OnC("ROOT/A/A.DAT"), std::string(5, 'a'));
    fs_host::create_directory_symlink(OnC("ROOT"), OnC("ROOT/A/UP"));
    EXPECT_EQ(SizeofTree(fs(), "C:\\ROOT"), 15u);
    EXPECT_EQ(SearchTree(fs(), "C:\\ROOT\\A", "TOP.INI", 1), "");
    // Two links back to their parent: every walk doubles at each level unless links are passed by.
    fs_host::create_directory_symlink(OnC("ROOT"), OnC("ROOT/B"));
    fs_host::create_directory_symlink(OnC("ROOT"), OnC("ROOT/C"));
    EXPECT_EQ(SizeofTree(fs(), "C:\\"), 15u);
    EXPECT_EQ(SearchTree(fs(), "C:\\", "NONE.INI", 1), "");
}

TEST_F(TreeTest, ReadEnvVarKeepsWhatTheBufferHolds) {
    ::setenv("KAVLO_ENGINE_TEST_LONG", std::string(300, 'v').c_str(), 1);
    ::setenv("KAVLO_ENGINE_TEST_SHORT", "short", 1);
    ::unsetenv("KAVLO_ENGINE_TEST_UNSET");
    EXPECT_EQ(ReadEnvVar(system(), "KAVLO_ENGINE_TEST_LONG"), std::string(249, 'v'));
    EXPECT_EQ(ReadEnvVar(system(), "KAVLO_ENGINE_TEST_SHORT"), "short");
    EXPECT_EQ(ReadEnvVar(system(), "KAVLO_ENGINE_TEST_UNSET"), "");
}

} // namespace
} // namespace kavlo
