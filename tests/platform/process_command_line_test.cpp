// Command lines cut as CreateProcess and CommandLineToArgvW cut them.

#include "platform/process_command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/posix/posix_file_system.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

using test::TempDir;
using test::WriteHostFile;

TEST(ProcessCommandLine, ProgramIsTheQuotedWordOrTheShortestExistingPrefix) {
    TempDir dir;
    WriteHostFile(dir / "c/Program Files/My Game/GAME.EXE", "");
    WriteHostFile(dir / "c/Program Files/My Game/Tool", "");
    WriteHostFile(dir / "c/Program.txt", "");
    WriteHostFile(dir / "c/GAMES/SETUP.EXE", "");
    PosixFileSystem fs((dir / "c").string(), {});
    struct Case {
        std::string line, program, arguments;
        bool found;
    };
    const std::vector<Case> cases = {
        {"\"C:\\Program Files\\My Game\\GAME.EXE\" -w \"a b\"", "C:\\Program Files\\My Game\\GAME.EXE",
         "-w \"a b\"", true},
        {"C:\\Program Files\\My Game\\GAME.EXE  -w", "C:\\Program Files\\My Game\\GAME.EXE", "-w", true},
        // ".EXE" is tried for a name without an extension; the bare name when there is none.
        {"C:\\Program Files\\My Game\\GAME x", "C:\\Program Files\\My Game\\GAME.EXE", "x", true},
        {"c:\\games\\setup", "c:\\games\\setup.EXE", "", true},
        {"C:\\Program Files\\My Game\\Tool /q", "C:\\Program Files\\My Game\\Tool", "/q", true},
        // Nothing found: the first word stands ("C:\Program.txt" is not "C:\Program").
        {"C:\\Program Files\\My Game\\NONE.EXE a", "C:\\Program", "Files\\My Game\\NONE.EXE a", false},
        {"\"C:\\NONE.EXE\"x y", "C:\\NONE.EXE", "x y", false},
        {"\"C:\\GAMES\\SETUP.EXE", "C:\\GAMES\\SETUP.EXE", "", true},
        {"   C:\\GAMES\\SETUP.EXE", "C:\\GAMES\\SETUP.EXE", "", true},
        {"", "", "", false},
    };
    for (const Case& c : cases) {
        const ProgramAndArguments split = SplitProgram(fs, c.line);
        EXPECT_EQ(split.program, c.program) << c.line;
        EXPECT_EQ(split.arguments, c.arguments) << c.line;
        EXPECT_EQ(split.found, c.found) << c.line;
    }
}

TEST(ProcessCommandLine, ArgumentsSplitAsCommandLineToArgvW) {
    struct Case {
        std::string arguments;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"a  b\tc", {"a", "b", "c"}},
        {"\"a b\" c", {"a b", "c"}},
        {"a\"b c\"d e", {"ab cd", "e"}},
        {"\"\" x", {"", "x"}},
        // Back-slashes are plain unless a quote follows them.
        {"C:\\DIR\\ \\\\server", {"C:\\DIR\\", "\\\\server"}},
        {"a\\\\\"b c\"", {"a\\b c"}},
        {"a\\\"b", {"a\"b"}},
        {"a\\\\\\\"b", {"a\\\"b"}},
        // Two quotes inside quotes give one and end the quoting; three in a row give one.
        {"\"a\"\"b c\"", {"a\"b", "c"}},
        {"\"\"\"a\"\"\" b", {"\"a\"", "b"}},
        {"  ", {}},
        {"\"unterminated arg", {"unterminated arg"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitArguments(c.arguments), c.expected) << c.arguments;
    }
}

} // namespace
} // namespace kavlo
