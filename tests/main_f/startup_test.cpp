// The main window's start-up on real PC roots and discs: where the disc is found, what is read
// from the PC, what is written to kavlo.ini, and the boxes a user sees.

#include <gtest/gtest.h>

#include <filesystem>

#include "main_f/form1.h"
#include "platform/codepage.h"
#include "platform/posix/posix_platform.h"
#include "sampledisc/loaded_sample.h"
#include "sampledisc/sample_disc.h"
#include "support/temp_dir.h"
#include "ui/headless/headless_backend.h"

namespace kavlo {
namespace {

using test::TempDir;
using test::WriteHostFile;

// The platform's own services, with the answers of the version and administrator queries
// replaceable: this machine runs the tests as whatever user it has.
class ChosenSystem : public SystemInfo {
public:
    explicit ChosenSystem(SystemInfo& real) : real_(real) {}
    OsPlatform Platform() const override { return platform; }
    std::string WindowsDirectory() const override { return real_.WindowsDirectory(); }
    std::string SystemDirectory() const override { return real_.SystemDirectory(); }
    std::optional<std::string> Environment(std::string_view name) const override {
        return real_.Environment(name);
    }
    bool IsAdmin() const override { return admin; }
    LocalTime Now() const override { return real_.Now(); }
    std::string ProgramPath() const override { return real_.ProgramPath(); }
    ScreenSize Screen() const override { return real_.Screen(); }

    OsPlatform platform = OsPlatform::WindowsNT;
    bool admin = true;

private:
    SystemInfo& real_;
};

class Startup {
public:
    Startup(const TempDir& dir, std::optional<std::string> disc, LocalTime time = {2026, 12, 8, 12, 0, 0},
            std::vector<std::string> args = {})
        : posix_(PosixPlatformOptions{.pc_root = (dir / "pc").string(),
                                      .disc_dir = std::move(disc),
                                      .scan_media = false,
                                      .fixed_time = time}),
          system_(posix_.system()), platform_{posix_.fs(),    posix_.registry(),  system_,
                                              posix_.fonts(), posix_.processes(), posix_.shortcuts(),
                                              posix_.unrar(), posix_.events(),    posix_.libraries()},
          fonts_(posix_.fonts()), form(platform_, app_, fonts_, test::FormStream(), std::move(args)) {}

    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const MessageBoxRecord& box : boxes.Shown()) {
            texts.push_back(ToUtf8(box.text));
        }
        return texts;
    }

    PosixPlatform posix_;
    ChosenSystem system_;
    Platform platform_;
    HeadlessBackend backend_;
    Application app_{backend_};
    QueuedMessageBoxes& boxes = backend_.QueuedBoxes();
    FontResolver fonts_;
    TForm1 form;
};

void WriteSampleDisc(const std::filesystem::path& where) {
    std::string error;
    ASSERT_TRUE(sample::WriteSampleDisc(where, {}, error)) << error;
}

// One sample disc for the tests that only read it.
std::string SampleDisc() {
    static TempDir dir;
    static const bool written = [] {
        std::string error;
        return sample::WriteSampleDisc(dir / "disc", {}, error);
    }();
    EXPECT_TRUE(written);
    return (dir / "disc").string();
}

