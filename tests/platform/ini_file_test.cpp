#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/posix/posix_file_system.h"
#include "platform/profile.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

using namespace std::chrono_literals;
using test::ReadHostFile;
using test::TempDir;
using test::WriteHostFile;

namespace stdfs = std::filesystem;

// Drive C: in a temporary folder with its Windows directory.
class IniFileTest : public ::testing::Test {
protected:
    IniFileTest() { stdfs::create_directories(dir_ / "c" / "WINDOWS"); }

    std::filesystem::path Host(const std::string& rel) const { return dir_ / "c" / rel; }
    IniFile Open(ProfileCache& cache, const std::string& path) {
        return IniFile(fs_, cache, path, "C:\\WINDOWS\\");
    }

    // Another program rewrites the file; the time is moved on so that even a file of the same
    // size shows the change on coarse clocks.
    void WriteBehindOurBack(const std::string& rel, const std::string& bytes) {
        const auto path = Host(rel);
        const auto old_time =
            stdfs::exists(path) ? stdfs::last_write_time(path) : stdfs::file_time_type::clock::now();
        WriteHostFile(path, bytes);
        stdfs::last_write_time(path, old_time + 2s);
    }

    TempDir dir_;
    PosixFileSystem fs_{(dir_ / "c").string(), {}};
    ProfileCache cache_{0ms};
};

TEST_F(IniFileTest, PlainNameLivesInTheWindowsDirectory) {
    auto ini = Open(cache_, "kavlo.ini");
    EXPECT_EQ(ini.Path(), "C:\\WINDOWS\\kavlo.ini");
    EXPECT_EQ(IniFile(fs_, cache_, "kavlo.ini", "C:\\WINDOWS").Path(), "C:\\WINDOWS\\kavlo.ini");
    EXPECT_EQ(Open(cache_, "C:\\other.ini").Path(), "C:\\other.ini");

    EXPECT_EQ(ini.ReadString("Main", "Language", "none"), "none");
    EXPECT_FALSE(stdfs::exists(Host("WINDOWS/kavlo.ini"))) << "reading creates nothing";
    ASSERT_TRUE(ini.WriteInteger("Main", "Language", 1));
    EXPECT_EQ(ReadHostFile(Host("WINDOWS/kavlo.ini")), "[Main]\r\nLanguage=1\r\n");
}

TEST_F(IniFileTest, TypedReads) {
    WriteHostFile(Host("WINDOWS/t.ini"),
                  "[S]\nhex=$1F\njunk=7x\nempty=\nquoted=\"12\"\nzero=0\ntwo=2\nnovalue\n");
    const auto ini = Open(cache_, "t.ini");
    const std::vector<std::tuple<std::string, int32_t, int32_t>> integers = {
        {"hex", 5, 31},    {"junk", 5, 5},      {"empty", 5, 5},
        {"quoted", 5, 12}, {"missing", -3, -3}, {"novalue", 9, 9},
    };
    for (const auto& [key, def, expected] : integers) {
        EXPECT_EQ(ini.ReadInteger("S", key, def), expected) << key;
    }
    EXPECT_FALSE(ini.ReadBool("S", "zero", true));
    EXPECT_TRUE(ini.ReadBool("S", "two", false));
    EXPECT_TRUE(ini.ReadBool("S", "junk", true));
    EXPECT_FALSE(ini.ReadBool("S", "junk", false));
    EXPECT_TRUE(ini.ValueExists("s", "EMPTY"));
    EXPECT_FALSE(ini.ValueExists("S", "novalue"));
    EXPECT_TRUE(ini.SectionExists("s"));
    EXPECT_EQ(ini.ReadSection("S").size(), 6u);
}

