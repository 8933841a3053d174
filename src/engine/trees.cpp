#include "engine/trees.h"

#include <algorithm>

#include "engine/paths.h"
#include "platform/codepage.h"

namespace kavlo {

namespace {

// The ANSI file calls of Windows fail on longer paths, so a walk never goes deeper.
constexpr std::size_t kMaxPath = 260;

bool IsDirectory(const DirEntry& entry) {
    return (entry.attributes & kAttrDirectory) != 0;
}

bool TooDeep(std::string_view dir_with_slash) {
    return dir_with_slash.size() + 1 >= kMaxPath;
}

std::vector<DirEntry> Entries(const FileSystem& fs, std::string_view dir) {
    return fs.List(dir).value_or(std::vector<DirEntry>{});
}

void ClearReadOnly(FileSystem& fs, std::string_view path, uint32_t attributes) {
    if ((attributes & kAttrReadOnly) != 0) {
        fs.SetAttributes(path, attributes & ~(kAttrReadOnly | kAttrDirectory));
    }
}

void ClearReadOnly(FileSystem& fs, std::string_view path) {
    if (const auto attributes = fs.GetAttributes(path)) {
        ClearReadOnly(fs, path, *attributes);
    }
}

bool IsDriveRoot(const FileSystem& fs, std::string_view full_path) {
    if (full_path.size() <= 3) {
        return true;
    }
    const std::vector<std::string> roots = fs.LogicalDrives();
    return std::any_of(roots.begin(), roots.end(),
                       [&](const std::string& root) { return SamePathText(PostFixDir(root), full_path); });
}

// True when `outer` is `inner` or one of its parents (both full paths).
bool Holds(std::string_view outer, std::string_view inner) {
    return UCase(PostFixDir(inner)).starts_with(UCase(PostFixDir(outer)));
}

// A directory link (a junction, a symbolic link on the host) leads to data that belongs elsewhere:
// a walk passes it by, and a removal takes away only the link.
bool IsLink(const DirEntry& entry) {
    return (entry.attributes & kAttrReparsePoint) != 0;
}

bool IsLink(const FileSystem& fs, std::string_view path) {
    const auto attributes = fs.GetAttributes(path);
    return attributes && (*attributes & kAttrReparsePoint) != 0;
}

void RemoveWalk(FileSystem& fs, const std::string& dir) {
    if (TooDeep(dir)) {
        return;
    }
    // Windows deletes inside a read-only directory; a host directory needs its write right back.
    ClearReadOnly(fs, dir);
    for (const DirEntry& entry : Entries(fs, dir)) {
        const std::string path = dir + entry.name;
        if (IsDirectory(entry)) {
            if (IsLink(entry)) {
                fs.RemoveDir(path);
            } else {
                RemoveWalk(fs, path + '\\');
            }
            continue;
        }
        ClearReadOnly(fs, path, entry.attributes);
        fs.DeleteFile(path);
    }
    fs.RemoveDir(dir);
}

uint64_t SizeWalk(const FileSystem& fs, const std::string& dir) {
    if (TooDeep(dir)) {
        return 0;
    }
    uint64_t total = 0;
    const std::vector<DirEntry> entries = Entries(fs, dir);
    for (const DirEntry& entry : entries) {
        if (!IsDirectory(entry)) {
            total += entry.size;
        }
    }
    for (const DirEntry& entry : entries) {
        if (IsDirectory(entry) && !IsLink(entry)) {
            total += SizeWalk(fs, dir + entry.name + '\\');
        }
    }
    return total;
}

// Whether the listed folder holds a file of that name, matched as Windows matches names.
bool HoldsFile(const std::vector<NameEntry>& entries, std::string_view upper_name) {
    for (const NameEntry& entry : entries) {
        if (!entry.directory && entry.name.size() == upper_name.size() &&
            UpperCase1250(entry.name) == upper_name) {
            return true;
        }
    }
    return false;
}

std::string SearchWalk(const FileSystem& fs, const std::string& dir, std::string_view file_name,
                       std::string_view upper_name) {
    if (TooDeep(dir)) {
        return {};
    }
    const std::optional<std::vector<NameEntry>> entries = fs.ListNames(dir);
    if (!entries) {
        return {};
    }
    // A name with a folder in it is looked up as a path; a plain name is found in the listing.
    const bool found_here = upper_name.find_first_of("\\/") != std::string_view::npos
                                ? fs.FileExists(dir + std::string(file_name))
                                : HoldsFile(*entries, upper_name);
    if (found_here) {
        return dir;
    }
    for (const NameEntry& entry : *entries) {
        if (!entry.directory || entry.link) {
            continue;
        }
        std::string found = SearchWalk(fs, dir + entry.name + '\\', file_name, upper_name);
        if (!found.empty()) {
            return found;
        }
    }
    return {};
}

void RemoveReadOnlyWalk(FileSystem& fs, const std::string& dir) {
    if (TooDeep(dir)) {
        return;
    }
    for (const DirEntry& entry : Entries(fs, dir)) {
        const std::string path = dir + entry.name;
        if (IsDirectory(entry)) {
            if (!IsLink(entry)) {
                RemoveReadOnlyWalk(fs, path + '\\');
            }
        } else if ((entry.attributes & (kAttrHidden | kAttrSystem)) == 0) {
            fs.SetAttributes(path, kAttrArchive);
        }
    }
}

// The group's folder inside the programs folder; "" when the name leads elsewhere ("..", ".",
// a drive), which would otherwise delete far more than one Start-menu group.
std::string GroupFolder(const FileSystem& fs, std::string_view programs, std::string_view group) {
    if (programs.empty()) {
        return {};
    }
    const std::string base = PostFixDir(fs.FullPath(programs));
    const std::string folder = fs.FullPath(std::string(programs) + std::string(group));
    if (folder.size() <= base.size() || !Holds(base, folder)) {
        return {};
    }
    return folder;
}

} // namespace

bool DirExists(const FileSystem& fs, std::string_view path) {
    const std::string dir = RemoveEndSlash(path);
    if (dir.size() <= 3) {
        return false;
    }
    return fs.DirectoryExists(dir);
}

bool IsProtectedDir(const FileSystem& fs, std::string_view dir,
                    const std::vector<std::string>& protected_dirs) {
    const std::string full = fs.FullPath(dir);
    if (IsDriveRoot(fs, full)) {
        return true;
    }
    return std::any_of(protected_dirs.begin(), protected_dirs.end(), [&](const std::string& kept) {
        return !kept.empty() && Holds(full, fs.FullPath(kept));
    });
}

bool RemoveFile(FileSystem& fs, std::string_view path) {
    if (fs.DeleteFile(path)) {
        return true;
    }
    fs.SetAttributes(path, kAttrArchive);
    return fs.DeleteFile(path);
}

void RemoveTree(FileSystem& fs, std::string_view dir, const std::vector<std::string>& protected_dirs) {
    if (dir.empty() || !fs.DirectoryExists(dir)) {
        return;
    }
    const std::string full = fs.FullPath(dir);
    if (IsProtectedDir(fs, full, protected_dirs)) {
        return;
    }
    if (IsLink(fs, full)) {
        fs.RemoveDir(full);
        return;
    }
    RemoveWalk(fs, PostFixDir(full));
}

std::vector<std::string> ProtectedDirsOf(const SystemInfo& system, const Registry& registry) {
    constexpr std::string_view kCurrentVersion = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    constexpr std::string_view kShellFolders =
        "\\Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders";
    auto read = [&](RegRoot root, std::string_view key, std::string_view name) {
        return registry.ReadString(root, key, name).value_or(std::string());
    };
    std::string program_files = read(RegRoot::LocalMachine, kCurrentVersion, "ProgramFilesDir");
    if (program_files.empty()) {
        program_files = "C:\\Program Files";
    }
    std::vector<std::string> dirs = {system.WindowsDirectory(), system.SystemDirectory(), program_files};
    const std::string others[] = {
        read(RegRoot::LocalMachine, kCurrentVersion, "CommonFilesDir"),
        read(RegRoot::CurrentUser, kShellFolders, "Desktop"),
        read(RegRoot::CurrentUser, kShellFolders, "Programs"),
        read(RegRoot::LocalMachine, kShellFolders, "Common Desktop"),
        read(RegRoot::LocalMachine, kShellFolders, "Common Programs"),
    };
    for (const std::string& dir : others) {
        if (!dir.empty()) {
            dirs.push_back(dir);
        }
    }
    return dirs;
}

void DeleteEmptyBranch(FileSystem& fs, std::string_view dir, const std::vector<std::string>& protected_dirs) {
    if (dir.empty()) {
        return;
    }
    std::string path = fs.FullPath(dir);
    while (path.size() > 3 && !IsProtectedDir(fs, path, protected_dirs)) {
        path = PostFixDir(path);
        const std::string marker = path + "MsCreate.Dir";
        if (fs.FileExists(marker)) {
            fs.SetAttributes(marker, kAttrArchive);
            fs.DeleteFile(marker);
        }
        fs.RemoveDir(path);
        path = GetParentDir(path);
    }
}

bool RemoveStartFolder(FileSystem& fs, std::string_view group, std::string_view user_programs,
                       std::string_view common_programs) {
    if (group.empty() || group == " ") {
        return true;
    }
    bool refused = false;
    for (std::string_view programs : {user_programs, common_programs}) {
        const std::string folder = GroupFolder(fs, programs, group);
        if (!folder.empty()) {
            RemoveTree(fs, folder, {});
        } else if (!programs.empty()) {
            refused = true;
        }
    }
    return !refused;
}

void RemoveReadOnly(FileSystem& fs, std::string_view dir) {
    if (!dir.empty()) {
        RemoveReadOnlyWalk(fs, PostFixDir(dir));
    }
}

uint64_t SizeofTree(const FileSystem& fs, std::string_view dir) {
    if (dir.empty()) {
        return 0;
    }
    return SizeWalk(fs, PostFixDir(dir));
}

std::string SearchTree(const FileSystem& fs, std::string_view root, std::string_view file_name,
                       int /*depth*/) {
    if (root.empty() || file_name.empty()) {
        return {};
    }
    return SearchWalk(fs, PostFixDir(root), file_name, UpperCase1250(file_name));
}

} // namespace kavlo
