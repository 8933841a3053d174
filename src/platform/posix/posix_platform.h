#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/event_log.h"
#include "platform/platform.h"
#include "platform/posix/drive_map.h"
#include "platform/posix/pc_root.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_fonts.h"
#include "platform/posix/posix_libraries.h"
#include "platform/posix/posix_processes.h"
#include "platform/posix/posix_shortcuts.h"
#include "platform/posix/posix_system_info.h"
#include "platform/posix/posix_unrar.h"
#include "platform/reg_file_registry.h"

namespace kavlo {

struct PosixPlatformOptions {
    // Host directory of the PC root; empty means DefaultPcRoot().
    std::string pc_root = {};
    // Host directory of the disc, mapped as a CD-ROM drive on the first free letter from D:; the
    // program then runs as "<letter>:\KAVLO.EXE". Without it the program lives on C:.
    std::optional<std::string> disc_dir = std::nullopt;
    // Without a disc: add the mounted media (media_patterns) as CD-ROM drives.
    bool scan_media = true;
    // A fixed clock for tests and headless runs; local time when empty.
    std::optional<LocalTime> fixed_time = std::nullopt;
    std::vector<std::string> media_patterns = {"/media/*/*", "/run/media/*/*", "/cdrom"};
};

// $XDG_DATA_HOME/kavlo/pc, else ~/.local/share/kavlo/pc.
std::string DefaultPcRoot();

// The Windows services over a PC root on the host. A missing PC root is made on construction with
// its folders and the system's registry values, as a fresh Windows installation would have them.
class PosixPlatform {
public:
    explicit PosixPlatform(PosixPlatformOptions options);
    PosixPlatform(const PosixPlatform&) = delete;
    PosixPlatform& operator=(const PosixPlatform&) = delete;

    Platform& platform() { return platform_; }

    // False when the PC root could not be made or a disc was given and D: to Z: are all taken;
    // error() says why. The services still answer, failing softly, so the program can report the
    // problem.
    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

    const PcRootPaths& paths() const { return paths_; }
    // Empty without a disc, and for a disc that found no free letter.
    std::optional<char> disc_letter() const { return disc_letter_; }

    PosixFileSystem& fs() { return fs_; }
    RegFileRegistry& registry() { return registry_; }
    PosixSystemInfo& system() { return system_; }
    PosixFonts& fonts() { return fonts_; }
    PosixProcesses& processes() { return processes_; }
    PosixShortcuts& shortcuts() { return shortcuts_; }
    PosixUnrar& unrar() { return unrar_; }
    PosixLibraries& libraries() { return libraries_; }
    EventLog& events() { return events_; }

private:
    PosixPlatform(const PosixPlatformOptions& options, DriveLayout layout);

    PcRootPaths paths_;
    bool fresh_ = false; // the PC root was missing
    std::string error_;
    std::optional<char> disc_letter_;
    PosixFileSystem fs_;
    RegFileRegistry registry_;
    PosixSystemInfo system_;
    PosixFonts fonts_;
    EventLog events_;
    PosixShortcuts shortcuts_;
    PosixProcesses processes_;
    PosixUnrar unrar_;
    PosixLibraries libraries_;
    Platform platform_;
};

} // namespace kavlo
