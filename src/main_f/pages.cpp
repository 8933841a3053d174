// The icon column and its pages.

#include "main_f/form1.h"

namespace kavlo {

void TForm1::LoadPages() {}
void TForm1::AddPage(PageKind) {}
void TForm1::SetSlot(int, const std::string&, int, PageKind) {}
void TForm1::MainButtonClick(int) {}
void TForm1::SelectPage(PageKind) {}
void TForm1::ProcessPage() {}
void TForm1::PressIcon(int) {}
void TForm1::UnpressIcon(int) {}
void TForm1::SetOpacity(int, int) {}
void TForm1::StartColumnScroll(bool) {}
void TForm1::DIBSectionClick(int) {}
void TForm1::SectionMouseMove(int, TControl&, ShiftState, int, int) {}
void TForm1::IconLabelMouseMove(int, TControl&, ShiftState, int, int) {}
void TForm1::Up2MouseMove(TControl&, ShiftState, int, int) {}
void TForm1::Down2MouseMove(TControl&, ShiftState, int, int) {}
void TForm1::ScrollUpTimerTimer() {}
void TForm1::ScrollDownTimerTimer() {}
void TForm1::ScreenImageMouseMove(TControl&, ShiftState, int, int) {}
void TForm1::ExitSpotClick(TControl&) {}
void TForm1::SetupSpotClick(TControl&) {}
void TForm1::IndigoSpotClick(TControl&) {}

} // namespace kavlo
