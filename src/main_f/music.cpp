// Background music: two tracks from the disc in turn through the decoder plug-in.

#include "main_f/form1.h"

namespace kavlo {

void TForm1::LoadMusic() {}
void TForm1::LoadMusic2() {}
void TForm1::PlayMusic() {}
void TForm1::StopMusic() {}
void TForm1::MusicTimerTimer() {}
TForm1::MusicStatus TForm1::PlayerStatus() const {
    return {};
}

} // namespace kavlo
