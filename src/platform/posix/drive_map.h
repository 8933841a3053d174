#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/posix_file_system.h"

namespace kavlo {

// drives.ini in the PC root maps drive letters besides C: to host directories:
//
//   [Drives]
//   D=/home/me/discs/kavlo,cdrom
//   E=/mnt/share,remote
//
// The key is the letter (a colon after it is allowed); the value is the host directory (UTF-8),
// a comma and the type: fixed, cdrom, removable or remote (any case). The directory runs to the
// last comma, so it may contain commas itself; a value without a type is a fixed drive. Lines
// with a letter outside D..Z, an empty directory or an unknown type are skipped.
std::vector<DriveMapping> ParseDrivesIni(std::string_view bytes);

// The existing directories matching shell wildcard `patterns` ("/media/*/*"), sorted, each once.
std::vector<std::string> FindMountedMedia(const std::vector<std::string>& patterns);

struct DriveLayout {
    std::vector<DriveMapping> drives;
    std::optional<char> disc_letter;
};

// The drives of drives.ini; then the disc on the first free letter from D: as a CD-ROM drive or,
// without a disc, the mounted media as CD-ROM drives on the free letters from D: upward. With every
// letter taken the disc gets none (disc_letter stays empty) and media are left out.
DriveLayout AssembleDrives(std::vector<DriveMapping> configured, const std::optional<std::string>& disc_dir,
                           const std::vector<std::string>& media);

} // namespace kavlo
