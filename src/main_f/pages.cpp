// The icon column and its pages: which pages a disc has and in which order, opening them, the icons'
// pressed look, the column's scrolling, the colour scheme and the corner spots.

#include <algorithm>

#include "main_f/form1.h"
#include "main_f/skin_images.h"
#include "platform/codepage.h"

namespace kavlo {

namespace {

struct PageLook {
    int base_image;
    int message; // 0: the caption is not a numbered message
};

PageLook LookOf(PageKind kind) {
    switch (kind) {
        case PageKind::Demos:
            return {0, 2};
        case PageKind::Extra:
            return {8, 4};
        case PageKind::Shareware:
            return {4, 3};
        case PageKind::Drivers:
            return {16, 6};
        case PageKind::Updates:
            return {12, 5};
        case PageKind::Readers:
            return {32, 0};
        case PageKind::Shots:
            return {28, 7};
        case PageKind::Movies:
            return {102, 8};
        case PageKind::Fulls:
            return {4, 79};
        case PageKind::Addons:
            return {122, 10};
        case PageKind::Dovudiz:
            return {106, 0};
        case PageKind::Extra2:
            return {32, 0};
        case PageKind::Extra3:
            return {32, 47};
        case PageKind::Service:
            return {4, 0};
        case PageKind::Installed:
            return {20, 1};
        default:
            return {0, 0};
    }
}

// The fixed illustration a page shows in the picture area; empty for pages without one.
const char* IllustrationOf(PageKind kind) {
    switch (kind) {
        case PageKind::Shareware:
        case PageKind::Service:
            return "iko04";
        case PageKind::Drivers:
            return "iko01";
        case PageKind::Updates:
            return "iko02";
        case PageKind::Readers:
            return "iko06";
        case PageKind::Installed:
            return "iko08";
        case PageKind::Settings:
            return "ikoUNI";
        default:
            return "";
    }
}

} // namespace

void TForm1::LoadPages() {
    const CatalogueHeader& h = catalogue.header;
    // A section whose disc-number key names another disc of the set has its icon there, except on a
    // DVD, which holds them all.
    auto on_disc = [&h](int disc) { return disc == h.ActualCD || h.DVD == 1; };
    state.PageCount = 0;
    const std::pair<PageKind, bool> pages[] = {
        {PageKind::Demos, h.Demos > 0},
        {PageKind::Fulls, h.Fulls > 0 && on_disc(h.FullsCD)},
        {PageKind::Extra3, h.Extra3 > 0},
        {PageKind::Movies, h.Movies > 0 && on_disc(h.MoviesCD)},
        {PageKind::Addons, h.Addons > 0 && on_disc(h.AddonsCD)},
        {PageKind::Shots, h.Shots > 0},
        {PageKind::Extra, h.Extra > 0 && on_disc(h.ExtraCD)},
        {PageKind::Shareware, h.Shareware > 0 && on_disc(h.SharewareCD)},
        {PageKind::Service, h.Service > 0},
        {PageKind::Readers, h.Readers > 0 && on_disc(h.ReadersCD)},
        {PageKind::Dovudiz, h.DovudizEnabled == 1},
        {PageKind::Updates, h.Updates > 0 && on_disc(h.UpdatesCD)},
        {PageKind::Drivers, h.Drivers > 0 && on_disc(h.DriversCD)},
        {PageKind::Installed, true},
    };
    for (const auto& [kind, present] : pages) {
        if (present) {
            AddPage(kind);
        }
    }
    HideUnusedSlots();
    RedrawSchemeImages();
}

// Short columns end early: their free slots and the column's down arrow go.
void TForm1::HideUnusedSlots() {
    const int count = state.PageCount;
    const bool short_column = count >= 2 && count <= 5;
    for (int slot = 3; slot <= 5; ++slot) {
        const bool shown = !short_column || slot <= count;
        controls.DIBSection[static_cast<size_t>(slot - 1)]->SetVisible(shown);
        controls.IconLabel[static_cast<size_t>(slot - 1)]->SetVisible(shown);
    }
    if (short_column) {
        SetImage(controls.Down2, -1);
    }
}

void TForm1::RedrawSchemeImages() {
    TForm1Controls& c = controls;
    const int scheme = state.ColourScheme;
    SetImage(c.DIBBackImage, (state.Enhanced ? 52 : 96) + scheme);
    ProcessPage();
    state.PressedSlot = 0;
    PressIcon(state.SelectedSlot);
    HighLight(state.CurrentItem - state.TopItem + 1);
    RedrawArrows();
    for (TDIBImage* play : c.Play) {
        SetImage(play, 88 + 2 * scheme);
    }
    for (TDIBFadeLabel* caption : c.IconLabel) {
        caption->SetFontColor(scheme == 1 ? kBlack : kSilver);
    }
    if (const std::string illustration = IllustrationOf(state.CurrentPage); !illustration.empty()) {
        LoadSmallPicture(illustration);
    }
    SetImage(c.CoverDown, (state.Enhanced ? 92 : 98) + scheme);
    SetImage(c.CoverUp, (state.Enhanced ? 94 : 100) + scheme);
    SetImage(c.UpperArrow, 70 + scheme);
    SetImage(c.LowerArrow, 72 + scheme);
    SetImage(c.HighlightDIB, 74 + scheme);
    if (state.CurrentPage == PageKind::Readers || state.CurrentPage == PageKind::Dovudiz) {
        FlagCZ(true);
    }
    if (state.CurrentPage == PageKind::Dovudiz) {
        PlayButton(true);
    }
    if (state.CurrentPage == PageKind::Settings) {
        ShowSettingSwitches(false);
    }
    ShowNeutralFlag();
}

// The four scroll arrows in the scheme's look, unless hidden.
void TForm1::RedrawArrows() {
    const int scheme = state.ColourScheme;
    for (TDIBImage* down : {controls.Down1, controls.Down2}) {
        if (Shows(down)) {
            SetImage(down, 80 + 2 * scheme);
        }
    }
    for (TDIBImage* up : {controls.Up1, controls.Up2}) {
        if (Shows(up)) {
            SetImage(up, 84 + 2 * scheme);
        }
    }
}

// Discs in other languages never show the Czech-version flag: a neutral picture stands in its place.
void TForm1::ShowNeutralFlag() {
    if (catalogue.header.Version != 1) {
        SetImage(controls.Flag_CZ, 118 + state.ColourScheme);
        controls.Flag_CZ->SetVisible(true);
    }
}

std::string TForm1::PageCaption(PageKind kind) const {
    const CatalogueHeader& h = catalogue.header;
    // The January 2004 issue's second disc carried other sections under these two icons.
    const bool special_issue = h.CD == "0204" && h.ActualCD == 2;
    switch (kind) {
        case PageKind::Fulls:
            if (special_issue) {
                return "TOP 60";
            }
            if (h.DVD == 1 && h.Version == 1) {
                return FromUtf8("PLNÉ HRY");
            }
            break;
        case PageKind::Readers:
            return FromUtf8(special_issue ? "DEMOSCÉNA" : "OD ČTENÁŘŮ");
        case PageKind::Dovudiz:
            return catalogue.CatalogueFile != nullptr
                       ? catalogue.CatalogueFile->ReadString("MAIN", "Dovudiz", "")
                       : std::string();
        case PageKind::Extra2:
            return "DEMOSCENE";
        case PageKind::Service:
            return "SERVIS";
        default:
            break;
    }
    return LoadString(h.Version * 100 + LookOf(kind).message);
}

void TForm1::AddPage(PageKind kind) {
    state.PageCount += 1;
    SetSlot(state.PageCount, PageCaption(kind), LookOf(kind).base_image, kind);
}

void TForm1::SetSlot(int slot, const std::string& caption, int base_image, PageKind kind) {
    if (slot < 1 || slot > 14) {
        return;
    }
    const auto at = static_cast<size_t>(slot - 1);
    const int image = base_image + 2 * state.ColourScheme;
    SetImage(controls.DIBSection[at], image);
    controls.DIBSection[at]->SetTag(image);
    controls.IconLabel[at]->SetCaption(caption);
    state.PageTable[at] = TPage{caption, static_cast<uint8_t>(kind)};
}

PageKind TForm1::SlotKind(int slot) const {
    if (slot < 1 || slot > 14) {
        return PageKind::None;
    }
    return static_cast<PageKind>(state.PageTable[static_cast<size_t>(slot - 1)].kind);
}

void TForm1::MainButtonClick(int slot) {
    // Clicking the open page's icon does not reload it.
    if (slot > state.PageCount || SlotKind(slot) == state.CurrentPage) {
        return;
    }
    app_.SetScreenCursor(Cursor::Default);
    state.PreviousSlot = state.SelectedSlot;
    state.SelectedSlot = slot;
    if (state.PreviousSlot != slot) {
        UnpressIcon(state.PreviousSlot);
    }
    PressIcon(slot);
    SelectPage(SlotKind(slot));
}

void TForm1::SelectPage(PageKind kind) {
    SetOff();
    Unbold();
    state.CurrentItem = 1;
    state.TopItem = 1;
    switch (kind) {
        case PageKind::Demos:
            return SetDemosPage();
        case PageKind::Extra:
            return SetExtraPage();
        case PageKind::Shareware:
            return SetSharewarePage();
        case PageKind::Drivers:
            return SetDriversPage();
        case PageKind::Updates:
            return SetUpdatesPage();
        case PageKind::Readers:
            return SetReadersPage();
        case PageKind::Shots:
            return SetHotShotsPage();
        case PageKind::Movies:
            return SetFilmsPage();
        case PageKind::Fulls:
            return SetFullsPage();
        case PageKind::Addons:
            return SetAddonsPage();
        case PageKind::Dovudiz:
            return SetDovudizPage();
        case PageKind::Extra2:
            return SetExtra2Page();
        case PageKind::Extra3:
            return SetExtra3Page();
        case PageKind::Service:
            return SetServicePage();
        case PageKind::Installed:
            return SetInstalledPage();
        case PageKind::Settings:
            return SetSettingsPage();
        case PageKind::None:
            return;
    }
}

void TForm1::RunItemBuilder() {
    switch (state.CurrentPage) {
        case PageKind::Demos:
            return SetDemos();
        case PageKind::Extra:
            return SetExtra();
        case PageKind::Shareware:
            return SetShare();
        case PageKind::Drivers:
            return SetDrivers();
        case PageKind::Updates:
            return SetUpdates();
        case PageKind::Readers:
            return SetReaders();
        case PageKind::Shots:
            return SetShots();
        case PageKind::Movies:
            return SetFilms();
        case PageKind::Fulls:
            return SetFulls();
        case PageKind::Addons:
            return SetAddons();
        case PageKind::Extra2:
            return SetExtra2();
        case PageKind::Extra3:
            return SetExtra3();
        case PageKind::Service:
            return SetService();
        case PageKind::Installed:
            return SetInstalled();
        case PageKind::Settings:
            return SetSettings();
        case PageKind::Dovudiz:
        case PageKind::None:
            return;
    }
}

void TForm1::ProcessPage() {
    RunItemBuilder();
    const int count = AssignTempNumber(state.CurrentPage);
    controls.PositionLabel->SetCaption(
        count > 0 ? std::to_string(state.CurrentItem) + " z " + std::to_string(count) : std::string());
}

void TForm1::PressIcon(int slot) {
    if (slot == state.PressedSlot) {
        return;
    }
    UnpressIcon(state.PressedSlot);
    if (slot >= 1 && slot <= 14) {
        TDIBImage* icon = controls.DIBSection[static_cast<size_t>(slot - 1)];
        SetImage(icon, icon->Tag() + 1);
    }
    state.PressedSlot = slot;
}

void TForm1::UnpressIcon(int slot) {
    // The open page's icon stays pressed.
    if (slot == state.SelectedSlot) {
        return;
    }
    if (slot >= 1 && slot <= 14) {
        TDIBImage* icon = controls.DIBSection[static_cast<size_t>(slot - 1)];
        SetImage(icon, icon->Tag());
    }
    state.PressedSlot = 0;
}

void TForm1::DIBSectionClick(int slot) {
    MainButtonClick(slot);
}

void TForm1::SectionMouseMove(int slot, TControl& sender, ShiftState, int x, int y) {
    if (slot != 10) {
        MoveArrows(sender, x, y);
    }
    PressIcon(slot);
}

void TForm1::IconLabelMouseMove(int, TControl& sender, ShiftState, int x, int y) {
    MoveArrows(sender, x, y);
}

void TForm1::SetOpacity(int slot, int delta) {
    if (slot < 1 || slot > 14) {
        return;
    }
    const auto at = static_cast<size_t>(slot - 1);
    const auto opacity = static_cast<uint8_t>(std::clamp(controls.DIBSection[at]->Opacity() + delta, 0, 255));
    controls.DIBSection[at]->SetOpacity(opacity);
    controls.IconLabel[at]->SetOpacity(opacity);
}

// Starts the column moving up (down = the pointer on the down arrow or the wheel turned towards the
// user) or down; a column of five pages or fewer does not move.
void TForm1::StartColumnScroll(bool down) {
    TDIBImage* arrow = down ? controls.Down2 : controls.Up2;
    if (!Shows(arrow) || (down && state.PageCount < 6)) {
        return;
    }
    SetImage(arrow, (down ? 81 : 85) + 2 * state.ColourScheme);
    state.ColumnStep = 5;
    (down ? controls.ScrollDownTimer : controls.ScrollUpTimer)->Timer().SetEnabled(true);
    (down ? controls.ScrollUpTimer : controls.ScrollDownTimer)->Timer().SetEnabled(false);
}

void TForm1::Down2MouseMove(TControl& sender, ShiftState, int x, int y) {
    StartColumnScroll(true);
    MoveArrows(sender, x, y);
}

void TForm1::Up2MouseMove(TControl& sender, ShiftState, int x, int y) {
    StartColumnScroll(false);
    MoveArrows(sender, x, y);
}

void TForm1::MoveColumn(int dy) {
    for (size_t i = 0; i < controls.DIBSection.size(); ++i) {
        controls.DIBSection[i]->SetTop(controls.DIBSection[i]->Top() + dy);
        controls.IconLabel[i]->SetTop(controls.IconLabel[i]->Top() + dy);
    }
}

// One tick of the column moving up: the icons leaving at the top fade out, those arriving fade in.
void TForm1::ScrollUpTimerTimer() {
    const int last = state.PageCount;
    if (last >= 6 && last <= 14 && controls.DIBSection[static_cast<size_t>(last - 1)]->Top() < 330) {
        if (last >= 8) {
            SetImage(controls.Down2, -1);
        }
        return;
    }
    SetImage(controls.Up2, 84 + 2 * state.ColourScheme);
    for (int slot = 1; slot <= 14; ++slot) {
        const int top = controls.DIBSection[static_cast<size_t>(slot - 1)]->Top();
        if (slot <= 5 && top < 50) {
            SetOpacity(slot, -30);
        } else if (slot >= 6 && top < 396) {
            SetOpacity(slot, 30);
        }
    }
    MoveColumn(-state.ColumnStep);
}

// One tick of the column moving down, back towards its designed place.
void TForm1::ScrollDownTimerTimer() {
    if (controls.DIBSection[0]->Top() >= 56) {
        SetImage(controls.Up2, -1);
        return;
    }
    SetImage(controls.Down2, 80 + 2 * state.ColourScheme);
    for (int slot = 1; slot <= 14; ++slot) {
        const int top = controls.DIBSection[static_cast<size_t>(slot - 1)]->Top();
        if (slot <= 5 && top > 20) {
            SetOpacity(slot, 30);
        } else if (slot >= 6 && top > 330) {
            SetOpacity(slot, -30);
        }
    }
    MoveColumn(state.ColumnStep);
}

// The pointer on neutral ground: every hover look goes back to rest.
void TForm1::ScreenImageMouseMove(TControl& sender, ShiftState, int x, int y) {
    TForm1Controls& c = controls;
    c.HelpLabel->SetCaption("");
    c.HelpLabel2->SetCaption("");
    const std::pair<TImage*, void (TForm1::*)(bool)> buttons[] = {{c.ReadmeImage, &TForm1::ReadmeButton},
                                                                  {c.WebImage, &TForm1::WebButton},
                                                                  {c.PlayImage, &TForm1::PlayButton},
                                                                  {c.StopImage, &TForm1::StopButton}};
    for (const auto& [button, setter] : buttons) {
        if (button->Tag() > 0) {
            (this->*setter)(true);
        }
    }
    for (TDIBImage* indicator : {c.ExitDIB, c.SetupDIB, c.IndigoDIB}) {
        SetImage(indicator, -1);
    }
    RedrawArrows();
    c.ScrollDownTimer->Timer().SetEnabled(false);
    c.ScrollUpTimer->Timer().SetEnabled(false);
    MoveArrows(sender, x, y);
    UnpressIcon(state.PressedSlot);
}

void TForm1::ExitSpotClick(TControl&) {
    Close();
}

void TForm1::SetupSpotClick(TControl&) {
    SetSettingsPage();
}

// The scheme toggle rebuilds the same pages in the same slots and keeps the page, item and row.
void TForm1::IndigoSpotClick(TControl&) {
    state.ColourScheme = state.ColourScheme == 0 ? 1 : 0;
    LoadPages();
}

} // namespace kavlo
