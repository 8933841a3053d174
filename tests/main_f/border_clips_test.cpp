// A border clip that cannot be opened, on a live headless window: the scheduler stops for good the
// first time it draws that clip, without a word to the user, and the menu goes on; turning the border
// off and on again afterwards shows the clips but plays none.

#include <gtest/gtest.h>

#include <span>
#include <variant>

#include "main_f/form1.h"
#include "platform/posix/posix_platform.h"
#include "sampledisc/sample_disc.h"
#include "skingen/resources.h"
#include "support/temp_dir.h"
#include "ui/headless/headless_backend.h"

namespace kavlo {
namespace {

using test::TempDir;

class BorderMenu {
public:
    explicit BorderMenu(const TempDir& dir)
        : posix_(PosixPlatformOptions{.pc_root = (dir / "pc").string(),
                                      .disc_dir = (dir / "disc").string(),
                                      .scan_media = false,
                                      .fixed_time = LocalTime{2026, 12, 8, 12, 0, 0}}),
          fonts_(posix_.fonts()), form(posix_.platform(), app, fonts_, Stream(), {}) {
        posix_.system().SetScreenProvider([this] { return backend.DisplaySize(); });
        form.FormCreate();
        form.Show();
    }

    static std::string_view Stream() {
        const std::span<const uint8_t> stream = Resource("TFORM1");
        return {reinterpret_cast<const char*>(stream.data()), stream.size()};
    }

    bool AnyPlaying() const {
        for (const TAnimate* animate : form.controls.Animate) {
            if (animate->Active()) {
                return true;
            }
        }
        return false;
    }

    PosixPlatform posix_;
    HeadlessBackend backend{ScreenSize{1280, 1024}};
    Application app{backend};
    FontResolver fonts_;
    TForm1 form;
};

TEST(BorderClips, AClipThatCannotOpenStopsTheSchedulerForGoodAndSilently) {
    TempDir dir;
    std::string error;
    ASSERT_TRUE(sample::WriteSampleDisc(dir / "disc", {}, error)) << error;
    BorderMenu menu(dir);
    TForm1& form = menu.form;
    // With seed 7 the scheduler's first tick (5.3 s) starts Animate2, its second Animate4: AVI3 is
    // made to break, cut after its first 40 bytes.
    form.random.seed(7);
    TAnimate& broken = *form.controls.Animate[3];
    broken.SetClipSource([](std::string_view name) {
        const std::span<const uint8_t> clip = Resource(name);
        return name == "AVI3" ? clip.first(std::min<size_t>(clip.size(), 40)) : clip;
    });
    form.SwitchMode();
    EXPECT_FALSE(broken.Open()) << "the mode switch's open fails quietly";
    EXPECT_TRUE(broken.Visible());
    TimerHandle& scheduler = form.controls.AnimationTimer->Timer();

    menu.backend.RunFor(menu.app, 5450);
    EXPECT_TRUE(scheduler.Enabled());
    EXPECT_TRUE(form.controls.Animate[1]->Active());
    menu.backend.RunFor(menu.app, 200);
    EXPECT_FALSE(scheduler.Enabled()) << "Animate4 could not start";
    EXPECT_FALSE(broken.Active());

    menu.backend.RunFor(menu.app, 60000);
    EXPECT_FALSE(scheduler.Enabled());
    EXPECT_FALSE(menu.AnyPlaying());
    EXPECT_EQ(form.controls.Animate[1]->Frame(), 15) << "the clip that had started played to its end";
    for (const LoggedEvent& event : menu.posix_.platform().events.Events()) {
        EXPECT_FALSE(std::holds_alternative<LoggedMessageBox>(event));
    }
    EXPECT_FALSE(form.TerminateRequested());

    // The border off and on again: the clips show (the working ones on their first frame), none plays.
    form.state.Enhanced = false;
    form.SwitchMode();
    form.state.Enhanced = true;
    form.SwitchMode();
    menu.backend.RunFor(menu.app, 10000);
    EXPECT_FALSE(scheduler.Enabled());
    EXPECT_FALSE(menu.AnyPlaying());
    EXPECT_TRUE(form.controls.Animate[1]->Visible());
    EXPECT_EQ(form.controls.Animate[1]->Frame(), 1);
}

} // namespace
} // namespace kavlo
