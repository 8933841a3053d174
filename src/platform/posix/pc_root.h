#pragma once

#include <string>

#include "platform/file_system.h"
#include "platform/registry.h"

namespace kavlo {

// The host folders of a PC root: drive_c/ is C:, with the Windows folders in it.
struct PcRootPaths {
    explicit PcRootPaths(std::string root);

    std::string root;
    std::string drive_c;    // C:
    std::string windows;    // C:\WINDOWS
    std::string registry;   // registry.reg
    std::string drives_ini; // drives.ini
};

// Creates the folders of a new PC root (C:, WINDOWS, SYSTEM, TEMP, Program Files, Common Files).
// Returns false with `error` set when a folder cannot be made.
bool CreatePcRootFolders(const PcRootPaths& paths, std::string& error);

// Fills in what Windows setup leaves in a new system: the shell folders of all users and of
// `user_name` (Windows-1250), created as folders, and the common-files directory.
bool WriteSystemFolders(FileSystem& fs, Registry& registry, const std::string& user_name);

// The host login name as a Windows-1250 user folder name; "User" when it would not make one.
std::string HostUserName();

} // namespace kavlo