TEST(Startup, DiscOnItsOwnDriveIsTakenAndTheSessionSetUp) {
    TempDir dir;
    Startup s(dir, SampleDisc());
    s.form.FormCreate();

    EXPECT_EQ(s.form.state.DiscDrive, "D:");
    EXPECT_EQ(s.form.state.DiscDir, "D:\\KAVLO\\");
    EXPECT_TRUE(s.boxes.Shown().empty());
    EXPECT_TRUE(s.posix_.fonts().FindFace("Square721 AT").has_value());
    EXPECT_EQ(s.posix_.fonts().BroadcastCount(), 1);
    EXPECT_EQ(s.form.SettingsFile->ReadInteger("Main", "Language", 0), 1);
    EXPECT_EQ(s.posix_.fs().CurrentDirectory(), "D:\\");
    EXPECT_TRUE(s.form.state.Enhanced);
    EXPECT_FALSE(s.form.state.Slow);
    EXPECT_TRUE(s.form.state.Music);

    s.form.FormShow();
    EXPECT_FALSE(s.form.TerminateRequested());
    EXPECT_EQ(s.form.Caption, "Kavlo CD 12-2026 (A)");
    EXPECT_EQ(s.form.ApplicationTitle, "Kavlo CD 12-2026 (A)");
    EXPECT_EQ(s.form.controls.CDNumberLabel->Caption(), "1226");
    EXPECT_EQ(s.form.catalogue.header.Demos, 18);
    EXPECT_EQ(s.form.SettingsFile->ReadString("Main", "1226", ""), "KAVLO_1226A");

    s.form.FormDestroy();
    EXPECT_FALSE(s.posix_.fonts().FindFace("Square721 AT").has_value());
    EXPECT_EQ(s.posix_.fonts().BroadcastCount(), 2);
}

TEST(Startup, StartedFromTheHardDiskSearchesTheDrivesForACompleteDisc) {
    TempDir dir;
    // D: has the program but no catalogue (another magazine's disc); E: is ours.
    WriteHostFile(dir / "other" / "KAVLO.EXE", "x");
    WriteSampleDisc(dir / "ours");
    WriteHostFile(dir / "pc" / "drives.ini", "[Drives]\r\nD=" + (dir / "other").string() +
                                                 ",cdrom\r\nE=" + (dir / "ours").string() + ",cdrom\r\n");
    Startup s(dir, std::nullopt);
    ASSERT_EQ(s.posix_.system().ProgramPath().substr(0, 2), "C:");
    s.form.FormCreate();
    EXPECT_EQ(s.form.state.DiscDrive, "E:");
    EXPECT_EQ(s.form.state.DiscDir, "E:\\KAVLO\\");
    EXPECT_TRUE(s.boxes.Shown().empty());
}

TEST(Startup, NoDiscAnywhereReportsItThenTheMissingCatalogueAndEnds) {
    TempDir dir;
    Startup s(dir, std::nullopt);
    s.form.FormCreate();
    EXPECT_TRUE(s.form.TerminateRequested());
    EXPECT_EQ(s.form.state.DiscDir, "");
    EXPECT_EQ(s.form.SettingsFile, nullptr); // creation stopped before the settings file
    s.form.FormShow();                       // still runs once before the quit takes effect
    EXPECT_EQ(s.BoxTexts(), (std::vector<std::string>{"There is no KAVLO CD/DVD in any drive...",
                                                      "Where is my KAVLOXP.INI?????"}));
    EXPECT_EQ(s.boxes.Shown()[0].icon, MbIcon::Error);
    s.form.FormDestroy();
}

TEST(Startup, MissingCatalogueOnTheProgramsOwnDriveIsReportedNotSearched) {
    TempDir dir;
    WriteHostFile(dir / "disc" / "KAVLO.EXE", "x");
    Startup s(dir, (dir / "disc").string());
    s.form.FormCreate();
    EXPECT_EQ(s.form.state.DiscDrive, "D:");
    EXPECT_FALSE(s.form.TerminateRequested());
    s.form.FormShow();
    EXPECT_TRUE(s.form.TerminateRequested());
    EXPECT_EQ(s.BoxTexts(), (std::vector<std::string>{"Where is my KAVLOXP.INI?????"}));
}

TEST(Startup, AdministratorWarningOnlyOnTheNtFamily) {
    struct Case {
        OsPlatform platform;
        bool admin;
        size_t boxes;
    };
    for (const Case& c : {Case{OsPlatform::WindowsNT, false, 1}, Case{OsPlatform::WindowsNT, true, 0},
                          Case{OsPlatform::Windows9x, false, 0}}) {
        TempDir dir;
        Startup s(dir, SampleDisc());
        s.system_.platform = c.platform;
        s.system_.admin = c.admin;
        s.form.FormCreate();
        ASSERT_EQ(s.boxes.Shown().size(), c.boxes);
        if (c.boxes == 1) {
            EXPECT_EQ(s.BoxTexts()[0], "Nemáte administrátorská práva - většina dem nepůjde nainstalovat!");
            EXPECT_EQ(s.boxes.Shown()[0].icon, MbIcon::Warning);
        }
        EXPECT_EQ(s.form.state.OsName, c.platform == OsPlatform::WindowsNT ? "Windows NT" : "Windows 95");
    }
}

