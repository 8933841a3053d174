#include "platform/reg_file_registry.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace kavlo {

namespace fs = std::filesystem;

namespace {

fs::path FromUtf8Path(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string TempSuffix() {
    std::random_device device;
    const auto ticks = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::ostringstream text;
    text << ".tmp" << std::hex << (ticks ^ (static_cast<uint64_t>(device()) << 32) ^ device());
    return text.str();
}

bool WriteWhole(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

// Key paths and names that would not survive the line-based file.
bool Storable(std::string_view text) {
    return text.find_first_of("\r\n") == std::string_view::npos;
}

} // namespace

std::optional<std::string> ReadHostBytes(const std::string& host_path) {
    std::ifstream in(FromUtf8Path(host_path), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes.str();
}

bool ReplaceHostFile(const std::string& host_path, std::string_view bytes) {
    const fs::path target = FromUtf8Path(host_path);
    std::error_code ec;
    const auto status = fs::status(target, ec);
    const bool exists = fs::exists(status);
    if (exists && (!fs::is_regular_file(status) ||
                   (status.permissions() & fs::perms::owner_write) == fs::perms::none)) {
        return false;
    }
    fs::path temp = target;
    temp += TempSuffix();
    if (!WriteWhole(temp, bytes)) {
        fs::remove(temp, ec);
        return false;
    }
    if (exists) {
        fs::permissions(temp, status.permissions(), ec); // best effort: keep the file's mode
    }
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

RegFileRegistry::RegFileRegistry(std::string host_path) : host_path_(std::move(host_path)) {}

const RegTree& RegFileRegistry::Tree() const {
    std::optional<HostStamp> stamp;
    std::error_code ec;
    const fs::path path = FromUtf8Path(host_path_);
    const auto size = fs::file_size(path, ec);
    if (!ec) {
        const auto time = fs::last_write_time(path, ec);
        if (!ec) {
            stamp = HostStamp{size, static_cast<int64_t>(time.time_since_epoch().count())};
        }
    }
    if (loaded_ && stamp == stamp_) {
        return tree_;
    }
    // Stamp before reading: a change in between leaves an older stamp, so the next call reads again.
    auto bytes = ReadHostBytes(host_path_);
    tree_ = bytes ? ParseRegFile(*bytes) : RegTree{};
    unreadable_ = !bytes && fs::exists(path, ec);
    stamp_ = stamp;
    loaded_ = true;
    return tree_;
}

const RegKeyNode* RegFileRegistry::Find(RegRoot root, std::string_view key) const {
    const RegKeyNode* node = &Tree().Root(root);
    for (std::string_view part : SplitRegKeyPath(key)) {
        node = node->FindSubKey(part);
        if (node == nullptr) {
            return nullptr;
        }
    }
    return node;
}

template <typename Edit> bool RegFileRegistry::Change(Edit edit) {
    // Re-read first, so a change made meanwhile by another program is not overwritten.
    const RegTree& current = Tree();
    if (unreadable_) {
        return false; // writing would replace a registry we never saw
    }
    RegTree copy = current;
    if (!edit(copy)) {
        return false;
    }
    if (!ReplaceHostFile(host_path_, FormatRegFile(copy))) {
        return false;
    }
    // The next access reads back what was just written, with its stamp; taking only the stamp now
    // could pair our tree with a newer file written in between.
    loaded_ = false;
    return true;
}

bool RegFileRegistry::KeyExists(RegRoot root, std::string_view key) const {
    return Find(root, key) != nullptr;
}

std::optional<RegValue> RegFileRegistry::ReadValue(RegRoot root, std::string_view key,
                                                   std::string_view name) const {
    const RegKeyNode* node = Find(root, key);
    const RegValue* value = node != nullptr ? node->FindValue(name) : nullptr;
    if (value == nullptr) {
        return std::nullopt;
    }
    return *value;
}

std::vector<std::string> RegFileRegistry::SubKeys(RegRoot root, std::string_view key) const {
    std::vector<std::string> names;
    if (const RegKeyNode* node = Find(root, key)) {
        for (const RegKeyNode& sub : node->subkeys) {
            names.push_back(sub.name);
        }
    }
    return names;
}

std::vector<std::string> RegFileRegistry::ValueNames(RegRoot root, std::string_view key) const {
    std::vector<std::string> names;
    if (const RegKeyNode* node = Find(root, key)) {
        for (const auto& [name, value] : node->values) {
            names.push_back(name);
        }
    }
    return names;
}

namespace {

RegKeyNode& CreatePath(RegTree& tree, RegRoot root, std::string_view key) {
    RegKeyNode* node = &tree.Root(root);
    for (std::string_view part : SplitRegKeyPath(key)) {
        node = &node->SubKey(part);
    }
    return *node;
}

RegKeyNode* FindPath(RegTree& tree, RegRoot root, std::string_view key) {
    RegKeyNode* node = &tree.Root(root);
    for (std::string_view part : SplitRegKeyPath(key)) {
        node = node->FindSubKey(part);
        if (node == nullptr) {
            return nullptr;
        }
    }
    return node;
}

// The parent of a key that is not a root, with the key's own name.
std::optional<std::pair<RegKeyNode*, std::string_view>> FindParent(RegTree& tree, RegRoot root,
                                                                   std::string_view key) {
    auto parts = SplitRegKeyPath(key);
    if (parts.empty()) {
        return std::nullopt; // a root cannot be deleted
    }
    RegKeyNode* node = &tree.Root(root);
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        node = node->FindSubKey(parts[i]);
        if (node == nullptr) {
            return std::nullopt;
        }
    }
    return std::make_pair(node, parts.back());
}

} // namespace

bool RegFileRegistry::CreateKey(RegRoot root, std::string_view key) {
    if (!Storable(key)) {
        return false;
    }
    if (KeyExists(root, key)) {
        return true; // opening an existing key writes nothing
    }
    return Change([&](RegTree& tree) {
        CreatePath(tree, root, key);
        return true;
    });
}

bool RegFileRegistry::WriteValue(RegRoot root, std::string_view key, std::string_view name,
                                 const RegValue& value) {
    if (!Storable(key) || !Storable(name)) {
        return false;
    }
    return Change([&](RegTree& tree) {
        CreatePath(tree, root, key).SetValue(name, value);
        return true;
    });
}

bool RegFileRegistry::DeleteValue(RegRoot root, std::string_view key, std::string_view name) {
    return Change([&](RegTree& tree) {
        RegKeyNode* node = FindPath(tree, root, key);
        return node != nullptr && node->RemoveValue(name);
    });
}

bool RegFileRegistry::DeleteKey(RegRoot root, std::string_view key) {
    return Change([&](RegTree& tree) {
        auto parent = FindParent(tree, root, key);
        if (!parent) {
            return false;
        }
        const RegKeyNode* node = parent->first->FindSubKey(parent->second);
        // The NT family refuses to delete a key that still has subkeys.
        return node != nullptr && node->subkeys.empty() && parent->first->RemoveSubKey(parent->second);
    });
}

bool RegFileRegistry::DeleteTree(RegRoot root, std::string_view key) {
    return Change([&](RegTree& tree) {
        auto parent = FindParent(tree, root, key);
        return parent && parent->first->RemoveSubKey(parent->second);
    });
}

} // namespace kavlo
