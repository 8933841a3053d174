// The menu's modal dialogs: the version choice and the target directory of an install.

#include "dir/choice_dialog.h"
#include "dir/dir.h"
#include "main_f/form1.h"

namespace kavlo {

int TForm1::ChoiceDialog(std::string_view question, const std::vector<std::string>& choices) {
    return ShowChoiceDialog(SkinServices{app_, fonts_}, ApplicationTitle, question, choices);
}

// The window may have been dragged since it was placed: dialogs open relative to where it is now.
ScreenRect TForm1::WindowPlace() const {
    const std::optional<WindowSpec> window = app_.GetBackend().WindowInfo(window_);
    return window ? ScreenRect{window->left, window->top, window->left + window->client_width,
                               window->top + window->client_height}
                  : bounds_;
}

// What both install dialogs learn of the window, the disc and the current item.
void TForm1::FillDialogContext(TargetDirContext& context) {
    const ScreenRect place = WindowPlace();
    context.main_left = place.left;
    context.main_top = place.top;
    context.colour_scheme = state.ColourScheme;
    context.language = catalogue.header.Version;
    context.page_kind = static_cast<int>(state.CurrentPage);
    if (const TDemos* item = DemosItem(state.CurrentPage, state.CurrentItem)) {
        context.SourceDir = item->SourceDir;
        context.Param = item->Param;
        context.InstallType = item->InstallType;
    }
    context.LoadString = [this](int number) { return LoadString(number); };
    context.LoadSpecial = [this](int number, std::string_view arg) { return LoadSpecial(number, arg); };
    context.box_caption = ApplicationTitle;
    context.fs = &platform_.fs;
    context.boxes = &boxes_;
}

std::string TForm1::ChooseTargetDir() {
    TargetDirContext context;
    FillDialogContext(context);
    TForm3 dialog(SkinServices{app_, fonts_}, std::move(context));
    ChosenDir = dialog.Execute();
    return ChosenDir;
}

} // namespace kavlo