TEST(Startup, SystemFoldersComeFromTheRegistryWithTheirFallbacks) {
    TempDir dir;
    Startup s(dir, SampleDisc());
    Registry& reg = s.posix_.registry();
    const std::string folders = "\\Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders";
    reg.WriteString(RegRoot::LocalMachine, folders, "Common Desktop", "");
    reg.WriteString(RegRoot::LocalMachine, folders, "Desktop", "C:\\Shared Desktop");
    reg.WriteString(RegRoot::LocalMachine, folders, "Common Programs", "C:\\All\\Programs\\");
    reg.DeleteValue(RegRoot::CurrentUser, folders, "Programs");
    reg.DeleteValue(RegRoot::CurrentUser, folders, "Desktop");
    s.form.FormCreate();

    const MenuState& st = s.form.state;
    EXPECT_EQ(st.WindowsDir, "C:\\WINDOWS\\");
    EXPECT_EQ(st.SystemDir, "C:\\WINDOWS\\SYSTEM\\");
    EXPECT_EQ(st.ProgramFilesDir, "C:\\Program Files\\");
    EXPECT_EQ(st.TempDir, "C:\\WINDOWS\\TEMP\\");
    EXPECT_EQ(st.CommonDesktopDir, "C:\\Shared Desktop\\");
    EXPECT_EQ(st.CommonProgramsDir, "C:\\All\\Programs\\");
    EXPECT_EQ(st.UserProgramsDir, "C:\\WINDOWS\\Start Menu\\Programs\\");
    EXPECT_EQ(st.UserDesktopDir, "C:\\WINDOWS\\Desktop\\");
    EXPECT_EQ(st.CommonFilesDir, "C:\\Program Files\\Common Files\\");
}

TEST(Startup, ColourSchemeFollowsTheHourOfTheFirstShow) {
    struct Case {
        int hour, minute, scheme;
    };
    for (const Case& c : {Case{7, 59, 1}, Case{8, 0, 0}, Case{19, 59, 0}, Case{20, 0, 1}, Case{0, 0, 1}}) {
        TempDir dir;
        Startup s(dir, SampleDisc(), LocalTime{2026, 12, 8, c.hour, c.minute, 0});
        s.form.FormCreate();
        s.form.FormShow();
        EXPECT_EQ(s.form.state.ColourScheme, c.scheme) << c.hour << ":" << c.minute;
    }
}

TEST(Startup, SwitchesAreReadFromKavloIniAndAReadOnlyFileIsNoObstacle) {
    TempDir dir;
    const auto ini = dir / "pc" / "drive_c" / "WINDOWS" / "kavlo.ini";
    {
        Startup first(dir, SampleDisc()); // makes the PC root
    }
    WriteHostFile(ini, "[Main]\r\nEnhanced=0\r\nSlow=1\r\nMusic=$0\r\nLanguage=7\r\n");
    std::filesystem::permissions(ini, std::filesystem::perms::owner_read);
    std::filesystem::permissions(ini.parent_path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);

    Startup s(dir, SampleDisc(), LocalTime{2026, 12, 8, 12, 0, 0}, {"T"});
    s.form.FormCreate();
    std::filesystem::permissions(ini.parent_path(), std::filesystem::perms::owner_all);
    EXPECT_FALSE(s.form.state.Enhanced);
    EXPECT_TRUE(s.form.state.Slow);
    EXPECT_FALSE(s.form.state.Music);
    EXPECT_TRUE(s.form.state.InstallTest);
    if (geteuid() != 0) { // root writes through any permission
        EXPECT_EQ(s.form.SettingsFile->ReadInteger("Main", "Language", 0), 7);
    }
}

} // namespace
} // namespace kavlo
