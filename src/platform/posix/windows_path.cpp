#include "platform/posix/windows_path.h"

namespace kavlo {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool HasDrive(std::string_view path) {
    return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
}

void AppendLexically(std::vector<std::string>& parts, std::string_view rest) {
    size_t pos = 0;
    while (pos < rest.size()) {
        size_t end = pos;
        while (end < rest.size() && !IsSeparator(rest[end])) {
            ++end;
        }
        const std::string_view name = rest.substr(pos, end - pos);
        if (name == "..") {
            if (!parts.empty()) { // ".." at the root stays at the root
                parts.pop_back();
            }
        } else if (!name.empty() && name != ".") {
            parts.emplace_back(name);
        }
        pos = end + 1;
    }
}

} // namespace

std::string WindowsPath::Format() const {
    std::string out{drive, ':', '\\'};
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            out += '\\';
        }
        out += parts[i];
    }
    if (trailing_separator && !parts.empty()) {
        out += '\\';
    }
    return out;
}

const std::vector<std::string>& CurrentDirectories::Of(char drive) const {
    return dirs_[static_cast<size_t>(AsciiUpper(drive) - 'A') % dirs_.size()];
}

void CurrentDirectories::Set(char drive, std::vector<std::string> parts) {
    drive_ = AsciiUpper(drive);
    dirs_[static_cast<size_t>(drive_ - 'A') % dirs_.size()] = std::move(parts);
}

std::optional<WindowsPath> MakeFullPath(std::string_view path, const CurrentDirectories& current) {
    if (path.empty()) {
        return std::nullopt;
    }
    WindowsPath full;
    std::string_view rest = path;
    if (HasDrive(path)) {
        full.drive = AsciiUpper(path[0]);
        rest = path.substr(2);
    } else {
        full.drive = current.drive();
    }
    if (rest.empty() || !IsSeparator(rest.front())) {
        full.parts = current.Of(full.drive); // "FOO" and "C:FOO" continue the drive's current directory
    }
    AppendLexically(full.parts, rest);
    // "C:\A\." and "C:\A\.." name a directory without the separator; only a literal one is kept.
    full.trailing_separator = !rest.empty() && IsSeparator(rest.back());
    return full;
}

bool IsValidWindowsName(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    for (char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20) {
            return false;
        }
        switch (c) {
            case '<':
            case '>':
            case ':':
            case '"':
            case '|':
            case '?':
            case '*':
                return false;
            default:
                break;
        }
    }
    return true;
}

std::optional<char> DriveOfRoot(std::string_view root) {
    if (!HasDrive(root) || root.size() > 3 || (root.size() == 3 && !IsSeparator(root[2]))) {
        return std::nullopt;
    }
    return AsciiUpper(root[0]);
}

} // namespace kavlo
