#include "platform/registry.h"

namespace kavlo {

std::optional<std::string> Registry::ReadString(RegRoot root, std::string_view key, std::string_view name) const {
    auto value = ReadValue(root, key, name);
    if (!value || (value->type != RegType::String && value->type != RegType::ExpandString)) {
        return std::nullopt;
    }
    return value->data;
}

std::optional<uint32_t> Registry::ReadDword(RegRoot root, std::string_view key, std::string_view name) const {
    auto value = ReadValue(root, key, name);
    if (!value || value->type != RegType::Dword) {
        return std::nullopt;
    }
    return value->dword;
}

bool Registry::WriteString(RegRoot root, std::string_view key, std::string_view name, std::string_view text) {
    return WriteValue(root, key, name, RegValue{RegType::String, std::string(text), 0});
}

bool Registry::WriteDword(RegRoot root, std::string_view key, std::string_view name, uint32_t value) {
    return WriteValue(root, key, name, RegValue{RegType::Dword, {}, value});
}

} // namespace kavlo
