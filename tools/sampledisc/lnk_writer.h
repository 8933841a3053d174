#pragma once

#include <optional>
#include <string>

namespace kavlo::sample {

// What a shortcut made here holds; every string is Windows-1250.
struct LinkContents {
    std::string target = {};        // absolute drive path ("C:\Games\Frost\FROST.EXE"); empty: none
    std::string relative_path = {}; // from the link's own folder ("..\Frost\FROST.EXE"); empty: none
    std::string working_dir = {};   // empty: none
    std::string arguments = {};     // empty: none
};

// A shell link file (.lnk) as Windows writes one: the 76-byte header, the target as the local base
// path of a fixed drive in the link info (ANSI, so in Windows-1250, as a Central European system
// stores it), and the other strings in UTF-16. nullopt when there is neither a target nor a relative
// path, the target is no absolute drive path, or a string is longer than a link can hold.
std::optional<std::string> WriteShellLink(const LinkContents& contents);

} // namespace kavlo::sample
