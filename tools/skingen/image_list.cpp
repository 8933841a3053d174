#include "image_list.h"

#include <array>
#include <string_view>

#include "art_background.h"
#include "art_common.h"
#include "art_controls.h"
#include "art_extras.h"
#include "art_icons.h"

namespace kavlo::skingen {

namespace {

using namespace layout;

// The names the list has always carried; the code addresses images by index, never by name.
constexpr std::array<std::string_view, kImageList1Count> kNames{"Demos_Off",
                                                                "Demos_On",
                                                                "Demos_Off_I",
                                                                "Demos_On_I",
                                                                "Shareware_Off",
                                                                "Shareware_On",
                                                                "Shareware_Off_I",
                                                                "Shareware_On_I",
                                                                "Extra_Off",
                                                                "Extra_On",
                                                                "Extra_Off_I",
                                                                "Extra_On_I",
                                                                "Updates_Off",
                                                                "Updates_On",
                                                                "Updates_Off_I",
                                                                "Updates_On_I",
                                                                "Drivers_Off",
                                                                "Drivers_On",
                                                                "Drivers_Off_I",
                                                                "Drivers_On_I",
                                                                "Instalovano_Off",
                                                                "Instalovano_On",
                                                                "Instalovano_Off_I",
                                                                "Instalovano_On_I",
                                                                "E3_Off",
                                                                "E3_On",
                                                                "E3_Off_I",
                                                                "E3_On_I",
                                                                "Online_On",
                                                                "Online_Off",
                                                                "Online_Off_I",
                                                                "Online_On_I",
                                                                "Readers_Off",
                                                                "Readers_On",
                                                                "Readers_Off_I",
                                                                "Readers_On_I",
                                                                "Stop_Off",
                                                                "Stop_On",
                                                                "Stop_Off_I",
                                                                "Stop_On_I",
                                                                "Play_Off",
                                                                "Play_On",
                                                                "Play_Off_I",
                                                                "Play_On_I",
                                                                "Web_Off",
                                                                "Web_On",
                                                                "Web_Off_I",
                                                                "Web_On_I",
                                                                "Readme_Off",
                                                                "Readme_On",
                                                                "Readme_Off_I",
                                                                "Readme_On_I",
                                                                "Background",
                                                                "Background_I",
                                                                "Flag_Playable",
                                                                "Flag_Playable_I",
                                                                "Flag_UnPlayable",
                                                                "Flag_UnPlayable_I",
                                                                "Flag_CZ",
                                                                "Flag_CZ_I",
                                                                "Flag_3D",
                                                                "Flag_3D_I",
                                                                "Flag_Net",
                                                                "Flag_Net_I",
                                                                "Exit",
                                                                "Exit_I",
                                                                "Setting",
                                                                "Settings_I",
                                                                "Indigo",
                                                                "Indigo_I",
                                                                "UpperArrow",
                                                                "UpperArrow_I",
                                                                "LowerArrow",
                                                                "LowerArrow_I",
                                                                "Highlight",
                                                                "Highlight_I",
                                                                "Right",
                                                                "Left",
                                                                "big",
                                                                "I_Big",
                                                                "Down_off",
                                                                "Down_on",
                                                                "Down_off_I",
                                                                "Down_On_I",
                                                                "Up_Off",
                                                                "Up_On",
                                                                "Up_Off_I",
                                                                "Up_On_I",
                                                                "Menu_Play_off",
                                                                "Menu_Play_On",
                                                                "Menu_Play_Off_I",
                                                                "Menu_Play_On_I",
                                                                "DN",
                                                                "DN_I",
                                                                "UP",
                                                                "UP_I",
                                                                "Wireless",
                                                                "Wireless_I",
                                                                "DN",
                                                                "DN_I",
                                                                "UP",
                                                                "UP_I",
                                                                "Movies_Off",
                                                                "Movies_On",
                                                                "Movies_Off_I",
                                                                "Movies_On_I",
                                                                "Dovudiz_Off",
                                                                "Dovudiz_On",
                                                                "Dovudiz_Off_I",
                                                                "Dovudiz_On_I",
                                                                "Menu_Settings_Off",
                                                                "Menu_Settings_Off_S",
                                                                "Menu_Settings_Off_I",
                                                                "Menu_Settings_Off_S_I",
                                                                "Menu_Settings_On",
                                                                "Menu_Settings_On_S",
                                                                "MenuSettings_On_I",
                                                                "Menu_Settings_on_S_I",
                                                                "Empy",
                                                                "Empty_I",
                                                                "",
                                                                "",
                                                                "",
                                                                "",
                                                                "",
                                                                "",
                                                                "New",
                                                                "",
                                                                "",
                                                                "",
                                                                "AXE"};

struct IconGroup {
    int base;
    Pictogram kind;
};

// Section icon groups by role; 24 is the spare section's group.
constexpr std::array<IconGroup, 12> kIconGroups{{{0, Pictogram::Gamepad},
                                                 {4, Pictogram::Toolbox},
                                                 {8, Pictogram::Star},
                                                 {12, Pictogram::Updates},
                                                 {16, Pictogram::Chip},
                                                 {20, Pictogram::HardDisk},
                                                 {24, Pictogram::GameBox},
                                                 {28, Pictogram::Camera},
                                                 {32, Pictogram::Pen},
                                                 {102, Pictogram::FilmStrip},
                                                 {106, Pictogram::Globe},
                                                 {122, Pictogram::Puzzle}}};

constexpr std::array<IconGroup, 4> kLargeButtons{
    {{36, Pictogram::Stop}, {40, Pictogram::Play}, {44, Pictogram::Globe}, {48, Pictogram::Document}}};

constexpr int kLargeButtonSize = 40;
constexpr int kSpareSize = 16;

struct Scheme {
    Theme theme;
    Canvas framed;
    Canvas simple;
};

Canvas CutBox(const Canvas& c, const Box& b) {
    return c.Crop(b.x, b.y, b.w, b.h);
}

// Images that come in a pair per scheme: off/on at +0/+1, the scheme-1 pair at +2/+3.
void AddPairs(std::vector<Canvas>& list, const std::array<Scheme, 2>& schemes) {
    for (const auto& [base, kind] : kIconGroups) {
        for (int s = 0; s < 2; ++s) {
            Canvas backdrop = schemes[s].framed.Crop(kIconX, 200, kIconWidth, kIconHeight);
            list[base + 2 * s] = SectionIcon(backdrop, schemes[s].theme, kind, false);
            list[base + 2 * s + 1] = SectionIcon(backdrop, schemes[s].theme, kind, true);
        }
    }
    for (const auto& [base, kind] : kLargeButtons) {
        for (int s = 0; s < 2; ++s) {
            list[base + 2 * s] = LargeButton(kLargeButtonSize, schemes[s].theme, kind, false);
            list[base + 2 * s + 1] = LargeButton(kLargeButtonSize, schemes[s].theme, kind, true);
        }
    }
    for (int s = 0; s < 2; ++s) {
        const Canvas& bg = schemes[s].framed;
        const Theme& t = schemes[s].theme;
        list[80 + 2 * s] = ScrollArrow(bg, t, false, false);
        list[81 + 2 * s] = ScrollArrow(bg, t, false, true);
        list[84 + 2 * s] = ScrollArrow(bg, t, true, false);
        list[85 + 2 * s] = ScrollArrow(bg, t, true, true);
        list[88 + 2 * s] = QuickRunButton(bg, t, false);
        list[89 + 2 * s] = QuickRunButton(bg, t, true);
        list[110 + 2 * s] = SettingsSwitch(bg, t, false, false);
        list[111 + 2 * s] = SettingsSwitch(bg, t, false, true);
        list[114 + 2 * s] = SettingsSwitch(bg, t, true, false);
        list[115 + 2 * s] = SettingsSwitch(bg, t, true, true);
    }
}

// Images with one variant per scheme at +0/+1.
void AddSingles(std::vector<Canvas>& list, const std::array<Scheme, 2>& schemes) {
    for (int s = 0; s < 2; ++s) {
        const Scheme& sc = schemes[s];
        list[52 + s] = sc.framed;
        list[96 + s] = sc.simple;
        list[54 + s] = FlagBadge(sc.framed, sc.theme, Flag::Playable);
        list[56 + s] = FlagBadge(sc.framed, sc.theme, Flag::Unplayable);
        list[58 + s] = FlagBadge(sc.framed, sc.theme, Flag::Czech);
        list[60 + s] = FlagBadge(sc.framed, sc.theme, Flag::ThreeD);
        list[62 + s] = FlagBadge(sc.framed, sc.theme, Flag::Network);
        list[118 + s] = FlagBadge(sc.framed, sc.theme, Flag::Empty);
        for (int n = 0; n < 3; ++n) {
            list[64 + 2 * n + s] = CornerIndicator(sc.framed, sc.theme, n);
        }
        list[70 + s] = TrackingArrow(sc.framed, sc.theme, true);
        list[72 + s] = TrackingArrow(sc.framed, sc.theme, false);
        list[74 + s] = HighlightBar(sc.framed, sc.theme);
        list[78 + s] = PictureFrame(sc.theme);
        if (s == 1) {
            // The scheme-1 frame is stored opaque: its clear middle shows dark glass.
            Canvas opaque(list[79].Width(), list[79].Height(), ink::kGlass);
            opaque.Draw(list[79], 0, 0);
            list[79] = std::move(opaque);
        }
        list[92 + s] = CutBox(sc.framed, kLowerCover);
        list[94 + s] = CutBox(sc.framed, kUpperCover);
        list[98 + s] = CutBox(sc.simple, kLowerCover);
        list[100 + s] = CutBox(sc.simple, kUpperCover);
    }
}

} // namespace

std::vector<uint32_t> SkinImage::StoredPixels() const {
    std::vector<uint32_t> words = picture.BottomUp();
    if (transparent || masked) {
        for (uint32_t& w : words) {
            if ((w >> 24) == 0) {
                w = key_rgb;
            }
        }
    }
    return words;
}

std::vector<SkinImage> BuildImageList1() {
    std::array<Scheme, 2> schemes;
    for (int s = 0; s < 2; ++s) {
        schemes[s].theme = SchemeTheme(s);
        schemes[s].framed = DrawBackground(schemes[s].theme, true);
        schemes[s].simple = DrawBackground(schemes[s].theme, false);
    }
    std::vector<Canvas> pictures(kImageList1Count);
    AddPairs(pictures, schemes);
    AddSingles(pictures, schemes);
    pictures[76] = GalleryArrow(true);
    pictures[77] = GalleryArrow(false);
    pictures[126] = NewBadge();
    pictures[130] = SponsorButton();
    for (int i : {120, 121, 127, 128, 129}) {
        pictures[i] = SparePlate(kSpareSize);
    }

    std::vector<SkinImage> list(kImageList1Count);
    for (int i = 0; i < kImageList1Count; ++i) {
        list[i].name = std::string(kNames[i]);
        list[i].picture = std::move(pictures[i]);
    }
    list[76].transparent = list[77].transparent = true;
    list[76].key_rgb = list[77].key_rgb = kArrowKey;
    list[78].transparent = list[78].masked = list[78].fixed_key = true;
    list[78].key_rgb = kFrameKey;
    list[79].key_rgb = kFrameKey;
    list[130].transparent = list[130].fixed_key = true;
    list[130].key_rgb = kWhiteKey;
    list[130].scale = 120;
    return list;
}

std::vector<SkinImage> BuildImageList2() {
    std::vector<SkinImage> list(kImageList2Count);
    for (auto& image : list) {
        image.picture = Canvas(1, 1, ink::kChassisBottom);
    }
    return list;
}

std::vector<SkinImage> BuildControlsList() {
    constexpr std::array<Pictogram, 4> kKinds{Pictogram::Document, Pictogram::Globe, Pictogram::Play,
                                              Pictogram::Cross};
    std::vector<SkinImage> list(kControlsCount);
    for (int s = 0; s < 2; ++s) {
        Theme theme = SchemeTheme(s);
        Canvas bg = DrawBackground(theme, true);
        for (int n = 0; n < 15; ++n) {
            bool normal = n >= 6 && n <= 9;
            bool lit = n >= 11 && n <= 14;
            Pictogram kind = kKinds[normal ? n - 6 : lit ? n - 11 : 0];
            list[s * 15 + n].picture = ActionButton(bg, theme, kind, lit, !normal && !lit);
        }
    }
    return list;
}

} // namespace kavlo::skingen
