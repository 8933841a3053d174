#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavlo {

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

enum class RegType : uint32_t { String = 1, ExpandString = 2, Binary = 3, Dword = 4 };

struct RegValue {
    RegType type = RegType::String;
    std::string data; // the text of a string value (Windows-1250), raw bytes of a binary one
    uint32_t dword = 0;
};

// The Windows registry. Key paths are written with "\" and may begin with one
// ("\Software\Microsoft"); names are case-insensitive; "" names the default value.
class Registry {
public:
    virtual ~Registry() = default;

    virtual bool KeyExists(RegRoot root, std::string_view key) const = 0;
    virtual std::optional<RegValue> ReadValue(RegRoot root, std::string_view key,
                                              std::string_view name) const = 0;
    // The text of a string value; nullopt when the key or value is missing or not a string.
    std::optional<std::string> ReadString(RegRoot root, std::string_view key, std::string_view name) const;
    std::optional<uint32_t> ReadDword(RegRoot root, std::string_view key, std::string_view name) const;

    virtual std::vector<std::string> SubKeys(RegRoot root, std::string_view key) const = 0;
    virtual std::vector<std::string> ValueNames(RegRoot root, std::string_view key) const = 0;

    virtual bool CreateKey(RegRoot root, std::string_view key) = 0; // with missing parents
    virtual bool WriteValue(RegRoot root, std::string_view key, std::string_view name, const RegValue& value) = 0;
    bool WriteString(RegRoot root, std::string_view key, std::string_view name, std::string_view text);
    bool WriteDword(RegRoot root, std::string_view key, std::string_view name, uint32_t value);

    virtual bool DeleteValue(RegRoot root, std::string_view key, std::string_view name) = 0;
    // Fails for a key that has subkeys, as on the NT family.
    virtual bool DeleteKey(RegRoot root, std::string_view key) = 0;
    virtual bool DeleteTree(RegRoot root, std::string_view key) = 0;
};

} // namespace kavlo
