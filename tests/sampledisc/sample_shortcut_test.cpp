// Setups of items that the menu finds through a start-menu or desktop shortcut must leave that
// shortcut, pointing where they installed, and their uninstallers must take it away again.

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/posix/posix_platform.h"
#include "sampledisc/sample_disc.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

using test::RunTool;
using test::TempDir;

constexpr const char* kShellFolders =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders";

PosixPlatformOptions PcOnly(const TempDir& dir) {
    return PosixPlatformOptions{.pc_root = (dir / "pc").string(), .scan_media = false};
}

TEST(SampleShortcut, ASetupLeavesAStartMenuLinkToItsProgramAndTheUninstallerRemovesIt) {
    TempDir dir;
    std::string error;
    ASSERT_TRUE(sample::WriteSampleDisc(dir / "disc", {0}, error)) << error;
    // A new PC root, as the menu makes it before it runs a setup.
    PosixPlatform posix(PcOnly(dir));
    ASSERT_TRUE(posix.ok()) << posix.error();
    const std::string env = "KAVLO_PC='" + (dir / "pc").string() + "' KAVLO_TOOL='" + test::ToolPath() + "' ";
    ASSERT_EQ(
        std::system(
            (env + "sh '" + (dir / "disc" / "Software" / "NETMETER" / "SETUP.EXE").string() + "'").c_str()),
        0);

    const std::optional<std::string> programs =
        posix.registry().ReadString(RegRoot::CurrentUser, kShellFolders, "Programs");
    ASSERT_TRUE(programs.has_value());
    const std::string group = *programs + "\\Net Meter";
    const std::optional<ShortcutInfo> link = posix.shortcuts().ReadShortcut(group + "\\Net Meter.lnk");
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(link->target, "C:\\Program Files\\Net Meter\\NETMETER.EXE");
    EXPECT_EQ(link->working_dir, "C:\\Program Files\\Net Meter");
    EXPECT_EQ(link->arguments, "");
    EXPECT_TRUE(posix.fs().FileExists(link->target));

    const auto uninstaller = posix.fs().HostPath("C:\\Program Files\\Net Meter\\UNINST.EXE");
    ASSERT_TRUE(uninstaller.has_value());
    ASSERT_EQ(std::system((env + "'" + *uninstaller + "'").c_str()), 0);
    EXPECT_FALSE(posix.fs().FileExists(group + "\\Net Meter.lnk"));
    EXPECT_FALSE(posix.fs().DirectoryExists(group)) << "the program group goes with its link";
    EXPECT_TRUE(posix.fs().DirectoryExists(*programs));
}

TEST(SampleShortcut, TheToolWritesTextsInTheLinksCodePageAndFailsOnAMissingDrive) {
    TempDir dir;
    const std::string pc = (dir / "pc").string();
    const auto run = RunTool({"shortcut", "--pc", pc, "<Desktop>\\Hry\\Kůň.lnk", "C:\\Hry\\Kůň\\KŮŇ.EXE",
                              "--args", "-okno \"žluť\"", "--dir", "C:\\Hry\\Kůň"});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    PosixPlatform posix(PcOnly(dir));
    const std::optional<std::string> desktop =
        posix.registry().ReadString(RegRoot::CurrentUser, kShellFolders, "Desktop");
    ASSERT_TRUE(desktop.has_value());
    const std::optional<ShortcutInfo> link =
        posix.shortcuts().ReadShortcut(*desktop + "\\Hry\\K\xf9\xf2.lnk");
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(link->target, "C:\\Hry\\K\xf9\xf2\\K\xd9\xd2.EXE");
    EXPECT_EQ(link->arguments, "-okno \"\x9elu\x9d\"");
    EXPECT_EQ(link->working_dir, "C:\\Hry\\K\xf9\xf2");

    const auto missing = RunTool({"shortcut", "--pc", pc, "Q:\\Hry\\Hra.lnk", "C:\\Hry\\HRA.EXE"});
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_NE(missing.err.find("cannot write Q:\\Hry\\Hra.lnk"), std::string::npos) << missing.err;
}

} // namespace
} // namespace kavlo
