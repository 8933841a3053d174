#include "platform/reg_format.h"

#include <cstdint>
#include <cstdio>

#include "platform/codepage.h"
#include "platform/hex_text.h"

namespace kavlo {

namespace {

struct RootName {
    RegRoot root;
    const char* full;
    const char* short_name;
};

constexpr RootName kRootNames[] = {
    {RegRoot::ClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    {RegRoot::CurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {RegRoot::LocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    {RegRoot::Users, "HKEY_USERS", "HKU"},
    {RegRoot::CurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC"},
};

// Line ends of any kind; blanks around a line mean nothing in the format.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') {
            ++start;
        }
    }
    return lines;
}

std::string_view TrimBlanks(std::string_view text) {
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

// "01,ff, 2a" to bytes; blanks and an empty last item (a trailing comma) are tolerated.
std::optional<std::string> ParseHexBytes(std::string_view text) {
    std::string bytes;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) {
            comma = text.size();
        }
        const std::string_view item = TrimBlanks(text.substr(start, comma - start));
        if (!item.empty()) {
            const auto byte = ParseHexNumber(item, 2);
            if (!byte) {
                return std::nullopt;
            }
            bytes += static_cast<char>(*byte);
        } else if (comma < text.size()) {
            return std::nullopt; // ",," is no byte list
        }
        start = comma + 1;
    }
    return bytes;
}

// Reads a quoted text starting at text[pos] == '"' with the \\ and \" escapes; any other
// back-slash stays as it is. Sets `pos` past the closing quote.
std::optional<std::string> ParseQuoted(std::string_view text, size_t& pos) {
    std::string out;
    for (size_t i = pos + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            pos = i + 1;
            return out;
        }
        if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
            ++i;
        }
        out += text[i];
    }
    return std::nullopt;
}

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
    return out;
}

std::string DropOneTrailingNul(std::string bytes) {
    if (!bytes.empty() && bytes.back() == '\0') {
        bytes.pop_back();
    }
    return bytes;
}

std::optional<RegValue> ValueFromHex(uint32_t type, std::string bytes) {
    switch (type) {
        case 1:
            return RegValue{RegType::String, DropOneTrailingNul(std::move(bytes)), 0};
        case 2:
            return RegValue{RegType::ExpandString, DropOneTrailingNul(std::move(bytes)), 0};
        case 4: {
            if (bytes.size() != 4) {
                return std::nullopt;
            }
            uint32_t dword = 0;
            for (size_t i = 0; i < 4; ++i) {
                dword |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[i])) << (8 * i);
            }
            return RegValue{RegType::Dword, {}, dword};
        }
        default:
            // Types the menu never reads (multi-strings, QWORDs...) are kept as raw bytes of their type.
            return RegValue{static_cast<RegType>(type), std::move(bytes), 0};
    }
}

std::optional<RegValue> ParseData(std::string_view data) {
    if (!data.empty() && data.front() == '"') {
        size_t pos = 0;
        auto text = ParseQuoted(data, pos);
        if (!text || !TrimBlanks(data.substr(pos)).empty()) {
            return std::nullopt;
        }
        return RegValue{RegType::String, std::move(*text), 0};
    }
    if (data.starts_with("dword:")) {
        const auto number = ParseHexNumber(TrimBlanks(data.substr(6)), 8);
        if (!number) {
            return std::nullopt;
        }
        return RegValue{RegType::Dword, {}, *number};
    }
    uint32_t type = 3;
    if (data.starts_with("hex(")) {
        const size_t close = data.find("):");
        if (close == std::string_view::npos) {
            return std::nullopt;
        }
        const auto number = ParseHexNumber(data.substr(4, close - 4), 8);
        if (!number) {
            return std::nullopt;
        }
        type = *number;
        data = data.substr(close + 2);
    } else if (data.starts_with("hex:")) {
        data = data.substr(4);
    } else {
        return std::nullopt;
    }
    auto bytes = ParseHexBytes(data);
    if (!bytes) {
        return std::nullopt;
    }
    return ValueFromHex(type, std::move(*bytes));
}

