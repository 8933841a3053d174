#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kavlo {

// Finds the host entry that a Windows name stands for. Windows and CD file systems ignore case, the
// host does not: the exact name wins, then the first entry (in host name order) that is equal after
// folding ASCII and Windows-1250 letters. Directory listings are cached; a listing is read again
// when its directory's modification time changes or when the owner says it wrote there.
class HostNameCache {
public:
    // `name` is Windows-1250; the result is the host (UTF-8) name inside `host_dir`.
    std::optional<std::string> Find(const std::string& host_dir, std::string_view name);
    void Forget(const std::string& host_dir);

private:
    struct Listing {
        int64_t mtime_ns = 0;
        uint64_t inode = 0;
        std::vector<std::pair<std::string, std::string>> entries; // host name, folded Windows name
    };
    static constexpr size_t kMaxListings = 64;

    const Listing* Load(const std::string& host_dir);

    std::unordered_map<std::string, Listing> listings_;
};

} // namespace kavlo
