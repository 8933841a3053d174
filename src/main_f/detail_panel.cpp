// The detail panel: texts, flags, buttons and hints.

#include "main_f/form1.h"

namespace kavlo {

void TForm1::SetOff() {}
void TForm1::DoFlags(int) {}
void TForm1::FlagPlayable(bool) {}
void TForm1::FlagUnPlayable(bool) {}
void TForm1::FlagCZ(bool) {}
void TForm1::Flag3D(bool) {}
void TForm1::FlagNet(bool) {}
void TForm1::ReadmeButton(bool) {}
void TForm1::WebButton(bool) {}
void TForm1::PlayButton(bool) {}
void TForm1::StopButton(bool) {}
void TForm1::FlagMouseMove(TControl&, ShiftState, int, int) {}
void TForm1::TechLabelMouseEnter(TControl&) {}
void TForm1::DateLabelMouseMove(TControl&, ShiftState, int, int) {}

} // namespace kavlo
