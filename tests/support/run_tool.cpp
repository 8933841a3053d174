#include "support/run_tool.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "support/temp_dir.h"

namespace kavlo::test {
namespace {

std::string ShellQuoted(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

} // namespace

ToolRun RunProgram(const std::string& program, const std::vector<std::string>& args) {
    TempDir dir;
    const auto err_file = dir / "stderr.txt";
    std::string command = ShellQuoted(program);
    for (const std::string& arg : args) {
        command += " " + ShellQuoted(arg);
    }
    command += " 2>" + ShellQuoted(err_file.string());
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.out.append(buffer, n);
    }
    const int status = pclose(pipe);
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadHostFile(err_file);
    return run;
}

std::string ToolPath() {
    return KAVLO_TOOL_PATH;
}

ToolRun RunTool(const std::vector<std::string>& args) {
    return RunProgram(KAVLO_TOOL_PATH, args);
}

std::string MenuPath() {
    return KAVLO_MENU_PATH;
}

ToolRun RunMenu(const std::vector<std::string>& args) {
    return RunProgram(KAVLO_MENU_PATH, args);
}

pid_t StartMenu(const std::vector<std::string>& args) {
    const std::string program = MenuPath();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    return pid;
}

int StopMenu(pid_t menu) {
    int status = 0;
    if (kill(menu, SIGTERM) != 0 || waitpid(menu, &status, 0) != menu) {
        return -1;
    }
    return status;
}

} // namespace kavlo::test
