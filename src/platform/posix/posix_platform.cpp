#include "platform/posix/posix_platform.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

#include "platform/posix/drive_map.h"

namespace kavlo {

namespace {

std::string Absolute(const std::string& host_dir) {
    std::error_code ec;
    std::string absolute = std::filesystem::absolute(host_dir, ec).lexically_normal().string();
    if (ec) {
        absolute = host_dir;
    }
    while (absolute.size() > 1 && absolute.back() == '/') {
        absolute.pop_back(); // "pc/" must not give "pc//drive_c"
    }
    return absolute;
}

std::string HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : ".";
}

// drives.ini lives outside every drive, so it is read as a host file.
std::vector<DriveMapping> ReadDrivesIni(const std::string& host_path) {
    std::string bytes;
    if (FILE* file = std::fopen(host_path.c_str(), "rb")) {
        char buffer[4096];
        size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
            bytes.append(buffer, got);
        }
        std::fclose(file);
    }
    return ParseDrivesIni(bytes);
}

DriveLayout LayoutOf(const PosixPlatformOptions& options, const PcRootPaths& paths) {
    std::optional<std::string> disc;
    if (options.disc_dir) {
        disc = Absolute(*options.disc_dir);
    }
    std::vector<std::string> media;
    if (!disc && options.scan_media) {
        media = FindMountedMedia(options.media_patterns);
    }
    return AssembleDrives(ReadDrivesIni(paths.drives_ini), disc, media);
}

// Started from the disc the program is that drive's KAVLO.EXE; otherwise it lives on C:, and
// start-up goes looking for the disc among the other drives.
std::string ProgramPathOf(std::optional<char> disc_letter) {
    if (disc_letter) {
        return std::string{*disc_letter, ':', '\\'} + "KAVLO.EXE";
    }
    return "C:\\KAVLO\\KAVLO.EXE";
}

bool IsMissing(const std::string& host_dir) {
    std::error_code ec;
    return !std::filesystem::exists(host_dir, ec);
}

std::string PcRootOf(const PosixPlatformOptions& options) {
    return Absolute(options.pc_root.empty() ? DefaultPcRoot() : options.pc_root);
}

// The companion tool beside the running program, as the build and an installation place them.
std::string ToolBesideProgram() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return {};
    }
    const std::filesystem::path tool = self.parent_path() / "kavlo-tool";
    return access(tool.c_str(), X_OK) == 0 ? tool.string() : std::string();
}

ChildEnvironment ChildEnvironmentOf(const PcRootPaths& paths) {
    return ChildEnvironment{paths.root, ToolBesideProgram()};
}

} // namespace

std::string DefaultPcRoot() {
    // The XDG rules ignore a relative XDG_DATA_HOME.
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/') {
        return std::string(data) + "/kavlo/pc";
    }
    return HomeDirectory() + "/.local/share/kavlo/pc";
}

PosixPlatform::PosixPlatform(PosixPlatformOptions options)
    : PosixPlatform(options, LayoutOf(options, PcRootPaths(PcRootOf(options)))) {}

PosixPlatform::PosixPlatform(const PosixPlatformOptions& options, DriveLayout layout)
    : paths_(PcRootOf(options)), fresh_(IsMissing(paths_.drive_c)), disc_letter_(layout.disc_letter),
      fs_(paths_.drive_c, std::move(layout.drives)), registry_(paths_.registry),
      system_(paths_.windows, ProgramPathOf(disc_letter_), options.fixed_time), fonts_(fs_), shortcuts_(fs_),
      processes_(fs_, shortcuts_, events_, ChildEnvironmentOf(paths_)), unrar_(fs_),
      libraries_(fs_), platform_{fs_,        registry_, system_, fonts_,    processes_,
                                 shortcuts_, unrar_,    events_, libraries_} {
    if (fresh_ && CreatePcRootFolders(paths_, error_) &&
        !WriteSystemFolders(fs_, registry_, HostUserName())) {
        error_ = "cannot write the system folders into " + paths_.registry;
    }
    // Searching the drives from C: instead would hide that the disc given was never mapped.
    if (error_.empty() && options.disc_dir && !disc_letter_) {
        error_ = "no free drive letter for the disc " + *options.disc_dir + ": D: to Z: are all taken";
    }
}

} // namespace kavlo
