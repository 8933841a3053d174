// The launch operations over a real PC root and disc, with real child processes: what each command
// line becomes, where it starts, what the shell is handed, and how a wait keeps the menu alive.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "engine/launch.h"
#include "platform/codepage.h"
#include "platform/posix/posix_platform.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"
#include "ui/headless/headless_backend.h"

namespace kavlo {
namespace {

using test::TempDir;
using test::WriteHostFile;

namespace stdfs = std::filesystem;

class LaunchTest : public ::testing::Test {
protected:
    LaunchTest() : pc_(Options()), app_(backend_), launcher_(pc_.platform(), app_, backend_.QueuedBoxes()) {
        launcher_.Configure(LaunchSettings{"D:", false, "READER\\SETUP.EXE", "Kavlo"});
    }

    PosixPlatformOptions Options() {
        stdfs::create_directories(dir_ / "disc");
        return PosixPlatformOptions{
            .pc_root = (dir_ / "pc").string(), .disc_dir = (dir_ / "disc").string(), .scan_media = false};
    }

    void Program(const std::string& rel_on_root, const std::string& body) {
        test::WriteHostScript(dir_ / rel_on_root, body);
    }

    // The log since the last call, one line an event: "process|LINE|DIR|wait" or
    // "shell|VERB|FILE|PARAMS|DIR".
    std::vector<std::string> Events() {
        std::vector<std::string> lines;
        const std::vector<LoggedEvent>& events = pc_.events().Events();
        for (; seen_ < events.size(); ++seen_) {
            if (const auto* p = std::get_if<LoggedProcess>(&events[seen_])) {
                lines.push_back("process|" + p->command_line + "|" + p->working_dir +
                                (p->wait ? "|wait" : ""));
            } else if (const auto* s = std::get_if<LoggedShell>(&events[seen_])) {
                lines.push_back("shell|" + s->verb + "|" + s->file + "|" + s->params + "|" + s->dir);
            }
        }
        return lines;
    }

