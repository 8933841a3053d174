// The target-directory dialog on a live headless menu: a sample disc, a PC root with extra drives, and
// the reader's input played step by step while the dialog runs.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "dir/dir.h"
#include "live_menu.h"
#include "main_f/form1.h"
#include "platform/posix/posix_platform.h"
#include "sampledisc/loaded_sample.h"
#include "support/temp_dir.h"
#include "ui/headless/headless_backend.h"

namespace kavlo {
namespace {

using test::TempDir;

// The menu on a PC whose drives.ini adds E: (removable, no medium), F: (a fixed disk) and G: (a CD-ROM
// drive holding a disc); the sample disc itself is D:. Steps run one at a time whenever the program
// has nothing left to do.
class DialogMenu : public test::LiveMenu {
public:
    explicit DialogMenu(const TempDir& dir) : LiveMenu(Options(dir)), dir_(dir) {}

    static PosixPlatformOptions Options(const TempDir& dir) {
        std::filesystem::create_directories(dir / "fixed");
        std::filesystem::create_directories(dir / "cd");
        test::WriteHostFile(dir / "pc" / "drives.ini", "[Drives]\r\nE=" + (dir / "no medium").string() +
                                                           ",removable\r\nF=" + (dir / "fixed").string() +
                                                           ",fixed\r\nG=" + (dir / "cd").string() +
                                                           ",cdrom\r\n");
        return test::MenuOptions(dir, test::SharedSampleDisc());
    }

    // The current item: the first of a page, with the fields the dialog reads.
    void Item(PageKind page, std::string source_dir, int install_type = 2, std::string param = "") {
        form.state.CurrentPage = page;
        form.state.CurrentItem = 1;
        TDemos* item = form.DemosItem(page, 1);
        ASSERT_NE(item, nullptr);
        item->SourceDir = std::move(source_dir);
        item->InstallType = install_type;
        item->Param = std::move(param);
    }

    TForm3& Dialog() {
        auto* dialog = dynamic_cast<TForm3*>(app.ModalForms().back());
        EXPECT_NE(dialog, nullptr);
        return *dialog;
    }
    template <class T> T& Control(std::string_view name) { return *Dialog().Skin().Find<T>(name); }
    std::string Edit() { return Control<TEdit>("EditDir1").Text(); }

    void Wait(uint64_t ms) {
        Step([this, ms] { backend.BeginWait(ms); });
    }
    void Click(std::string name) {
        Step([this, name] {
            TControl& control = Control<TControl>(name);
            const int x = control.Left() + control.Width() / 2;
            const int y = control.Top() + control.Height() / 2;
            const WindowId window = Dialog().Window();
            backend.QueueEvent({window, MouseMoveEvent{x, y, {}}});
            backend.QueueEvent({window, MouseDownEvent{MouseButton::Left, x, y, {}}});
            backend.QueueEvent({window, MouseUpEvent{MouseButton::Left, x, y, {}}});
        });
    }
    void Key(uint16_t key, int times = 1) {
        Step([this, key, times] {
            for (int i = 0; i < times; ++i) {
                backend.QueueEvent({Dialog().Window(), KeyDownEvent{key, {}}});
            }
        });
    }
    void Type(std::string text) {
        Step([this, text] {
            for (const char ch : text) {
                backend.QueueEvent({Dialog().Window(), CharEvent{ch}});
            }
        });
    }

