#include "platform/posix/host_names.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

#include "platform/codepage.h"

namespace kavlo {

namespace {

int64_t MtimeNs(const struct stat& st) {
    return static_cast<int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
}

std::optional<std::vector<std::pair<std::string, std::string>>> ReadEntries(const std::string& host_dir) {
    DIR* dir = opendir(host_dir.c_str());
    if (dir == nullptr) {
        return std::nullopt;
    }
    std::vector<std::pair<std::string, std::string>> entries;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            entries.emplace_back(std::string(name), UpperCase1250(FromUtf8(name)));
        }
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end());
    return entries;
}

} // namespace

std::optional<std::string> HostNameCache::Find(const std::string& host_dir, std::string_view name) {
    std::string exact = ToUtf8(name);
    struct stat st {};
    if (lstat((host_dir + "/" + exact).c_str(), &st) == 0) {
        return exact;
    }
    const Listing* listing = Load(host_dir);
    if (listing == nullptr) {
        return std::nullopt;
    }
    const std::string folded = UpperCase1250(name);
    for (const auto& [host_name, folded_name] : listing->entries) {
        if (folded_name == folded) {
            return host_name;
        }
    }
    return std::nullopt;
}

void HostNameCache::Forget(const std::string& host_dir) {
    listings_.erase(host_dir);
}

const HostNameCache::Listing* HostNameCache::Load(const std::string& host_dir) {
    struct stat st {};
    if (stat(host_dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        listings_.erase(host_dir);
        return nullptr;
    }
    auto found = listings_.find(host_dir);
    if (found != listings_.end() && found->second.mtime_ns == MtimeNs(st) &&
        found->second.inode == st.st_ino) {
        return &found->second;
    }
    auto entries = ReadEntries(host_dir);
    if (!entries) {
        return nullptr;
    }
    if (found == listings_.end() && listings_.size() >= kMaxListings) {
        listings_.clear(); // a small cache; start afresh rather than track ages
    }
    Listing& listing = listings_[host_dir];
    listing.mtime_ns = MtimeNs(st);
    listing.inode = st.st_ino;
    listing.entries = std::move(*entries);
    return &listing;
}

} // namespace kavlo
