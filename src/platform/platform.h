#pragma once

#include "platform/event_log.h"
#include "platform/file_system.h"
#include "platform/fonts.h"
#include "platform/libraries.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/shortcuts.h"
#include "platform/system_info.h"
#include "platform/unrar.h"

namespace kavlo {

// The Windows services the menu uses, one object each; handed around by reference.
struct Platform {
    FileSystem& fs;
    Registry& registry;
    SystemInfo& system;
    Fonts& fonts;
    Processes& processes;
    Shortcuts& shortcuts;
    // Reading RAR archives, as the unrar library's calls do.
    Unrar& unrar;
    // What the menu showed and started, for the state dump.
    EventLog& events;
    // Libraries loaded by file name (the music decoder plug-in).
    Libraries& libraries;
};

} // namespace kavlo
