// How the window answers the pointer: lit action buttons and their help lines, the corner spots, the
// small picture's fades and the quick-run buttons.

#include "main_f/form1.h"

namespace kavlo {

void TForm1::ActionCoverMouseMove(TControl&, ShiftState, int, int) {}
void TForm1::SpotMouseMove(TControl&, ShiftState, int, int) {}
void TForm1::DIBImage4MouseEnter(TControl&) {}
void TForm1::DIBImage4MouseLeave(TControl&) {}
void TForm1::DIBImage4MouseMove(TControl&, ShiftState, int, int) {}
void TForm1::PlayMouseEnter(int) {}
void TForm1::PlayMouseLeave(int) {}
void TForm1::DIBTimer1Timer() {}
void TForm1::DIBTimer2Timer() {}

} // namespace kavlo