// `"name"=` or `@=`; returns the name and sets `pos` past the "=".
std::optional<std::string> ParseValueName(std::string_view line, size_t& pos) {
    std::string name;
    if (line.front() == '@') {
        pos = 1;
    } else if (line.front() == '"') {
        auto quoted = ParseQuoted(line, pos);
        if (!quoted) {
            return std::nullopt;
        }
        name = std::move(*quoted);
    } else {
        return std::nullopt;
    }
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) {
        ++pos;
    }
    if (pos >= line.size() || line[pos] != '=') {
        return std::nullopt;
    }
    ++pos;
    return name;
}

RegKeyNode* OpenHeaderKey(RegTree& tree, std::string_view line) {
    const size_t close = line.rfind(']');
    if (close == std::string_view::npos || close < 2) {
        return nullptr;
    }
    // "[-KEY]" deletes a key in an import script; in a stored registry it is junk.
    auto split = SplitRegRootPath(line.substr(1, close - 1));
    if (!split) {
        return nullptr;
    }
    RegKeyNode* node = &tree.Root(split->first);
    for (std::string_view part : SplitRegKeyPath(split->second)) {
        node = &node->SubKey(part);
    }
    return node;
}

std::string HexList(std::string_view bytes, size_t first_line_used, bool wrap) {
    std::string out;
    size_t column = first_line_used;
    for (size_t i = 0; i < bytes.size(); ++i) {
        char item[4];
        std::snprintf(item, sizeof item, "%02x", static_cast<unsigned>(static_cast<uint8_t>(bytes[i])));
        out += item;
        column += 2;
        if (i + 1 < bytes.size()) {
            out += ',';
            column += 1;
            // The editor's own export breaks hex lines before 80 columns and indents the rest.
            if (wrap && column > 76) {
                out += "\\\r\n  ";
                column = 2;
            }
        }
    }
    return out;
}

std::string HexPrefix(const RegValue& value) {
    if (value.type == RegType::Binary) {
        return "hex:";
    }
    char prefix[24];
    std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(value.type));
    return prefix;
}

// The bytes a value is stored as when it is written in hex form.
std::string HexBytes(const RegValue& value) {
    if (value.type == RegType::String || value.type == RegType::ExpandString) {
        return value.data + std::string(1, '\0');
    }
    return value.data;
}

// A text with a line break (or NUL) would break the line-based format, so it is kept in the hex
// form of its own type instead of in quotes.
bool NeedsHexText(const RegValue& value) {
    return value.type == RegType::String &&
           value.data.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos;
}

std::string FormatData(const RegValue& value, size_t column, bool wrap) {
    if (value.type == RegType::Dword) {
        char text[16];
        std::snprintf(text, sizeof text, "dword:%08x", static_cast<unsigned>(value.dword));
        return text;
    }
    if (value.type == RegType::String && !NeedsHexText(value)) {
        return Quote(value.data);
    }
    const RegValue as_hex = NeedsHexText(value) ? RegValue{static_cast<RegType>(1), value.data, 0} : value;
    const std::string prefix = HexPrefix(as_hex);
    return prefix + HexList(HexBytes(as_hex), column + prefix.size(), wrap);
}

void FormatKey(const RegKeyNode& node, const std::string& path, bool is_root, std::string& out) {
    // Roots always exist; their header is written only when they hold values.
    if (!is_root || !node.values.empty()) {
        out += "[" + path + "]\r\n";
        for (const auto& [name, value] : node.values) {
            const std::string head = (name.empty() ? std::string("@") : Quote(name)) + "=";
            out += head + FormatData(value, head.size(), true) + "\r\n";
        }
        out += "\r\n";
    }
    for (const RegKeyNode& sub : node.subkeys) {
        FormatKey(sub, path + "\\" + sub.name, false, out);
    }
}

} // namespace

