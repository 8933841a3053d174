#pragma once

// The main window live in a headless application, on a PC and disc in a test's folder.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

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

// The menu on dir/pc with its disc in dir/disc, the clock at noon on 8 December 2026, shown on a
// 1280 x 1024 screen and then run for `settle_ms` of virtual time.
class LiveMenu {
public:
    explicit LiveMenu(const TempDir& dir, uint64_t settle_ms = 100)
        : posix_(PosixPlatformOptions{.pc_root = (dir / "pc").string(),
                                      .disc_dir = (dir / "disc").string(),
                                      .scan_media = false,
                                      .fixed_time = LocalTime{2026, 12, 8, 12, 0, 0}}),
          fonts_(posix_.fonts()), form(posix_.platform(), app, fonts_, FormStream(), {}) {
        posix_.system().SetScreenProvider([this] { return backend.DisplaySize(); });
        form.FormCreate();
        form.Show();
        if (settle_ms > 0) {
            backend.RunFor(app, settle_ms);
        }
    }

    std::optional<WindowSpec> Window() const { return backend.WindowInfo(form.Window()); }
    TControl& Control(std::string_view name) { return *form.Skin().Find<TControl>(name); }

    PosixPlatform posix_;
    HeadlessBackend backend{ScreenSize{1280, 1024}};
    Application app{backend};
    FontResolver fonts_;
    TForm1 form;
};

} // namespace kavlo::test
