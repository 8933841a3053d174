#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kavlo {

// What a shell link (.lnk) holds that the menu uses. Paths are Windows paths in Windows-1250.
struct ShortcutInfo {
    std::string target;      // the program or document it points at
    std::string arguments;   // the command-line arguments, empty when none
    std::string working_dir; // "start in", empty when none
};

// Reading shortcuts, as the shell's link object loads them.
class Shortcuts {
public:
    virtual ~Shortcuts() = default;
    // The link at this Windows path; nothing when the file is missing, broken, not a shortcut, or
    // names no target.
    virtual std::optional<ShortcutInfo> ReadShortcut(std::string_view link_path) const = 0;
};

} // namespace kavlo
