// How the window answers the pointer: lit action buttons and their help lines, the corner spots, the
// small picture's fades and the quick-run buttons.

#include <optional>

#include "main_f/form1.h"
#include "main_f/skin_images.h"

namespace kavlo {

namespace {

// Action buttons: ControlsImageList holds 15 pictures per scheme; these are the lit ones.
constexpr int kButtonsPerScheme = 15;
constexpr int kReadmeLit = 11;
constexpr int kWebLit = 12;
constexpr int kPlayLit = 13;
constexpr int kStopLit = 14;

constexpr int kReadmeHelp = 83;
constexpr int kWebHelp = 84;
constexpr int kStopHelp = 82;
constexpr int kRunHelp = 81;
constexpr int kInstallHelp = 96;
constexpr int kOpenHelp = 59;
// Items of this install type are opened by the shell rather than installed or run.
constexpr int kOpenedInstallType = 30;

// Quick-run buttons of scheme 0, resting and lit; scheme 1 adds two.
constexpr int kQuickButton = 88;
constexpr int kQuickButtonLit = 89;

// The small picture: a picture with a gallery brightens to full while the pointer is on it and
// sinks back to just under its resting opacity when it leaves.
constexpr int kPictureFadeStep = 10;
constexpr int kPictureRest = 150;

// Which play-button help line the open page's current item takes; none leaves the line as it is.
std::optional<int> PlayHelp(const TForm1& form) {
    const PageKind page = form.state.CurrentPage;
    const int current = form.state.CurrentItem;
    const TDemos* item = form.DemosItem(page, current);
    std::optional<int> help;
    switch (page) {
        case PageKind::Demos:
        case PageKind::Fulls:
        case PageKind::Extra2:
        case PageKind::Extra3:
            help = item != nullptr && item->NeedsInstall == 1 ? kInstallHelp : kRunHelp;
            break;
        case PageKind::Extra:
        case PageKind::Shareware:
        case PageKind::Readers:
        case PageKind::Addons:
        case PageKind::Service:
            help = item != nullptr && item->Installed != 0 ? kRunHelp : kInstallHelp;
            break;
        case PageKind::Drivers:
        case PageKind::Updates:
            help = kInstallHelp;
            break;
        case PageKind::Movies:
        case PageKind::Dovudiz:
        case PageKind::Installed:
            help = kRunHelp;
            break;
        default:
            break;
    }
    switch (page) {
        case PageKind::Extra:
        case PageKind::Shareware:
        case PageKind::Readers:
        case PageKind::Fulls:
        case PageKind::Addons:
        case PageKind::Extra2:
        case PageKind::Extra3:
        case PageKind::Service:
            if (item != nullptr && item->InstallType == kOpenedInstallType) {
                help = kOpenHelp;
            }
            break;
        case PageKind::Movies:
            if (current >= 1 && current <= form.AssignTempNumber(page) &&
                form.catalogue.Movies[current].InstallType == kOpenedInstallType) {
                help = kOpenHelp;
            }
            break;
        default:
            break;
    }
    return help;
}

} // namespace

void TForm1::ActionCoverMouseMove(TControl& sender, ShiftState, int, int) {
    TForm1Controls& c = controls;
    TImage* button = nullptr;
    int lit = 0;
    std::optional<int> help;
    if (&sender == c.ReadmeImage) {
        button = c.ReadmeImage;
        lit = kReadmeLit;
        help = kReadmeHelp;
    } else if (&sender == c.WebImage) {
        button = c.WebImage;
        lit = kWebLit;
        help = kWebHelp;
    } else if (&sender == c.PlayImage) {
        button = c.PlayImage;
        lit = kPlayLit;
        help = PlayHelp(*this);
    } else if (&sender == c.StopImage) {
        button = c.StopImage;
        lit = kStopLit;
        help = kStopHelp;
    }
    // A button not offered shows nothing and explains nothing.
    if (button == nullptr || button->Tag() == 0) {
        return;
    }
    ShowListImage(*button, *c.ControlsImageList, state.ColourScheme * kButtonsPerScheme + lit);
    button->SetTag(2);
    if (help) {
        c.HelpLabel->SetCaption(LoadString(catalogue.header.Version * 100 + *help));
    }
}

void TForm1::SpotMouseMove(TControl& sender, ShiftState, int, int) {
    struct Spot {
        TDIBImage* spot;
        TDIBImage* indicator;
        int image;
        int help;
    };
    const TForm1Controls& c = controls;
    const Spot spots[] = {{c.ExitSpot, c.ExitDIB, 64, 90},
                          {c.SetupSpot, c.SetupDIB, 66, 91},
                          {c.IndigoSpot, c.IndigoDIB, 68, 99}};
    const Spot* hovered = nullptr;
    for (const Spot& s : spots) {
        if (&sender == s.spot) {
            hovered = &s;
        }
    }
    if (hovered == nullptr) {
        return;
    }
    for (const Spot& s : spots) {
        SetImage(s.indicator, &s == hovered ? s.image + state.ColourScheme : -1);
    }
    c.HelpLabel2->SetCaption(LoadString(catalogue.header.Version * 100 + hovered->help));
}

// Only a picture with a gallery behind it fades; the rest of the window goes back to rest either way.
void TForm1::DIBImage4MouseEnter(TControl& sender) {
    state.PointerOnPicture = 1;
    if (state.HasGallery != 0) {
        controls.DIBTimer1->Timer().SetEnabled(true);
        controls.DIBTimer2->Timer().SetEnabled(false);
    }
    ScreenImageMouseMove(sender, {}, 0, 0);
}

void TForm1::DIBImage4MouseLeave(TControl&) {
    state.PointerOnPicture = 0;
    if (state.HasGallery != 0) {
        controls.DIBTimer1->Timer().SetEnabled(false);
        controls.DIBTimer2->Timer().SetEnabled(true);
    }
}

void TForm1::DIBImage4MouseMove(TControl& sender, ShiftState, int x, int y) {
    MoveArrows(sender, x, y);
}

void TForm1::DIBTimer1Timer() {
    TDIBImage& picture = *controls.DIBImage4;
    SetControlOpacity(picture, kPictureFadeStep);
    if (picture.Opacity() >= 255) {
        controls.DIBTimer1->Timer().SetEnabled(false);
    }
}

// Steps of ten from full opacity end at 145, below the resting 150: the picture settles there.
void TForm1::DIBTimer2Timer() {
    TDIBImage& picture = *controls.DIBImage4;
    if (state.HasGallery != 0 && picture.Opacity() > kPictureRest) {
        SetControlOpacity(picture, -kPictureFadeStep);
    } else {
        controls.DIBTimer2->Timer().SetEnabled(false);
    }
}

// On the settings page the first three buttons are the switches and show their state.
void TForm1::PlayMouseEnter(int row) {
    if (state.CurrentPage == PageKind::Settings && row >= 1 && row <= 3) {
        ShowSettingSwitch(row, true);
    } else if (row >= 1 && row <= 10) {
        SetImage(controls.Play[static_cast<size_t>(row - 1)], kQuickButtonLit + 2 * state.ColourScheme);
    }
}

void TForm1::PlayMouseLeave(int row) {
    if (state.CurrentPage == PageKind::Settings && row >= 1 && row <= 3) {
        ShowSettingSwitch(row, false);
    } else if (row >= 1 && row <= 10) {
        SetImage(controls.Play[static_cast<size_t>(row - 1)], kQuickButton + 2 * state.ColourScheme);
    }
}

} // namespace kavlo
