#include "platform/posix/posix_processes.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/codepage.h"
#include "platform/process_command_line.h"

extern char** environ;

namespace kavlo {

struct PosixProcesses::Child {
    std::mutex mutex;
    std::condition_variable ended;
    std::optional<uint32_t> exit_code;
};

namespace {

enum class ProgramKind { Host, Windows, None };

ProgramKind KindOf(const std::string& host_path) {
    struct stat info {};
    if (stat(host_path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return ProgramKind::None;
    }
    char magic[4] = {};
    size_t got = 0;
    if (FILE* file = std::fopen(host_path.c_str(), "rb")) {
        got = std::fread(magic, 1, sizeof magic, file);
        std::fclose(file);
    }
    const bool elf = got == 4 && std::memcmp(magic,
                                             "\x7f"
                                             "ELF",
                                             4) == 0;
    const bool script = got >= 2 && magic[0] == '#' && magic[1] == '!';
    if (elf || script) {
        return access(host_path.c_str(), X_OK) == 0 ? ProgramKind::Host : ProgramKind::None;
    }
    if (got >= 2 && magic[0] == 'M' && magic[1] == 'Z') {
        return ProgramKind::Windows;
    }
    return ProgramKind::None;
}

std::optional<std::string> FindOnPath(std::string_view name) {
    const char* path = std::getenv("PATH");
    std::string_view dirs = path != nullptr ? path : "";
    while (true) {
        const size_t colon = dirs.find(':');
        std::string dir(dirs.substr(0, colon));
        std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + std::string(name);
        struct stat info {};
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        if (colon == std::string_view::npos) {
            return std::nullopt;
        }
        dirs.remove_prefix(colon + 1);
    }
}

uint32_t ExitCodeOf(int status) {
    if (WIFEXITED(status)) {
        return static_cast<uint32_t>(WEXITSTATUS(status));
    }
    // Killed by a signal: the shell's convention, so a crash never reads as success.
    return WIFSIGNALED(status) ? 128u + static_cast<uint32_t>(WTERMSIG(status)) : 1u;
}

std::vector<char*> Pointers(const std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (const std::string& text : texts) {
        pointers.push_back(const_cast<char*>(text.c_str()));
    }
    pointers.push_back(nullptr);
    return pointers;
}

// `host_dir` empty: the child starts where this process is. A program without a slash is looked up
// on the PATH.
std::optional<pid_t> Spawn(const std::vector<std::string>& argv, const std::string& host_dir,
                           const std::vector<std::string>& environment) {
    std::vector<char*> args = Pointers(argv);
    std::vector<char*> env = Pointers(environment);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!host_dir.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, host_dir.c_str());
    }
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        return std::nullopt;
    }
    return pid;
}

// Waits for the child on a thread of its own, so it is reaped even when nobody asks again and a
// waiter sleeps until the exit instead of polling.
std::shared_ptr<PosixProcesses::Child> Reap(pid_t pid) {
    auto child = std::make_shared<PosixProcesses::Child>();
    std::thread([child, pid] {
        int status = 0;
        pid_t got = -1;
        do {
            got = waitpid(pid, &status, 0);
        } while (got < 0 && errno == EINTR);
        std::lock_guard lock(child->mutex);
        // Someone else took the status: the program has ended, how is not known.
        child->exit_code = got == pid ? ExitCodeOf(status) : 1u;
        child->ended.notify_all();
    }).detach();
    return child;
}

bool IsShortcut(std::string_view path) {
    return path.size() >= 4 && UpperCase1250(path.substr(path.size() - 4)) == ".LNK";
}

std::string QuotedCommand(const ShortcutInfo& link) {
    std::string command = "\"" + link.target + "\"";
    if (!link.arguments.empty()) {
        command += " " + link.arguments;
    }
    return command;
}

bool IsRelative(std::string_view path) {
    const bool has_drive = path.size() >= 2 && path[1] == ':';
    const bool from_root = !path.empty() && (path[0] == '\\' || path[0] == '/');
    return !has_drive && !from_root;
}

} // namespace

PosixProcesses::PosixProcesses(const FileSystem& fs, const Shortcuts& shortcuts, EventLog& log,
                               ChildEnvironment environment)
    : fs_(fs), shortcuts_(shortcuts), log_(log), environment_(std::move(environment)) {}

std::vector<std::string> PosixProcesses::Environment() const {
    const std::pair<const char*, const std::string*> ours[] = {{"KAVLO_PC=", &environment_.pc_root},
                                                               {"KAVLO_TOOL=", &environment_.tool}};
    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        bool replaced = false;
        for (const auto& [prefix, value] : ours) {
            replaced = replaced || (!value->empty() && text.starts_with(prefix));
        }
        if (!replaced) {
            env.emplace_back(text);
        }
    }
    for (const auto& [prefix, value] : ours) {
        if (!value->empty()) {
            env.push_back(prefix + *value);
        }
    }
    return env;
}

std::optional<ProcessHandle> PosixProcesses::CreateProcess(std::string_view command_line,
                                                           std::string_view working_dir, bool wait) {
    log_.Add(LoggedProcess{std::string(command_line), std::string(working_dir), wait});
    return Start(command_line, working_dir);
}

