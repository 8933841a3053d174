// The detail panel: texts, flags, buttons and hints.

#include "main_f/form1.h"
#include "main_f/skin_images.h"
#include "platform/codepage.h"

namespace kavlo {

namespace {

constexpr int kCzech = 1;

// Flag images of scheme 0; scheme 1 adds one.
constexpr int kPlayableImage = 54;
constexpr int kUnplayableImage = 56;
constexpr int kCzechImage = 58;
constexpr int k3DImage = 60;
constexpr int kNetImage = 62;

// Action buttons: the normal picture of scheme s is ControlsImageList s * 15 + k.
constexpr int kButtonsPerScheme = 15;
constexpr int kReadmePicture = 6;
constexpr int kWebPicture = 7;
constexpr int kPlayPicture = 8;
constexpr int kStopPicture = 9;

enum class Playable { Never, OnDemos, Always };

struct FlagRow {
    Playable playable = Playable::Always;
    bool unplayable = false;
    bool czech = false;
    bool three_d = false;
    bool net = false;
};

// The item's Flags code read as the five flags. Codes 0-29 mark the playable flag for the Demos page
// only; from 30 on it is shown everywhere.
FlagRow FlagsOf(int code) {
    switch (code) {
        case 1:
        case 2:
        case 22:
            return {.playable = Playable::OnDemos, .three_d = true};
        case 3:
            return {.playable = Playable::OnDemos, .czech = true};
        case 4:
            return {.playable = Playable::Never, .unplayable = true};
        case 10:
            return {.playable = Playable::OnDemos, .net = true};
        case 11:
        case 12:
            return {.playable = Playable::OnDemos, .three_d = true, .net = true};
        case 13:
            return {.playable = Playable::OnDemos, .czech = true, .net = true};
        case 24:
            return {.playable = Playable::Never, .unplayable = true, .three_d = true};
        case 31:
        case 35:
            return {.three_d = true, .net = true};
        case 32:
            return {.three_d = true};
        case 33:
            return {.net = true};
        case 34:
            return {.czech = true};
        case 36:
            return {.czech = true, .three_d = true};
        case 37:
            return {.czech = true, .three_d = true, .net = true};
        default:
            return {.playable = code >= 0 && code <= 29 ? Playable::OnDemos : Playable::Always};
    }
}

void SetFlag(TDIBImage* flag, bool on, int image) {
    flag->IndexMain().SetDIBIndex(on ? image : -1);
    if (on) {
        flag->SetVisible(true);
    }
}

// Tag 1 and the button's normal picture, or Tag 0 and no picture.
void SetButton(TImage* button, const TImageList& pictures, bool on, int index) {
    button->SetTag(on ? 1 : 0);
    ShowListImage(*button, pictures, on ? index : -1);
}

} // namespace

void TForm1::SetOff() {
    for (TDIBFadeLabel* label :
         {controls.FirmLabel, controls.NameLabel, controls.DateLabel, controls.TechLabel}) {
        label->SetCaption("");
    }
    ReadmeButton(false);
    WebButton(false);
    PlayButton(false);
    StopButton(false);
    FlagPlayable(false);
    FlagUnPlayable(false);
    FlagCZ(false);
    Flag3D(false);
    FlagNet(false);
}

void TForm1::DoFlags(int code) {
    const FlagRow row = FlagsOf(code);
    FlagPlayable(row.playable == Playable::Always ||
                 (row.playable == Playable::OnDemos && state.CurrentPage == PageKind::Demos));
    FlagUnPlayable(row.unplayable);
    FlagCZ(row.czech);
    Flag3D(row.three_d);
    FlagNet(row.net);
}

void TForm1::FlagPlayable(bool on) {
    SetFlag(controls.Flag_Playable, on, state.ColourScheme + kPlayableImage);
}

void TForm1::FlagUnPlayable(bool on) {
    SetFlag(controls.Flag_Unplayable, on, state.ColourScheme + kUnplayableImage);
}

// Outside Czech menus this place shows the stand-in image the page column put there.
void TForm1::FlagCZ(bool on) {
    if (catalogue.header.Version == kCzech) {
        SetFlag(controls.Flag_CZ, on, state.ColourScheme + kCzechImage);
    }
}

void TForm1::Flag3D(bool on) {
    SetFlag(controls.Flag_3D, on, state.ColourScheme + k3DImage);
}

void TForm1::FlagNet(bool on) {
    SetFlag(controls.Flag_Net, on, state.ColourScheme + kNetImage);
}

void TForm1::ReadmeButton(bool on) {
    SetButton(controls.ReadmeImage, *controls.ControlsImageList, on,
              state.ColourScheme * kButtonsPerScheme + kReadmePicture);
}

void TForm1::WebButton(bool on) {
    SetButton(controls.WebImage, *controls.ControlsImageList, on,
              state.ColourScheme * kButtonsPerScheme + kWebPicture);
}

void TForm1::PlayButton(bool on) {
    SetButton(controls.PlayImage, *controls.ControlsImageList, on,
              state.ColourScheme * kButtonsPerScheme + kPlayPicture);
}

void TForm1::StopButton(bool on) {
    SetButton(controls.StopImage, *controls.ControlsImageList, on,
              state.ColourScheme * kButtonsPerScheme + kStopPicture);
}

void TForm1::FlagMouseMove(TControl& sender, ShiftState, int, int) {
    const auto* flag = dynamic_cast<const TDIBImage*>(&sender);
    if (flag == nullptr || flag->IndexMain().DIBIndex() == -1) {
        return;
    }
    const int language = catalogue.header.Version;
    int message = 0;
    if (flag == controls.Flag_Playable) {
        message = 89;
    } else if (flag == controls.Flag_Unplayable) {
        message = 86;
    } else if (flag == controls.Flag_CZ) {
        // Elsewhere the place holds a stand-in image with nothing to explain.
        message = language == kCzech ? 98 : 0;
    } else if (flag == controls.Flag_3D) {
        message = 88;
    } else if (flag == controls.Flag_Net) {
        message = 97;
    }
    if (message != 0) {
        controls.HelpLabel->SetCaption(LoadString(language * 100 + message));
    }
}

// A line of dashes stands for "no requirements".
void TForm1::TechLabelMouseEnter(TControl&) {
    const std::string& tech = controls.TechLabel->Caption();
    if (!tech.empty() && tech.find("----") == std::string::npos) {
        controls.HelpLabel->SetCaption(FromUtf8("VYŽADOVÁNO"));
    }
}

// Names what the date label shows on this page; some pages use it for another field.
void TForm1::DateLabelMouseMove(TControl&, ShiftState, int, int) {
    if (controls.DateLabel->Caption().empty()) {
        return;
    }
    const int base = catalogue.header.Version * 100;
    std::string help;
    switch (state.CurrentPage) {
        case PageKind::Shareware:
            help = "DRUH SOFTWARE";
            break;
        case PageKind::Drivers:
        case PageKind::Service:
            help = LoadString(base + 78);
            break;
        case PageKind::Fulls:
            help = catalogue.header.CD == "0204" && catalogue.header.ActualCD == 2 ? FromUtf8("ŽÁNR")
                                                                                   : LoadString(base + 76);
            break;
        case PageKind::Extra2:
            break;
        default:
            help = LoadString(base + 76);
            break;
    }
    controls.HelpLabel->SetCaption(help);
}

} // namespace kavlo
