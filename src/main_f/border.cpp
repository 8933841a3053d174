// The framed window's border clips: the start delay and the random scheduler.

#include "main_f/form1.h"

namespace kavlo {

void TForm1::StartTimerTimer() {}
void TForm1::AnimationTimerTimer() {}
void TForm1::AnimateStart(int) {}

void TForm1::ShowBorderClips() {
    for (TAnimate* animate : controls.Animate) {
        animate->SetVisible(state.Enhanced);
    }
}

} // namespace kavlo
