// The small picture, its cache and the enlarged view.

#include "main_f/form1.h"

namespace kavlo {

uint8_t TForm1::LoadSmallPicture(std::string) {
    return {};
}
bool TForm1::ImageLoaded(const std::string&) const {
    return {};
}
bool TForm1::NextPicture(const std::string&) const {
    return {};
}
bool TForm1::PrevPicture(const std::string&) const {
    return {};
}
void TForm1::SetControlOpacity(TDIBControl&, int) {}
void TForm1::DIBImage4Click(TControl&) {}
void TForm1::RightArrowClick(TControl&) {}
void TForm1::LeftArrowClick(TControl&) {}
void TForm1::DIBImage1MouseDown(TControl&, MouseButton, ShiftState, int, int) {}
void TForm1::DIBTimer3Timer() {}
void TForm1::DIBTimer4Timer() {}

} // namespace kavlo