TEST_F(IniFileTest, WritesKeepTheRestOfTheFile) {
    WriteHostFile(Host("WINDOWS/kavlo.ini"),
                  "; settings\n[Main]\nEnhanced=1\n\n[CD0206]\nDemo=C:\\Games\\Demo\n");
    auto ini = Open(cache_, "KAVLO.INI");
    ASSERT_TRUE(ini.WriteBool("main", "Music", false));
    ASSERT_TRUE(ini.WriteString("CD0307", "Game", "D:\\Game"));
    ASSERT_TRUE(ini.DeleteKey("CD0206", "Demo"));
    EXPECT_TRUE(ini.DeleteKey("CD0206", "Demo")) << "nothing to delete is no failure";
    EXPECT_EQ(
        ReadHostFile(Host("WINDOWS/kavlo.ini")),
        "; settings\r\n[Main]\r\nEnhanced=1\r\nMusic=0\r\n\r\n[CD0206]\r\n[CD0307]\r\nGame=D:\\Game\r\n");
    ASSERT_TRUE(ini.EraseSection("cd0206"));
    EXPECT_TRUE(ini.EraseSection("cd0206"));
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Main", "CD0307"}));
    EXPECT_FALSE(ini.WriteString("Main", "a=b", "c")) << "a key that would not read back";
}

TEST_F(IniFileTest, MissingFolderFailsAndCreatesNothing) {
    auto ini = Open(cache_, "C:\\NoSuchDir\\x.ini");
    EXPECT_FALSE(ini.WriteString("S", "k", "v"));
    EXPECT_EQ(ini.ReadString("S", "k", "def"), "def");
    EXPECT_FALSE(stdfs::exists(Host("NoSuchDir")));
}

TEST_F(IniFileTest, FailedWriteLeavesFileAndCacheAsTheyWere) {
    auto ini = Open(cache_, "kavlo.ini");
    ASSERT_TRUE(ini.WriteString("Main", "Enhanced", "1"));
    const std::string before = ReadHostFile(Host("WINDOWS/kavlo.ini"));
    stdfs::permissions(Host("WINDOWS/kavlo.ini"), stdfs::perms::all, stdfs::perm_options::remove);
    stdfs::permissions(Host("WINDOWS/kavlo.ini"), stdfs::perms::owner_read, stdfs::perm_options::add);

    EXPECT_FALSE(ini.WriteString("Main", "Enhanced", "0"));
    EXPECT_FALSE(ini.WriteString("Main", "Music", "1"));
    EXPECT_FALSE(ini.DeleteKey("Main", "Enhanced"));
    EXPECT_FALSE(ini.EraseSection("Main"));
    EXPECT_EQ(ini.ReadString("Main", "Enhanced", ""), "1");
    EXPECT_FALSE(ini.ValueExists("Main", "Music"));
    EXPECT_EQ(ReadHostFile(Host("WINDOWS/kavlo.ini")), before);
    EXPECT_EQ(std::distance(stdfs::directory_iterator(Host("WINDOWS")), {}), 1) << "no temporary left";
}

TEST_F(IniFileTest, OneCacheSharesEveryWriteAtOnce) {
    // Even a cache that trusts its files for an hour shows its own writes through every IniFile.
    ProfileCache slow(1h);
    auto a = Open(slow, "kavlo.ini");
    const auto b = Open(slow, "c:\\windows\\KAVLO.INI");
    EXPECT_EQ(b.ReadString("Main", "x", "def"), "def");
    ASSERT_TRUE(a.WriteString("Main", "x", "1"));
    EXPECT_EQ(b.ReadString("Main", "x", "def"), "1");
}

TEST_F(IniFileTest, SeesAnotherWritersChange) {
    WriteHostFile(Host("WINDOWS/kavlo.ini"), "[Main]\nx=1\n");
    const auto ini = Open(cache_, "kavlo.ini");
    EXPECT_EQ(ini.ReadString("Main", "x", ""), "1");
    WriteBehindOurBack("WINDOWS/kavlo.ini", "[Main]\nx=2\n"); // same size
    EXPECT_EQ(ini.ReadString("Main", "x", ""), "2");
    stdfs::remove(Host("WINDOWS/kavlo.ini"));
    EXPECT_EQ(ini.ReadString("Main", "x", "gone"), "gone");

    // With the default interval the change shows once the interval has passed.
    ProfileCache usual;
    const auto other = Open(usual, "t.ini");
    EXPECT_EQ(other.ReadString("S", "k", "none"), "none");
    WriteBehindOurBack("WINDOWS/t.ini", "[S]\nk=v\n");
    std::this_thread::sleep_for(ProfileCache::kDefaultRecheck + 5ms);
    EXPECT_EQ(other.ReadString("S", "k", "none"), "v");
}

