// The two window modes, the application's focus events, the full-screen hooks and the debug actions.

#include "main_f/form1.h"
#include "main_f/skin_images.h"
#include "skin/text/text.h"

namespace kavlo {

namespace {

constexpr int kFramedWidth = 818;
constexpr int kFramedHeight = 742;
constexpr int kContainerLeft = 85;
constexpr int kContainerTop = 173;

} // namespace

void TForm1::SwitchMode() {
    TForm1Controls& c = controls;
    const int scheme = state.ColourScheme;
    const bool partner = catalogue.header.Redarer == 1;
    PlaceWindow(skin_->ClientWidth(), skin_->ClientHeight());
    TDIBContainer& container = *c.DIBContainer1;
    int width = container.Width();
    int height = container.Height();
    if (state.Enhanced) {
        width = kFramedWidth;
        height = kFramedHeight;
        container.SetBounds(kContainerLeft, kContainerTop, container.Width(), container.Height());
        SetImage(c.DIBBackImage, scheme + 52);
        SetImage(c.CoverDown, scheme + 92);
        SetImage(c.CoverUp, scheme + 94);
        c.DIBImage3->SetVisible(partner);
        c.DIBImage5->SetVisible(false);
    } else {
        container.SetBounds(0, 0, container.Width(), container.Height());
        SetImage(c.DIBBackImage, scheme + 96);
        SetImage(c.CoverDown, scheme + 98);
        SetImage(c.CoverUp, scheme + 100);
        c.DIBImage3->SetVisible(false);
        c.DIBImage5->SetVisible(partner);
    }
    ShowBorderClips();
    PlaceWindow(width, height);
    // The outline follows the window's size: shaped only once the window has its framed size.
    c.DIBFormShaper1->SetActive(state.Enhanced);
}

void TForm1::ChangeCharsets() {
    if (catalogue.header.Version != 2) {
        return;
    }
    TForm1Controls& c = controls;
    std::vector<TDIBFadeLabel*> labels(c.IconLabel.begin(), c.IconLabel.end());
    labels.insert(labels.end(), c.DemosLabel.begin(), c.DemosLabel.end());
    labels.insert(labels.end(),
                  {c.TechLabel, c.TextLabel, c.NameLabel, c.FirmLabel, c.HelpLabel, c.DateLabel});
    for (TDIBFadeLabel* label : labels) {
        FontSpec font = label->Font();
        font.charset = kTurkishCharset;
        label->SetFont(font);
    }
}

// The menu gets the focus back, for instance when a program it started ends: the background is drawn
// again and the music check runs a full interval later (once the window is no longer minimised).
void TForm1::ApplicationActivate() {
    app_active_ = true;
    controls.DIBBackImage->Invalidate();
    RestartMusicPoll();
}

void TForm1::ApplicationDeActivate() {
    app_active_ = false;
    HoldMusic();
}

void TForm1::RestoreScreen() {
    FullScreen = false;
}

// The menu keeps its window mode and size while other programs run.
void TForm1::SetFullScreen() {}

void TForm1::MinimalizeScreen() {}

// "Reload": the show step again, so an editor sees a changed catalogue at once.
void TForm1::DebugLabel1Click(TControl&) {
    FormShow();
}

// "Show ini": the catalogue in the PC's editor.
void TForm1::DebugLabel2Click(TControl&) {
    platform_.processes.ShellExecute("OPEN", state.DiscDir + "KAVLOXP.INI", "", "");
}

// Left-button presses on the frame and the panel's background move the caption-less window; a window
// that fills the screen stays where it is.
void TForm1::Image4MouseDown(TControl&, MouseButton button, ShiftState, int, int) {
    if (button == MouseButton::Left && !FullScreen) {
        app_.GetBackend().StartWindowDrag(window_);
    }
}

void TForm1::SetSettingsPage() {
    UnpressIcon(state.PressedSlot);
    state.CurrentPage = PageKind::Settings;
    SetOff();
    HideQuickBars();
    state.CurrentItem = 1;
    state.TopItem = 1;
    controls.DIBImage4->SetVisible(false);
    controls.TextLabel->SetCaption("");
    FillList();
    ProcessPage();
    ShowSettingSwitches(false);
    LoadSmallPicture("ikoUNI");
}

bool TForm1::SettingOn(int row) const {
    switch (row) {
        case 1:
            return state.Enhanced;
        case 2:
            return state.Slow;
        default:
            return state.Music;
    }
}

void TForm1::SetSettings() {
    const int language = catalogue.header.Version;
    const int row = state.CurrentItem;
    std::string description;
    if (row == 1 || row == 2) {
        description = LoadString(language * 100 + (row == 1 ? 94 : 95));
    } else if (catalogue.CatalogueFile != nullptr) {
        description = catalogue.CatalogueFile->ReadString("Main", "Music" + std::to_string(language), "");
    }
    controls.TextLabel->SetCaption(description);
    controls.NameLabel->SetCaption(LoadString(language * 100 + (SettingOn(row) ? 93 : 92)));
}

void TForm1::ShowSettingSwitch(int row, bool hover) {
    TDIBImage* icon = controls.Play[static_cast<size_t>(row - 1)];
    SetImage(icon, (SettingOn(row) ? 114 : 110) + 2 * state.ColourScheme + (hover ? 1 : 0));
    icon->SetVisible(true);
}

void TForm1::ShowSettingSwitches(bool hover) {
    for (int row = 1; row <= 3; ++row) {
        ShowSettingSwitch(row, hover);
    }
}

// A switch changes at once and is written at once; a settings file that cannot be written still
// leaves the switch changed for this run.
void TForm1::ToggleSetting(int row) {
    static constexpr const char* kKeys[] = {"Enhanced", "Slow", "Music"};
    bool& setting = row == 1 ? state.Enhanced : row == 2 ? state.Slow : state.Music;
    // Turning the music off pauses it while the switch still lets the pause through.
    if (row == 3 && setting) {
        StopMusic();
    }
    setting = !setting;
    if (row == 1) {
        SwitchMode();
    }
    state.CurrentItem = row;
    SetSettings();
    if (SettingsFile != nullptr) {
        SettingsFile->WriteInteger("Main", kKeys[row - 1], setting ? 1 : 0);
    }
    if (row == 3 && setting) {
        LoadMusic();
        PlayMusic();
    }
    ShowSettingSwitch(row, true);
}

} // namespace kavlo
