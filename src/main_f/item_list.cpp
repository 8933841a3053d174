// The item list: ten rows of the open page, the current item and every way of moving through it.

#include <algorithm>
#include <cmath>

#include "main_f/form1.h"
#include "main_f/skin_images.h"

namespace kavlo {

namespace {

// The pages whose rows offer a quick-run button for what is installed.
bool HasQuickRun(PageKind kind) {
    switch (kind) {
        case PageKind::Demos:
        case PageKind::Extra:
        case PageKind::Shareware:
        case PageKind::Readers:
        case PageKind::Fulls:
        case PageKind::Extra2:
        case PageKind::Extra3:
            return true;
        default:
            return false;
    }
}

} // namespace

int TForm1::AssignTempNumber(PageKind kind) const {
    const CatalogueHeader& h = catalogue.header;
    int count = 0;
    switch (kind) {
        case PageKind::Demos:
            count = h.Demos;
            break;
        case PageKind::Extra:
            count = h.Extra;
            break;
        case PageKind::Shareware:
            count = h.Shareware;
            break;
        case PageKind::Drivers:
            count = h.Drivers;
            break;
        case PageKind::Updates:
            count = h.Updates;
            break;
        case PageKind::Readers:
            count = h.Readers;
            break;
        case PageKind::Shots:
            count = h.Shots;
            break;
        case PageKind::Movies:
            count = h.Movies;
            break;
        case PageKind::Fulls:
            count = h.Fulls;
            break;
        case PageKind::Addons:
            count = h.Addons;
            break;
        case PageKind::Extra2:
            count = h.Extra2;
            break;
        case PageKind::Extra3:
            count = h.Extra3;
            break;
        case PageKind::Service:
            count = h.Service;
            break;
        case PageKind::Installed:
            count = InstalledCount;
            break;
        case PageKind::Dovudiz:
            return 1;
        case PageKind::Settings:
            return 3;
        case PageKind::None:
            return 0;
    }
    return count & 0xFF;
}

TDemos* TForm1::DemosItem(PageKind page, int item) {
    if (item < 1 || item > AssignTempNumber(page)) {
        return nullptr;
    }
    Catalogue& c = catalogue;
    switch (page) {
        case PageKind::Demos:
            return &c.Demos[item];
        case PageKind::Extra:
            return &c.Extra[item];
        case PageKind::Shareware:
            return &c.Shareware[item];
        case PageKind::Drivers:
            return &c.Drivers[item];
        case PageKind::Readers:
            return &c.Readers[item];
        case PageKind::Fulls:
            return &c.Fulls[item];
        case PageKind::Addons:
            return &c.Addons[item];
        case PageKind::Extra2:
            return &c.Extra2[item];
        case PageKind::Extra3:
            return &c.Extra3[item];
        case PageKind::Service:
            return &c.Service[item];
        case PageKind::Installed:
            return &InstalledList[item];
        default:
            return nullptr;
    }
}

const TDemos* TForm1::DemosItem(PageKind page, int item) const {
    return const_cast<TForm1*>(this)->DemosItem(page, item);
}

// The row text of an item of a page; empty past the page's items.
std::string TForm1::ItemName(PageKind kind, int item) const {
    if (const TDemos* demos = DemosItem(kind, item)) {
        return demos->Name;
    }
    if (item < 1 || item > AssignTempNumber(kind)) {
        return {};
    }
    switch (kind) {
        case PageKind::Updates:
            return catalogue.Updates[item].Name;
        case PageKind::Shots:
            return catalogue.Shots[item].Name;
        case PageKind::Movies:
            return catalogue.Movies[item].Name;
        case PageKind::Dovudiz:
            return PageCaption(PageKind::Dovudiz);
        case PageKind::Settings:
            return LoadString(catalogue.header.Version * 100 + 72 + item);
        default:
            return {};
    }
}

// The names the first-letter jump searches; the partner, extra and settings pages offer none.
std::vector<std::string> TForm1::AssignTempNamesList(PageKind kind) const {
    std::vector<std::string> names;
    if (kind == PageKind::Extra || kind == PageKind::Dovudiz || kind == PageKind::Settings) {
        return names;
    }
    const int count = AssignTempNumber(kind);
    for (int item = 1; item <= count; ++item) {
        names.push_back(ItemName(kind, item));
    }
    return names;
}

int TForm1::FindPosition(char letter) const {
    const std::vector<std::string> names = AssignTempNamesList(state.CurrentPage);
    for (size_t i = 0; i < names.size(); ++i) {
        if (!names[i].empty() && names[i][0] == letter) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

void TForm1::FillList() {
    const bool settings = state.CurrentPage == PageKind::Settings;
    if (!settings) {
        HideQuickBars();
    }
    HighLight(state.CurrentItem - state.TopItem + 1);
    if (settings) {
        ClearList();
        for (int row = 1; row <= 3; ++row) {
            controls.DemosLabel[static_cast<size_t>(row - 1)]->SetCaption(ItemName(PageKind::Settings, row));
        }
        return;
    }
    if (state.CurrentPage == PageKind::Demos || state.CurrentPage == PageKind::Addons) {
        Bold();
    }
    for (int row = 1; row <= 10; ++row) {
        controls.DemosLabel[static_cast<size_t>(row - 1)]->SetCaption(
            ItemName(state.CurrentPage, state.TopItem + row - 1));
    }
}

void TForm1::ClearList() {
    controls.PositionLabel->SetCaption("");
    for (TDIBFadeLabel* row : controls.DemosLabel) {
        row->SetCaption("");
    }
}

void TForm1::SetRowColours(TDIBFadeLabel& row, TColor colour, TColor fade_to) {
    row.SetFontColor(colour);
    row.SetColorHighlighted(fade_to);
}

void TForm1::HighLight(int row) {
    TForm1Controls& c = controls;
    const int scheme = state.ColourScheme;
    if (row >= 1 && row <= 10) {
        c.HighlightDIB->SetTop(63 + 31 * (row - 1));
    }
    Bold();
    for (TDIBFadeLabel* label : c.DemosLabel) {
        if (label->FontColor() == kBlack || label->FontColor() == kSilver) {
            SetRowColours(*label, kPanelTextColour, kBlack);
        }
    }
    if (row >= 1 && row <= 10) {
        const TColor current = scheme == 0 ? kSilver : kBlack;
        SetRowColours(*c.DemosLabel[static_cast<size_t>(row - 1)], current, current);
    }
    SetImage(c.Up1, state.CurrentItem == 1 ? -1 : 84 + 2 * scheme);
    SetImage(c.Down1, state.CurrentItem == AssignTempNumber(state.CurrentPage) ? -1 : 80 + 2 * scheme);
}

void TForm1::Bold() {
    if (state.CurrentPage == PageKind::Settings) {
        return;
    }
    for (TDIBImage* play : controls.Play) {
        SetImage(play, 88 + 2 * state.ColourScheme);
    }
    if (!HasQuickRun(state.CurrentPage)) {
        return;
    }
    for (int row = 1; row <= 10; ++row) {
        const TDemos* item = DemosItem(state.CurrentPage, state.TopItem + row - 1);
        controls.Play[static_cast<size_t>(row - 1)]->SetVisible(item != nullptr && item->CanUninstall == 1);
    }
}

void TForm1::Unbold() {
    if (state.CurrentPage != PageKind::Settings) {
        HideQuickBars();
    }
    for (TDIBFadeLabel* row : controls.DemosLabel) {
        SetRowColours(*row, kPanelTextColour, kBlack);
        row->SetColor(kPanelTextColour);
    }
}

void TForm1::HideQuickBars() {
    for (TDIBImage* play : controls.Play) {
        play->SetVisible(false);
    }
}

void TForm1::SelectRow(int row) {
    const int item = state.TopItem + row;
    if (item == state.CurrentItem || item > AssignTempNumber(state.CurrentPage)) {
        return;
    }
    state.CurrentItem = item;
    HighLight(row + 1);
    ProcessPage();
}

void TForm1::ScrollListDown() {
    const int count = AssignTempNumber(state.CurrentPage);
    if (state.CurrentItem == count || count == 0) {
        return;
    }
    state.CurrentItem += 1;
    if (state.CurrentItem == state.TopItem + 10 && state.TopItem != count - 9) {
        state.TopItem += 1;
    }
    FillList();
    HighLight(state.CurrentItem - state.TopItem + 1);
    app_.ProcessMessages();
    ProcessPage();
}

void TForm1::ScrollListUp() {
    const int count = AssignTempNumber(state.CurrentPage);
    if (count == 0 || state.CurrentItem == 1 ||
        (state.CurrentPage == PageKind::Installed && InstalledCount == 0)) {
        return;
    }
    state.CurrentItem -= 1;
    if (state.CurrentItem == state.TopItem - 1 && state.TopItem != 1) {
        state.TopItem -= 1;
        FillList();
    }
    HighLight(state.CurrentItem - state.TopItem + 1);
    app_.ProcessMessages();
    ProcessPage();
}

// Ten items down. The window lands on the next ten counted from 11, 21, 30, 40, ...: the odd first
// steps are how the list has always paged, and readers know it.
void TForm1::Down1Click(TControl&) {
    if (!Shows(controls.Down1)) {
        return;
    }
    if (AssignTempNumber(state.CurrentPage) <= 10) {
        ScrollListDown();
        return;
    }
    state.PreviousItem = state.CurrentItem;
    const int current = state.CurrentItem;
    if (current >= 1 && current <= 10) {
        state.TopItem = 11;
    } else if (current >= 11 && current <= 20) {
        state.TopItem = 21;
    } else if (current >= 21 && current <= 89) {
        state.TopItem = (current / 10 + 1) * 10;
    }
    state.CurrentItem += 10;
    CheckBounds();
    FillList();
    ProcessPage();
}

void TForm1::Up1Click(TControl&) {
    if (!Shows(controls.Up1)) {
        return;
    }
    if (AssignTempNumber(state.CurrentPage) <= 10) {
        ScrollListUp();
        return;
    }
    state.PreviousItem = state.CurrentItem;
    state.TopItem -= 10;
    state.CurrentItem -= 10;
    CheckBounds();
    FillList();
    ProcessPage();
}

void TForm1::CheckBounds() {
    const int count = AssignTempNumber(state.CurrentPage);
    auto lower = [this] {
        if (state.CurrentItem < 1) {
            state.CurrentItem = 1;
            state.TopItem = 1;
        }
        if (state.TopItem < 1) {
            state.TopItem = 1;
        }
    };
    lower();
    if (count <= state.CurrentItem) {
        state.CurrentItem = count;
        state.TopItem = count - 9;
    }
    if (count - state.TopItem < 9) {
        state.TopItem = count - 9;
    }
    lower();
}

void TForm1::JumpToItem() {
    const int count = AssignTempNumber(state.CurrentPage);
    state.TopItem = count - state.CurrentItem >= 9 ? state.CurrentItem : count - 9;
    CheckBounds();
    if (state.CurrentItem != state.PreviousItem) {
        FillList();
        app_.ProcessMessages();
        ProcessPage();
    }
    FillList();
}

void TForm1::MoveArrows(TControl& sender, int x, int y) {
    const int lower = RoundHalfEven((x + sender.Left()) / 3.5 + 10);
    const int upper = RoundHalfEven(375 - (y + sender.Top()) / 4.8);
    controls.LowerArrow->SetTop(std::min(lower, 200));
    controls.UpperArrow->SetTop(std::max(upper, 271));
}

void TForm1::DemosLabelClick(int row) {
    SelectRow(row - 1);
}

void TForm1::JumpToLetter(char letter) {
    state.PreviousItem = state.CurrentItem;
    state.CurrentItem = FindPosition(letter);
    if (state.CurrentItem == 0) {
        state.CurrentItem = state.PreviousItem;
        return;
    }
    const int offset = state.CurrentItem - state.TopItem;
    if (offset >= 1 && offset <= 9) {
        CheckBounds();
        FillList();
        app_.ProcessMessages();
    } else {
        JumpToItem();
    }
    ProcessPage();
}

void TForm1::ShowItem(int current, int top) {
    state.CurrentItem = current;
    state.TopItem = top;
    FillList();
    ProcessPage();
}

void TForm1::FormKeyDown(uint16_t key, ShiftState shift) {
    const int count = AssignTempNumber(state.CurrentPage);
    const bool viewer = controls.DIBImage2->Visible();
    if (key >= 'A' && key <= 'Z') {
        JumpToLetter(static_cast<char>(key));
    } else if (key >= '0' && key <= '9') {
        SelectRow(key == '0' ? 9 : key - '1');
    } else if (key == vk::Escape) {
        if (viewer && !controls.DIBTimer4->Timer().Enabled()) {
            controls.DIBTimer4->Timer().SetEnabled(true);
        }
    } else if (key == vk::Prior) {
        count >= 10 ? Up1Click(*controls.Up1) : ShowItem(1, 1);
    } else if (key == vk::Next) {
        count >= 10 ? Down1Click(*controls.Down1) : ShowItem(count, 1);
    } else if (key == vk::End) {
        state.CurrentItem = count;
        state.TopItem = std::max(count - 9, 1);
        FillList();
        app_.ProcessMessages();
        ProcessPage();
    } else if (key == vk::Home) {
        ShowItem(1, 1);
    } else if ((key == vk::Left || key == vk::Right) && viewer) {
        key == vk::Left ? LeftArrowClick(*controls.LeftArrow) : RightArrowClick(*controls.RightArrow);
    } else if (key == vk::Up) {
        ScrollListUp();
    } else if (key == vk::Down) {
        ScrollListDown();
    } else if (key == vk::Return && shift.alt && !shift.ctrl && !shift.shift) {
        FullScreen ? RestoreScreen() : SetFullScreen();
    }
}

// The wheel turned towards the user: the next picture in the enlarged view, else the icon column
// right of the list or the list itself.
void TForm1::FormMouseWheelUp(ShiftState, int x, int) {
    if (controls.DIBImage2->Visible()) {
        RightArrowClick(*controls.RightArrow);
    } else if (x > 600) {
        StartColumnScroll(true);
    } else if (x < 590) {
        ScrollListDown();
    }
}

void TForm1::FormMouseWheelDown(ShiftState, int x, int) {
    if (controls.DIBImage2->Visible()) {
        LeftArrowClick(*controls.LeftArrow);
    } else if (x > 600) {
        StartColumnScroll(false);
    } else if (x < 590) {
        ScrollListUp();
    }
}

void TForm1::Up1MouseMove(TControl& sender, ShiftState, int x, int y) {
    if (Shows(controls.Up1)) {
        SetImage(controls.Up1, 85 + 2 * state.ColourScheme);
    }
    MoveArrows(sender, x, y);
}

void TForm1::Down1MouseMove(TControl& sender, ShiftState, int x, int y) {
    if (Shows(controls.Down1)) {
        SetImage(controls.Down1, 81 + 2 * state.ColourScheme);
    }
    MoveArrows(sender, x, y);
}

// A row's button runs its installed item; on the settings page the first three are the switches.
void TForm1::PlayClick(int row) {
    QuickRun(state.TopItem + row - 1);
}

} // namespace kavlo