    // Runs the dialog with the steps queued; every step must have run when it closes.
    std::string Choose() {
        const std::string chosen = form.ChooseTargetDir();
        EXPECT_EQ(StepsLeft(), 0u);
        EXPECT_FALSE(app.Terminated());
        return chosen;
    }
    std::filesystem::path C(const std::string& rel) const { return dir_ / "pc" / "drive_c" / rel; }

private:
    const TempDir& dir_;
};

TEST(TargetDir, ProposesBelowTheTreeAndCreatesEveryMissingFolderOfATypedPath) {
    TempDir dir;
    DialogMenu menu(dir);
    std::filesystem::create_directories(menu.C("GAMES"));
    menu.Item(PageKind::Demos, "D:\\DEMOS\\Rally Demo");
    menu.Check([&] {
        TForm3& dialog = menu.Dialog();
        const WindowSpec window = *menu.backend.WindowInfo(dialog.Window());
        const WindowSpec main = *menu.backend.WindowInfo(menu.form.Window());
        EXPECT_EQ(window.left, main.left + 158);
        EXPECT_EQ(window.top, main.top + 129);
        EXPECT_EQ(window.client_width, 323);
        EXPECT_EQ(window.client_height, 199);
        EXPECT_EQ(window.title, "Directory selection");
        EXPECT_EQ(menu.Edit(), "C:\\Rally Demo");
        EXPECT_FALSE(menu.Control<TButton>("NewButton").Visible());
        EXPECT_EQ(menu.Control<TButton>("NewButton").Caption(), "New");
        EXPECT_EQ(menu.Control<TDirectoryListBox>("DirectoryListBox1").Directory(), "C:\\");
        EXPECT_EQ(menu.Control<TDriveComboBox>("DriveComboBox1").Drive(), 'c');
        // The background is the scheme-0 picture, not the black of the bare form.
        EXPECT_NE(menu.backend.Frame(dialog.Window())->Row(5)[5 * 4 + 1], 0);
    });
    // Into the tree's GAMES folder, the first below c:\ (select it, Enter opens it): the proposal follows.
    menu.Click("DirectoryListBox1");
    menu.Step([&] {
        const TDirectoryListBox& list = menu.Control<TDirectoryListBox>("DirectoryListBox1");
        int games = 0;
        while (games < static_cast<int>(list.Lines().size()) &&
               list.Lines()[static_cast<size_t>(games)].text != "GAMES") {
            ++games;
        }
        ASSERT_LT(games, static_cast<int>(list.Lines().size()));
        for (int i = list.Selected(); i < games; ++i) {
            menu.backend.QueueEvent({menu.Dialog().Window(), KeyDownEvent{vk::Down, {}}});
        }
    });
    menu.Key(vk::Return);
    menu.Check([&] { EXPECT_EQ(menu.Edit(), "C:\\GAMES\\Rally Demo"); });
    menu.Click("EditDir1");
    menu.Key(vk::Back, 10);
    menu.Type("NEW\\DEMO\\");
    menu.Answer(MbResult::Yes);
    menu.Key(vk::Return);
    EXPECT_EQ(menu.Choose(), "C:\\GAMES\\NEW\\DEMO");
    EXPECT_EQ(menu.form.ChosenDir, "C:\\GAMES\\NEW\\DEMO");
    EXPECT_TRUE(std::filesystem::is_directory(menu.C("GAMES/NEW/DEMO")));
    ASSERT_EQ(menu.Boxes().size(), 1u);
    EXPECT_EQ(menu.Boxes()[0].text, "Would you like to install this demo in C:\\GAMES\\NEW\\DEMO\\ ?");
    EXPECT_EQ(menu.Boxes()[0].buttons, MbButtons::YesNo);
}

TEST(TargetDir, AForcedDirectoryAsksByItselfAndAQuestionMarkLeavesTheDriveToTheReader) {
    TempDir dir;
    DialogMenu menu(dir);
    menu.Item(PageKind::Demos, "D:\\DEMOS\\Forced", 3, "?:\\Games\\Demo");
    menu.Answer(MbResult::No);
    menu.Check([&] {
        EXPECT_EQ(menu.Edit(), "C:\\Games\\Demo");
        EXPECT_TRUE(menu.Control<TEdit>("EditDir1").ReadOnly());
        EXPECT_FALSE(menu.Control<TDirectoryListBox>("DirectoryListBox1").Enabled());
        EXPECT_TRUE(menu.Control<TDriveComboBox>("DriveComboBox1").Enabled());
        EXPECT_TRUE(menu.Boxes().empty());
    });
    menu.Wait(99);
    menu.Check([&] { EXPECT_TRUE(menu.Boxes().empty()); });
    menu.Wait(1);
    menu.Check([&] {
        ASSERT_EQ(menu.Boxes().size(), 1u);
        EXPECT_EQ(menu.Boxes()[0].text, "Would you like to install this demo in C:\\GAMES\\DEMO ?");
        EXPECT_EQ(menu.Edit(), "C:\\Games\\Demo");
    });
    // The timer fired once: later waits ask nothing more.
    menu.Wait(500);
    menu.Click("DriveComboBox1");
    menu.Type("f");
    menu.Check([&] {
        EXPECT_EQ(menu.Boxes().size(), 1u);
        EXPECT_EQ(menu.Edit(), "F:\\Games\\Demo");
    });
    menu.Step([&] { menu.Answer(MbResult::Yes); });
    menu.Click("OKButton");
    EXPECT_EQ(menu.Choose(), "F:\\Games\\Demo");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "fixed" / "Games" / "Demo"));

    // Without "?" the drive stays C: and the dialog confirms itself.
    menu.Item(PageKind::Readers, "D:\\READERS\\X\\", 3, "C:\\Readers\\Fixed");
    menu.Answer(MbResult::Yes);
    menu.Check([&] { EXPECT_FALSE(menu.Control<TDriveComboBox>("DriveComboBox1").Enabled()); });
    menu.Wait(200);
    EXPECT_EQ(menu.Choose(), "C:\\Readers\\Fixed");
    EXPECT_TRUE(std::filesystem::is_directory(menu.C("Readers/Fixed")));
}

