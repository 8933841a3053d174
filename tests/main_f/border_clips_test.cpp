// A border clip that cannot be opened, on a live headless window: the scheduler stops for good the
// first time it draws that clip, without a word to the user, and the menu goes on; turning the border
// off and on again afterwards shows the clips but plays none.

#include <gtest/gtest.h>

#include <span>
#include <variant>

#include "live_menu.h"
#include "skingen/resources.h"

namespace kavlo {
namespace {

using test::LiveMenu;
using test::TempDir;
using test::WriteDisc;

// The menu shown but not yet run: the test's times count from the window's start.
class BorderMenu : public LiveMenu {
public:
    explicit BorderMenu(const TempDir& dir) : LiveMenu(dir, 0) {}

    bool AnyPlaying() const {
        for (const TAnimate* animate : form.controls.Animate) {
            if (animate->Active()) {
                return true;
            }
        }
        return false;
    }
};

TEST(BorderClips, AClipThatCannotOpenStopsTheSchedulerForGoodAndSilently) {
    TempDir dir;
    WriteDisc(dir);
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
