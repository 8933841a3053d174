#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>

#include "dialog_fixture.h"
#include "platform/posix/posix_platform.h"
#include "support/temp_dir.h"

namespace kavlo::test {
namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kGrey = 0x808080;

// Runs the dialog until it has been painted, looks at it, and closes it.
void ShowPainted(DialogFixture& ui, DialogForm& dialog, const std::function<void()>& look) {
    ui.WhenShown([&](DialogForm&) {
        ui.backend.BeginWait(20);
        auto id = std::make_shared<std::optional<TimerId>>();
        *id = ui.app.SetTimer(10, [&ui, &dialog, &look, id] {
            ui.app.KillTimer(id->value());
            look();
            dialog.SetModalResult(mrOk);
        });
    });
    dialog.ShowModal();
}

// The colours inside a rectangle of the dialog's window, each counted once.
std::set<uint32_t> Colours(DialogFixture& ui, DialogForm& dialog, const Rect& r) {
    std::set<uint32_t> colours;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            colours.insert(ui.Pixel(dialog, x, y));
        }
    }
    return colours;
}

TEST(DialogWidgets, TheDefaultButtonIsFramedInBlackAndADisabledCaptionIsEngraved) {
    DialogFixture ui;
    DialogForm dialog(ui.Services());
    dialog.SetClientSize(200, 80);
    TEdit& edit = dialog.Add<TEdit>("Edit", ui.fonts);
    edit.SetBounds(10, 45, 100, 22);
    TButton& ok = dialog.Add<TButton>("OKButton", ui.fonts);
    ok.SetBounds(10, 10, 75, 25);
    ok.SetCaption("&OK");
    ok.SetDefault(true);
    TButton& off = dialog.Add<TButton>("OffButton", ui.fonts);
    off.SetBounds(100, 10, 75, 25);
    off.SetCaption("Off");
    off.SetEnabled(false);
    ShowPainted(ui, dialog, [&] {
        // The focus is on the edit box, so the default button carries the frame: black, then the bevel.
        EXPECT_TRUE(edit.Focused());
        EXPECT_EQ(ui.Pixel(dialog, 10, 22), kBlack);
        EXPECT_EQ(ui.Pixel(dialog, 11, 22), kWhite);
        EXPECT_EQ(ui.Pixel(dialog, 84, 22), kBlack);
        // The other button's outer bevel is its light edge, and its dark edge at the bottom right.
        EXPECT_EQ(ui.Pixel(dialog, 100, 22), kWhite);
        EXPECT_EQ(ui.Pixel(dialog, 174, 22), 0x404040u);
        const std::set<uint32_t> enabled = Colours(ui, dialog, {14, 14, 81, 31});
        const std::set<uint32_t> disabled = Colours(ui, dialog, {104, 14, 171, 31});
        EXPECT_TRUE(enabled.count(kBlack));
        EXPECT_FALSE(disabled.count(kBlack));
        EXPECT_TRUE(disabled.count(kGrey));
        EXPECT_TRUE(disabled.count(kWhite));
    });
    // Alt+O presses the button its caption underlines, Escape without a cancel button does nothing, and
    // Tab past the disabled button back to the edit box, where Enter presses the default one.
    int clicks = 0;
    ok.handlers.OnClick = [&](TControl&) { ++clicks; };
    ui.WhenShown([&](DialogForm& shown) {
        ShiftState alt;
        alt.alt = true;
        ui.Key(shown, 'O', alt);
        ui.Key(shown, vk::Escape); // no cancel button: nothing
        ui.Key(shown, vk::Tab);
        ui.Key(shown, vk::Return);
        ui.backend.BeginWait(10);
        auto id = std::make_shared<std::optional<TimerId>>();
        *id = ui.app.SetTimer(5, [&ui, &shown, id] {
            ui.app.KillTimer(id->value());
            shown.SetModalResult(mrOk);
        });
    });
    dialog.ShowModal();
    EXPECT_EQ(clicks, 2);
}

TEST(DialogWidgets, TheFolderListShowsThePathOpenAndTheSubfoldersInWindowsOrder) {
    TempDir dir;
    PosixPlatform posix(PosixPlatformOptions{.pc_root = (dir / "pc").string(), .scan_media = false});
    const std::filesystem::path c = dir / "pc" / "drive_c";
    std::filesystem::create_directories(c / "GAMES" / "Rally" / "Saves");
    std::filesystem::create_directories(c / "GAMES" / "arcade");
    std::filesystem::create_directories(c / "GAMES" / "Zed");
    WriteHostFile(c / "GAMES" / "readme.txt", "not a folder");
    DialogFixture ui;
    TDirectoryListBox list(ui.fonts, posix.platform().fs);
    list.SetBounds(0, 0, 177, 97);
    int changes = 0;
    list.OnChange = [&](TDirectoryListBox&) { ++changes; };

    ASSERT_TRUE(list.SetDirectory("c:\\games\\rally\\"));
    EXPECT_EQ(list.Directory(), "C:\\games\\rally");
    std::vector<std::pair<std::string, int>> lines;
    for (const TDirectoryListBox::Line& line : list.Lines()) {
        lines.emplace_back(line.text, line.level);
    }
    EXPECT_EQ(lines, (std::vector<std::pair<std::string, int>>{
                         {"c:\\", 0}, {"games", 1}, {"rally", 2}, {"Saves", 3}}));
    EXPECT_EQ(list.Selected(), 2);

    ASSERT_TRUE(list.SetDirectory("C:\\GAMES"));
    ASSERT_EQ(list.Lines().size(), 5u);
    EXPECT_EQ(list.Lines()[2].text, "arcade");
    EXPECT_EQ(list.Lines()[3].text, "Rally");
    EXPECT_EQ(list.Lines()[4].text, "Zed");
    EXPECT_EQ(list.Lines()[4].path, "C:\\GAMES\\Zed");
    EXPECT_EQ(changes, 2);
    // A folder that is not there leaves the list as it was.
    EXPECT_FALSE(list.SetDirectory("C:\\GAMES\\Missing"));
    EXPECT_EQ(list.Directory(), "C:\\GAMES");
    EXPECT_EQ(changes, 2);
    // From the current line two down to "Rally"; Enter opens it.
    list.KeyDown(vk::Down, {});
    list.KeyDown(vk::Down, {});
    EXPECT_TRUE(list.KeyDown(vk::Return, {}));
    EXPECT_EQ(list.Directory(), "C:\\GAMES\\Rally");
    // On the current directory Enter is left to the dialog.
    EXPECT_FALSE(list.KeyDown(vk::Return, {}));
}

} // namespace
} // namespace kavlo::test
