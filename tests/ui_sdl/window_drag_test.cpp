// The caption-less menu window on a real X server follows the pointer when the reader presses on its
// frame and drags, and stays where it was let go.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "sampledisc/sample_disc.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"
#include "support/xvfb.h"
#include "ui_sdl/x11_probe.h"

namespace kavlo {
namespace {

using test::TempDir;

bool InShape(const test::SeenWindow& window, int x, int y) {
    for (const ScreenRect& r : window.shape) {
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
            return true;
        }
    }
    return false;
}

TEST(WindowDrag, PressOnTheFrameAndDragMovesTheWindowWithThePointer) {
    test::Xvfb xvfb("1280x1024x24");
    ASSERT_TRUE(xvfb.Running()) << xvfb.Error();
    xvfb.UseForSdl();
    TempDir dir;
    std::string error;
    ASSERT_TRUE(sample::WriteSampleDisc(dir / "disc", {}, error)) << error;
    const pid_t menu = test::StartMenu(
        {"--disc", (dir / "disc").string(), "--pc", (dir / "pc").string(), "--now", "2026-12-08T12:00"});
    test::X11Probe probe(xvfb.Display());
    ASSERT_TRUE(probe.Connected());
    const std::string title = "Kavlo CD 12-2026 (A)";
    const std::optional<test::SeenWindow> before = probe.Await(title);
    ASSERT_TRUE(before) << "no menu window";
    // The frame's left edge between two border clips: only the frame picture lies there.
    const int grab_x = 60;
    const int grab_y = 380;
    ASSERT_TRUE(InShape(*before, grab_x, grab_y));
    // The menu takes input once it has shown its first frame; a loaded machine may take a while.
    std::this_thread::sleep_for(std::chrono::seconds(1));

    const int dx = 100;
    const int dy = -60;
    ASSERT_TRUE(probe.Press(before->left + grab_x, before->top + grab_y));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    for (int step = 1; step <= 10; ++step) {
        probe.MoveTo(before->left + grab_x + dx * step / 10, before->top + grab_y + dy * step / 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    probe.Release();

    std::optional<test::SeenWindow> after;
    for (int i = 0; i < 100; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        after = probe.Find(title);
        if (after && after->left == before->left + dx && after->top == before->top + dy) {
            break;
        }
    }
    ASSERT_TRUE(after);
    EXPECT_EQ(after->left, before->left + dx);
    EXPECT_EQ(after->top, before->top + dy);
    EXPECT_EQ(after->width, 818);
    EXPECT_TRUE(after->shaped);

    // Let go, the pointer moves on alone.
    probe.MoveTo(before->left + grab_x + dx + 150, before->top + grab_y + dy + 80);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::optional<test::SeenWindow> later = probe.Find(title);
    ASSERT_TRUE(later);
    EXPECT_EQ(later->left, after->left);
    EXPECT_EQ(later->top, after->top);

    const int status = test::StopMenu(menu);
    ASSERT_NE(status, -1);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
} // namespace kavlo
