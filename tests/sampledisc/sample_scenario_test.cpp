// The sample disc's own road through the headless menu: its setups install, the menu uninstalls what
// they left by the catalogue's scripts (an uninstaller found through a Start-menu shortcut, one whose
// leftovers the clean-up commands clear, one the catalogue skips), and its documents and films open.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "kavlo/menu_run.h"
#include "platform/posix/posix_platform.h"

namespace kavlo {
namespace {

using test::json;
using test::Menu;
using test::MenuResult;
using test::RunTool;
using test::TempDir;

constexpr const char* kShellFolders =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders";

std::vector<std::string> Events(const json& dump, const std::string& kind, const std::string& field) {
    std::vector<std::string> found;
    for (const json& event : dump["events"]) {
        if (event["kind"] == kind) {
            found.push_back(event[field]);
        }
    }
    return found;
}

// The disc's drive letter, from the PDF reader's setup that the menu ran from it.
std::string DriveOf(const std::vector<std::string>& started) {
    for (const std::string& line : started) {
        if (line.find(":\\Servis\\PDFREAD\\SETUP.EXE") == 1) {
            return line.substr(0, 1);
        }
    }
    return "?";
}

TEST(SampleScenario, SetupsLeaveWhatTheCatalogueScriptsRemoveAndTheMenuOpensTheDiscsMedia) {
    TempDir dir;
    const std::filesystem::path disc = test::WriteDisc(dir / "disc");
    Menu menu;
    const std::string pc = (menu.Dir() / "pc").string();
    ::setenv("KAVLO_PC", pc.c_str(), 1);
    ::setenv("KAVLO_TOOL", test::ToolPath().c_str(), 1);
    ASSERT_EQ(menu.Run(disc.string()).run.exit_code, 0); // the PC root with its folders
    for (const char* setup : {"Software/PIXPAINT", "FULL/CINDER", "FULL/MARBLE", "FULL/TRACKED"}) {
        ASSERT_EQ(std::system(("sh '" + (disc / setup / "SETUP.EXE").string() + "'").c_str()), 0) << setup;
    }
    const auto key = [&](const std::string& path, const std::string& value = "") {
        std::vector<std::string> args{"reg", "--pc", pc, "query", path};
        if (!value.empty()) {
            args.push_back(value);
        }
        return RunTool(args).exit_code == 0;
    };
    {
        PosixPlatform posix(PosixPlatformOptions{.pc_root = pc, .scan_media = false});
        FileSystem& fs = posix.fs();
        // Both versions of the version-choice game, so the menu asks which to run.
        EXPECT_TRUE(fs.FileExists("C:\\Program Files\\Marble Mayhem\\MARBLE.EXE"));
        EXPECT_TRUE(fs.FileExists("C:\\Program Files\\Marble Mayhem\\MARBLE3D.EXE"));
        // The script "?P..." finds the uninstaller and its log through the Start menu.
        const auto programs = posix.registry().ReadString(RegRoot::CurrentUser, kShellFolders, "Programs");
        ASSERT_TRUE(programs.has_value());
        const auto link =
            posix.shortcuts().ReadShortcut(*programs + "\\Pixel Paint\\Uninstall Pixel Paint.lnk");
        ASSERT_TRUE(link.has_value());
        EXPECT_EQ(link->target, "C:\\Program Files\\Pixel Paint\\UNINST.EXE");
        EXPECT_EQ(link->arguments, "/log \"C:\\Program Files\\Pixel Paint\\uninstall.log\"");
        // Started without its log, that uninstaller removes nothing.
        const auto host = fs.HostPath(link->target);
        ASSERT_TRUE(host.has_value());
        EXPECT_NE(std::system(("'" + *host + "' 2>/dev/null").c_str()), 0);
        EXPECT_TRUE(fs.FileExists("C:\\Program Files\\Pixel Paint\\PAINT.EXE"));
    }
    EXPECT_TRUE(key("HKLM\\Software\\Cinder Works\\Cinder Forge", "LastProfile"));
    EXPECT_TRUE(key("HKCU\\Software\\Cinder Works"));

    ::setenv("KAVLO_OPEN", "true", 1); // the shell's opener does nothing on the test machine
    const MenuResult r = menu.Run(disc.string(), {},
                                  // The column scrolled to Software and the readers' page: Pixel Paint,
                                  // its saved game deleted afterwards; the guide of a reader, a PDF.
                                  "move Down2\nwait 800\nmove DIBBackImage\n"
                                  "click DIBSection8\nclick DemosLabel6\nanswer yes\nclick StopImage\n"
                                  "click DIBSection10\nclick DemosLabel4\nclick ReadmeImage\n"
                                  "move Up2\nwait 3000\nmove DIBBackImage\n"
                                  // Free games: Cinder Forge, its saved game deleted afterwards.
                                  "click DIBSection2\nclick DemosLabel4\nanswer yes\nclick StopImage\n"
                                  // The Track Editor, kept once and then deleted.
                                  "click DemosLabel5\nanswer no\nclick StopImage\n"
                                  "answer yes\nclick StopImage\nwait 100\n");
    ::unsetenv("KAVLO_OPEN");
    ASSERT_EQ(r.run.exit_code, 0) << r.run.err;

    const std::vector<std::string> started = Events(r.dump, "process", "commandLine");
    EXPECT_NE(std::find(started.begin(), started.end(),
                        "C:\\Program Files\\Pixel Paint\\UNINST.EXE /log \"C:\\Program Files\\Pixel "
                        "Paint\\uninstall.log\""),
              started.end());
    for (const std::string& line : started) {
        EXPECT_EQ(line.find("Track Editor\\UNINST.EXE"), std::string::npos) << "the \"!\" script runs none";
    }
    const std::vector<std::string> questions = Events(r.dump, "messagebox", "text");
    const std::string ask =
        "Would you like to delete all files in C:\\PROGRAM FILES\\FROSTBITE TRACK EDITOR ?";
    EXPECT_EQ(std::count(questions.begin(), questions.end(), ask), 2);

    PosixPlatform posix(PosixPlatformOptions{.pc_root = pc, .scan_media = false});
    FileSystem& fs = posix.fs();
    const std::string programs =
        *posix.registry().ReadString(RegRoot::CurrentUser, kShellFolders, "Programs");
    const std::string desktop = *posix.registry().ReadString(RegRoot::CurrentUser, kShellFolders, "Desktop");
    for (const char* gone : {"C:\\Program Files\\Pixel Paint", "C:\\Program Files\\Cinder Forge",
                             "C:\\Program Files\\Frostbite Track Editor"}) {
        EXPECT_FALSE(fs.DirectoryExists(gone)) << gone;
    }
    EXPECT_FALSE(fs.DirectoryExists(programs + "\\Pixel Paint"));
    // Cinder Forge's clean-up: its program group, desktop link, INI file and registry entries; the
    // value the script does not name stays.
    EXPECT_FALSE(fs.DirectoryExists(programs + "\\Cinder Works"));
    EXPECT_FALSE(fs.FileExists(desktop + "\\Cinder Forge.lnk"));
    EXPECT_FALSE(fs.FileExists("C:\\WINDOWS\\cinder.ini"));
    EXPECT_FALSE(key("HKLM\\Software\\Cinder Works\\Cinder Forge", "LastProfile"));
    EXPECT_TRUE(key("HKLM\\Software\\Cinder Works\\Cinder Forge", "Language"));
    EXPECT_FALSE(key("HKCU\\Software\\Cinder Works"));
    EXPECT_FALSE(key("HKCU\\Software\\Northwind Games"));
    EXPECT_FALSE(key("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\FrostTrackEditor"));

    // The guide is opened where it lies on the disc, after the disc's PDF reader was installed.
    EXPECT_EQ(Events(r.dump, "shell", "file"),
              std::vector<std::string>{DriveOf(started) + ":\\Readers\\GUIDE\\GUIDE.PDF"});
    EXPECT_EQ(test::ReadHostFile(disc / "Readers" / "GUIDE" / "GUIDE.PDF").substr(0, 8), "%PDF-1.4");
    // The films are small AVI files with their frames and an index.
    const std::string film = test::ReadHostFile(disc / "MOVIES" / "FROST.AVI");
    ASSERT_GT(film.size(), 12u);
    EXPECT_EQ(film.substr(0, 4) + film.substr(8, 4), "RIFFAVI ");
    EXPECT_NE(film.find("idx1"), std::string::npos);
}

} // namespace
} // namespace kavlo
