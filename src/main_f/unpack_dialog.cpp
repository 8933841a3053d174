// The extraction dialog of an install, shown for the current item into the chosen directory.

#include "main_f/form1.h"
#include "unpack/unpack.h"

namespace kavlo {

UnpackOutcome TForm1::UnpackChosenDir() {
    UnpackContext context;
    FillDialogContext(context);
    context.item_number = state.CurrentItem;
    if (const TDemos* item = DemosItem(state.CurrentPage, state.CurrentItem)) {
        context.Name = item->Name;
        context.InstallName = item->InstallName;
    }
    context.chosen_dir = ChosenDir;
    context.DeleteQuestion = [this](std::string_view dir) { DeleteQuestion(dir); };
    context.catalogue = catalogue.CatalogueFile.get();
    context.unrar = &platform_.unrar;
    const UnpackOutcome outcome = UnpackArchive(SkinServices{app_, fonts_}, std::move(context));
    if (!outcome.complete) {
        ChosenDir.clear();
    }
    return outcome;
}

} // namespace kavlo