TEST(TargetDir, ADriveWithoutAMediumIsNotTakenAndACdRomDriveCannotBeTheTarget) {
    TempDir dir;
    DialogMenu menu(dir);
    menu.Item(PageKind::Shareware, "D:\\SHARE\\TOOLS\\");
    menu.Click("DriveComboBox1");
    menu.Type("e");
    menu.Check([&] {
        ASSERT_EQ(menu.Boxes().size(), 1u);
        EXPECT_EQ(menu.Boxes()[0].text, "Drive not ready!");
        EXPECT_EQ(menu.Control<TDriveComboBox>("DriveComboBox1").Drive(), 'c');
        EXPECT_EQ(menu.Control<TDirectoryListBox>("DirectoryListBox1").Directory(), "C:\\");
        EXPECT_EQ(menu.Dialog().Caption(), "Where do you want to install it?");
        EXPECT_EQ(menu.Edit(), "C:\\Software\\TOOLS");
    });
    menu.Type("g");
    menu.Check([&] {
        EXPECT_EQ(menu.Edit(), "G:\\Software\\TOOLS");
        EXPECT_FALSE(menu.Control<TButton>("OKButton").Enabled());
        EXPECT_FALSE(menu.Dialog().TargetAllowed());
    });
    // Enter would press OK: disabled, it asks nothing.
    menu.Click("EditDir1");
    menu.Key(vk::Return);
    menu.Click("DriveComboBox1");
    menu.Type("f");
    menu.Check([&] {
        EXPECT_TRUE(menu.Control<TButton>("OKButton").Enabled());
        EXPECT_EQ(menu.Boxes().size(), 1u);
    });
    menu.Click("CancelButton");
    EXPECT_EQ(menu.Choose(), "");
    EXPECT_EQ(menu.form.ChosenDir, "");
}

TEST(TargetDir, OnTheDriversAndAddonsPagesOkNeverAccepts) {
    TempDir dir;
    DialogMenu menu(dir);
    for (const PageKind page : {PageKind::Drivers, PageKind::Addons}) {
        menu.Item(page, "D:\\DRIVERS\\VIDEO");
        menu.Click("EditDir1");
        menu.Type("GPU");
        menu.Check([&] { EXPECT_EQ(menu.Edit(), "C:\\GPU"); });
        menu.Click("OKButton");
        menu.Check([&] { EXPECT_EQ(menu.Edit(), "C:\\"); });
        menu.Key(vk::Escape);
        EXPECT_EQ(menu.Choose(), "");
    }
    EXPECT_TRUE(menu.Boxes().empty());
    EXPECT_FALSE(std::filesystem::exists(menu.C("GPU")));
}

TEST(TargetDir, APathBeyondTwentyNewFoldersOrWithAnUncreatableLastFolderLeavesNothingBehind) {
    TempDir dir;
    DialogMenu menu(dir);
    menu.Item(PageKind::Fulls, "D:\\Full Game");
    std::string deep = "C:\\DEEP";
    for (int i = 1; i <= 20; ++i) {
        deep += "\\L" + std::to_string(i);
    }
    const std::string too_long = "C:\\ROLL\\BACK\\" + std::string(300, 'x');
    for (const std::string& path : {deep, too_long}) {
        menu.Click("EditDir1");
        menu.Key(vk::Back, 20);
        menu.Type(path);
        menu.Step([&] { menu.Answer(MbResult::Yes); });
        menu.Click("OKButton");
        menu.Check([&] {
            ASSERT_FALSE(menu.Boxes().empty());
            EXPECT_EQ(menu.Boxes().back().text, "Can''t create directory!");
            EXPECT_EQ(menu.Boxes().back().icon, MbIcon::Error);
            EXPECT_EQ(menu.Edit(), "C:\\Full Game");
        });
    }
    // Twenty new folders are still made.
    const std::string twenty = deep.substr(0, deep.rfind('\\'));
    menu.Click("EditDir1");
    menu.Key(vk::Back, 20);
    menu.Type(twenty);
    menu.Step([&] { menu.Answer(MbResult::Yes); });
    menu.Click("OKButton");
    EXPECT_EQ(menu.Choose(), twenty);
    EXPECT_EQ(menu.Boxes().size(), 5u);
    EXPECT_FALSE(std::filesystem::exists(menu.C("ROLL")));
    EXPECT_FALSE(std::filesystem::exists(
        menu.C("DEEP/L1/L2/L3/L4/L5/L6/L7/L8/L9/L10/L11/L12/L13/L14/L15/L16/L17/L18/L19/L20")));
    EXPECT_TRUE(std::filesystem::is_directory(
        menu.C("DEEP/L1/L2/L3/L4/L5/L6/L7/L8/L9/L10/L11/L12/L13/L14/L15/L16/L17/L18/L19")));
}

} // namespace
} // namespace kavlo
