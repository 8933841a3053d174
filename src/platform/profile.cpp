#include "platform/profile.h"

#include "platform/codepage.h"

namespace kavlo {

// When a cached file is read again. A catalogue load reads ~20,000 keys one by one. Measured on
// a 1.1 MB catalogue (release build, POSIX file system): a stamp costs ~8 us (path resolution plus
// a stat), so a stamp per read made the load 20-30 times the cost of reading and parsing the file
// once; trusting a stamp for 2 ms of the steady clock brings it to 1.1-1.6 times. A write by
// another program is therefore seen within `recheck_interval_`; our own writes update the cache at
// once, and every write checks the stamp first so that it never overwrites a newer file.

ProfileCache::Entry& ProfileCache::EntryFor(const std::string& full_path) {
    // Windows paths name one file whatever their case.
    auto& slot = entries_[UpperCase1250(full_path)];
    if (!slot) {
        slot = std::make_unique<Entry>();
        slot->path = full_path;
    }
    return *slot;
}

const ProfileDocument& ProfileCache::Current(FileSystem& fs, Entry& entry, bool always_check) {
    const auto now = std::chrono::steady_clock::now();
    if (entry.loaded && !always_check && now - entry.checked < recheck_interval_) {
        return entry.doc;
    }
    entry.checked = now;
    // Stamp before reading: a change in between leaves an older stamp, so the next check reads again.
    auto stamp = fs.Stamp(entry.path);
    if (entry.loaded && stamp == entry.stamp) {
        return entry.doc;
    }
    auto bytes = fs.ReadFile(entry.path);
    if (bytes) {
        entry.doc = ProfileDocument::Parse(*bytes);
        entry.unreadable = false;
    } else {
        // A missing file reads as empty, as on Windows.
        entry.doc = ProfileDocument();
        entry.unreadable = fs.FileExists(entry.path);
    }
    entry.stamp = stamp;
    entry.loaded = true;
    return entry.doc;
}

bool ProfileCache::Store(FileSystem& fs, Entry& entry, ProfileDocument doc) {
    if (!fs.WriteFileAtomic(entry.path, doc.Serialize())) {
        return false;
    }
    entry.doc = std::move(doc);
    entry.stamp = fs.Stamp(entry.path);
    entry.unreadable = false;
    entry.checked = std::chrono::steady_clock::now();
    return true;
}

template <typename Edit> bool ProfileCache::Change(FileSystem& fs, Entry& entry, Edit edit) {
    const ProfileDocument& current = Current(fs, entry, true);
    if (entry.unreadable) {
        return false;
    }
    ProfileDocument doc = current;
    if (!edit(doc)) {
        return false;
    }
    return Store(fs, entry, std::move(doc));
}

namespace {

bool IsPlainFileName(std::string_view path) {
    return path.find_first_of("\\/:") == std::string_view::npos;
}

std::string InWindowsDir(std::string_view windows_dir, std::string_view name) {
    std::string path(windows_dir);
    if (!path.empty() && path.back() != '\\' && path.back() != '/') {
        path += '\\';
    }
    path += name;
    return path;
}

} // namespace

IniFile::IniFile(FileSystem& fs, ProfileCache& cache, std::string_view path, std::string_view windows_dir)
    : fs_(fs), cache_(cache),
      // Windows keeps INI files given by a plain name in the Windows directory.
      path_(fs.FullPath(IsPlainFileName(path) ? InWindowsDir(windows_dir, path) : std::string(path))),
      entry_(&cache.EntryFor(path_)) {}

const ProfileDocument& IniFile::Doc() const {
    return cache_.Current(fs_, *entry_, false);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
    auto value = Doc().Get(section, key);
    return value ? std::move(*value) : std::string(def);
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, int32_t def) const {
    const auto value = Doc().Get(section, key);
    if (!value) {
        return def;
    }
    return ParseProfileInteger(*value).value_or(def);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    // Booleans are integers: anything but 0 is true, text that is no number gives the default.
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    // A value written again as it stands would cost a whole atomic rewrite and change nothing a reader
    // sees: the install records are refreshed on every page opened.
    const ProfileCache::Entry& entry = *entry_;
    const ProfileDocument& current = cache_.Current(fs_, *entry_, true);
    if (!entry.unreadable) {
        if (const auto stored = current.Stored(section, key); stored && *stored == value) {
            return true;
        }
    }
    return cache_.Change(fs_, *entry_, [&](ProfileDocument& doc) { return doc.Set(section, key, value); });
}

bool IniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
    return WriteString(section, key, std::to_string(value));
}

bool IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    return WriteString(section, key, value ? "1" : "0");
}

bool IniFile::DeleteKey(std::string_view section, std::string_view key) {
    bool missing = false;
    const bool changed = cache_.Change(fs_, *entry_, [&](ProfileDocument& doc) {
        missing = !doc.DeleteKey(section, key);
        return !missing;
    });
    // Deleting what is not there succeeds without touching the file, as on Windows.
    return changed || missing;
}

bool IniFile::DeleteKeys(std::string_view section, const std::vector<std::string>& keys) {
    bool missing = false;
    const bool changed = cache_.Change(fs_, *entry_, [&](ProfileDocument& doc) {
        bool any = false;
        for (const std::string& key : keys) {
            any = doc.DeleteKey(section, key) || any;
        }
        missing = !any;
        return any;
    });
    return changed || missing;
}

bool IniFile::EraseSection(std::string_view section) {
    bool missing = false;
    const bool changed = cache_.Change(fs_, *entry_, [&](ProfileDocument& doc) {
        missing = !doc.DeleteSection(section);
        return !missing;
    });
    return changed || missing;
}

std::vector<std::string> IniFile::ReadSections() const {
    return Doc().Sections();
}

std::vector<std::string> IniFile::ReadSection(std::string_view section) const {
    return Doc().Keys(section);
}

bool IniFile::SectionExists(std::string_view section) const {
    return Doc().HasSection(section);
}

bool IniFile::ValueExists(std::string_view section, std::string_view key) const {
    // "Exists" means a read gives a value rather than the default.
    return Doc().Get(section, key).has_value();
}

namespace {

std::optional<int> DigitValue(char c, int base) {
    int digit = -1;
    if (c >= '0' && c <= '9') {
        digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        digit = c - 'A' + 10;
    }
    if (digit < 0 || digit >= base) {
        return std::nullopt;
    }
    return digit;
}

} // namespace

std::optional<int32_t> ParseProfileInteger(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    int base = 10;
    if (pos < text.size() && text[pos] == '$') {
        base = 16;
        pos += 1;
    } else if (text.substr(pos, 2) == "0x" || text.substr(pos, 2) == "0X") {
        base = 16;
        pos += 2;
    }
    if (pos == text.size()) {
        return std::nullopt;
    }
    // Hex covers all 32 bits ("$FFFFFFFF" is -1); decimal must fit the signed range.
    const uint64_t limit = base == 16 ? 0xFFFFFFFFu : (negative ? 0x80000000u : 0x7FFFFFFFu);
    uint64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const auto digit = DigitValue(text[pos], base);
        if (!digit) {
            return std::nullopt;
        }
        magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(*digit);
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    auto bits = static_cast<uint32_t>(magnitude);
    if (negative) {
        bits = 0u - bits;
    }
    return static_cast<int32_t>(bits);
}

} // namespace kavlo
