#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/registry.h"

namespace kavlo {

// One registry key in memory: its values ("" names the default value) and subkeys, both in the
// order they were read or created. Names compare case-insensitively (Windows-1250).
struct RegKeyNode {
    std::string name;
    std::vector<std::pair<std::string, RegValue>> values;
    std::vector<RegKeyNode> subkeys;

    const RegKeyNode* FindSubKey(std::string_view sub) const;
    RegKeyNode* FindSubKey(std::string_view sub);
    // The subkey, created when missing.
    RegKeyNode& SubKey(std::string_view sub);
    const RegValue* FindValue(std::string_view value_name) const;
    void SetValue(std::string_view value_name, RegValue value);
    bool RemoveValue(std::string_view value_name);
    bool RemoveSubKey(std::string_view sub);
};

// All roots of one registry.
struct RegTree {
    std::array<RegKeyNode, 5> roots; // indexed by RegRoot

    RegKeyNode& Root(RegRoot root) { return roots[static_cast<size_t>(root)]; }
    const RegKeyNode& Root(RegRoot root) const { return roots[static_cast<size_t>(root)]; }
};

// "Software\X" or "\Software\X" to its components; empty components (doubled or trailing "\")
// are dropped. An empty list names the root itself.
std::vector<std::string_view> SplitRegKeyPath(std::string_view key);

// "HKEY_LOCAL_MACHINE\Software\X" or "HKLM\Software\X" to the root and the rest of the path.
std::optional<std::pair<RegRoot, std::string>> SplitRegRootPath(std::string_view full_path);
const char* RegRootName(RegRoot root);

// The REGEDIT4 text (Windows-1250 bytes). The reader skips what it cannot understand and never fails.
RegTree ParseRegFile(std::string_view text);
std::string FormatRegFile(const RegTree& tree);

// The text of a value as it stands right of "=" in the file ("\"text\"", "dword:0000001f", "hex:..").
std::string FormatRegData(const RegValue& value);

} // namespace kavlo