TEST_F(IniFileTest, WriteNeverLosesAnotherWritersChange) {
    ProfileCache slow(1h);
    auto ini = Open(slow, "kavlo.ini");
    ASSERT_TRUE(ini.WriteString("Main", "ours", "1"));
    WriteBehindOurBack("WINDOWS/kavlo.ini", "[Main]\r\nours=1\r\ntheirs=2\r\n");
    ASSERT_TRUE(ini.WriteString("Main", "more", "3"));
    EXPECT_EQ(ReadHostFile(Host("WINDOWS/kavlo.ini")), "[Main]\r\nours=1\r\ntheirs=2\r\nmore=3\r\n");
}

// The real file system with reads that fail, as for a file locked by another program.
class UnreadableFiles : public PosixFileSystem {
public:
    using PosixFileSystem::PosixFileSystem;
    std::optional<std::string> ReadFile(std::string_view) const override { return std::nullopt; }
};

TEST_F(IniFileTest, FileThatCannotBeReadIsNotOverwritten) {
    WriteHostFile(Host("WINDOWS/kavlo.ini"), "[Main]\nprecious=1\n");
    UnreadableFiles locked((dir_ / "c").string(), {});
    IniFile ini(locked, cache_, "kavlo.ini", "C:\\WINDOWS");
    EXPECT_EQ(ini.ReadString("Main", "precious", "def"), "def");
    EXPECT_FALSE(ini.WriteString("Main", "x", "1"));
    EXPECT_FALSE(ini.EraseSection("Main"));
    EXPECT_EQ(ReadHostFile(Host("WINDOWS/kavlo.ini")), "[Main]\nprecious=1\n");
}

} // namespace
} // namespace kavlo

namespace kavlo {
namespace {

// A value written again as it stands, or deletions of keys that are not there, leave the file as it
// was (the same file, not a rewritten copy), as Windows leaves it; several keys go in one rewrite.
TEST_F(IniFileTest, UnchangedWritesLeaveTheFileAloneAndKeysGoTogether) {
    const std::string text =
        "[CD0206]\r\nGAME=C:\\GAMES\\X\r\nGAME_=X.EXE,,,\r\nGAME__=\"C:\\X\\U.EXE\"\r\nOTHER=1\r\n";
    WriteHostFile(Host("WINDOWS/kavlo.ini"), text);
    ProfileCache cache;
    IniFile ini = Open(cache, "kavlo.ini");
    auto stamp = [&] { return stdfs::last_write_time(Host("WINDOWS/kavlo.ini")); };
    const auto before = stamp();
    std::this_thread::sleep_for(20ms);
    EXPECT_TRUE(ini.WriteString("CD0206", "game", "C:\\GAMES\\X"));
    EXPECT_TRUE(ini.WriteString("CD0206", "GAME__", "\"C:\\X\\U.EXE\""));
    EXPECT_TRUE(ini.DeleteKeys("CD0206", {"NONE", "NONE_"}));
    EXPECT_EQ(stamp(), before);
    EXPECT_EQ(ReadHostFile(Host("WINDOWS/kavlo.ini")), text);

    EXPECT_TRUE(ini.DeleteKeys("CD0206", {"GAME", "GAME_", "GAME__"}));
    EXPECT_EQ(ReadHostFile(Host("WINDOWS/kavlo.ini")), "[CD0206]\r\nOTHER=1\r\n");
}

} // namespace
} // namespace kavlo
