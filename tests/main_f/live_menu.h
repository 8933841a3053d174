#pragma once

// The main window live in a headless application, on a PC and disc in a test's folder.

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "main_f/form1.h"
#include "platform/posix/posix_platform.h"
#include "sampledisc/loaded_sample.h"
#include "sampledisc/sample_disc.h"
#include "support/temp_dir.h"
#include "ui/headless/headless_backend.h"

namespace kavlo::test {

// The sample disc in dir/disc, where LiveMenu looks for it.
inline std::filesystem::path WriteDisc(const TempDir& dir) {
    std::string error;
    EXPECT_TRUE(sample::WriteSampleDisc(dir / "disc", {}, error)) << error;
    return dir / "disc";
}

// One sample disc shared by the tests of a program, written on first use.
inline const std::filesystem::path& SharedSampleDisc() {
    static TempDir dir;
    static const std::filesystem::path disc = WriteDisc(dir);
    return disc;
}

// The PC in dir/pc and the disc in `disc`, the clock at noon on 8 December 2026.
inline PosixPlatformOptions MenuOptions(const TempDir& dir, const std::filesystem::path& disc) {
    return PosixPlatformOptions{.pc_root = (dir / "pc").string(),
                                .disc_dir = disc.string(),
                                .scan_media = false,
                                .fixed_time = LocalTime{2026, 12, 8, 12, 0, 0}};
}

// The menu on a PC and disc (by default dir/pc and dir/disc), shown on a 1280 x 1024 screen and then run
// for `settle_ms` of virtual time. Steps queued with Step run one at a time whenever the program has
// nothing left to do, as the headless script's lines do.
class LiveMenu {
public:
    explicit LiveMenu(const TempDir& dir, uint64_t settle_ms = 100)
        : LiveMenu(MenuOptions(dir, dir / "disc"), settle_ms) {}
    explicit LiveMenu(PosixPlatformOptions options, uint64_t settle_ms = 100)
        : posix_(std::move(options)), fonts_(posix_.fonts()),
          form(posix_.platform(), app, fonts_, FormStream(), {}) {
        posix_.system().SetScreenProvider([this] { return backend.DisplaySize(); });
        backend.SetScriptSource([this] {
            if (steps_.empty()) {
                return false;
            }
            std::function<void()> step = std::move(steps_.front());
            steps_.pop_front();
            step();
            return true;
        });
        form.FormCreate();
        form.Show();
        if (settle_ms > 0) {
            backend.RunFor(app, settle_ms);
        }
    }

    std::optional<WindowSpec> Window() const { return backend.WindowInfo(form.Window()); }
    TControl& Control(std::string_view name) { return *form.Skin().Find<TControl>(name); }

    void Step(std::function<void()> step) { steps_.push_back(std::move(step)); }
    // A step that checks and lets the program go on at once.
    void Check(std::function<void()> check) {
        Step([this, check = std::move(check)] {
            check();
            backend.BeginWait(0);
        });
    }
    size_t StepsLeft() const { return steps_.size(); }
    void Answer(MbResult answer) { backend.QueuedBoxes().QueueAnswer(answer); }
    std::vector<MessageBoxRecord> Boxes() { return backend.QueuedBoxes().Shown(); }

    PosixPlatform posix_;
    HeadlessBackend backend{ScreenSize{1280, 1024}};
    Application app{backend};
    FontResolver fonts_;

private:
    std::deque<std::function<void()>> steps_;

public:
    TForm1 form;
};

} // namespace kavlo::test
