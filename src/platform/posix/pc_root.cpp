#include "platform/posix/pc_root.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

#include "platform/codepage.h"
#include "platform/posix/windows_path.h"

namespace kavlo {

namespace {

constexpr const char* kShellFolders =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders";
constexpr const char* kCurrentVersion = "\\Software\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kProfiles = "C:\\Documents and Settings\\";

// Makes every missing folder of a Windows path, as "mkdir -p" would.
bool CreateWindowsDirs(FileSystem& fs, const std::string& path) {
    for (size_t pos = path.find('\\', 3);; pos = path.find('\\', pos + 1)) {
        const std::string prefix = path.substr(0, pos);
        if (!fs.DirectoryExists(prefix) && !fs.CreateDir(prefix)) {
            return false;
        }
        if (pos == std::string::npos) {
            return true;
        }
    }
}

bool WriteFolder(FileSystem& fs, Registry& registry, RegRoot root, const char* name,
                 const std::string& path) {
    return CreateWindowsDirs(fs, path) && registry.WriteString(root, kShellFolders, name, path);
}

} // namespace

PcRootPaths::PcRootPaths(std::string root_dir)
    : root(std::move(root_dir)), drive_c(root + "/drive_c"), windows(drive_c + "/WINDOWS"),
      registry(root + "/registry.reg"), drives_ini(root + "/drives.ini") {}

bool CreatePcRootFolders(const PcRootPaths& paths, std::string& error) {
    const std::string folders[] = {
        paths.windows + "/SYSTEM",
        paths.windows + "/TEMP",
        paths.drive_c + "/Program Files/Common Files",
    };
    for (const std::string& folder : folders) {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (ec) {
            error = "cannot create " + folder + ": " + ec.message();
            return false;
        }
    }
    return true;
}

bool WriteSystemFolders(FileSystem& fs, Registry& registry, const std::string& user_name) {
    const std::string all_users = std::string(kProfiles) + "All Users\\";
    const std::string user = std::string(kProfiles) + user_name + "\\";
    return WriteFolder(fs, registry, RegRoot::LocalMachine, "Common Desktop", all_users + "Desktop") &&
           WriteFolder(fs, registry, RegRoot::LocalMachine, "Common Programs",
                       all_users + "Start Menu\\Programs") &&
           WriteFolder(fs, registry, RegRoot::CurrentUser, "Desktop", user + "Desktop") &&
           WriteFolder(fs, registry, RegRoot::CurrentUser, "Programs", user + "Start Menu\\Programs") &&
           registry.WriteString(RegRoot::LocalMachine, kCurrentVersion, "CommonFilesDir",
                                "C:\\Program Files\\Common Files");
}

std::string HostUserName() {
    std::string name;
    if (const char* login = std::getenv("USER"); login != nullptr && *login != '\0') {
        name = login;
    } else if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_name != nullptr) {
        name = entry->pw_name;
    }
    name = FromUtf8(name);
    // "All Users" and the dot names would collide with folders of their own.
    if (!IsValidWindowsName(name) || name == "." || name == ".." || EqualsNoCase1250(name, "All Users") ||
        name.find('\\') != std::string::npos || name.find('/') != std::string::npos) {
        return "User";
    }
    return name;
}

} // namespace kavlo
