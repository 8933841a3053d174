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
    // Sizes that claim more than the file holds: the link info, and an extra data block.
    std::string huge_link_info = good;
    huge_link_info.replace(76, 4, "\xF0\xFF\xFF\x7F");
    const std::string long_extra_block =
        good.substr(0, good.size() - 4) + std::string("\x00\x10\x00\x00\x02\x00\x00\xA0", 8) + "data";

    const std::vector<std::pair<std::string, std::string>> files = {
        {"empty.lnk", ""},
        {"readme.lnk", "[InternetShortcut]\r\nURL=http://example.com/\r\n"},
        {"no_target.lnk", no_target},
        {"cut_in_header.lnk", good.substr(0, 40)},
        {"cut_in_link_info.lnk", good.substr(0, 100)},
        {"cut_in_strings.lnk", good.substr(0, good.size() - 10)},
        {"huge_link_info.lnk", huge_link_info},
        {"long_extra_block.lnk", long_extra_block},
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

TEST(ShellLinkParts, EveryAnnouncedPartMustLieInsideTheFile) {
    const std::string good = WriteShellLink({.target = "C:\\HRA.EXE", .arguments = "-x"}).value_or("");
    ASSERT_FALSE(good.empty());
    const std::string body = good.substr(0, good.size() - 4); // without the terminal block
    // A bare header announcing these parts; each case appends what follows it.
    auto header = [&](uint8_t flags) {
        return good.substr(0, 20) + std::string{char(flags), 0, 0, 0} + good.substr(24, 52);
    };
    const std::string end(4, '\0');
    std::string huge_link_info = good;
    huge_link_info.replace(76, 4, "\xF0\xFF\xFF\x7F");

    const std::vector<std::pair<std::string, bool>> cases = {
        {good, true},
        {body, true}, // the terminal block is liblnk's to miss
        {body + std::string("\x0C\0\0\0\x02\0\0\xA0", 8) + "abcd" + end, true},
        {body + std::string("\x20\0\0\0\x02\0\0\xA0", 8) + "abcd" + end, false},
        {huge_link_info, false},
        {good.substr(0, good.size() - 6), false},
        {good.substr(0, 75), false},
        {header(0x01) + std::string("\x04\0", 2) + "item", true},         // item list of 4 bytes
        {header(0x01) + std::string("\x05\0", 2) + "item", false},        // of 5
        {header(0x20) + std::string("\x04\0", 2) + "-abc", true},         // arguments of 4 ANSI bytes
        {header(0x20 | 0x80) + std::string("\x04\0", 2) + "-abc", false}, // of 4 UTF-16 units
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(ShellLinkPartsFit(cases[i].first), cases[i].second) << i;
    }
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
