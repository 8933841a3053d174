// The menu's modal dialogs: the version choice and the target directory of an install.

#include "dir/choice_dialog.h"
#include "main_f/form1.h"

namespace kavlo {

int TForm1::ChoiceDialog(std::string_view question, const std::vector<std::string>& choices) {
    return ShowChoiceDialog(SkinServices{app_, fonts_}, ApplicationTitle, question, choices);
}

} // namespace kavlo
