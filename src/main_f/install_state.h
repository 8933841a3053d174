#pragma once

#include <string>
#include <string_view>

#include "main_f/menu_state.h"
#include "main_f/records.h"
#include "platform/platform.h"
#include "platform/profile.h"

namespace kavlo {

// What the install-state check needs from the main window.
struct InstallStateContext {
    Platform& platform;
    // Opens the other INI files the check reads: sierra.ini, programs' own INI files, C:\kavlo.ini.
    ProfileCache& profiles;
    // DiscDrive, WindowsDir, ProgramFilesDir and the Start-menu and desktop folders.
    const MenuState& state;
    // The disc's issue code ("0204"): install records live in section "CD" + issue of kavlo.ini.
    std::string issue;
    // kavlo.ini; may be null, and then nothing is recorded or read from it.
    IniFile* SettingsFile = nullptr;
};

// The registry key under HKEY_LOCAL_MACHINE that holds an item's "UninstallString".
inline constexpr std::string_view kUninstallKey =
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// The "UninstallString" of an uninstall key; "" when the name is empty or the key or value is missing.
std::string UninstallStringOf(const Registry& registry, std::string_view reg_uninstall);

struct GameFile {
    bool found = false;
    // The alternative of a "GAME.EXE:GAME3D.EXE" list that exists, or GameName itself.
    std::string run_entry;
};

// Whether the item's program is in InstalledDir; of a list of alternatives the last one present wins.
GameFile FindGameFile(const FileSystem& fs, const TDemos& item);

// The directory recorded for an item in kavlo.ini, else in C:\kavlo.ini, else in
// C:\WINDOWS\kavlo.ini when that is not kavlo.ini itself.
std::string RecordedDir(const InstallStateContext& context, std::string_view name);

// Finds out whether the item is installed and where, sets InstalledDir, UnInstallName,
// NeedsInstall, Installed and CanUninstall, and refreshes or removes its record in kavlo.ini.
void CheckDemo(TDemos& item, const InstallStateContext& context);

} // namespace kavlo
