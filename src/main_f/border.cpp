// The framed window's border clips: the start delay and the random scheduler.

#include <random>

#include "main_f/form1.h"
#include "skin/controls/animate.h"
#include "skingen/resources.h"

namespace kavlo {

namespace {

// The clip each of Animate1 ... Animate10 plays; each is drawn for its place in the frame.
constexpr std::array<const char*, 10> kBorderClips = {"AVI4", "AVI5", "AVI1",  "AVI3", "AVI7",
                                                      "AVI6", "AVI9", "AVI10", "AVI2", "AVI8"};

} // namespace

void TForm1::StartTimerTimer() {
    controls.AnimationTimer->Timer().SetEnabled(true);
    controls.StartTimer->Timer().SetEnabled(false);
    if (state.Music) {
        LoadMusic();
        PlayMusic();
    }
}

// Every tick may start one of the ten clips; a clip that cannot start ends the border's life for
// this run without a word to the user: only the start timer enables the scheduler again.
void TForm1::AnimationTimerTimer() {
    TimerHandle& timer = controls.AnimationTimer->Timer();
    if (!state.Enhanced) {
        timer.SetEnabled(false);
        return;
    }
    const int r = std::uniform_int_distribution<int>(0, 14)(random);
    if (r >= static_cast<int>(controls.Animate.size())) {
        return;
    }
    if (!controls.Animate[static_cast<size_t>(r)]->SetActive(true).empty()) {
        timer.SetEnabled(false);
    }
}

void TForm1::AnimateStart(int number) {
    controls.Animate[static_cast<size_t>(number - 1)]->SetVisible(true);
}

void TForm1::ShowBorderClips() {
    for (size_t i = 0; i < controls.Animate.size(); ++i) {
        TAnimate& animate = *controls.Animate[i];
        if (state.Enhanced) {
            // A source given before (a test's) stays.
            if (!animate.HasClipSource()) {
                animate.SetClipSource(Resource);
            }
            // A clip that cannot be opened shows nothing; the scheduler finds out when it asks it to play.
            animate.SetClipName(kBorderClips[i]);
        }
        animate.SetVisible(state.Enhanced);
    }
}

} // namespace kavlo
