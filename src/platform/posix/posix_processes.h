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

namespace kavlo {

// Programs of the PC started on the host: host executables (ELF, or a "#!" script with the run bit)
// directly, Windows programs through wine when it is on the PATH. Shell verbs go to xdg-open, or to
// the program that KAVLO_OPEN names. Every start and verb is written to the event log. Each child is
// reaped by a thread of its own, so none is left a zombie, closed handle or not.
class PosixProcesses : public Processes {
public:
    PosixProcesses(const FileSystem& fs, EventLog& log);
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

    const FileSystem& fs_;
    EventLog& log_;
    uint32_t next_id_ = 1;
    std::map<uint32_t, std::shared_ptr<Child>> children_;
};

} // namespace kavlo
