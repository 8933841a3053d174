// The menu on a real X server waits for a setup it started from a row's play button: the setup runs to
// its end, and the menu, still pumping its window's messages, uses next to no processor meanwhile.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "support/run_tool.h"
#include "support/temp_dir.h"
#include "support/xvfb.h"
#include "ui_sdl/x11_probe.h"

namespace kavlo {
namespace {

using test::TempDir;
using test::WriteHostFile;

namespace stdfs = std::filesystem;

// User plus system time of a process so far, in clock ticks (fields 14 and 15 of /proc/PID/stat).
long CpuTicks(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long utime = 0;
    long stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) {
            utime = std::stol(field);
        } else if (i == 15) {
            stime = std::stol(field);
        }
    }
    return utime + stime;
}

bool AwaitFile(const stdfs::path& host, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!stdfs::exists(host) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return stdfs::exists(host);
}

TEST(LaunchWait, MenuWaitingForASetupStaysUnderOnePercentOfACore) {
    test::Xvfb xvfb("1280x1024x24");
    ASSERT_TRUE(xvfb.Running()) << xvfb.Error();
    xvfb.UseForSdl();
    TempDir dir;
    // A disc tool run from the disc and waited for: it marks its start, works for five seconds and
    // marks its end.
    const stdfs::path disc = dir / "disc";
    WriteHostFile(
        disc / "KAVLO" / "kavloxp.ini",
        "[Main]\r\nVersion=0\r\nCD=1226\r\nDemos=1\r\n[Demo1]\r\nName=Patient\r\nFirm=F\r\n"
        "InstallType=0\r\nInstallDir=PATIENT\r\nGameName=SETUP.EXE\r\nTestName=C:\\PATIENT.CFG\r\n");
    const stdfs::path setup = disc / "DEMOS" / "PATIENT" / "SETUP.EXE";
    test::WriteHostScript(setup, "touch \"$KAVLO_PC/started\"\nsleep 5\ntouch \"$KAVLO_PC/ended\"\n");
    const stdfs::path pc = dir / "pc";
    WriteHostFile(pc / "drive_c" / "PATIENT.CFG", "cfg");
    // A Windows folder the user may write to: no warning about missing rights waits at start.
    stdfs::create_directories(pc / "drive_c" / "WINDOWS");
    const std::vector<std::string> common{"--disc",    disc.string(), "--pc",
                                          pc.string(), "--now",       "2026-12-08T12:00"};

    // Where the row's play button lies in the window, as the headless menu lays it out.
    std::vector<std::string> headless = common;
    headless.insert(headless.end(),
                    {"--headless", "--screen", "1280x1024", "--dump-state", (dir / "layout.json").string()});
    const test::ToolRun layout = test::RunMenu(headless);
    ASSERT_EQ(layout.exit_code, 0) << layout.err;
    const nlohmann::json dump = nlohmann::json::parse(test::ReadHostFile(dir / "layout.json"));
    const nlohmann::json& container = dump["components"]["DIBContainer1"];
    const nlohmann::json& play = dump["components"]["Play1"];
    ASSERT_TRUE(play["visible"].get<bool>());
    const int play_x = container["left"].get<int>() + play["left"].get<int>() + play["width"].get<int>() / 2;
    const int play_y = container["top"].get<int>() + play["top"].get<int>() + play["height"].get<int>() / 2;

    const pid_t menu = test::StartMenu(common);
    test::X11Probe probe(xvfb.Display());
    ASSERT_TRUE(probe.Connected());
    const std::optional<test::SeenWindow> seen = probe.Await(dump["window"]["title"].get<std::string>());
    ASSERT_TRUE(seen) << "no menu window";
    // The window takes input once its first frame is up; click until the setup starts.
    for (int i = 0; i < 20 && !stdfs::exists(pc / "started"); ++i) {
        ASSERT_TRUE(probe.Click(seen->left + play_x, seen->top + play_y));
        AwaitFile(pc / "started", std::chrono::seconds(1));
    }
    ASSERT_TRUE(stdfs::exists(pc / "started"));

    const auto begin = std::chrono::steady_clock::now();
    const long ticks_before = CpuTicks(menu);
    std::this_thread::sleep_for(std::chrono::milliseconds(4000));
    const long ticks_after = CpuTicks(menu);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    EXPECT_FALSE(stdfs::exists(pc / "ended")) << "the setup ended before the measurement did";
    const double share = static_cast<double>(ticks_after - ticks_before) / sysconf(_SC_CLK_TCK) / seconds;
    std::printf("menu CPU while waiting for a setup: %.2f %% of a core\n", share * 100);
    EXPECT_LT(share, 0.01);

    // The wait ends with the setup, and the menu is still there to be closed.
    EXPECT_TRUE(AwaitFile(pc / "ended", std::chrono::seconds(10)));
    const int status = test::StopMenu(menu);
    ASSERT_NE(status, -1);
    EXPECT_TRUE(WIFEXITED(status));
}

} // namespace
} // namespace kavlo
