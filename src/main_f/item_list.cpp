// The item list and the ways of moving through it.

#include "main_f/form1.h"

namespace kavlo {

int TForm1::AssignTempNumber(PageKind) const {
    return {};
}
std::vector<std::string> TForm1::AssignTempNamesList(PageKind) const {
    return {};
}
int TForm1::FindPosition(char) const {
    return {};
}
void TForm1::FillList() {}
void TForm1::ClearList() {}
void TForm1::HighLight(int) {}
void TForm1::Bold() {}
void TForm1::Unbold() {}
void TForm1::HideQuickBars() {}
void TForm1::SelectRow(int) {}
void TForm1::ScrollListDown() {}
void TForm1::ScrollListUp() {}
void TForm1::Down1Click(TControl&) {}
void TForm1::Up1Click(TControl&) {}
void TForm1::CheckBounds() {}
void TForm1::JumpToItem() {}
void TForm1::MoveArrows(TControl&, int, int) {}
void TForm1::DemosLabelClick(int) {}
void TForm1::FormKeyDown(uint16_t, ShiftState) {}
void TForm1::FormMouseWheelUp(ShiftState, int, int) {}
void TForm1::FormMouseWheelDown(ShiftState, int, int) {}
void TForm1::Up1MouseMove(TControl&, ShiftState, int, int) {}
void TForm1::Down1MouseMove(TControl&, ShiftState, int, int) {}
void TForm1::PlayClick(int) {}

} // namespace kavlo
