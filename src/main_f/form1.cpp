#include "main_f/form1.h"
#include "main_f/skin_images.h"

#include "main_f/dates.h"
#include "main_f/install_state.h"

namespace kavlo {

void TForm1::FormShow() {
    controls.StartTimer->Timer().SetEnabled(true);
    LoadCatalogue();
    ChangeCharsets();
    const int hour = platform_.system.Now().hour;
    state.ColourScheme = (hour >= 20 || hour < 8) ? 1 : 0;
    // A show step run again ("Reload") opens the first page afresh.
    state.CurrentPage = PageKind::None;
    state.SelectedSlot = 0;
    LoadPages();
    MainButtonClick(1);
    // A small screen has no room for the frame; the setting itself stays as the user chose it.
    if (platform_.system.Screen().width <= 800) {
        state.Enhanced = false;
    }
    SwitchMode();
}

// Loads (or, in debug mode, reloads) the catalogue and shows the disc's titles.
void TForm1::LoadCatalogue() {
    CatalogueContext context{platform_, profiles_,          boxes_,
                             state,     SettingsFile.get(), [this](TDemos& item) { CheckDemo(item); }};
    const CatalogueLoadResult result = ReadCatalogue(catalogue, context);
    if (result.terminate_requested) {
        terminate_requested_ = true;
        app_.Terminate(0);
    }
    ApplicationTitle = result.titles.application_title;
    Caption = result.titles.window_title;
    ApplyCaption();
    controls.CDNumberLabel->SetCaption(result.titles.disc_number);
    controls.DebugLabel1->SetVisible(catalogue.header.Debug);
    controls.DebugLabel2->SetVisible(catalogue.header.Debug);
    ConfigureLauncher();
}

// The window's first look before the disc is known: the panel's texts in their colour, the frame's
// clip players opaque.
void TForm1::PrepareControls() {
    for (TDIBFadeLabel* label : {controls.HelpLabel, controls.HelpLabel2, controls.PositionLabel}) {
        label->SetFontColor(kPanelTextColour);
    }
    for (TAnimate* animate : controls.Animate) {
        animate->SetTransparent(false);
    }
    Unbold();
}

void TForm1::FormDestroy() {
    if (destroyed_) {
        return;
    }
    destroyed_ = true;
    UnloadMusic();
    for (const std::string& font : registered_fonts_) {
        platform_.fonts.RemoveFontResource(font);
    }
    registered_fonts_.clear();
    platform_.fonts.BroadcastFontChange();
    fonts_.FontsChanged();
    catalogue.CatalogueFile.reset();
    catalogue.CatalogueFile2.reset();
    catalogue.StringsFile.reset();
    SettingsFile.reset();
}

void TForm1::CheckDemo(TDemos& item) {
    kavlo::CheckDemo(
        item, InstallStateContext{platform_, profiles_, state, catalogue.header.CD, SettingsFile.get()});
}

std::string TForm1::CreateDate(std::string_view code) {
    const MessageTexts texts = Texts();
    return kavlo::CreateDate(code, DateContext{texts, catalogue.header.Debug, boxes_, ApplicationTitle});
}

} // namespace kavlo
