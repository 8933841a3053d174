#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/reg_format.h"
#include "platform/registry.h"

namespace kavlo {

// The registry kept in one REGEDIT4 text file on the host (all roots together). The file is read
// again whenever its size or time changes, so writes by another program (a setup script run
// through the tool) are seen; every change rewrites it whole and atomically. A write that cannot
// be done returns false and leaves file and memory as they were.
class RegFileRegistry : public Registry {
public:
    explicit RegFileRegistry(std::string host_path); // UTF-8

    bool KeyExists(RegRoot root, std::string_view key) const override;
    std::optional<RegValue> ReadValue(RegRoot root, std::string_view key,
                                      std::string_view name) const override;
    std::vector<std::string> SubKeys(RegRoot root, std::string_view key) const override;
    std::vector<std::string> ValueNames(RegRoot root, std::string_view key) const override;

    bool CreateKey(RegRoot root, std::string_view key) override;
    bool WriteValue(RegRoot root, std::string_view key, std::string_view name,
                    const RegValue& value) override;
    bool DeleteValue(RegRoot root, std::string_view key, std::string_view name) override;
    bool DeleteKey(RegRoot root, std::string_view key) override;
    bool DeleteTree(RegRoot root, std::string_view key) override;

private:
    struct HostStamp {
        uintmax_t size = 0;
        int64_t mtime = 0;
        bool operator==(const HostStamp&) const = default;
    };

    const RegTree& Tree() const;
    const RegKeyNode* Find(RegRoot root, std::string_view key) const;
    // Applies `edit` to a copy of the tree and writes it; memory follows only a successful write.
    template <typename Edit> bool Change(Edit edit);

    std::string host_path_;
    mutable RegTree tree_;
    mutable std::optional<HostStamp> stamp_;
    mutable bool loaded_ = false;
    mutable bool unreadable_ = false;
};

// Host files by UTF-8 path, for the registry file and the tool's INI files.
std::optional<std::string> ReadHostBytes(const std::string& host_path);
// Temporary file in the same folder, then rename: a reader sees the old or the new file, never a
// part. Fails on a missing folder and on a file without write permission (Windows' read-only).
bool ReplaceHostFile(const std::string& host_path, std::string_view bytes);

} // namespace kavlo
