#include "ui/events.h"

#include <array>
#include <cstdio>

namespace kavlo {

namespace {

struct KeyName {
    std::string_view name;
    uint16_t key;
};

// The first name of a code is the one VirtualKeyName gives back.
constexpr std::array<KeyName, 24> kKeyNames{{
    {"Backspace", vk::Back}, {"Back", vk::Back},     {"Tab", vk::Tab},       {"Return", vk::Return},
    {"Enter", vk::Return},   {"Shift", vk::Shift},   {"Ctrl", vk::Control},  {"Control", vk::Control},
    {"Alt", vk::Menu},       {"Escape", vk::Escape}, {"Esc", vk::Escape},    {"Space", vk::Space},
    {"PageUp", vk::Prior},   {"Prior", vk::Prior},   {"PageDown", vk::Next}, {"Next", vk::Next},
    {"End", vk::End},        {"Home", vk::Home},     {"Left", vk::Left},     {"Up", vk::Up},
    {"Right", vk::Right},    {"Down", vk::Down},     {"Insert", vk::Insert}, {"Delete", vk::Delete},
}};

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (Upper(a[i]) != Upper(b[i])) {
            return false;
        }
    }
    return true;
}

// "F1".."F12"
std::optional<uint16_t> FunctionKey(std::string_view name) {
    if (name.size() < 2 || name.size() > 3 || Upper(name[0]) != 'F') {
        return std::nullopt;
    }
    int number = 0;
    for (char c : name.substr(1)) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        number = number * 10 + (c - '0');
    }
    if (number < 1 || number > 12 || name[1] == '0') {
        return std::nullopt;
    }
    return static_cast<uint16_t>(vk::F1 + number - 1);
}

} // namespace

std::optional<uint16_t> VirtualKeyFromName(std::string_view name) {
    if (name.size() == 1) {
        char c = Upper(name[0]);
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            return static_cast<uint16_t>(c);
        }
        return std::nullopt;
    }
    for (const KeyName& entry : kKeyNames) {
        if (SameText(entry.name, name)) {
            return entry.key;
        }
    }
    return FunctionKey(name);
}

std::string VirtualKeyName(uint16_t key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
        return std::string(1, static_cast<char>(key));
    }
    if (key >= vk::F1 && key < vk::F1 + 12) {
        return "F" + std::to_string(key - vk::F1 + 1);
    }
    for (const KeyName& entry : kKeyNames) {
        if (entry.key == key) {
            return std::string(entry.name);
        }
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(key));
    return hex;
}

bool IsUserInput(const EventData& data) {
    return std::holds_alternative<MouseMoveEvent>(data) || std::holds_alternative<MouseDownEvent>(data) ||
           std::holds_alternative<MouseUpEvent>(data) || std::holds_alternative<ClickEvent>(data) ||
           std::holds_alternative<WheelEvent>(data) || std::holds_alternative<KeyDownEvent>(data) ||
           std::holds_alternative<KeyUpEvent>(data) || std::holds_alternative<CharEvent>(data) ||
           std::holds_alternative<CloseEvent>(data);
}

} // namespace kavlo
