#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavlo {

// Attribute bits with the values Windows uses, so they can be stored and compared as Windows does.
enum FileAttribute : uint32_t {
    kAttrReadOnly = 0x01,
    kAttrHidden = 0x02,
    kAttrSystem = 0x04,
    kAttrDirectory = 0x10,
    kAttrArchive = 0x20,
    kAttrNormal = 0x80,
    // A directory link (junction) or symbolic link: the entry stands for data that lives elsewhere.
    kAttrReparsePoint = 0x400,
};

// The values GetDriveType returns.
enum class DriveType : int {
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6,
};

struct DirEntry {
    std::string name; // long name, Windows-1250
    uint32_t attributes = 0;
    uint64_t size = 0;
};

// An entry as a folder listing names it, without measuring it.
struct NameEntry {
    std::string name; // long name, Windows-1250
    bool directory = false;
    bool link = false; // a directory link or symbolic link
};

// Size and modification time of a file; a changed stamp means the file must be read again.
struct FileStamp {
    uint64_t size = 0;
    int64_t mtime_ns = 0;
    bool operator==(const FileStamp&) const = default;
};

// The PC's file system seen through Windows paths ("C:\WINDOWS\kavlo.ini", "E:\KAVLO\"), in
// Windows-1250. "\" and "/" both separate, names match case-insensitively, relative paths use
// the current directory of their drive. Every call fails softly: false, empty or nullopt.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Absolute, normalised form ("C:\A\B"; a root keeps its back-slash, "C:\") using the
    // current directory of the drive for relative paths; "." and ".." resolve lexically. A trailing
    // separator of the input is kept ("C:\A\" stays so), as GetFullPathName keeps it.
    virtual std::string FullPath(std::string_view path) const = 0;

    virtual std::optional<uint32_t> GetAttributes(std::string_view path) const = 0;
    virtual bool SetAttributes(std::string_view path, uint32_t attributes) = 0;
    // True for an existing file that is not a directory.
    virtual bool FileExists(std::string_view path) const = 0;
    // True for an existing directory (a ready drive's root included).
    virtual bool DirectoryExists(std::string_view path) const = 0;
    virtual std::optional<FileStamp> Stamp(std::string_view path) const = 0;

    // Entries of a directory without "." and "..", in a stable (name) order.
    virtual std::optional<std::vector<DirEntry>> List(std::string_view dir) const = 0;
    // The same entries in the same order, named only: searches that look at names, not at sizes
    // or attributes, need not pay for measuring every file.
    virtual std::optional<std::vector<NameEntry>> ListNames(std::string_view dir) const {
        std::optional<std::vector<DirEntry>> entries = List(dir);
        if (!entries) {
            return std::nullopt;
        }
        std::vector<NameEntry> names;
        names.reserve(entries->size());
        for (DirEntry& entry : *entries) {
            names.push_back(NameEntry{std::move(entry.name), (entry.attributes & kAttrDirectory) != 0,
                                      (entry.attributes & kAttrReparsePoint) != 0});
        }
        return names;
    }

    virtual bool CreateDir(std::string_view path) = 0; // parent must exist
    // Empty directories only; a directory link is removed as a link, whatever its target holds.
    virtual bool RemoveDir(std::string_view path) = 0;
    virtual bool DeleteFile(std::string_view path) = 0;
    virtual bool Rename(std::string_view from, std::string_view to) = 0;

    virtual std::optional<std::string> ReadFile(std::string_view path) const = 0;
    // Replaces the file as a whole (temporary file, then rename); the folder must exist.
    virtual bool WriteFileAtomic(std::string_view path, std::string_view bytes) = 0;

    virtual std::string CurrentDirectory() const = 0; // with the drive, "C:\" or "C:\A"
    virtual bool SetCurrentDirectory(std::string_view path) = 0;

    // Roots of the known drives, "C:\", "D:\", ... in letter order.
    virtual std::vector<std::string> LogicalDrives() const = 0;
    virtual DriveType GetDriveType(std::string_view root) const = 0;
    // False for a mapped drive whose medium is missing ("drive not ready").
    virtual bool DriveReady(char letter) const = 0;

    // The host file behind a Windows path (UTF-8), for handing a file to a host library. The file
    // itself need not exist (a program may create it), but its folder must.
    virtual std::optional<std::string> HostPath(std::string_view path) const = 0;
    // Bytes the caller may still write on the volume that holds `path` (GetDiskFreeSpaceEx's "free to
    // caller"); nothing when the path's volume cannot be asked.
    virtual std::optional<uint64_t> FreeBytes(std::string_view path) const = 0;
};

} // namespace kavlo
