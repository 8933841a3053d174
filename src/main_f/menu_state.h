#pragma once

#include <string>

namespace kavlo {

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
};

} // namespace kavlo
