#include "platform/posix/posix_shortcuts.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/posix/posix_platform.h"
#include "sampledisc/lnk_writer.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

using sample::LinkContents;
using sample::WriteShellLink;
using test::TempDir;

constexpr const char* kShellFolders =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders";
// "Příšerný" in Windows-1250.
constexpr const char* kHorrible = "P\xF8\xED\x9A\x65rn\xFD";

class ShortcutsTest : public ::testing::Test {
protected:
    ShortcutsTest() {
        const auto programs =
            posix_.registry().ReadString(RegRoot::LocalMachine, kShellFolders, "Common Programs");
        EXPECT_TRUE(programs.has_value());
        games_ = programs.value_or("C:\\") + "\\Hry";
        EXPECT_TRUE(posix_.fs().CreateDir(games_));
    }

    void WriteLink(const std::string& path, const LinkContents& contents) {
        const std::optional<std::string> bytes = WriteShellLink(contents);
        ASSERT_TRUE(bytes.has_value());
        ASSERT_TRUE(posix_.fs().WriteFileAtomic(path, *bytes));
    }

    std::optional<ShortcutInfo> Read(const std::string& path) {
        return platform_.shortcuts.ReadShortcut(path);
    }

    TempDir dir_;
    PosixPlatform posix_{PosixPlatformOptions{.pc_root = (dir_ / "pc").string(), .scan_media = false}};
    Platform& platform_ = posix_.platform();
    std::string games_;
};

TEST_F(ShortcutsTest, LinkInTheStartMenuReadsBackInWindows1250) {
    const std::string target = std::string("C:\\Hry\\") + kHorrible + "\\" + kHorrible + ".exe";
    const std::string working_dir = std::string("C:\\Hry\\") + kHorrible;
    const std::string arguments = "-okno \"\x8Elu\x9Do\xE8k\xFD k\xF9\xF2\" /w 640"; // "Žluťoučký kůň"
    WriteLink(games_ + "\\" + kHorrible + ".lnk",
              {.target = target, .working_dir = working_dir, .arguments = arguments});
    WriteLink(games_ + "\\Frost.lnk", {.target = "C:\\Games\\Frost\\FROST.EXE"});

    // Asked for in another case, as the menu may spell it: "PŘÍŠERNÝ.LNK".
    const auto horrible = Read(games_ + "\\P\xD8\xCD\x8A\x45RN\xDD.LNK");
    ASSERT_TRUE(horrible.has_value());
    EXPECT_EQ(horrible->target, target);
    EXPECT_EQ(horrible->arguments, arguments);
    EXPECT_EQ(horrible->working_dir, working_dir);

    const auto frost = Read(games_ + "\\frost.lnk");
    ASSERT_TRUE(frost.has_value());
    EXPECT_EQ(frost->target, "C:\\Games\\Frost\\FROST.EXE");
    EXPECT_EQ(frost->arguments, "");
    EXPECT_EQ(frost->working_dir, "");
}

TEST_F(ShortcutsTest, RelativePathIsTakenFromTheLinksFolder) {
    ASSERT_TRUE(posix_.fs().CreateDir(games_ + "\\Odkazy"));
    WriteLink(games_ + "\\Odkazy\\Hra.lnk",
              {.relative_path = std::string("..\\..\\") + kHorrible + "\\HRA.EXE", .arguments = "-x"});
    const auto link = Read(games_ + "\\Odkazy\\Hra.lnk");
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(link->target, posix_.fs().FullPath(games_ + "\\..\\" + kHorrible + "\\HRA.EXE"));
    EXPECT_EQ(link->arguments, "-x");

    // A local path, when there is one, wins over the relative path.
    WriteLink(games_ + "\\Both.lnk", {.target = "D:\\HRA.EXE", .relative_path = "..\\Elsewhere.exe"});
    EXPECT_EQ(Read(games_ + "\\Both.lnk").value_or(ShortcutInfo{}).target, "D:\\HRA.EXE");
}

TEST_F(ShortcutsTest, WhatIsNoUsableShortcutReadsAsNothing) {
    const std::string good = WriteShellLink({.target = "C:\\Games\\Frost\\FROST.EXE",
                                             .working_dir = "C:\\Games\\Frost",
                                             .arguments = "-windowed"})
                                 .value_or("");
    ASSERT_GT(good.size(), 120u);
    // The header of a link whose flags announce nothing: no target of any kind.
    std::string no_target = good.substr(0, 76) + std::string(4, '\0');
    no_target[20] = '\x80';
    no_target[21] = no_target[22] = no_target[23] = '\0';

    const std::vector<std::pair<std::string, std::string>> files = {
        {"empty.lnk", ""},
        {"readme.lnk", "[InternetShortcut]\r\nURL=http://example.com/\r\n"},
        {"no_target.lnk", no_target},
        {"cut_in_header.lnk", good.substr(0, 40)},
        {"cut_in_link_info.lnk", good.substr(0, 100)},
        {"cut_in_strings.lnk", good.substr(0, good.size() - 10)},
    };
    for (const auto& [name, bytes] : files) {
        ASSERT_TRUE(posix_.fs().WriteFileAtomic(games_ + "\\" + name, bytes)) << name;
        EXPECT_FALSE(Read(games_ + "\\" + name).has_value()) << name;
    }
    ASSERT_TRUE(posix_.fs().CreateDir(games_ + "\\folder.lnk"));
    EXPECT_FALSE(Read(games_ + "\\folder.lnk").has_value());
    EXPECT_FALSE(Read(games_ + "\\missing.lnk").has_value());
    EXPECT_FALSE(Read("Q:\\no drive.lnk").has_value());

    ASSERT_TRUE(posix_.fs().WriteFileAtomic(games_ + "\\good.lnk", good));
    EXPECT_TRUE(Read(games_ + "\\good.lnk").has_value()); // the cuts above, not the writer, failed
}

TEST(ShellLinkWriter, RefusesWhatNoLinkCanHold) {
    EXPECT_FALSE(WriteShellLink({}).has_value());
    EXPECT_FALSE(WriteShellLink({.target = "Games\\FROST.EXE"}).has_value());
    EXPECT_FALSE(WriteShellLink({.target = "\\\\server\\share\\FROST.EXE"}).has_value());
    EXPECT_FALSE(
        WriteShellLink({.target = "C:\\FROST.EXE", .arguments = std::string(0x10000, 'a')}).has_value());
    EXPECT_TRUE(
        WriteShellLink({.target = "C:\\FROST.EXE", .arguments = std::string(0xFFFF, 'a')}).has_value());
}

} // namespace
} // namespace kavlo
