#pragma once

#include <optional>
#include <string_view>

#include "platform/file_system.h"
#include "platform/shortcuts.h"

namespace kavlo {

// Shell links read with liblnk from the host file behind the link's Windows path.
class PosixShortcuts : public Shortcuts {
public:
    explicit PosixShortcuts(const FileSystem& fs) : fs_(fs) {}

    std::optional<ShortcutInfo> ReadShortcut(std::string_view link_path) const override;

private:
    const FileSystem& fs_;
};

} // namespace kavlo
