// The extraction dialog of an install, shown for the current item into the chosen directory.

#include "main_f/form1.h"
#include "unpack/unpack.h"

namespace kavlo {

UnpackOutcome TForm1::UnpackChosenDir() {
    UnpackContext context;
    const ScreenRect place = WindowPlace();
    context.main_left = place.left;
    context.main_top = place.top;
    context.colour_scheme = state.ColourScheme;
    context.language = catalogue.header.Version;
    context.page_kind = static_cast<int>(state.CurrentPage);
    context.item_number = state.CurrentItem;
    if (const TDemos* item = DemosItem(state.CurrentPage, state.CurrentItem)) {
        context.Name = item->Name;
        context.SourceDir = item->SourceDir;
        context.InstallName = item->InstallName;
        context.Param = item->Param;
        context.InstallType = item->InstallType;
    }
    context.chosen_dir = ChosenDir;
    context.LoadString = [this](int number) { return LoadString(number); };
    context.LoadSpecial = [this](int number, std::string_view arg) { return LoadSpecial(number, arg); };
    context.DeleteQuestion = [this](std::string_view dir) { DeleteQuestion(dir); };
    context.box_caption = ApplicationTitle;
    context.fs = &platform_.fs;
    context.boxes = &boxes_;
    context.catalogue = catalogue.CatalogueFile.get();
    context.unrar = &platform_.unrar;
    const UnpackOutcome outcome = UnpackArchive(SkinServices{app_, fonts_}, std::move(context));
    if (!outcome.complete) {
        ChosenDir.clear();
    }
    return outcome;
}

} // namespace kavlo
