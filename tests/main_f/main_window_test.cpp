// The main window in a headless application: switching modes back and forth on a live window, the
// focus events' hold on the music poll, "Reload" picking up an edited catalogue, and closing.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "live_menu.h"
#include "support/run_tool.h"

namespace kavlo {
namespace {

using test::LiveMenu;
using test::TempDir;
using test::WriteDisc;

TEST(MainWindow, ModeSwitchesBackAndForthOnTheShownWindow) {
    TempDir dir;
    WriteDisc(dir);
    LiveMenu menu(dir);
    ASSERT_TRUE(menu.Window());
    EXPECT_EQ(menu.Window()->client_width, 818);
    EXPECT_FALSE(menu.Window()->shape.empty());

    menu.form.state.Enhanced = false;
    menu.form.SwitchMode();
    menu.backend.RunFor(menu.app, 50);
    std::optional<WindowSpec> simple = menu.Window();
    EXPECT_EQ(simple->client_width, 638);
    EXPECT_EQ(simple->client_height, 482);
    EXPECT_EQ(simple->left, 321);
    EXPECT_EQ(simple->top, 271);
    EXPECT_TRUE(simple->shape.empty());
    // What the window shows is the container at its corner: the composed surface shrank with it.
    EXPECT_EQ(menu.form.Skin().ClientWidth(), 638);
    EXPECT_EQ(menu.form.controls.DIBContainer1->Left(), 0);

    menu.form.state.Enhanced = true;
    menu.form.SwitchMode();
    std::optional<WindowSpec> framed = menu.Window();
    EXPECT_EQ(framed->client_width, 818);
    EXPECT_EQ(framed->client_height, 742);
    EXPECT_EQ(framed->left, 231);
    EXPECT_FALSE(framed->shape.empty());
    for (TAnimate* animate : menu.form.controls.Animate) {
        EXPECT_TRUE(animate->Visible());
    }
}

TEST(MainWindow, LosingTheFocusHoldsTheMusicPollAndRegainingItRestartsIt) {
    TempDir dir;
    WriteDisc(dir);
    LiveMenu menu(dir);
    TimerHandle& poll = menu.form.controls.MusicTimer->Timer();
    menu.backend.QueueEvent({menu.form.Window(), FocusLostEvent{}});
    menu.backend.RunFor(menu.app, 10);
    EXPECT_FALSE(poll.Enabled());
    menu.backend.QueueEvent({menu.form.Window(), FocusGainedEvent{}});
    menu.backend.RunFor(menu.app, 10);
    EXPECT_TRUE(poll.Enabled());
    EXPECT_EQ(poll.Interval(), 5000u);
}

TEST(MainWindow, ReloadReadsTheEditedCatalogue) {
    TempDir dir;
    const std::filesystem::path disc = WriteDisc(dir);
    const std::string catalogue = (disc / "KAVLO" / "kavloxp.ini").string();
    ASSERT_EQ(test::RunTool({"ini", catalogue, "set", "Main", "Debug", "1"}).exit_code, 0);
    LiveMenu menu(dir);
    ASSERT_TRUE(menu.Control("DebugLabel1").Visible());
    EXPECT_EQ(menu.form.Caption, "Kavlo CD 12-2026 (A)");

    ASSERT_EQ(test::RunTool({"ini", catalogue, "set", "Main", "CD", "0107"}).exit_code, 0);
    ASSERT_EQ(test::RunTool({"ini", catalogue, "set", "Main", "Redarer", "0"}).exit_code, 0);
    // The catalogue reader trusts what it read for a moment before it looks at the file again.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    TControl& reload = menu.Control("DebugLabel1");
    const int x = reload.Left() + reload.Width() / 2;
    const int y = reload.Top() + reload.Height() / 2;
    menu.backend.QueueEvent({menu.form.Window(), MouseMoveEvent{x, y, {}}});
    menu.backend.QueueEvent({menu.form.Window(), MouseDownEvent{MouseButton::Left, x, y, {}}});
    menu.backend.QueueEvent({menu.form.Window(), MouseUpEvent{MouseButton::Left, x, y, {}}});
    menu.backend.RunFor(menu.app, 50);
    EXPECT_EQ(menu.form.Caption, "Kavlo CD 01-2007 (A)");
    EXPECT_EQ(menu.Window()->title, "Kavlo CD 01-2007 (A)");
    EXPECT_FALSE(menu.Control("DIBImage3").Visible());
}

TEST(MainWindow, ClosingTheWindowEndsTheProgramAndGivesTheFontsBack) {
    TempDir dir;
    WriteDisc(dir);
    LiveMenu menu(dir);
    const size_t registered = menu.posix_.fonts().Families().size();
    EXPECT_GT(registered, 0u);
    menu.backend.QueueEvent({menu.form.Window(), CloseEvent{}});
    menu.backend.RunFor(menu.app, 10);
    EXPECT_TRUE(menu.app.Terminated());
    EXPECT_EQ(menu.app.ExitCode(), 0);
    menu.form.FormDestroy();
    EXPECT_TRUE(menu.posix_.fonts().Families().empty());
}

} // namespace
} // namespace kavlo
