#include "platform/posix/posix_platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

using test::TempDir;
using test::WriteHostFile;

constexpr const char* kShellFolders =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders";

TEST(DrivesIni, MappingLines) {
    const std::string ini = "[Other]\r\nD=/ignored,cdrom\r\n"
                            "[Drives]\r\n"
                            "D=/discs/one,cdrom\r\n"
                            "e:=/mnt/a,b,REMOTE\r\n" // the directory runs to the last comma
                            "F = /usb , removable\r\n"
                            "G=/plain\r\n"
                            "H=/x,floppy\r\n" // unknown type
                            "C=/not/c,fixed\r\n"
                            "AB=/x,fixed\r\n"
                            "I=,cdrom\r\n"
                            "d=/second/d,fixed\r\n";
    const std::vector<DriveMapping> drives = ParseDrivesIni(ini);
    const std::vector<std::tuple<char, std::string, DriveType>> expected = {
        {'D', "/discs/one", DriveType::CdRom},
        {'E', "/mnt/a,b", DriveType::Remote},
        {'F', "/usb", DriveType::Removable},
        {'G', "/plain", DriveType::Fixed},
    };
    ASSERT_EQ(drives.size(), expected.size());
    for (size_t i = 0; i < drives.size(); ++i) {
        EXPECT_EQ(std::tie(drives[i].letter, drives[i].host_dir, drives[i].type), expected[i]) << i;
    }
}

TEST(DrivesIni, DiscAndMediaLetters) {
    const std::vector<DriveMapping> ini = {{'D', "/d", DriveType::Fixed}, {'F', "/f", DriveType::Remote}};
    auto with_disc = AssembleDrives(ini, "/disc", {"/media/u/X"});
    EXPECT_EQ(with_disc.disc_letter, 'E'); // the first free letter from D:, media ignored
    ASSERT_EQ(with_disc.drives.size(), 3u);
    EXPECT_EQ(with_disc.drives[1].host_dir, "/disc");
    EXPECT_EQ(with_disc.drives[1].type, DriveType::CdRom);

    auto with_media = AssembleDrives(ini, std::nullopt, {"/f", "/media/u/X", "/media/u/Y"});
    EXPECT_FALSE(with_media.disc_letter.has_value());
    std::string letters;
    for (const auto& drive : with_media.drives) {
        letters += drive.letter;
    }
    EXPECT_EQ(letters, "DEFG"); // media on the free letters; /f is mapped already
    EXPECT_EQ(with_media.drives[1].host_dir, "/media/u/X");

    // Z: taken by drives.ini leaves the lower letters to the media.
    auto below_z = AssembleDrives({{'Z', "/z", DriveType::Remote}}, std::nullopt, {"/media/u/X"});
    ASSERT_EQ(below_z.drives.size(), 2u);
    EXPECT_EQ(below_z.drives[0].letter, 'D');

    std::vector<DriveMapping> all_taken;
    for (char letter = 'D'; letter <= 'Z'; ++letter) {
        all_taken.push_back({letter, std::string("/") + letter, DriveType::Fixed});
    }
    EXPECT_FALSE(AssembleDrives(all_taken, "/disc", {}).disc_letter.has_value());
    EXPECT_EQ(AssembleDrives(all_taken, std::nullopt, {"/media/u/X"}).drives.size(), all_taken.size());
}

class PosixPlatformTest : public ::testing::Test {
protected:
    PosixPlatformOptions Options() const {
        return PosixPlatformOptions{.pc_root = (dir_ / "pc").string(), .scan_media = false};
    }
    TempDir dir_;
};

