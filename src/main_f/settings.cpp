// The two window modes, the application's focus events, the full-screen hooks and the debug actions.

#include "main_f/form1.h"
#include "skin/text/text.h"

namespace kavlo {

namespace {

constexpr int kFramedWidth = 818;
constexpr int kFramedHeight = 742;
constexpr int kContainerLeft = 85;
constexpr int kContainerTop = 173;
constexpr uint32_t kMusicPollMs = 5000;

void SetImage(TDIBImage* image, int index) {
    image->IndexMain().SetDIBIndex(index);
}

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
    for (TAnimate* animate : c.Animate) {
        animate->SetVisible(state.Enhanced);
    }
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
// again and the music check runs a full interval later.
void TForm1::ApplicationActivate() {
    controls.DIBBackImage->Invalidate();
    TimerHandle& music = controls.MusicTimer->Timer();
    music.SetEnabled(false);
    music.SetInterval(kMusicPollMs);
    music.SetEnabled(true);
}

void TForm1::ApplicationDeActivate() {
    controls.MusicTimer->Timer().SetEnabled(false);
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

// Left-button presses on the frame and the panel's background move the caption-less window.
void TForm1::Image4MouseDown(TControl&, MouseButton button, ShiftState, int, int) {
    if (button == MouseButton::Left) {
        app_.GetBackend().StartWindowDrag(window_);
    }
}

void TForm1::SetSettingsPage() {}
void TForm1::SetSettings() {}
void TForm1::ToggleSetting(int) {}

} // namespace kavlo
