#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace kavlo::test {

struct ToolRun {
    std::string out;
    std::string err;
    int exit_code = -1;
};

// Runs a program with these arguments (each passed as one word), collecting its output.
ToolRun RunProgram(const std::string& program, const std::vector<std::string>& args);

// The host path of the kavlo-tool built alongside the tests.
std::string ToolPath();

// Runs the kavlo-tool built alongside the tests with these arguments (each passed as one word).
ToolRun RunTool(const std::vector<std::string>& args);

// The host path of the menu built alongside the tests, and a run of it.
std::string MenuPath();
ToolRun RunMenu(const std::vector<std::string>& args);
// Starts the menu without waiting for it (a window test watches it run); the caller reaps it.
pid_t StartMenu(const std::vector<std::string>& args);
// Asks a started menu to end (SIGTERM), waits for it and gives its wait status; -1 when that fails.
int StopMenu(pid_t menu);

} // namespace kavlo::test
