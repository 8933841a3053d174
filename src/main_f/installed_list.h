#pragma once

#include <string>

#include "main_f/records.h"
#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/registry.h"

namespace kavlo {

// The programs installed from any disc of the series, as the Installed page lists them.
using InstalledTable = FixedTable<TDemos, 50>;

// The list never walks more entries of kavlo.ini than this, so the table always has room.
inline constexpr int kInstalledListLimit = 48;

struct InstalledListContext {
    const FileSystem& fs;
    // Uninstall keys, for the records of the first disc that kept none of its own.
    const Registry& registry;
    // kavlo.ini: its "CD" + issue sections hold the records, its "Main" section the disc labels.
    IniFile& SettingsFile;
    // This disc's issue code: programs of discs 10 and up run only from their own disc.
    std::string issue;
};

// Fills entries 1..n of `table` (every entry is cleared first) from the install records of
// kavlo.ini, sorted by item name, one entry per disc a program was installed from, and returns n.
// Records of programs that are no longer where they were installed are removed from kavlo.ini.
int ReadInstalledList(InstalledTable& table, const InstalledListContext& context);

} // namespace kavlo
