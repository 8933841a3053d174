#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kavlo {

// The page a slot of the icon column opens; the numbers are the ones the menu has always used.
enum class PageKind : uint8_t {
    None = 0,
    Demos = 1,
    Extra = 2,
    Shareware = 3,
    Drivers = 4,
    Updates = 5,
    Readers = 6,
    Shots = 7,
    Movies = 8,
    Fulls = 10,
    Addons = 11,
    Dovudiz = 12,
    Extra2 = 13,
    Extra3 = 14,
    Service = 15,
    Installed = 20,
    Settings = 21,
};

// The pages whose items the menu installs itself or through their setups, and runs once installed.
inline bool InstallsItems(PageKind page) {
    switch (page) {
        case PageKind::Demos:
        case PageKind::Extra:
        case PageKind::Shareware:
        case PageKind::Readers:
        case PageKind::Fulls:
        case PageKind::Addons:
        case PageKind::Extra2:
        case PageKind::Extra3:
            return true;
        default:
            return false;
    }
}

// A slot of the icon column (its caption and the page it opens), or an entry of the picture cache
// (a picture name and the image-list entry that holds it).
struct TPage {
    std::string caption;
    uint8_t kind = 0;
};

// The values start-up records about the disc and the PC for every other part of the menu.
// Directory values end with a back-slash (DiscDrive has none: "E:").
struct MenuState {
    std::string DiscDrive;
    std::string DiscDir;
    std::string OsName;
    std::string SystemDir;
    std::string WindowsDir;
    std::string TempDir;
    std::string ProgramFilesDir;
    std::string CommonDesktopDir;
    std::string CommonProgramsDir;
    std::string UserDesktopDir;
    std::string UserProgramsDir;
    std::string CommonFilesDir;
    int ColourScheme = 0;

    // Settings switches read at creation.
    bool Enhanced = true;
    bool Slow = false;
    bool Music = true;

    // Command-line "T": show the install paths before each install.
    bool InstallTest = false;

    // The icon column: slots 1..PageCount of PageTable are filled.
    std::array<TPage, 14> PageTable{};
    int PageCount = 0;
    PageKind CurrentPage = PageKind::None;
    int SelectedSlot = 0;
    int PreviousSlot = 0;
    int PressedSlot = 0; // the icon drawn pressed under the pointer; 0 none
    int ColumnStep = 5;  // pixels a column scroll tick moves

    // The item list; items count from 1.
    int TopItem = 1;
    int CurrentItem = 1;
    int PreviousItem = 1;

    // The picture gallery.
    int PictureNumber = 1;
    uint8_t HasGallery = 0;
    uint8_t PointerOnPicture = 0;
    std::array<TPage, 99> PictureCache{};
    int PictureCount = 0;
    std::string GalleryName; // the picture name of the item whose enlarged view is open
};

} // namespace kavlo