TEST_F(PosixPlatformTest, NewPcRootHasFoldersAndShellFolderValues) {
    PosixPlatform pc(Options());
    ASSERT_TRUE(pc.ok()) << pc.error();
    Platform& platform = pc.platform();
    for (const char* dir : {"C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\TEMP", "C:\\Program Files\\Common Files"}) {
        EXPECT_TRUE(platform.fs.DirectoryExists(dir)) << dir;
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir_ / "pc/drive_c/WINDOWS/SYSTEM"));
    const struct {
        RegRoot root;
        const char* name;
        std::string prefix, suffix;
    } values[] = {
        {RegRoot::LocalMachine, "Common Desktop", "C:\\Documents and Settings\\All Users\\", "Desktop"},
        {RegRoot::LocalMachine, "Common Programs", "C:\\Documents and Settings\\All Users\\",
         "Start Menu\\Programs"},
        {RegRoot::CurrentUser, "Desktop", "C:\\Documents and Settings\\", "\\Desktop"},
        {RegRoot::CurrentUser, "Programs", "C:\\Documents and Settings\\", "\\Start Menu\\Programs"},
    };
    for (const auto& v : values) {
        auto path = platform.registry.ReadString(v.root, kShellFolders, v.name);
        ASSERT_TRUE(path.has_value()) << v.name;
        EXPECT_TRUE(path->starts_with(v.prefix) && path->ends_with(v.suffix)) << *path;
        EXPECT_TRUE(platform.fs.DirectoryExists(*path)) << *path;
    }
    EXPECT_EQ(platform.registry.ReadString(
                  RegRoot::LocalMachine, "\\Software\\Microsoft\\Windows\\CurrentVersion", "CommonFilesDir"),
              "C:\\Program Files\\Common Files");
    EXPECT_TRUE(std::filesystem::exists(dir_ / "pc/registry.reg"));
}

TEST_F(PosixPlatformTest, ExistingPcRootIsLeftAsItIs) {
    {
        PosixPlatform pc(Options());
        ASSERT_TRUE(pc.platform().registry.DeleteValue(RegRoot::CurrentUser, kShellFolders, "Desktop"));
    }
    PosixPlatform again(Options());
    EXPECT_TRUE(again.ok());
    EXPECT_FALSE(again.platform().registry.ReadString(RegRoot::CurrentUser, kShellFolders, "Desktop"));
}

TEST_F(PosixPlatformTest, PcRootThatCannotBeMadeIsReported) {
    WriteHostFile(dir_ / "file", "not a folder");
    PosixPlatform pc(PosixPlatformOptions{.pc_root = (dir_ / "file/pc").string(), .scan_media = false});
    EXPECT_FALSE(pc.ok());
    EXPECT_FALSE(pc.error().empty());
    EXPECT_FALSE(pc.platform().fs.FileExists("C:\\WINDOWS\\kavlo.ini"));
}

TEST_F(PosixPlatformTest, DiscBecomesACdRomDriveAndTheProgramsHome) {
    std::filesystem::create_directories(dir_ / "disc");
    WriteHostFile(dir_ / "pc/drives.ini", "[Drives]\r\nD=" + (dir_ / "data").string() + ",fixed\r\n");
    auto options = Options();
    options.disc_dir = (dir_ / "disc/").string();
    PosixPlatform pc(options);
    EXPECT_EQ(pc.disc_letter(), 'E');
    EXPECT_EQ(pc.platform().system.ProgramPath(), "E:\\KAVLO.EXE");
    EXPECT_EQ(pc.platform().fs.LogicalDrives(), (std::vector<std::string>{"C:\\", "D:\\", "E:\\"}));
    EXPECT_EQ(pc.platform().fs.GetDriveType("E:\\"), DriveType::CdRom);
    EXPECT_EQ(pc.platform().fs.HostPath("E:\\KAVLO.EXE"), (dir_ / "disc/KAVLO.EXE").string());
    EXPECT_FALSE(pc.platform().fs.DriveReady('D')); // drives.ini names a folder that is not there
}

