// The small picture, its cache and the enlarged view.

#include <algorithm>

#include "main_f/form1.h"
#include "platform/codepage.h"

namespace kavlo {

namespace {

// Entries 1-99 of the picture list cache small pictures; the enlarged view uses the last one.
constexpr int kCacheEntries = 99;
constexpr int kEnlargedEntry = 100;
constexpr int kRestingOpacity = 150; // a small picture with a gallery brightens under the pointer
constexpr int kPlainOpacity = 240;
constexpr int kFadeStep = 40;
// Arrow clicks before the enlarged view is this visible are taken as stray double clicks.
constexpr int kArrowReadyOpacity = 100;

// Picture numbers have at least two digits: 01 ... 09, 10, 11 ...
std::string Numbered(int n) {
    std::string digits = std::to_string(n);
    return digits.size() < 2 ? "0" + digits : digits;
}

std::string FullSizePath(const MenuState& state, const std::string& name, int n) {
    return state.DiscDir + name + Numbered(n) + ".jpg";
}

TPage& CacheEntry(MenuState& state, int entry) {
    return state.PictureCache[static_cast<size_t>(entry - 1)];
}

template <class Table> std::string PictureOf(const Table& table, int item) {
    return item >= 1 && item <= Table::kCapacity ? table[item].Picture : std::string();
}

} // namespace

std::string TForm1::CurrentPicture(PageKind page) const {
    const int item = state.CurrentItem;
    switch (page) {
        case PageKind::Demos:
            return PictureOf(catalogue.Demos, item);
        case PageKind::Extra:
            return PictureOf(catalogue.Extra, item);
        case PageKind::Shareware:
            return PictureOf(catalogue.Shareware, item);
        case PageKind::Drivers:
            return PictureOf(catalogue.Drivers, item);
        case PageKind::Shots:
            return PictureOf(catalogue.Shots, item);
        case PageKind::Movies:
            return PictureOf(catalogue.Movies, item);
        case PageKind::Fulls:
            return PictureOf(catalogue.Fulls, item);
        case PageKind::Addons:
            return PictureOf(catalogue.Addons, item);
        case PageKind::Extra2:
            return PictureOf(catalogue.Extra2, item);
        case PageKind::Extra3:
            return PictureOf(catalogue.Extra3, item);
        case PageKind::Service:
            return PictureOf(catalogue.Service, item);
        default:
            return {};
    }
}

uint8_t TForm1::LoadSmallPicture(std::string name) {
    state.HasGallery = 0;
    if (name == "NUL") {
        return 0;
    }
    const bool illustration = UpperCase1250(name.substr(0, 3)) == "IKO";
    if (illustration) {
        name += state.ColourScheme == 1 ? "_IND" : "_GR";
    }
    TDIBImage& area = *controls.DIBImage4;
    state.PictureNumber = 1;
    std::string stem = name;
    if (platform_.fs.FileExists(FullSizePath(state, name, 1))) {
        stem += Numbered(1);
        state.HasGallery = 1;
        if (state.PointerOnPicture != 1) {
            area.SetOpacity(kRestingOpacity);
        }
    } else {
        area.SetOpacity(kPlainOpacity);
    }
    area.SetVisible(true);
    area.SetStretch(false);

    if (ImageLoaded(name)) {
        for (int entry = 1; entry <= kCacheEntries; ++entry) {
            const TPage& cached = CacheEntry(state, entry);
            if (cached.caption == name) {
                area.IndexMain().SetDIBIndex(cached.kind);
            }
        }
        return state.HasGallery;
    }
    const std::string path = state.DiscDir + "Small\\" + stem + ".bmp";
    if (!platform_.fs.FileExists(path) && UpperCase1250(name).find("IKO") == std::string::npos) {
        return state.HasGallery;
    }
    // A picture that does not load takes no cache entry, and the area keeps what it showed.
    const int entry = state.PictureCount + 1;
    if (!controls.DIBImageList2->ReloadItem(entry, platform_.fs, path, name).empty()) {
        return state.HasGallery;
    }
    state.PictureCount = entry;
    area.IndexMain().SetDIBIndex(entry);
    CacheEntry(state, entry) = TPage{name, static_cast<uint8_t>(entry)};
    // The cache starts over, and until it grows again only its first entry is searched.
    if (state.PictureCount > kCacheEntries - 1) {
        state.PictureCount = 1;
    }
    return state.HasGallery;
}

bool TForm1::ImageLoaded(const std::string& name) const {
    const int count = std::min(state.PictureCount, kCacheEntries);
    for (int entry = 1; entry <= count; ++entry) {
        if (state.PictureCache[static_cast<size_t>(entry - 1)].caption == name) {
            return true;
        }
    }
    return false;
}

bool TForm1::NextPicture(const std::string& name) const {
    return platform_.fs.FileExists(FullSizePath(state, name, state.PictureNumber + 1));
}

bool TForm1::PrevPicture(const std::string& name) const {
    return platform_.fs.FileExists(FullSizePath(state, name, state.PictureNumber - 1));
}

void TForm1::SetControlOpacity(TDIBControl& image, int delta) {
    image.SetOpacity(static_cast<uint8_t>(std::clamp(image.Opacity() + delta, 0, 255)));
}

bool TForm1::ShowFullSizePicture(const std::string& name, int number) {
    const std::string error = controls.DIBImageList2->ReloadItem(
        kEnlargedEntry, platform_.fs, FullSizePath(state, name, number), name + Numbered(number));
    if (!error.empty()) {
        return false;
    }
    controls.DIBImage2->IndexMain().SetDIBIndex(kEnlargedEntry);
    return true;
}

void TForm1::DIBImage4Click(TControl&) {
    const std::string name = CurrentPicture(state.CurrentPage);
    if (name.empty() || !platform_.fs.FileExists(FullSizePath(state, name, 1)) ||
        !ShowFullSizePicture(name, 1)) {
        return;
    }
    TForm1Controls& c = controls;
    state.GalleryName = name;
    state.PictureNumber = 1;
    c.LeftArrow->SetVisible(false);
    c.RightArrow->SetVisible(NextPicture(name));
    c.DIBTimer3->Timer().SetEnabled(true);
    if (state.Enhanced) {
        c.DIBImage1->SetAutoSize(true);
        if (!state.Slow) {
            c.DIBImage1->SetOpacity(255);
        }
        c.DIBImage1->SetVisible(true);
    }
    c.DIBImage2->SetAutoSize(true);
    c.DIBImage2->SetVisible(true);
}

void TForm1::RightArrowClick(TControl&) {
    TForm1Controls& c = controls;
    if (c.DIBImage2->Opacity() < kArrowReadyOpacity) {
        return;
    }
    const std::string name = CurrentPicture(state.CurrentPage);
    if (NextPicture(name) && ShowFullSizePicture(name, state.PictureNumber + 1)) {
        state.PictureNumber += 1;
        c.LeftArrow->SetVisible(true);
    }
    c.RightArrow->SetVisible(NextPicture(name));
}

void TForm1::LeftArrowClick(TControl&) {
    TForm1Controls& c = controls;
    if (c.DIBImage2->Opacity() < kArrowReadyOpacity) {
        return;
    }
    const std::string name = CurrentPicture(state.CurrentPage);
    if (PrevPicture(name) && ShowFullSizePicture(name, state.PictureNumber - 1)) {
        state.PictureNumber -= 1;
        c.RightArrow->SetVisible(true);
    }
    c.LeftArrow->SetVisible(PrevPicture(name));
}

// A right-button press closes the enlarged view, but not while it is still fading in or out.
void TForm1::DIBImage1MouseDown(TControl&, MouseButton button, ShiftState, int, int) {
    TimerHandle& fade_out = controls.DIBTimer4->Timer();
    if (button == MouseButton::Right && !controls.DIBTimer3->Timer().Enabled() && !fade_out.Enabled()) {
        fade_out.SetEnabled(true);
    }
}

// The enlarged view comes up while the sponsor buttons under it fade away; without the effects at once.
void TForm1::DIBTimer3Timer() {
    TForm1Controls& c = controls;
    if (state.Slow && c.DIBImage2->Opacity() < 255) {
        for (TDIBControl* shown : {c.DIBImage2, c.LeftArrow, c.RightArrow}) {
            SetControlOpacity(*shown, kFadeStep);
        }
        SetControlOpacity(*c.DIBImage3, -kFadeStep);
        SetControlOpacity(*c.DIBImage5, -kFadeStep);
        return;
    }
    if (!state.Slow) {
        for (TDIBControl* control : {c.DIBImage2, c.LeftArrow, c.RightArrow, c.DIBImage3, c.DIBImage5}) {
            control->SetOpacity(255);
        }
    }
    c.DIBTimer3->Timer().SetEnabled(false);
    c.DIBImage3->SetVisible(false);
    c.DIBImage5->SetVisible(false);
}

// Closing waits for the opening fade; the sponsor button of the window mode comes back as the view goes.
void TForm1::DIBTimer4Timer() {
    TForm1Controls& c = controls;
    if (c.DIBTimer3->Timer().Enabled()) {
        return;
    }
    if (catalogue.header.Redarer == 1) {
        (state.Enhanced ? c.DIBImage3 : c.DIBImage5)->SetVisible(true);
    }
    if (c.DIBImage2->Opacity() > 0 && state.Slow) {
        for (TDIBControl* hidden : {c.DIBImage2, c.LeftArrow, c.RightArrow}) {
            SetControlOpacity(*hidden, -kFadeStep);
        }
        SetControlOpacity(*c.DIBImage3, kFadeStep);
        SetControlOpacity(*c.DIBImage5, kFadeStep);
        return;
    }
    c.DIBTimer4->Timer().SetEnabled(false);
    for (TDIBControl* control : {c.DIBImage2, c.DIBImage1, c.LeftArrow, c.RightArrow}) {
        control->SetVisible(false);
    }
}

} // namespace kavlo
