#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

#include "platform/file_system.h"
#include "platform/posix/host_names.h"
#include "platform/posix/windows_path.h"

namespace kavlo {

// A drive letter other than C: standing for a host directory.
struct DriveMapping {
    char letter = 'D';
    std::string host_dir; // UTF-8
    DriveType type = DriveType::Fixed;
};

// The PC's drives over host directories: C: is the PC root's drive_c/, further letters are mapped.
// A mapped drive whose host directory is missing is "not ready" and every operation on it fails,
// as with an empty CD drive.
class PosixFileSystem : public FileSystem {
public:
    PosixFileSystem(std::string drive_c_host_dir, std::vector<DriveMapping> mapped_drives);

    std::string FullPath(std::string_view path) const override;

    std::optional<uint32_t> GetAttributes(std::string_view path) const override;
    bool SetAttributes(std::string_view path, uint32_t attributes) override;
    bool FileExists(std::string_view path) const override;
    bool DirectoryExists(std::string_view path) const override;
    std::optional<FileStamp> Stamp(std::string_view path) const override;
    std::optional<std::vector<DirEntry>> List(std::string_view dir) const override;
    std::optional<std::vector<NameEntry>> ListNames(std::string_view dir) const override;

    bool CreateDir(std::string_view path) override;
    bool RemoveDir(std::string_view path) override;
    bool DeleteFile(std::string_view path) override;
    bool Rename(std::string_view from, std::string_view to) override;

    std::optional<std::string> ReadFile(std::string_view path) const override;
    bool WriteFileAtomic(std::string_view path, std::string_view bytes) override;

    std::string CurrentDirectory() const override;
    bool SetCurrentDirectory(std::string_view path) override;

    std::vector<std::string> LogicalDrives() const override;
    DriveType GetDriveType(std::string_view root) const override;
    bool DriveReady(char letter) const override;

    std::optional<std::string> HostPath(std::string_view path) const override;
    std::optional<uint64_t> FreeBytes(std::string_view path) const override;

private:
    struct Drive {
        std::string host_dir;
        DriveType type = DriveType::Fixed;
    };
    // Where a Windows path lands on the host. Every folder above the leaf exists; the leaf may not.
    struct Target {
        WindowsPath path;
        std::string parent_host; // empty for a drive root
        std::string host;        // the existing entry, or the literal name when there is none
        std::string literal;     // the leaf as written, for renames that change only the case
        bool exists = false;
    };

    const Drive* FindDrive(char letter) const;
    std::optional<Target> Locate(std::string_view path) const;
    std::optional<Target> LocateExisting(std::string_view path) const;
    bool IsReadOnly(const Target& target) const;
    bool MoveAcrossDevices(const Target& from, const std::string& to_host);
    void Touched(const std::string& parent_host);

    std::map<char, Drive> drives_;
    CurrentDirectories current_;
    mutable HostNameCache names_;
};

// Replaces `host_file` in `host_dir` with `bytes` through a temporary file in the same folder and a
// rename, so a reader sees the old or the new file, never a part. `mode` is the new file's
// permission (the process umask applies when nullopt). False, and nothing changed, on failure.
bool WriteHostFileAtomic(const std::string& host_dir, const std::string& host_file, std::string_view bytes,
                         std::optional<mode_t> mode);

} // namespace kavlo
