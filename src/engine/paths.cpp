#include "engine/paths.h"

#include <array>
#include <cstdint>

namespace kavlo {

namespace {

constexpr std::size_t kEnvBufferBytes = 250;

// Windows-1250 capitals of the Czech lower-case letters; every other byte maps to itself. Other
// Central European letters (ä, ľ, ô ...) stay lower-case, as they always did in the menu.
constexpr std::array<uint8_t, 256> MakeUpperTable() {
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        table[i] = static_cast<uint8_t>(i);
    }
    for (int c = 'a'; c <= 'z'; ++c) {
        table[c] = static_cast<uint8_t>(c - 'a' + 'A');
    }
    constexpr std::array<std::array<uint8_t, 2>, 15> czech{{{0x9A, 0x8A},
                                                            {0x9D, 0x8D},
                                                            {0x9E, 0x8E},
                                                            {0xE1, 0xC1},
                                                            {0xE8, 0xC8},
                                                            {0xE9, 0xC9},
                                                            {0xEC, 0xCC},
                                                            {0xED, 0xCD},
                                                            {0xEF, 0xCF},
                                                            {0xF2, 0xD2},
                                                            {0xF3, 0xD3},
                                                            {0xF8, 0xD8},
                                                            {0xF9, 0xD9},
                                                            {0xFA, 0xDA},
                                                            {0xFD, 0xDD}}};
    for (const auto& [lower, upper] : czech) {
        table[lower] = upper;
    }
    return table;
}

constexpr std::array<uint8_t, 256> kUpper = MakeUpperTable();

char ListSeparatorOf(std::string_view text) {
    for (char candidate : {',', ';', ':'}) {
        if (text.find(candidate) != std::string_view::npos) {
            return candidate;
        }
    }
    return ';';
}

} // namespace

std::string PostFixDir(std::string_view path) {
    std::string result(path);
    if (!result.empty() && result.back() != '\\') {
        result += '\\';
    }
    return result;
}

std::string RemoveEndSlash(std::string_view path) {
    if (!path.empty() && path.back() == '\\') {
        path.remove_suffix(1);
    }
    return std::string(path);
}

std::string GetParentDir(std::string_view path) {
    // A root such as "C:\" keeps its back-slash here, so its parent is "C:".
    if (path.size() > 3 && path.back() == '\\') {
        path.remove_suffix(1);
    }
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string_view::npos) {
        return {};
    }
    return std::string(path.substr(0, slash));
}

std::string TextBeforeColon(std::string_view text) {
    return std::string(text.substr(0, text.find(':')));
}

std::string StripQuotes(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (c != '"') {
            result += c;
        }
    }
    return result;
}

std::string CutAfterExtension(std::string_view text) {
    const std::size_t dot = text.rfind('.');
    if (text.find(' ') == std::string_view::npos || dot == std::string_view::npos) {
        return std::string(text);
    }
    return std::string(text.substr(0, dot + 4));
}

std::string DoubleAmpersands(std::string_view text) {
    std::string result;
    result.reserve(text.size() + 4);
    for (std::size_t i = 0; i < text.size(); ++i) {
        result += text[i];
        if (text[i] != '&') {
            continue;
        }
        const bool after_amp = i > 0 && text[i - 1] == '&';
        const bool before_amp = i + 1 < text.size() && text[i + 1] == '&';
        if (!after_amp && !before_amp) {
            result += '&';
        }
    }
    const std::size_t tilde = result.find('~');
    if (tilde != std::string::npos) {
        result.erase(tilde);
    }
    return result;
}

std::vector<std::string> SplitList(std::string_view text) {
    std::vector<std::string> items;
    if (text.empty()) {
        return items;
    }
    const char separator = ListSeparatorOf(text);
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos) {
            items.emplace_back(text.substr(start));
            return items;
        }
        items.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
}

std::string UCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = static_cast<char>(kUpper[static_cast<uint8_t>(c)]);
    }
    return result;
}

std::string DirPartOf(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string_view::npos) {
        return {};
    }
    return std::string(path.substr(0, slash + 1));
}

bool SamePathText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && UCase(a) == UCase(b);
}

std::string ReadEnvVar(const SystemInfo& system, std::string_view name) {
    std::string value = system.Environment(name).value_or(std::string());
    // The buffer keeps its closing zero byte, so one byte less of the value fits.
    if (value.size() >= kEnvBufferBytes) {
        value.resize(kEnvBufferBytes - 1);
    }
    return value;
}

} // namespace kavlo
