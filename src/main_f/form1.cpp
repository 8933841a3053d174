#include "main_f/form1.h"

#include "main_f/dates.h"

namespace kavlo {

void TForm1::FormShow() {
    LoadCatalogue();
    const int hour = platform_.system.Now().hour;
    state.ColourScheme = (hour >= 20 || hour < 8) ? 1 : 0;
}

// Loads (or, in debug mode, reloads) the catalogue and shows the disc's titles.
void TForm1::LoadCatalogue() {
    CatalogueContext context{platform_, profiles_,          boxes_,
                             state,     SettingsFile.get(), [this](TDemos& item) { CheckDemo(item); }};
    const CatalogueLoadResult result = ReadCatalogue(catalogue, context);
    if (result.terminate_requested) {
        terminate_requested_ = true;
    }
    ApplicationTitle = result.titles.application_title;
    Caption = result.titles.window_title;
    CDNumberLabel = result.titles.disc_number;
    DebugLabelsVisible = catalogue.header.Debug;
}

void TForm1::FormDestroy() {
    for (const std::string& font : registered_fonts_) {
        platform_.fonts.RemoveFontResource(font);
    }
    registered_fonts_.clear();
    platform_.fonts.BroadcastFontChange();
    catalogue.CatalogueFile.reset();
    catalogue.CatalogueFile2.reset();
    catalogue.StringsFile.reset();
    SettingsFile.reset();
}

// The install-state check arrives with the detail panel; until then loading leaves items as read.
void TForm1::CheckDemo(TDemos&) {}

std::string TForm1::CreateDate(std::string_view code) {
    const MessageTexts texts = Texts();
    return kavlo::CreateDate(code, DateContext{texts, catalogue.header.Debug, boxes_, ApplicationTitle});
}

} // namespace kavlo
