#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"
#include "platform/profile_document.h"

namespace kavlo {

// Parsed INI files by full path, shared by every IniFile made with the same cache (see profile.cpp
// for when a file is read again). One cache serves one FileSystem and must outlive the reads and
// writes of its IniFiles.
class ProfileCache {
public:
    // How long a file is trusted without asking for its stamp again; see profile.cpp.
    static constexpr std::chrono::milliseconds kDefaultRecheck{2};

    explicit ProfileCache(std::chrono::steady_clock::duration recheck_interval = kDefaultRecheck)
        : recheck_interval_(recheck_interval) {}
    ProfileCache(const ProfileCache&) = delete;
    ProfileCache& operator=(const ProfileCache&) = delete;

private:
    friend class IniFile;

    struct Entry {
        std::string path; // full Windows path
        ProfileDocument doc;
        std::optional<FileStamp> stamp; // of the file as `doc` was read or written
        bool loaded = false;
        // The file exists but could not be read: writing would replace what we never saw.
        bool unreadable = false;
        std::chrono::steady_clock::time_point checked{};
    };

    Entry& EntryFor(const std::string& full_path);
    const ProfileDocument& Current(FileSystem& fs, Entry& entry, bool always_check);
    // Applies `edit` to a copy and replaces the file with it; on any failure nothing changes.
    template <typename Edit> bool Change(FileSystem& fs, Entry& entry, Edit edit);
    bool Store(FileSystem& fs, Entry& entry, ProfileDocument doc);

    std::chrono::steady_clock::duration recheck_interval_;
    // Keyed by the case-folded full path; entries live as long as the cache.
    std::unordered_map<std::string, std::unique_ptr<Entry>> entries_;
};

// An INI file read and written with the Windows private-profile rules (see profile_document.cpp).
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
    // The keys of one section deleted in a single rewrite of the file; the file is not touched when
    // none of them is there.
    bool DeleteKeys(std::string_view section, const std::vector<std::string>& keys);
    bool EraseSection(std::string_view section);

    // Section names in file order, duplicates included.
    std::vector<std::string> ReadSections() const;
    // Key names of the first section of that name.
    std::vector<std::string> ReadSection(std::string_view section) const;
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;

private:
    const ProfileDocument& Doc() const;

    FileSystem& fs_;
    ProfileCache& cache_;
    std::string path_;
    ProfileCache::Entry* entry_;
};

// The menu's integer reader: blanks skipped, optional sign, decimal or hex after "$" or "0x";
// any other text (junk after the number included) gives nullopt.
std::optional<int32_t> ParseProfileInteger(std::string_view text);

} // namespace kavlo
