// Programs of the PC started on the host, their exit codes and the shell verbs, with real processes:
// small shell scripts in a temporary PC root, whatever their Windows names.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>

#include "platform/posix/posix_platform.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

using test::ReadHostFile;
using test::TempDir;
using test::WriteHostFile;

namespace stdfs = std::filesystem;

void WriteProgram(const stdfs::path& host, const std::string& text) {
    WriteHostFile(host, text);
    stdfs::permissions(host, stdfs::perms::owner_exec, stdfs::perm_options::add);
}

// A file written by a program not waited for, once it is there; the programs write a temporary
// and rename it, so what is there is whole.
std::string AwaitFile(const stdfs::path& host) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!stdfs::exists(host) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return stdfs::exists(host) ? ReadHostFile(host) : std::string();
}

// Sets an environment variable for one test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class ProcessesTest : public ::testing::Test {
protected:
    ProcessesTest() : pc_(PosixPlatformOptions{.pc_root = (dir_ / "pc").string(), .scan_media = false}) {}

    stdfs::path OnC(const std::string& rel) const { return dir_ / "pc/drive_c" / rel; }
    Processes& processes() { return pc_.platform().processes; }

    TempDir dir_;
    PosixPlatform pc_;
};

TEST_F(ProcessesTest, ProgramRunsInItsDirectoryWithItsArgumentsAndGivesItsExitCode) {
    // Writes where it runs and what it got, then waits for a go-ahead before it ends with 7.
    WriteProgram(OnC("Program Files/Tool/RUN.EXE"), "#!/bin/sh\n"
                                                    "pwd > where.txt\n"
                                                    "for a in \"$@\"; do echo \"[$a]\"; done > args.tmp\n"
                                                    "mv args.tmp args.txt\n"
                                                    "while [ ! -f go ]; do sleep 0.01; done\n"
                                                    "exit 7\n");
    stdfs::create_directories(OnC("WORK"));
    const auto process =
        processes().CreateProcess("C:\\Program Files\\Tool\\RUN a \"b c\" d\\\"e", "c:\\work\\", true);
    ASSERT_TRUE(process.has_value());
    EXPECT_EQ(AwaitFile(OnC("WORK/args.txt")), "[a]\n[b c]\n[d\"e]\n");
    EXPECT_EQ(processes().ExitCode(*process), kStillActive);
    EXPECT_FALSE(processes().Wait(*process, 0));
    EXPECT_FALSE(processes().Wait(*process, 50));
    WriteHostFile(OnC("WORK/go"), "");
    EXPECT_TRUE(processes().Wait(*process, 10'000));
    EXPECT_EQ(processes().ExitCode(*process), 7u);
    EXPECT_EQ(ReadHostFile(OnC("WORK/where.txt")), stdfs::canonical(OnC("WORK")).string() + "\n");
    processes().Close(*process);
    EXPECT_FALSE(processes().ExitCode(*process).has_value());
}

TEST_F(ProcessesTest, WhatCannotRunFailsToStart) {
    WriteHostFile(OnC("TEXT.EXE"), "not a program\n");
    WriteHostFile(OnC("NORUN.EXE"), "#!/bin/sh\nexit 0\n"); // no run bit
    WriteHostFile(OnC("WIN.EXE"), std::string("MZ\x90\0", 4));
    WriteProgram(OnC("OK.EXE"), "#!/bin/sh\nexit 0\n");
    const stdfs::path bin = dir_ / "bin";
    stdfs::create_directories(bin);
    ScopedEnv path("PATH", bin.string()); // and no wine on it
    for (const char* line : {"C:\\NONE.EXE", "C:\\TEXT.EXE", "C:\\NORUN.EXE", "C:\\WIN.EXE", ""}) {
        EXPECT_FALSE(processes().CreateProcess(line, "C:\\", false).has_value()) << line;
    }
    EXPECT_FALSE(processes().CreateProcess("C:\\OK.EXE", "C:\\MISSING", false).has_value());

    // With wine on the PATH, a Windows program is handed to it.
    WriteProgram(bin / "wine", "#!/bin/sh\necho \"$@\" > wine.txt\n");
    const auto process = processes().CreateProcess("C:\\WIN /x", "C:\\", false);
    ASSERT_TRUE(process.has_value());
    EXPECT_TRUE(processes().Wait(*process, 10'000));
    EXPECT_EQ(ReadHostFile(OnC("wine.txt")), stdfs::canonical(OnC("WIN.EXE")).string() + " /x\n");
}

TEST_F(ProcessesTest, ShellVerbsGoToTheOpenerAndEverythingIsLogged) {
    WriteProgram(dir_ / "opener",
                 "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.tmp\"\nmv \"$0.tmp\" \"$0.txt\"\n");
    ScopedEnv opener("KAVLO_OPEN", (dir_ / "opener").string());
    WriteHostFile(OnC("DOCS/README.TXT"), "read me");
    EXPECT_TRUE(processes().ShellExecute("open", "readme.txt", "-x \"y z\"", "C:\\DOCS"));
    EXPECT_EQ(AwaitFile(dir_ / "opener.txt"),
              stdfs::canonical(OnC("DOCS/README.TXT")).string() + "\n-x\ny z\n");
    EXPECT_FALSE(processes().ShellExecute("play", "C:\\DOCS\\NONE.MP3", "", ""));
    EXPECT_FALSE(processes().CreateProcess("C:\\NONE.EXE /s", "C:\\", true).has_value());

    const std::vector<LoggedEvent> expected = {
        LoggedShell{"open", "readme.txt", "-x \"y z\"", "C:\\DOCS"},
        LoggedShell{"play", "C:\\DOCS\\NONE.MP3", "", ""},
        LoggedProcess{"C:\\NONE.EXE /s", "C:\\", true},
    };
    const std::vector<LoggedEvent>& events = pc_.events().Events();
    ASSERT_EQ(events.size(), expected.size());
    for (size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i].index(), expected[i].index()) << i;
        if (const auto* shell = std::get_if<LoggedShell>(&events[i])) {
            const auto& want = std::get<LoggedShell>(expected[i]);
            EXPECT_EQ(std::tie(shell->verb, shell->file, shell->params, shell->dir),
                      std::tie(want.verb, want.file, want.params, want.dir));
        } else if (const auto* process = std::get_if<LoggedProcess>(&events[i])) {
            const auto& want = std::get<LoggedProcess>(expected[i]);
            EXPECT_EQ(std::tie(process->command_line, process->working_dir, process->wait),
                      std::tie(want.command_line, want.working_dir, want.wait));
        }
    }
}

} // namespace
} // namespace kavlo
