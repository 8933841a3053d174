#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kavlo {

// A started program, as a process handle stands for one; 0 is no process.
struct ProcessHandle {
    uint32_t id = 0;
    bool operator==(const ProcessHandle&) const = default;
};

// GetExitCodeProcess's answer while the process runs.
constexpr uint32_t kStillActive = 259;

// Starting programs and handing files to the shell, in Windows terms: command lines, working
// directories and files are Windows paths in Windows-1250.
class Processes {
public:
    virtual ~Processes() = default;

    // CreateProcess: the program is the quoted first word of the line, or its shortest
    // space-separated prefix naming an existing file (".EXE" tried when it has no extension).
    // `wait` says whether the caller means to wait for the program; it changes nothing but the
    // record of the start. Nothing when the program cannot be started.
    virtual std::optional<ProcessHandle> CreateProcess(std::string_view command_line,
                                                       std::string_view working_dir, bool wait) = 0;
    // GetExitCodeProcess: kStillActive while the process runs; nothing for an unknown handle.
    virtual std::optional<uint32_t> ExitCode(ProcessHandle process) = 0;
    // WaitForSingleObject: true as soon as the process has ended, false when `timeout_ms` passed
    // first (0 only asks).
    virtual bool Wait(ProcessHandle process, uint32_t timeout_ms) = 0;
    // CloseHandle: forgets the handle; a running process goes on.
    virtual void Close(ProcessHandle process) = 0;

    // ShellExecute with a verb ("open", "play", "install"), a file, its parameters and a
    // directory; the program is not waited for. False when nothing could be started.
    virtual bool ShellExecute(std::string_view verb, std::string_view file, std::string_view params,
                              std::string_view dir) = 0;
};

} // namespace kavlo
