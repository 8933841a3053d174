#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace kavlo {

class ProfileCache;

// An INI file read and written with the Windows private-profile rules (see profile.cpp).
// All texts are Windows-1250 bytes. Instances on the same path that share one ProfileCache see
// each other's writes at once; changes by others are noticed by the file's size and time.
class IniFile {
public:
    // `path` is a Windows path; a plain file name means the Windows directory `windows_dir`.
    IniFile(FileSystem& fs, ProfileCache& cache, std::string_view path, std::string_view windows_dir);

    const std::string& Path() const { return path_; }

    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInteger(std::string_view section, std::string_view key, int32_t value);
    bool WriteBool(std::string_view section, std::string_view key, bool value);

    bool DeleteKey(std::string_view section, std::string_view key);
    bool EraseSection(std::string_view section);

    // Section names in file order, duplicates included.
    std::vector<std::string> ReadSections() const;
    // Key names of the first section of that name.
    std::vector<std::string> ReadSection(std::string_view section) const;
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;

private:
    FileSystem& fs_;
    ProfileCache& cache_;
    std::string path_;
};

// The menu's integer reader: blanks skipped, optional sign, decimal or hex after "$" or "0x";
// any other text (junk after the number included) gives nullopt.
std::optional<int32_t> ParseProfileInteger(std::string_view text);

} // namespace kavlo