const RegKeyNode* RegKeyNode::FindSubKey(std::string_view sub) const {
    for (const RegKeyNode& key : subkeys) {
        if (EqualsNoCase1250(key.name, sub)) {
            return &key;
        }
    }
    return nullptr;
}

RegKeyNode* RegKeyNode::FindSubKey(std::string_view sub) {
    return const_cast<RegKeyNode*>(std::as_const(*this).FindSubKey(sub));
}

RegKeyNode& RegKeyNode::SubKey(std::string_view sub) {
    if (RegKeyNode* found = FindSubKey(sub)) {
        return *found;
    }
    subkeys.push_back(RegKeyNode{std::string(sub), {}, {}});
    return subkeys.back();
}

const RegValue* RegKeyNode::FindValue(std::string_view value_name) const {
    for (const auto& [stored_name, value] : values) {
        if (EqualsNoCase1250(stored_name, value_name)) {
            return &value;
        }
    }
    return nullptr;
}

void RegKeyNode::SetValue(std::string_view value_name, RegValue value) {
    for (auto& [stored_name, stored] : values) {
        if (EqualsNoCase1250(stored_name, value_name)) {
            stored = std::move(value);
            return;
        }
    }
    values.emplace_back(std::string(value_name), std::move(value));
}

bool RegKeyNode::RemoveValue(std::string_view value_name) {
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (EqualsNoCase1250(it->first, value_name)) {
            values.erase(it);
            return true;
        }
    }
    return false;
}

bool RegKeyNode::RemoveSubKey(std::string_view sub) {
    for (auto it = subkeys.begin(); it != subkeys.end(); ++it) {
        if (EqualsNoCase1250(it->name, sub)) {
            subkeys.erase(it);
            return true;
        }
    }
    return false;
}

std::vector<std::string_view> SplitRegKeyPath(std::string_view key) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (start <= key.size()) {
        size_t end = key.find('\\', start);
        if (end == std::string_view::npos) {
            end = key.size();
        }
        if (end > start) {
            parts.push_back(key.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

std::optional<std::pair<RegRoot, std::string>> SplitRegRootPath(std::string_view full_path) {
    const size_t slash = full_path.find('\\');
    const std::string_view root = full_path.substr(0, slash);
    const std::string_view rest =
        slash == std::string_view::npos ? std::string_view() : full_path.substr(slash + 1);
    for (const RootName& name : kRootNames) {
        if (EqualsNoCase1250(root, name.full) || EqualsNoCase1250(root, name.short_name)) {
            return std::make_pair(name.root, std::string(rest));
        }
    }
    return std::nullopt;
}

const char* RegRootName(RegRoot root) {
    return kRootNames[static_cast<size_t>(root)].full;
}

RegTree ParseRegFile(std::string_view text) {
    RegTree tree;
    const auto lines = SplitLines(text);
    RegKeyNode* current = nullptr;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = TrimBlanks(lines[i]);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            current = OpenHeaderKey(tree, line);
            continue;
        }
        size_t pos = 0;
        auto name = current != nullptr ? ParseValueName(line, pos) : std::nullopt;
        if (!name) {
            continue; // the "REGEDIT4" line, values outside a key, junk
        }
        std::string data(TrimBlanks(line.substr(pos)));
        // A hex list ending in "\" goes on in the next line.
        while (data.starts_with("hex") && data.ends_with("\\")) {
            data.pop_back();
            if (i + 1 == lines.size()) {
                break; // a file cut after the "\" keeps the bytes before it
            }
            data += TrimBlanks(lines[++i]);
        }
        if (auto value = ParseData(data)) {
            current->SetValue(*name, std::move(*value));
        }
    }
    return tree;
}

std::string FormatRegFile(const RegTree& tree) {
    std::string out = "REGEDIT4\r\n\r\n";
    for (const RootName& name : kRootNames) {
        FormatKey(tree.Root(name.root), name.full, true, out);
    }
    return out;
}

std::string FormatRegData(const RegValue& value) {
    return FormatData(value, 0, false);
}

} // namespace kavlo
