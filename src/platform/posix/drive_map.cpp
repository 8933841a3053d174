#include "platform/posix/drive_map.h"

#include <algorithm>
#include <glob.h>
#include <set>
#include <sys/stat.h>

#include "platform/codepage.h"
#include "platform/profile_document.h"

namespace kavlo {

namespace {

std::optional<DriveType> ParseDriveType(std::string_view text) {
    const std::string upper = UpperCase1250(text);
    if (upper == "FIXED") {
        return DriveType::Fixed;
    }
    if (upper == "CDROM") {
        return DriveType::CdRom;
    }
    if (upper == "REMOVABLE") {
        return DriveType::Removable;
    }
    if (upper == "REMOTE") {
        return DriveType::Remote;
    }
    return std::nullopt;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<char> ParseLetter(std::string_view key) {
    if (key.size() == 2 && key[1] == ':') {
        key.remove_suffix(1);
    }
    if (key.size() != 1) {
        return std::nullopt;
    }
    const char letter = UpperCase1250(key[0]);
    if (letter < 'D' || letter > 'Z') {
        return std::nullopt;
    }
    return letter;
}

std::optional<DriveMapping> ParseMapping(std::string_view key, std::string_view value) {
    auto letter = ParseLetter(key);
    if (!letter) {
        return std::nullopt;
    }
    const size_t comma = value.rfind(',');
    std::string_view dir = value;
    std::optional<DriveType> type = DriveType::Fixed;
    if (comma != std::string_view::npos) {
        dir = value.substr(0, comma);
        type = ParseDriveType(Trim(value.substr(comma + 1)));
    }
    dir = Trim(dir);
    if (!type || dir.empty()) {
        return std::nullopt;
    }
    return DriveMapping{*letter, std::string(dir), *type};
}

bool IsUsed(const std::vector<DriveMapping>& drives, char letter) {
    return std::any_of(drives.begin(), drives.end(),
                       [letter](const DriveMapping& d) { return d.letter == letter; });
}

std::optional<char> FreeLetter(const std::vector<DriveMapping>& drives, char from) {
    for (char letter = from; letter <= 'Z'; ++letter) {
        if (!IsUsed(drives, letter)) {
            return letter;
        }
    }
    return std::nullopt;
}

} // namespace

std::vector<DriveMapping> ParseDrivesIni(std::string_view bytes) {
    const ProfileDocument document = ProfileDocument::Parse(bytes);
    std::vector<DriveMapping> drives;
    for (const std::string& key : document.Keys("Drives")) {
        auto value = document.Get("Drives", key);
        auto mapping = value ? ParseMapping(key, *value) : std::nullopt;
        if (mapping && !IsUsed(drives, mapping->letter)) { // the first line of a letter wins
            drives.push_back(std::move(*mapping));
        }
    }
    std::sort(drives.begin(), drives.end(),
              [](const DriveMapping& a, const DriveMapping& b) { return a.letter < b.letter; });
    return drives;
}

std::vector<std::string> FindMountedMedia(const std::vector<std::string>& patterns) {
    std::set<std::string> found;
    for (const std::string& pattern : patterns) {
        glob_t matches{};
        if (glob(pattern.c_str(), 0, nullptr, &matches) == 0) {
            for (size_t i = 0; i < matches.gl_pathc; ++i) {
                struct stat st {};
                if (stat(matches.gl_pathv[i], &st) == 0 && S_ISDIR(st.st_mode)) {
                    found.insert(matches.gl_pathv[i]);
                }
            }
        }
        globfree(&matches);
    }
    return {found.begin(), found.end()};
}

DriveLayout AssembleDrives(std::vector<DriveMapping> configured, const std::optional<std::string>& disc_dir,
                           const std::vector<std::string>& media) {
    DriveLayout layout;
    layout.drives = std::move(configured);
    if (disc_dir) {
        layout.disc_letter = FreeLetter(layout.drives, 'D');
        if (layout.disc_letter) {
            layout.drives.push_back(DriveMapping{*layout.disc_letter, *disc_dir, DriveType::CdRom});
        }
    } else {
        for (const std::string& dir : media) {
            const bool mapped = std::any_of(layout.drives.begin(), layout.drives.end(),
                                            [&dir](const DriveMapping& d) { return d.host_dir == dir; });
            auto letter = mapped ? std::nullopt : FreeLetter(layout.drives, 'D');
            if (letter) {
                layout.drives.push_back(DriveMapping{*letter, dir, DriveType::CdRom});
            }
        }
    }
    std::sort(layout.drives.begin(), layout.drives.end(),
              [](const DriveMapping& a, const DriveMapping& b) { return a.letter < b.letter; });
    return layout;
}

} // namespace kavlo