std::optional<ProcessHandle> PosixProcesses::Start(std::string_view command_line,
                                                   std::string_view working_dir) {
    const ProgramAndArguments split = SplitProgram(fs_, command_line);
    const std::optional<std::string> host_program = split.found ? fs_.HostPath(split.program) : std::nullopt;
    const std::optional<std::string> host_dir = HostDirOf(working_dir);
    if (!host_program || !host_dir) {
        return std::nullopt;
    }
    std::vector<std::string> argv;
    switch (KindOf(*host_program)) {
        case ProgramKind::Host:
            argv = {*host_program};
            break;
        case ProgramKind::Windows:
            if (auto wine = FindOnPath("wine")) {
                argv = {*wine, *host_program};
                break;
            }
            return std::nullopt;
        case ProgramKind::None:
            return std::nullopt;
    }
    for (const std::string& argument : SplitArguments(split.arguments)) {
        argv.push_back(ToUtf8(argument));
    }
    const std::optional<pid_t> pid = Spawn(argv, *host_dir, Environment());
    if (!pid) {
        return std::nullopt;
    }
    const uint32_t id = next_id_++;
    children_[id] = Reap(*pid);
    return ProcessHandle{id};
}

// CreateProcess fails for a working directory that is not there; none given means ours.
std::optional<std::string> PosixProcesses::HostDirOf(std::string_view working_dir) const {
    const std::string dir = working_dir.empty() ? fs_.CurrentDirectory() : std::string(working_dir);
    if (!fs_.DirectoryExists(dir)) {
        return std::nullopt;
    }
    return fs_.HostPath(dir);
}

std::optional<uint32_t> PosixProcesses::ExitCode(ProcessHandle process) {
    const auto found = children_.find(process.id);
    if (found == children_.end()) {
        return std::nullopt;
    }
    Child& child = *found->second;
    std::lock_guard lock(child.mutex);
    return child.exit_code.value_or(kStillActive);
}

bool PosixProcesses::Wait(ProcessHandle process, uint32_t timeout_ms) {
    const auto found = children_.find(process.id);
    if (found == children_.end()) {
        return false;
    }
    Child& child = *found->second;
    std::unique_lock lock(child.mutex);
    return child.ended.wait_for(lock, std::chrono::milliseconds(timeout_ms),
                                [&child] { return child.exit_code.has_value(); });
}

void PosixProcesses::Close(ProcessHandle process) {
    children_.erase(process.id);
}

bool PosixProcesses::ShellExecute(std::string_view verb, std::string_view file, std::string_view params,
                                  std::string_view dir) {
    log_.Add(LoggedShell{std::string(verb), std::string(file), std::string(params), std::string(dir)});
    if (file.find("://") != std::string_view::npos) {
        return Open(ToUtf8(file), params, dir); // an address is the opener's business, not a file of the PC
    }
    // ShellExecute looks for a relative file in the directory it is given.
    const std::string path =
        IsRelative(file) && !dir.empty() ? std::string(dir) + "\\" + std::string(file) : std::string(file);
    if (IsShortcut(path)) {
        if (const std::optional<ShortcutInfo> link = shortcuts_.ReadShortcut(path)) {
            return OpenShortcut(*link);
        }
    }
    const std::optional<std::string> host =
        fs_.FileExists(path) || fs_.DirectoryExists(path) ? fs_.HostPath(path) : std::nullopt;
    return host && Open(*host, params, dir);
}

// A link's own folder setting wins; without one its program starts in the folder it lies in.
bool PosixProcesses::OpenShortcut(const ShortcutInfo& link) {
    if (fs_.DirectoryExists(link.target)) {
        const std::optional<std::string> folder = fs_.HostPath(link.target);
        return folder && Open(*folder, "", "");
    }
    const ProgramAndArguments split = SplitProgram(fs_, QuotedCommand(link));
    const std::optional<std::string> host = split.found ? fs_.HostPath(split.program) : std::nullopt;
    if (!host) {
        return false;
    }
    const size_t slash = link.target.find_last_of('\\');
    const std::string working_dir = !link.working_dir.empty()    ? link.working_dir
                                    : slash != std::string::npos ? link.target.substr(0, slash + 1)
                                                                 : std::string();
    if (KindOf(*host) == ProgramKind::None) {
        return Open(*host, link.arguments, working_dir);
    }
    return CreateProcess(QuotedCommand(link), working_dir, false).has_value();
}

bool PosixProcesses::Open(const std::string& host_target, std::string_view params, std::string_view dir) {
    std::vector<std::string> argv;
    if (const char* opener = std::getenv("KAVLO_OPEN"); opener != nullptr && *opener != '\0') {
        argv = {opener, host_target};
        for (const std::string& param : SplitArguments(params)) {
            argv.push_back(ToUtf8(param));
        }
    } else {
        argv = {"xdg-open", host_target}; // it opens one file or address and takes nothing else
    }
    const std::string host_dir = dir.empty() ? std::string() : HostDirOf(dir).value_or(std::string());
    const std::optional<pid_t> pid = Spawn(argv, host_dir, Environment());
    if (!pid) {
        return false;
    }
    Reap(*pid);
    return true;
}

} // namespace kavlo
