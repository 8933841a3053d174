#pragma once

#include <optional>
#include <string_view>

#include "platform/file_system.h"
#include "platform/shortcuts.h"

namespace kavlo {

// Whether every part that a shell link's header announces (item list, link info, strings, extra
// data blocks) lies within its bytes. liblnk allocates what a size field says before it reads, so
// a few hostile bytes could otherwise ask it for gigabytes; a link that fails this is broken anyway.
bool ShellLinkPartsFit(std::string_view bytes);

// Shell links read with liblnk from the host file behind the link's Windows path.
class PosixShortcuts : public Shortcuts {
public:
    explicit PosixShortcuts(const FileSystem& fs) : fs_(fs) {}

    std::optional<ShortcutInfo> ReadShortcut(std::string_view link_path) const override;

private:
    const FileSystem& fs_;
};

} // namespace kavlo
