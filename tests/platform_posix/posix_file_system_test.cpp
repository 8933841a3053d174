#include "platform/posix/posix_file_system.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace kavlo {
namespace {

using test::ReadHostFile;
using test::TempDir;
using test::WriteHostFile;

class PosixFileSystemTest : public ::testing::Test {
protected:
    PosixFileSystemTest() {
        std::filesystem::create_directories(dir_ / "c");
        std::filesystem::create_directories(dir_ / "disc");
    }

    std::filesystem::path C(const std::string& rel) const { return dir_ / "c" / rel; }
    std::filesystem::path Disc(const std::string& rel) const { return dir_ / "disc" / rel; }

    std::vector<std::string> HostNames(const std::filesystem::path& dir) const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir_;
    PosixFileSystem fs_{(dir_ / "c").string(),
                        {DriveMapping{'E', (dir_ / "disc").string(), DriveType::CdRom},
                         DriveMapping{'F', (dir_ / "absent").string(), DriveType::CdRom},
                         DriveMapping{'N', (dir_ / "net").string(), DriveType::Remote}}};
};

TEST_F(PosixFileSystemTest, NamesResolveWithoutRegardToCase) {
    WriteHostFile(C("Program Files/Žluťoučký kůň/Setup.exe"), "setup");
    WriteHostFile(Disc("KAVLO/kavloxp.ini"), "[Main]");
    WriteHostFile(Disc("KAVLO/bb.JPG"), "font");
    const struct {
        std::string path;
        std::string bytes;
    } cases[] = {
        {"C:\\Program Files\\\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2\\Setup.exe", "setup"},
        {"C:\\PROGRAM FILES\\\x9ELU\x8DOU\xC8K\xDD K\xD9\xD2\\SETUP.EXE", "setup"},
        {"c:/program files//\x9Elu\x9Dou\xE8k\xFD k\xF9\xF2/setup.exe", "setup"},
        {"E:\\Kavlo\\KAVLOXP.ini", "[Main]"},
        {"e:\\KAVLO\\BB.jpg", "font"},
        {"E:\\KAVLO\\sub\\..\\bb.jpg", "font"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(fs_.FileExists(c.path)) << c.path;
        EXPECT_EQ(fs_.ReadFile(c.path).value_or("<none>"), c.bytes) << c.path;
    }
    EXPECT_TRUE(fs_.DirectoryExists("e:\\kavlo\\"));
    EXPECT_FALSE(fs_.FileExists("E:\\KAVLO"));
    EXPECT_FALSE(fs_.FileExists("E:\\KAVLO\\bb.jpg\\")); // a file named like a directory
    EXPECT_FALSE(fs_.FileExists("E:\\KAVLO\\bb.jp"));
}

TEST_F(PosixFileSystemTest, ExactNameWinsOverFoldedOne) {
    WriteHostFile(C("readme.txt"), "lower");
    WriteHostFile(C("README.TXT"), "upper");
    EXPECT_EQ(fs_.ReadFile("C:\\README.TXT"), "upper");
    EXPECT_EQ(fs_.ReadFile("C:\\readme.txt"), "lower");
}

TEST_F(PosixFileSystemTest, ListingCacheNoticesChangesFromOutside) {
    EXPECT_FALSE(fs_.FileExists("C:\\NEW.TXT"));
    usleep(20000); // past the directory's time stamp granularity
    WriteHostFile(C("new.txt"), "x");
    EXPECT_TRUE(fs_.FileExists("C:\\NEW.TXT"));
    std::filesystem::remove(C("new.txt"));
    EXPECT_FALSE(fs_.FileExists("C:\\NEW.TXT"));
}

TEST_F(PosixFileSystemTest, RelativePathsUseTheCurrentDirectoryOfTheirDrive) {
    WriteHostFile(C("KAVLO/c.txt"), "on c");
    WriteHostFile(Disc("DATA/d.txt"), "on e");
    WriteHostFile(Disc("root.txt"), "e root");
    EXPECT_EQ(fs_.CurrentDirectory(), "C:\\");
    ASSERT_TRUE(fs_.SetCurrentDirectory("c:\\kavlo"));
    ASSERT_TRUE(fs_.SetCurrentDirectory("E:\\DATA\\"));
    EXPECT_EQ(fs_.CurrentDirectory(), "E:\\DATA");
    const struct {
        std::string path;
        std::string full;
        std::string bytes;
    } cases[] = {
        {"d.txt", "E:\\DATA\\d.txt", "on e"},     {"C:c.txt", "C:\\kavlo\\c.txt", "on c"},
        {"\\root.txt", "E:\\root.txt", "e root"}, {"..\\root.txt", "E:\\root.txt", "e root"},
        {"E:d.txt", "E:\\DATA\\d.txt", "on e"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fs_.FullPath(c.path), c.full) << c.path;
        EXPECT_EQ(fs_.ReadFile(c.path).value_or("<none>"), c.bytes) << c.path;
    }
    EXPECT_FALSE(fs_.SetCurrentDirectory("E:\\NOWHERE"));
    EXPECT_FALSE(fs_.SetCurrentDirectory("E:\\root.txt"));
    EXPECT_EQ(fs_.CurrentDirectory(), "E:\\DATA");
}

TEST_F(PosixFileSystemTest, PathsStayInsideTheirDrive) {
    WriteHostFile(dir_ / "outside.txt", "secret");
    EXPECT_FALSE(fs_.FileExists("C:\\..\\outside.txt"));
    EXPECT_FALSE(fs_.ReadFile("E:\\..\\..\\outside.txt").has_value());
    // ".." stops at the drive's root, so the write lands inside C:.
    EXPECT_TRUE(fs_.WriteFileAtomic("C:\\..\\outside.txt", "inside"));
    EXPECT_EQ(ReadHostFile(dir_ / "outside.txt"), "secret");
    EXPECT_EQ(ReadHostFile(C("outside.txt")), "inside");
    EXPECT_FALSE(fs_.WriteFileAtomic(std::string("C:\\a.txt\0.sh", 12), "x"));
    for (const char* bad : {"C:\\a*.txt", "C:\\a?.txt", "C:\\a:b", "C:\\a|b", "Q:\\x", ""}) {
        EXPECT_FALSE(fs_.WriteFileAtomic(bad, "x")) << bad;
    }
    EXPECT_EQ(HostNames(dir_ / "c"), std::vector<std::string>{"outside.txt"});
}

TEST_F(PosixFileSystemTest, AttributesFollowPermissionsAndNames) {
    WriteHostFile(C("plain.txt"), "x");
    WriteHostFile(C("locked.txt"), "x");
    chmod(C("locked.txt").c_str(), 0444);
    WriteHostFile(C(".hidden"), "x");
    std::filesystem::create_directories(C("dir"));
    ASSERT_EQ(mkfifo(C("pipe").c_str(), 0644), 0);
    const struct {
        std::string path;
        uint32_t attributes;
    } cases[] = {
        {"C:\\plain.txt", kAttrArchive},
        {"C:\\LOCKED.TXT", kAttrArchive | kAttrReadOnly},
        {"C:\\.hidden", kAttrArchive | kAttrHidden},
        {"C:\\dir", kAttrDirectory},
        {"C:\\", kAttrDirectory},
        {"C:\\pipe", kAttrNormal}, // neither a file nor a directory
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fs_.GetAttributes(c.path), c.attributes) << c.path;
    }
    EXPECT_FALSE(fs_.GetAttributes("C:\\missing").has_value());
}

TEST_F(PosixFileSystemTest, ReadOnlyBitTogglesWritePermissionAndGuardsTheFile) {
    WriteHostFile(C("a.txt"), "old");
    ASSERT_TRUE(fs_.SetAttributes("C:\\A.TXT", kAttrReadOnly | kAttrArchive));
    EXPECT_EQ(std::filesystem::status(C("a.txt")).permissions() & std::filesystem::perms::owner_write,
              std::filesystem::perms::none);
    EXPECT_EQ(fs_.GetAttributes("C:\\a.txt"), kAttrReadOnly | kAttrArchive);
    // Windows refuses to overwrite or delete a read-only file until the bit is cleared.
    EXPECT_FALSE(fs_.WriteFileAtomic("C:\\a.txt", "new"));
    EXPECT_FALSE(fs_.DeleteFile("C:\\a.txt"));
    EXPECT_EQ(ReadHostFile(C("a.txt")), "old");
    ASSERT_TRUE(fs_.SetAttributes("C:\\a.txt", kAttrNormal));
    EXPECT_EQ(fs_.GetAttributes("C:\\a.txt"), kAttrArchive);
    EXPECT_TRUE(fs_.DeleteFile("C:\\a.txt"));
    EXPECT_FALSE(fs_.SetAttributes("C:\\a.txt", kAttrNormal));
}

TEST_F(PosixFileSystemTest, ListGivesWindowsNamesInNameOrder) {
    WriteHostFile(C("d/b.txt"), "bb");
    WriteHostFile(C("d/A.txt"), "a");
    WriteHostFile(C("d/čaj.txt"), "c");
    WriteHostFile(C("d/.cfg"), "");
    std::filesystem::create_directories(C("d/Sub"));
    std::filesystem::create_symlink(C("d/nowhere"), C("d/dangling"));
    auto entries = fs_.List("C:\\D");
    ASSERT_TRUE(entries.has_value());
    std::vector<std::string> names;
    for (const auto& entry : *entries) {
        names.push_back(entry.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{".cfg", "A.txt", "b.txt", "Sub",
                                               "\xE8"
                                               "aj.txt"}));
    EXPECT_EQ((*entries)[2].size, 2u);
    EXPECT_EQ((*entries)[3].attributes, kAttrDirectory);
    EXPECT_FALSE(fs_.List("C:\\D\\b.txt").has_value());
    EXPECT_FALSE(fs_.List("C:\\none").has_value());
}

TEST_F(PosixFileSystemTest, DirectoriesAreMadeAndRemovedOneLevelAtATime) {
    EXPECT_FALSE(fs_.CreateDir("C:\\GAMES\\X")); // the parent must exist
    EXPECT_TRUE(fs_.CreateDir("C:\\GAMES"));
    EXPECT_FALSE(fs_.CreateDir("c:\\games")); // already there
    EXPECT_TRUE(fs_.CreateDir("C:\\games\\X\\"));
    EXPECT_TRUE(std::filesystem::is_directory(C("GAMES/X")));
    EXPECT_FALSE(fs_.RemoveDir("C:\\GAMES")); // not empty
    EXPECT_TRUE(fs_.RemoveDir("C:\\GAMES\\x"));
    EXPECT_TRUE(fs_.RemoveDir("C:\\GAMES"));
    EXPECT_FALSE(fs_.RemoveDir("C:\\"));
    EXPECT_FALSE(fs_.DirectoryExists("C:\\GAMES"));
}

TEST_F(PosixFileSystemTest, RenameNeverReplacesAnotherFile) {
    WriteHostFile(C("a.txt"), "a");
    WriteHostFile(C("b.txt"), "b");
    EXPECT_FALSE(fs_.Rename("C:\\a.txt", "C:\\B.TXT"));
    EXPECT_EQ(ReadHostFile(C("b.txt")), "b");
    EXPECT_TRUE(fs_.Rename("C:\\a.txt", "C:\\A.TXT")); // only the case changes
    EXPECT_EQ(HostNames(dir_ / "c"), (std::vector<std::string>{"A.TXT", "b.txt"}));
    std::filesystem::create_directories(C("sub"));
    EXPECT_TRUE(fs_.Rename("C:\\a.txt", "C:\\SUB\\moved.txt"));
    EXPECT_EQ(ReadHostFile(C("sub/moved.txt")), "a");
    EXPECT_FALSE(fs_.Rename("C:\\missing", "C:\\x"));
    EXPECT_FALSE(fs_.Rename("C:\\b.txt", "C:\\nodir\\b.txt"));
}

TEST_F(PosixFileSystemTest, AtomicWriteReplacesWholeFilesAndLeavesNothingBehind) {
    WriteHostFile(C("WINDOWS/kavlo.ini"), "old");
    chmod(C("WINDOWS/kavlo.ini").c_str(), 0640);
    ASSERT_TRUE(fs_.WriteFileAtomic("C:\\windows\\KAVLO.INI", "[Main]\r\nLanguage=1\r\n"));
    // The existing file is replaced under its own name and keeps its permissions.
    EXPECT_EQ(HostNames(C("WINDOWS")), std::vector<std::string>{"kavlo.ini"});
    EXPECT_EQ(ReadHostFile(C("WINDOWS/kavlo.ini")), "[Main]\r\nLanguage=1\r\n");
    EXPECT_EQ(std::filesystem::status(C("WINDOWS/kavlo.ini")).permissions(), std::filesystem::perms(0640));
    ASSERT_TRUE(fs_.WriteFileAtomic("C:\\WINDOWS\\Nov\xFD.txt", ""));
    EXPECT_EQ(HostNames(C("WINDOWS")), (std::vector<std::string>{"Nový.txt", "kavlo.ini"}));
    EXPECT_TRUE(fs_.FileExists("C:\\WINDOWS\\NOV\xDD.TXT")); // seen at once, whatever the case
}

TEST_F(PosixFileSystemTest, AtomicWriteFailsCleanly) {
    EXPECT_FALSE(fs_.WriteFileAtomic("C:\\NOFOLDER\\kavlo.ini", "x"));
    EXPECT_FALSE(std::filesystem::exists(C("NOFOLDER")));
    std::filesystem::create_directories(C("dir"));
    EXPECT_FALSE(fs_.WriteFileAtomic("C:\\dir", "x"));
    EXPECT_FALSE(fs_.WriteFileAtomic("C:\\", "x"));
    EXPECT_FALSE(fs_.WriteFileAtomic("C:\\file\\", "x"));
    EXPECT_EQ(HostNames(dir_ / "c"), std::vector<std::string>{"dir"});
    if (geteuid() != 0) { // root writes into read-only folders anyway
        WriteHostFile(C("ro/keep.txt"), "keep");
        chmod(C("ro").c_str(), 0555);
        EXPECT_FALSE(fs_.WriteFileAtomic("C:\\ro\\keep.txt", "lost"));
        EXPECT_EQ(HostNames(C("ro")), std::vector<std::string>{"keep.txt"});
        EXPECT_EQ(ReadHostFile(C("ro/keep.txt")), "keep");
    }
}

TEST_F(PosixFileSystemTest, DrivesAndTheirReadiness) {
    EXPECT_EQ(fs_.LogicalDrives(), (std::vector<std::string>{"C:\\", "E:\\", "F:\\", "N:\\"}));
    const struct {
        std::string root;
        DriveType type;
    } types[] = {{"C:\\", DriveType::Fixed},     {"e:\\", DriveType::CdRom},
                 {"F:", DriveType::CdRom},       {"N:/", DriveType::Remote},
                 {"D:\\", DriveType::NoRootDir}, {"C:\\WINDOWS", DriveType::NoRootDir},
                 {"", DriveType::Fixed}};
    for (const auto& c : types) {
        EXPECT_EQ(fs_.GetDriveType(c.root), c.type) << c.root;
    }
    EXPECT_TRUE(fs_.DriveReady('C'));
    EXPECT_TRUE(fs_.DriveReady('e'));
    EXPECT_FALSE(fs_.DriveReady('D'));
    // An empty CD drive: listed, typed, but every operation fails.
    EXPECT_FALSE(fs_.DriveReady('F'));
    EXPECT_FALSE(fs_.DirectoryExists("F:\\"));
    EXPECT_FALSE(fs_.List("F:\\").has_value());
    EXPECT_FALSE(fs_.SetCurrentDirectory("F:\\"));
    EXPECT_FALSE(fs_.HostPath("F:\\KAVLO.EXE").has_value());
    // The medium arrives.
    WriteHostFile(dir_ / "absent" / "KAVLO.EXE", "exe");
    EXPECT_TRUE(fs_.DriveReady('F'));
    EXPECT_TRUE(fs_.FileExists("F:\\kavlo.exe"));
    EXPECT_EQ(fs_.HostPath("F:\\kavlo.exe"), (dir_ / "absent" / "KAVLO.EXE").string());
}

} // namespace
} // namespace kavlo
