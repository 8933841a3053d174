#include "platform/posix/posix_file_system.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include "platform/codepage.h"

namespace kavlo {

namespace {

bool HostStat(const std::string& host, struct stat& st) {
    return stat(host.c_str(), &st) == 0;
}

bool IsHostDirectory(const std::string& host) {
    struct stat st {};
    return HostStat(host, st) && S_ISDIR(st.st_mode);
}

bool IsHostLink(const std::string& host) {
    struct stat st {};
    return lstat(host.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

int64_t MtimeNs(const struct stat& st) {
    return static_cast<int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
}

// Windows' read-only bit has no owner or group: a file nobody may write, or one this process may
// not write (a read-only medium included), is read-only.
bool HostReadOnly(const std::string& host, const struct stat& st) {
    return (st.st_mode & 0222) == 0 || access(host.c_str(), W_OK) != 0;
}

std::string BaseName(const std::string& host) {
    const size_t slash = host.find_last_of('/');
    return slash == std::string::npos ? host : host.substr(slash + 1);
}

uint32_t HostAttributes(const std::string& host, std::string_view name, const struct stat& st) {
    uint32_t attributes = 0;
    if (S_ISDIR(st.st_mode)) {
        attributes |= kAttrDirectory;
    } else if (S_ISREG(st.st_mode)) {
        attributes |= kAttrArchive; // Windows sets it on every file written
    }
    if (HostReadOnly(host, st)) {
        attributes |= kAttrReadOnly;
    }
    if (!name.empty() && name.front() == '.') {
        attributes |= kAttrHidden;
    }
    // A drive root comes without a name: the host folder behind a drive may well be a link.
    if (!name.empty() && IsHostLink(host)) {
        attributes |= kAttrReparsePoint;
    }
    return attributes == 0 ? kAttrNormal : attributes;
}

std::optional<std::string> ReadHostFile(const std::string& host) {
    const int fd = open(host.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    ssize_t got = 0;
    while ((got = read(fd, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)) {
        if (got > 0) {
            bytes.append(buffer, static_cast<size_t>(got));
        }
    }
    close(fd);
    if (got < 0) {
        return std::nullopt;
    }
    return bytes;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t done = write(fd, bytes.data(), bytes.size());
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(done));
    }
    return true;
}

// A new, exclusively created temporary file in `host_dir`; hidden, so a listing by a Windows program
// never offers it.
int CreateTemporary(const std::string& host_dir, std::optional<mode_t> mode, std::string& name) {
    const auto seed =
        static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        char suffix[64];
        std::snprintf(suffix, sizeof suffix, "/.kavlo-%d-%llx-%u.tmp", static_cast<int>(getpid()), seed,
                      attempt);
        name = host_dir + suffix;
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode.value_or(0666));
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

std::string TrimHostDir(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/') {
        dir.pop_back();
    }
    return dir;
}

// Entries in the order Windows lists them: by name without regard to case, ties by the exact name.
template <class Entry> std::vector<Entry> SortedByName(std::vector<Entry> entries) {
    std::vector<std::pair<std::string, size_t>> keys;
    keys.reserve(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        keys.emplace_back(UpperCase1250(entries[i].name), i);
    }
    std::sort(keys.begin(), keys.end(), [&entries](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : entries[a.second].name < entries[b.second].name;
    });
    std::vector<Entry> sorted;
    sorted.reserve(entries.size());
    for (const auto& key : keys) {
        sorted.push_back(std::move(entries[key.second]));
    }
    return sorted;
}

} // namespace

bool WriteHostFileAtomic(const std::string& host_dir, const std::string& host_file, std::string_view bytes,
                         std::optional<mode_t> mode) {
    std::string temporary;
    const int fd = CreateTemporary(host_dir, mode, temporary);
    if (fd < 0) {
        return false;
    }
    bool written = WriteAll(fd, bytes);
    if (written && mode) {
        written = fchmod(fd, *mode) == 0; // the umask must not loosen or tighten an existing file's rights
    }
    written = written && fsync(fd) == 0;
    written = close(fd) == 0 && written;
    if (!written || rename(temporary.c_str(), host_file.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

PosixFileSystem::PosixFileSystem(std::string drive_c_host_dir, std::vector<DriveMapping> mapped_drives) {
    drives_['C'] = Drive{TrimHostDir(std::move(drive_c_host_dir)), DriveType::Fixed};
    for (auto& mapping : mapped_drives) {
        const char letter = UpperCase1250(mapping.letter);
        if (letter > 'C' && letter <= 'Z') {
            drives_[letter] = Drive{TrimHostDir(std::move(mapping.host_dir)), mapping.type};
        }
    }
}

const PosixFileSystem::Drive* PosixFileSystem::FindDrive(char letter) const {
    auto found = drives_.find(UpperCase1250(letter));
    return found == drives_.end() ? nullptr : &found->second;
}

std::optional<PosixFileSystem::Target> PosixFileSystem::Locate(std::string_view path) const {
    if (path.find('\0') != std::string_view::npos) {
        return std::nullopt; // the host would cut the name there
    }
    auto full = MakeFullPath(path, current_);
    const Drive* drive = full ? FindDrive(full->drive) : nullptr;
    if (drive == nullptr || !IsHostDirectory(drive->host_dir)) {
        return std::nullopt;
    }
    Target target;
    target.path = std::move(*full);
    const auto& parts = target.path.parts;
    if (parts.empty()) {
        target.host = drive->host_dir;
        target.literal = target.host;
        target.exists = true;
        return target;
    }
    std::string dir = drive->host_dir;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        auto name = IsValidWindowsName(parts[i]) ? names_.Find(dir, parts[i]) : std::nullopt;
        if (!name || !IsHostDirectory(dir + "/" + *name)) {
            return std::nullopt;
        }
        dir += "/" + *name;
    }
    if (!IsValidWindowsName(parts.back())) {
        return std::nullopt;
    }
    auto leaf = names_.Find(dir, parts.back());
    target.parent_host = dir;
    target.literal = dir + "/" + ToUtf8(parts.back());
    target.host = leaf ? dir + "/" + *leaf : target.literal;
    target.exists = leaf.has_value();
    if (target.exists && target.path.trailing_separator && !IsHostDirectory(target.host)) {
        return std::nullopt; // "FILE\" names a directory that is not there
    }
    return target;
}

std::optional<PosixFileSystem::Target> PosixFileSystem::LocateExisting(std::string_view path) const {
    auto target = Locate(path);
    struct stat st {};
    if (!target || !target->exists || !HostStat(target->host, st)) {
        return std::nullopt;
    }
    return target;
}

bool PosixFileSystem::IsReadOnly(const Target& target) const {
    struct stat st {};
    return !HostStat(target.host, st) || HostReadOnly(target.host, st);
}

void PosixFileSystem::Touched(const std::string& parent_host) {
    names_.Forget(parent_host);
}

std::string PosixFileSystem::FullPath(std::string_view path) const {
    auto full = MakeFullPath(path, current_);
    return full ? full->Format() : std::string();
}

std::optional<uint32_t> PosixFileSystem::GetAttributes(std::string_view path) const {
    auto target = LocateExisting(path);
    struct stat st {};
    if (!target || !HostStat(target->host, st)) {
        return std::nullopt;
    }
    return HostAttributes(target->host, target->path.IsRoot() ? "" : BaseName(target->host), st);
}

bool PosixFileSystem::SetAttributes(std::string_view path, uint32_t attributes) {
    auto target = LocateExisting(path);
    struct stat st {};
    if (!target || !HostStat(target->host, st)) {
        return false;
    }
    // Only the read-only bit has a host counterpart; hidden follows the name, archive is implied.
    const bool want_read_only = (attributes & kAttrReadOnly) != 0;
    if (want_read_only == HostReadOnly(target->host, st)) {
        return true;
    }
    const mode_t mode = want_read_only ? (st.st_mode & ~mode_t{0222}) : (st.st_mode | S_IWUSR);
    if (chmod(target->host.c_str(), mode & 07777) != 0) {
        return false;
    }
    return want_read_only || access(target->host.c_str(), W_OK) == 0;
}

bool PosixFileSystem::FileExists(std::string_view path) const {
    auto target = LocateExisting(path);
    return target && !target->path.IsRoot() && !IsHostDirectory(target->host);
}

bool PosixFileSystem::DirectoryExists(std::string_view path) const {
    auto target = LocateExisting(path);
    return target && IsHostDirectory(target->host);
}

std::optional<FileStamp> PosixFileSystem::Stamp(std::string_view path) const {
    auto target = LocateExisting(path);
    struct stat st {};
    if (!target || !HostStat(target->host, st)) {
        return std::nullopt;
    }
    return FileStamp{static_cast<uint64_t>(st.st_size), MtimeNs(st)};
}

std::optional<std::vector<DirEntry>> PosixFileSystem::List(std::string_view dir) const {
    auto target = LocateExisting(dir);
    DIR* handle = target ? opendir(target->host.c_str()) : nullptr;
    if (handle == nullptr) {
        return std::nullopt;
    }
    // Tree walks list every folder of a tree: one stat per entry, relative to the open folder, and
    // the write test answered from the mode where the kernel's answer is known without asking.
    const int fd = dirfd(handle);
    struct statvfs volume {};
    const bool read_only_volume = fstatvfs(fd, &volume) == 0 && (volume.f_flag & ST_RDONLY) != 0;
    const uid_t user = geteuid();
    std::vector<DirEntry> sorted;
    while (const dirent* entry = readdir(handle)) {
        const std::string_view name = entry->d_name;
        struct stat st {};
        if (name == "." || name == ".." || fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;
        }
        uint32_t attributes = 0;
        if (S_ISLNK(st.st_mode)) {
            if (fstatat(fd, entry->d_name, &st, 0) != 0) {
                continue; // a dangling link is nothing Windows could open
            }
            attributes |= kAttrReparsePoint;
        }
        if (S_ISDIR(st.st_mode)) {
            attributes |= kAttrDirectory;
        } else if (S_ISREG(st.st_mode)) {
            attributes |= kAttrArchive;
        }
        bool read_only = read_only_volume || (st.st_mode & 0222) == 0;
        if (!read_only && user != 0) {
            // The owner's bits alone decide for the owner (the superuser writes whatever has a
            // write bit); groups and access lists are the kernel's to answer.
            read_only =
                st.st_uid == user ? (st.st_mode & S_IWUSR) == 0 : faccessat(fd, entry->d_name, W_OK, 0) != 0;
        }
        if (read_only) {
            attributes |= kAttrReadOnly;
        }
        if (name.front() == '.') {
            attributes |= kAttrHidden;
        }
        const uint64_t size = S_ISDIR(st.st_mode) ? 0 : static_cast<uint64_t>(st.st_size);
        DirEntry listed{FromUtf8(name), attributes == 0 ? kAttrNormal : attributes, size};
        sorted.push_back(std::move(listed));
    }
    closedir(handle);
    return SortedByName(std::move(sorted));
}

std::optional<std::vector<NameEntry>> PosixFileSystem::ListNames(std::string_view dir) const {
    auto target = LocateExisting(dir);
    DIR* handle = target ? opendir(target->host.c_str()) : nullptr;
    if (handle == nullptr) {
        return std::nullopt;
    }
    // The listing's own type field tells folders from files; only links (and file systems that
    // leave the type out) need a stat.
    const int fd = dirfd(handle);
    std::vector<NameEntry> sorted;
    while (const dirent* entry = readdir(handle)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        NameEntry listed{FromUtf8(name), entry->d_type == DT_DIR, entry->d_type == DT_LNK};
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat st {};
            if (fstatat(fd, entry->d_name, &st, 0) != 0) {
                continue; // a dangling link is nothing Windows could open
            }
            listed.directory = S_ISDIR(st.st_mode);
            if (entry->d_type == DT_UNKNOWN) {
                struct stat own {};
                listed.link =
                    fstatat(fd, entry->d_name, &own, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(own.st_mode);
            }
        }
        sorted.push_back(std::move(listed));
    }
    closedir(handle);
    return SortedByName(std::move(sorted));
}

bool PosixFileSystem::CreateDir(std::string_view path) {
    auto target = Locate(path);
    if (!target || target->exists || mkdir(target->host.c_str(), 0777) != 0) {
        return false;
    }
    Touched(target->parent_host);
    return true;
}

bool PosixFileSystem::RemoveDir(std::string_view path) {
    auto target = LocateExisting(path);
    if (!target || target->path.IsRoot() || !IsHostDirectory(target->host)) {
        return false;
    }
    // RemoveDirectory takes a junction away and leaves what it points at; a host link is the same.
    const bool link = IsHostLink(target->host);
    // Windows refuses to remove a read-only directory until the bit is cleared.
    if (link ? unlink(target->host.c_str()) != 0 : IsReadOnly(*target) || rmdir(target->host.c_str()) != 0) {
        return false;
    }
    Touched(target->parent_host);
    names_.Forget(target->host);
    return true;
}

bool PosixFileSystem::DeleteFile(std::string_view path) {
    auto target = LocateExisting(path);
    // As on Windows, a read-only file is not deleted: its bit must be cleared first.
    if (!target || target->path.IsRoot() || IsHostDirectory(target->host) || IsReadOnly(*target) ||
        unlink(target->host.c_str()) != 0) {
        return false;
    }
    Touched(target->parent_host);
    return true;
}

bool PosixFileSystem::Rename(std::string_view from, std::string_view to) {
    auto source = LocateExisting(from);
    auto destination = Locate(to);
    if (!source || !destination || source->path.IsRoot() || destination->path.IsRoot()) {
        return false;
    }
    std::string to_host = destination->host;
    if (destination->exists) {
        // Windows refuses to replace an existing file, but "a" -> "A" renames the same file.
        struct stat from_st {
        }, to_st{};
        const bool same = HostStat(source->host, from_st) && HostStat(destination->host, to_st) &&
                          from_st.st_dev == to_st.st_dev && from_st.st_ino == to_st.st_ino;
        if (!same || destination->literal == source->host) {
            return false;
        }
        to_host = destination->literal;
    }
    bool moved = rename(source->host.c_str(), to_host.c_str()) == 0;
    if (!moved && errno == EXDEV) {
        moved = MoveAcrossDevices(*source, to_host); // MoveFile copies a file to another volume
    }
    Touched(source->parent_host);
    Touched(destination->parent_host);
    names_.Forget(source->host);
    return moved;
}

bool PosixFileSystem::MoveAcrossDevices(const Target& from, const std::string& to_host) {
    struct stat st {};
    if (!HostStat(from.host, st) || !S_ISREG(st.st_mode)) {
        return false; // directories do not move between volumes
    }
    auto bytes = ReadHostFile(from.host);
    const std::string to_dir = to_host.substr(0, to_host.find_last_of('/'));
    if (!bytes || !WriteHostFileAtomic(to_dir, to_host, *bytes, st.st_mode & 07777)) {
        return false;
    }
    if (unlink(from.host.c_str()) != 0) {
        unlink(to_host.c_str()); // keep the file in one place only
        return false;
    }
    return true;
}

std::optional<std::string> PosixFileSystem::ReadFile(std::string_view path) const {
    auto target = LocateExisting(path);
    if (!target || IsHostDirectory(target->host)) {
        return std::nullopt;
    }
    return ReadHostFile(target->host);
}

bool PosixFileSystem::WriteFileAtomic(std::string_view path, std::string_view bytes) {
    auto target = Locate(path);
    if (!target || target->path.IsRoot() || target->path.trailing_separator) {
        return false;
    }
    std::optional<mode_t> mode;
    if (target->exists) {
        struct stat st {};
        // CreateFile for writing fails on a read-only file and on a directory.
        if (!HostStat(target->host, st) || S_ISDIR(st.st_mode) || HostReadOnly(target->host, st)) {
            return false;
        }
        mode = st.st_mode & 07777;
    }
    if (!WriteHostFileAtomic(target->parent_host, target->host, bytes, mode)) {
        return false;
    }
    Touched(target->parent_host);
    return true;
}

std::string PosixFileSystem::CurrentDirectory() const {
    WindowsPath current{current_.drive(), current_.Of(current_.drive()), false};
    return current.Format();
}

bool PosixFileSystem::SetCurrentDirectory(std::string_view path) {
    auto target = LocateExisting(path);
    if (!target || !IsHostDirectory(target->host)) {
        return false;
    }
    current_.Set(target->path.drive, target->path.parts);
    return true;
}

std::vector<std::string> PosixFileSystem::LogicalDrives() const {
    std::vector<std::string> roots;
    for (const auto& [letter, drive] : drives_) {
        roots.push_back(std::string{letter, ':', '\\'});
    }
    return roots;
}

DriveType PosixFileSystem::GetDriveType(std::string_view root) const {
    // No root at all means the current drive, as for GetDriveType(NULL).
    auto letter = root.empty() ? std::optional<char>(current_.drive()) : DriveOfRoot(root);
    const Drive* drive = letter ? FindDrive(*letter) : nullptr;
    return drive == nullptr ? DriveType::NoRootDir : drive->type;
}

bool PosixFileSystem::DriveReady(char letter) const {
    const Drive* drive = FindDrive(letter);
    return drive != nullptr && IsHostDirectory(drive->host_dir);
}

std::optional<std::string> PosixFileSystem::HostPath(std::string_view path) const {
    auto target = Locate(path);
    if (!target) {
        return std::nullopt;
    }
    return target->host;
}

std::optional<uint64_t> PosixFileSystem::FreeBytes(std::string_view path) const {
    auto host = HostPath(path);
    if (!host) {
        return std::nullopt;
    }
    struct statvfs volume {};
    if (statvfs(host->c_str(), &volume) != 0) {
        return std::nullopt;
    }
    // f_bavail: the blocks an unprivileged writer may still take, as the free-to-caller count.
    return static_cast<uint64_t>(volume.f_bavail) * volume.f_frsize;
}

} // namespace kavlo
