#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/event_log.h"
#include "platform/file_system.h"
#include "platform/processes.h"
#include "platform/shortcuts.h"

namespace kavlo {

// What the programs the menu starts find in their environment besides the menu's own: the PC root
// (KAVLO_PC) and the companion tool (KAVLO_TOOL), so that a setup from the disc installs into the PC
// the menu runs on. An empty value leaves the inherited one alone.
struct ChildEnvironment {
    std::string pc_root;
    std::string tool;
};

// Programs of the PC started on the host: host executables (ELF, or a "#!" script with the run bit)
// directly, Windows programs through wine when it is on the PATH. Shell verbs go to xdg-open, or to
// the program that KAVLO_OPEN names; a shortcut (.lnk) is resolved first, as the shell does, and its
// target started with its arguments in its folder. Every start and verb is written to the event log.
// Each child is reaped by a thread of its own, so none is left a zombie, closed handle or not.
class PosixProcesses : public Processes {
public:
    PosixProcesses(const FileSystem& fs, const Shortcuts& shortcuts, EventLog& log,
                   ChildEnvironment environment = {});
    PosixProcesses(const PosixProcesses&) = delete;
    PosixProcesses& operator=(const PosixProcesses&) = delete;

    std::optional<ProcessHandle> CreateProcess(std::string_view command_line, std::string_view working_dir,
                                               bool wait) override;
    std::optional<uint32_t> ExitCode(ProcessHandle process) override;
    bool Wait(ProcessHandle process, uint32_t timeout_ms) override;
    void Close(ProcessHandle process) override;
    bool ShellExecute(std::string_view verb, std::string_view file, std::string_view params,
                      std::string_view dir) override;

    struct Child; // the exit of one started program, shared with its reaper

private:
    std::optional<ProcessHandle> Start(std::string_view command_line, std::string_view working_dir);
    std::optional<std::string> HostDirOf(std::string_view working_dir) const;
    // The shell's way with a link: its target program started, or its target document opened.
    bool OpenShortcut(const ShortcutInfo& link);
    bool Open(const std::string& host_target, std::string_view params, std::string_view dir);
    std::vector<std::string> Environment() const;

    const FileSystem& fs_;
    const Shortcuts& shortcuts_;
    EventLog& log_;
    ChildEnvironment environment_;
    uint32_t next_id_ = 1;
    std::map<uint32_t, std::shared_ptr<Child>> children_;
};

} // namespace kavlo
