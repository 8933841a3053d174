#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavlo {

// A Windows path made absolute and resolved lexically: drive letter and the names below the root.
struct WindowsPath {
    char drive = 'C';               // upper case
    std::vector<std::string> parts; // no empty, "." or ".." names
    bool trailing_separator = false;

    bool IsRoot() const { return parts.empty(); }
    // "C:\A\B", a root as "C:\"; a trailing separator of the input is kept, as GetFullPathName does.
    std::string Format() const;
};

// The process's current drive and the current directory of every drive, as Windows keeps them.
class CurrentDirectories {
public:
    char drive() const { return drive_; }
    const std::vector<std::string>& Of(char drive) const;
    void Set(char drive, std::vector<std::string> parts);

private:
    char drive_ = 'C';
    std::array<std::vector<std::string>, 26> dirs_{};
};

// Makes `path` absolute with the current directories. "\" and "/" both separate and runs of them
// count as one; "X:" without a separator is relative to drive X's current directory, "\A" to the
// current drive's root. ".." never climbs above the root. nullopt for an empty path.
std::optional<WindowsPath> MakeFullPath(std::string_view path, const CurrentDirectories& current);

// A name Windows accepts for a file or directory: no control characters and none of <>:"|?*.
bool IsValidWindowsName(std::string_view name);

// The drive letter of a root such as "C:", "c:\" or "D:/" (upper case); nullopt for anything else.
std::optional<char> DriveOfRoot(std::string_view root);

} // namespace kavlo
