#pragma once

#include <functional>
#include <map>
#include <memory>

#include "platform/file_system.h"
#include "platform/unrar.h"

namespace kavlo {

struct UnrarWalk;

// The unrar calls over libarchive (RAR 4 and RAR 5), with `unar` as the second back end for the entries
// libarchive cannot decode (encrypted ones, methods it lacks), one entry at a time. Paths are Windows
// paths resolved through the file system; entries are written below the destination only.
class PosixUnrar : public Unrar {
public:
    // Maps a Windows path (Windows-1250) to the host path that holds it; nothing when it has none.
    using HostPathFn = std::function<std::optional<std::string>(std::string_view windows_path)>;
    // Paths through the PC's file system, as the menu sees its drives.
    explicit PosixUnrar(const FileSystem& fs);
    // Paths that are host paths already (the companion tool); `host_path` converts their bytes.
    explicit PosixUnrar(HostPathFn host_path);
    ~PosixUnrar() override;
    PosixUnrar(const PosixUnrar&) = delete;
    PosixUnrar& operator=(const PosixUnrar&) = delete;

    RarHandle OpenArchive(RarOpenData& data) override;
    int ReadHeader(RarHandle handle, RarHeader& header) override;
    int ProcessFile(RarHandle handle, RarOperation operation,
                    std::optional<std::string_view> dest_dir) override;
    void SetProcessDataProc(RarHandle handle, RarProcessDataProc proc) override;
    void SetChangeVolProc(RarHandle handle, RarChangeVolProc proc) override;
    void SetPassword(RarHandle handle, std::string_view password) override;
    int CloseArchive(RarHandle handle) override;

    // A walk that makes no progress (no new entry, no new output) for this long is ended with an error:
    // some malformed archives make the library loop without end.
    void SetStallLimitMs(int limit_ms) { stall_limit_ms_ = limit_ms; }

private:
    UnrarWalk* Find(RarHandle handle);

    HostPathFn host_path_;
    std::map<RarHandle, std::unique_ptr<UnrarWalk>> walks_;
    RarHandle next_handle_ = 1;
    int stall_limit_ms_ = 5000;
};

} // namespace kavlo
