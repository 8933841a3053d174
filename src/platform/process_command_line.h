#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace kavlo {

// A command line cut where CreateProcess cuts it.
struct ProgramAndArguments {
    std::string program;   // Windows path of the program file, as found; the first word when none is
    std::string arguments; // the rest of the line after the program and its blanks
    bool found = false;    // the program names an existing file
};

// The program of a command line: the quoted first word, or the shortest space-separated prefix that
// names an existing file, ".EXE" tried first for a name without an extension.
ProgramAndArguments SplitProgram(const FileSystem& fs, std::string_view command_line);

// The arguments as CommandLineToArgvW splits them after the program: blanks separate outside
// quotes; 2n back-slashes before a quote give n and the quote toggles quoting, 2n+1 give n and a
// literal quote; three quotes in a row give one literal quote.
std::vector<std::string> SplitArguments(std::string_view arguments);

} // namespace kavlo