TEST_F(PosixPlatformTest, DiscWithoutAFreeLetterIsAnError) {
    std::string ini = "[Drives]\r\n";
    for (char letter = 'D'; letter <= 'Z'; ++letter) {
        ini += std::string(1, letter) + "=/nowhere/" + letter + "\r\n";
    }
    WriteHostFile(dir_ / "pc/drives.ini", ini);
    auto options = Options();
    options.disc_dir = (dir_ / "disc").string();
    PosixPlatform pc(options);
    EXPECT_FALSE(pc.ok());
    EXPECT_NE(pc.error().find("no free drive letter"), std::string::npos) << pc.error();
    EXPECT_FALSE(pc.disc_letter().has_value());
    EXPECT_EQ(pc.platform().system.ProgramPath(), "C:\\KAVLO\\KAVLO.EXE");

    std::filesystem::create_directories(dir_ / "disc");
    const test::ToolRun run =
        test::RunTool({"catalogue", "--disc", (dir_ / "disc").string(), "--pc", (dir_ / "pc").string()});
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_NE(run.err.find("no free drive letter"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST_F(PosixPlatformTest, WithoutDiscMountedMediaJoinAndTheProgramLivesOnC) {
    std::filesystem::create_directories(dir_ / "media/user/DISC1");
    std::filesystem::create_directories(dir_ / "cdrom");
    WriteHostFile(dir_ / "media/user/file", "");
    auto options = Options();
    options.scan_media = true;
    options.media_patterns = {(dir_ / "media/*/*").string(), (dir_ / "cdrom").string(),
                              (dir_ / "nothing").string()};
    PosixPlatform pc(options);
    EXPECT_EQ(pc.platform().system.ProgramPath(), "C:\\KAVLO\\KAVLO.EXE");
    EXPECT_EQ(pc.platform().fs.LogicalDrives(), (std::vector<std::string>{"C:\\", "D:\\", "E:\\"}));
    EXPECT_EQ(pc.platform().fs.HostPath("E:\\"), (dir_ / "media/user/DISC1").string());
    EXPECT_EQ(pc.platform().fs.GetDriveType("D:\\"), DriveType::CdRom);
}

TEST_F(PosixPlatformTest, SystemInformationAsAnNtSystemGivesIt) {
    auto options = Options();
    options.fixed_time = LocalTime{2004, 5, 6, 7, 59, 30};
    PosixPlatform pc(options);
    SystemInfo& system = pc.platform().system;
    EXPECT_EQ(system.Platform(), OsPlatform::WindowsNT);
    EXPECT_EQ(system.WindowsDirectory(), "C:\\WINDOWS");
    EXPECT_EQ(system.SystemDirectory(), "C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(system.Now().hour, 7);
    EXPECT_EQ(system.Now().minute, 59);
    EXPECT_EQ(system.Screen().width, 1024);
    EXPECT_EQ(system.Screen().height, 768);
    pc.system().SetScreenProvider([] { return ScreenSize{1920, 1080}; });
    EXPECT_EQ(system.Screen().width, 1920);
    EXPECT_EQ(system.Screen().height, 1080);
    ASSERT_EQ(setenv("TMP", "/tmp", 1), 0);
    ASSERT_EQ(setenv("KAVLO_TEST_TEXT", "Žluťoučký kůň 日", 1), 0);
    const struct {
        const char* name;
        std::optional<std::string> value;
    } cases[] = {
        {"TMP", "C:\\WINDOWS\\TEMP"},
        {"temp", "C:\\WINDOWS\\TEMP"},
        {"KAVLO_TEST_TEXT", "\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2 ?"},
        {"Kavlo_Test_Text", "\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2 ?"},
        {"KAVLO_TEST_NONE", std::nullopt},
        {"KAVLO_TEST_TEXT=x", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(system.Environment(c.name), c.value) << c.name;
    }
    unsetenv("KAVLO_TEST_TEXT");
}

TEST_F(PosixPlatformTest, AdministratorMeansTheWindowsDirectoryIsWritable) {
    PosixPlatform pc(Options());
    EXPECT_TRUE(pc.platform().system.IsAdmin());
    if (geteuid() == 0) {
        GTEST_SKIP() << "running as root, which may write to a read-only Windows directory anyway";
    }
    chmod((dir_ / "pc/drive_c/WINDOWS").c_str(), 0555);
    EXPECT_FALSE(pc.platform().system.IsAdmin());
    chmod((dir_ / "pc/drive_c/WINDOWS").c_str(), 0755);
}

TEST(DefaultPcRoot, FollowsTheXdgDataHome) {
    const char* saved_xdg = std::getenv("XDG_DATA_HOME");
    const std::string saved = saved_xdg ? saved_xdg : "";
    setenv("XDG_DATA_HOME", "/data/home", 1);
    EXPECT_EQ(DefaultPcRoot(), "/data/home/kavlo/pc");
    setenv("XDG_DATA_HOME", "relative", 1); // not absolute: ignored
    const std::string fallback = std::string(std::getenv("HOME")) + "/.local/share/kavlo/pc";
    EXPECT_EQ(DefaultPcRoot(), fallback);
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(DefaultPcRoot(), fallback);
    if (saved_xdg) {
        setenv("XDG_DATA_HOME", saved.c_str(), 1);
    }
}

} // namespace
} // namespace kavlo
