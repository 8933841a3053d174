// The menu itself on a real X server: the shaped window of the framed mode appears centred, at its
// size, and shows the same pixels the headless program composes; a termination signal closes it.

#include <gtest/gtest.h>
#include <png.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

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

// The picture of a PNG file as 0xRRGGBB words, row by row; empty when it cannot be read.
std::vector<uint32_t> ReadPng(const std::string& path, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        return {};
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
        return {};
    }
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = (uint32_t{rgb[i * 3]} << 16) | (uint32_t{rgb[i * 3 + 1]} << 8) | rgb[i * 3 + 2];
    }
    return pixels;
}

TEST(MenuWindow, FramedWindowAppearsShapedCentredAndShowsTheComposedPixels) {
    test::Xvfb xvfb("1280x1024x24");
    ASSERT_TRUE(xvfb.Running()) << xvfb.Error();
    xvfb.UseForSdl();
    TempDir dir;
    std::string error;
    ASSERT_TRUE(sample::WriteSampleDisc(dir / "disc", {}, error)) << error;
    const std::vector<std::string> common{"--disc", (dir / "disc").string(), "--pc", (dir / "pc").string(),
                                          "--now",  "2026-12-08T12:00"};

    std::vector<std::string> headless = common;
    headless.insert(headless.end(),
                    {"--headless", "--screen", "1280x1024", "--screenshot", (dir / "shot.png").string()});
    const test::ToolRun composed = test::RunMenu(headless);
    ASSERT_EQ(composed.exit_code, 0) << composed.err;
    int shot_width = 0;
    int shot_height = 0;
    const std::vector<uint32_t> shot = ReadPng((dir / "shot.png").string(), shot_width, shot_height);
    ASSERT_EQ(shot_width, 818);
    ASSERT_EQ(shot_height, 742);

    // The pointer rests away from the window: under it, the picture would brighten as it does for a reader.
    test::X11Probe probe(xvfb.Display());
    ASSERT_TRUE(probe.Connected());
    probe.MoveTo(0, 0);
    const pid_t menu = test::StartMenu(common);
    const std::optional<test::SeenWindow> seen = probe.Await("Kavlo CD 12-2026 (A)");
    ASSERT_TRUE(seen) << "no menu window";
    EXPECT_EQ(seen->left, (1280 - 818) / 2);
    EXPECT_EQ(seen->top, (1024 - 742) / 2);
    EXPECT_EQ(seen->width, 818);
    EXPECT_EQ(seen->height, 742);
    EXPECT_TRUE(seen->shaped);
    EXPECT_GT(seen->shape.size(), 10u);

    // The first frame reaches the screen when the program gets to it: a loaded machine may take a while.
    size_t inside = 0;
    size_t same = 0;
    for (int i = 0; i < 100 && (inside == 0 || same != inside); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const std::vector<uint32_t> screen =
            probe.Grab({seen->left, seen->top, seen->left + 818, seen->top + 742});
        ASSERT_EQ(screen.size(), shot.size());
        inside = 0;
        same = 0;
        for (const ScreenRect& r : seen->shape) {
            for (int y = r.top; y < r.bottom; ++y) {
                for (int x = r.left; x < r.right; ++x) {
                    const size_t at = static_cast<size_t>(y) * 818 + x;
                    ++inside;
                    same += screen[at] == shot[at];
                }
            }
        }
    }
    EXPECT_GT(inside, 818u * 742u / 2);
    EXPECT_EQ(same, inside);

    const int status = test::StopMenu(menu);
    ASSERT_NE(status, -1);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// A box waits in a window of its own until the reader answers it; it never answers by itself, even
// where the desktop has no helper for SDL's boxes. A disc without its catalogue gives one at start.
TEST(MenuWindow, ABoxWaitsInAWindowOfItsOwnForTheReadersAnswer) {
    test::Xvfb xvfb("1024x768x24");
    ASSERT_TRUE(xvfb.Running()) << xvfb.Error();
    xvfb.UseForSdl();
    TempDir dir;
    std::filesystem::create_directories(dir / "disc");
    const pid_t menu = test::StartMenu({"--disc", (dir / "disc").string(), "--pc", (dir / "pc").string()});
    test::X11Probe probe(xvfb.Display());
    ASSERT_TRUE(probe.Connected());
    const std::optional<test::SeenWindow> box = probe.Await("Error");
    ASSERT_TRUE(box) << "no box window";
    EXPECT_EQ(box->left, (1024 - box->width) / 2);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    int status = 0;
    EXPECT_EQ(waitpid(menu, &status, WNOHANG), 0) << "the box did not wait";

    // Its one button sits centred at the foot of the box.
    ASSERT_TRUE(probe.Click(box->left + box->width / 2, box->top + box->height - 22));
    pid_t ended = 0;
    for (int i = 0; i < 100 && ended == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ended = waitpid(menu, &status, WNOHANG);
    }
    if (ended == 0) {
        kill(menu, SIGKILL);
        waitpid(menu, &status, 0);
    }
    ASSERT_EQ(ended, menu) << "the box's OK did not end the program";
    EXPECT_TRUE(WIFEXITED(status));
}

} // namespace
} // namespace kavlo