    TempDir dir_;
    PosixPlatform pc_;
    HeadlessBackend backend_;
    Application app_;
    Launcher launcher_;
    size_t seen_ = 0;
};

using Lines = std::vector<std::string>;

TEST_F(LaunchTest, ShellExecSplitsFileFromParametersAndInstallsAPdfReaderOnce) {
    setenv("KAVLO_OPEN", "true", 1); // nothing opens on the test machine
    launcher_.ShellExec(R"(D:\DEMOS\X\README.TXT)");
    launcher_.ShellExec(R"(C:\WEB\Page.html -x)");
    launcher_.ShellExec(R"(C:\TOOLS\RUN.EXE /first /second /third /fourth)");
    launcher_.ShellExec(R"(C:\Games\Folder)"); // no extension: all of it is the file
    EXPECT_EQ(Events(), (Lines{R"(shell|OPEN|D:\DEMOS\X\README.TXT||)", R"(shell|OPEN|C:\WEB\Page.html| -x|)",
                               R"(shell|OPEN|C:\TOOLS\RUN.EXE| /first /second /thi|)",
                               R"(shell|OPEN|C:\Games\Folder||)"}));

    // No PDF viewer on the PC: the disc's reader setup runs and is waited for; it registers one, so
    // the next document opens at once. The setup finds the PC and the tool in its environment.
    setenv("KAVLO_TOOL", test::ToolPath().c_str(), 1);
    Program("disc/READER/SETUP.EXE",
            "sleep 0.2\n\"$KAVLO_TOOL\" reg --pc \"$KAVLO_PC\" add 'HKEY_CLASSES_ROOT\\.pdf' '' "
            "AcroExch.Document\n");
    launcher_.ShellExec(R"(D:\DOCS\MANUAL.PDF)");
    launcher_.ShellExec(R"(D:\DOCS\MANUAL.PDF)");
    unsetenv("KAVLO_TOOL");
    unsetenv("KAVLO_OPEN");
    EXPECT_EQ(Events(), (Lines{R"(process|D:\READER\SETUP.EXE|D:\READER\|wait)",
                               R"(shell|OPEN|D:\DOCS\MANUAL.PDF||)", R"(shell|OPEN|D:\DOCS\MANUAL.PDF||)"}));
}

TEST_F(LaunchTest, NormalExecTreatsItsSpecialProgramsAndHandsDocumentsToTheShell) {
    setenv("KAVLO_OPEN", "true", 1);
    EXPECT_FALSE(launcher_.NormalExec(""));
    Program("disc/IPSC/ENGINE.EXE", "exit 0\n");
    Program("pc/drive_c/ST/BIN/STGAME.EXE", "exit 0\n");
    EXPECT_TRUE(launcher_.NormalExec(R"(D:\IPSC\ENGINE.EXE)"));
    EXPECT_TRUE(launcher_.NormalExec(R"(C:\ST\BIN\STGAME.EXE -D)"));
    EXPECT_FALSE(launcher_.NormalExec(R"(C:\BOS\BOS.EXE -w BOS.EXE)"));
    WriteHostFile(dir_ / "disc/WEB/INDEX.HTM", "<html></html>");
    EXPECT_FALSE(launcher_.NormalExec(R"(D:\WEB\INDEX.HTM)")); // no program, so the shell opens it
    unsetenv("KAVLO_OPEN");
    EXPECT_EQ(Events(),
              (Lines{R"(process|"D:\IPSC\ENGINE.EXE" -module ipsc|D:\IPSC\)",
                     R"(process|C:\ST\BIN\STGAME.EXE -D|C:\ST\BIN\..\)",
                     R"(process|C:\BOS\BoS.exe -w BoS.exe|C:\BOS\)",
                     R"(process|D:\WEB\INDEX.HTM|D:\WEB\INDEX.HTM)", R"(shell|OPEN|D:\WEB\INDEX.HTM||)"}));
    EXPECT_TRUE(backend_.QueuedBoxes().Shown().empty());

    // Debug mode points out a doubled back-slash, the sign of a catalogue path gone wrong, and goes on.
    launcher_.Configure(LaunchSettings{"D:", true, "", "Kavlo"});
    EXPECT_TRUE(launcher_.NormalExec(R"(D:\IPSC\\ENGINE.EXE)"));
    ASSERT_EQ(backend_.QueuedBoxes().Shown().size(), 1u);
    EXPECT_EQ(backend_.QueuedBoxes().Shown()[0].text, R"(Wrong path: D:\IPSC\\ENGINE.EXE)");
}

TEST_F(LaunchTest, WaitExecKeepsTheMenuAliveUntilTheProgramEndsEvenAfterAQuit) {
    // Ends 300 ms after it starts, leaving a mark that it ran to its end.
    Program("pc/drive_c/SETUP/SETUP.EXE", "sleep 0.3\necho done > \"$KAVLO_PC/drive_c/SETUP/done.txt\"\n");
    std::vector<Cursor> cursors;
    app_.Post([&] { cursors.push_back(backend_.CursorShown()); });
    app_.Post([&] { app_.Terminate(); });
    app_.Post([&] { cursors.push_back(backend_.CursorShown()); }); // never runs: the menu is quitting
    EXPECT_TRUE(launcher_.WaitExec(R"("C:\SETUP\SETUP.EXE" /S)"));
    EXPECT_TRUE(stdfs::exists(dir_ / "pc/drive_c/SETUP/done.txt"));
    EXPECT_EQ(cursors, std::vector<Cursor>{Cursor::HourGlass});
    EXPECT_EQ(backend_.CursorShown(), Cursor::Arrow);

    // A line naming no program file starts in C:\; a shortcut goes to the shell and is not waited for.
    setenv("KAVLO_OPEN", "true", 1);
    EXPECT_FALSE(launcher_.WaitExec("RunDll32 advpack.dll,LaunchINFSection"));
    EXPECT_FALSE(launcher_.WaitExec(R"(C:\Start\Game.LNK)"));
    EXPECT_FALSE(launcher_.WaitExec(R"(C:\NONE\SETUP.EXE)"));
    unsetenv("KAVLO_OPEN");
    EXPECT_EQ(Events(),
              (Lines{R"(process|"C:\SETUP\SETUP.EXE" /S|C:\SETUP\|wait)",
                     R"(process|RunDll32 advpack.dll,LaunchINFSection|C:\|wait)",
                     R"(shell|OPEN|C:\Start\Game.LNK||)", R"(process|C:\NONE\SETUP.EXE|C:\NONE\|wait)"}));
    EXPECT_EQ(backend_.CursorShown(), Cursor::Arrow);
}

TEST_F(LaunchTest, PlayDvdStartsTheRegisteredPlayerOnTheDiscOrSaysThereIsNone) {
    Registry& registry = pc_.platform().registry;
    ASSERT_TRUE(registry.WriteString(RegRoot::ClassesRoot, "\\DVD\\Shell", "", "PlayDVD"));
    ASSERT_TRUE(registry.WriteString(RegRoot::ClassesRoot, "\\DVD\\Shell\\PlayDVD\\command", "",
                                     R"("C:\Player\DVD.EXE" /drive %1 /again %1)"));
    launcher_.PlayDVD();
    ASSERT_TRUE(registry.WriteString(RegRoot::ClassesRoot, "\\DVD\\Shell\\PlayDVD\\command", "",
                                     R"(C:\Player\DVD.EXE %l %1)"));
    launcher_.PlayDVD();
    EXPECT_EQ(Events(), (Lines{R"(process|"C:\Player\DVD.EXE" /drive D: /again %1|C:\Player\)",
                               R"(process|C:\Player\DVD.EXE D: D:|C:\Player\)"}));
    EXPECT_TRUE(backend_.QueuedBoxes().Shown().empty());

    ASSERT_TRUE(registry.DeleteTree(RegRoot::ClassesRoot, "\\DVD\\Shell\\PlayDVD"));
    launcher_.PlayDVD();
    EXPECT_TRUE(Events().empty());
    ASSERT_EQ(backend_.QueuedBoxes().Shown().size(), 1u);
    const MessageBoxRecord& box = backend_.QueuedBoxes().Shown()[0];
    EXPECT_EQ(ToUtf8(box.text), "Nemáte nainstalovaný softwarový DVD přehrávač! Nainstalujte si ho (třeba "
                                "PowerDVD či WinDVD) nebo vložte DVD do stolního prehrávače.");
    EXPECT_EQ(box.buttons, MbButtons::Ok);
    EXPECT_EQ(box.icon, MbIcon::Error);
}

} // namespace
} // namespace kavlo
