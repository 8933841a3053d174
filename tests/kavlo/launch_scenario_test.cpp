// Running what is installed, headless, on a disc and PC written here: every kind of item started from
// the rows' play buttons (programs, a PDF with the reader installed first, a web page, a film, a
// shortcut, a program run from the disc and waited for, a version choice asked and not asked), the
// readme and web buttons, and the window's fixed buttons; each start checked in the dump's event log
// and, for the programs, in what they wrote when they ran.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "kavlo/menu_run.h"

namespace kavlo {
namespace {

using test::json;
using test::Menu;
using test::MenuResult;
using test::ReadHostFile;
using test::TempDir;
using test::WriteHostFile;
using test::WriteHostScript;

namespace stdfs = std::filesystem;

// What a program not waited for wrote, once it is there (written to a temporary, then renamed).
std::string AwaitFile(const stdfs::path& host) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!stdfs::exists(host) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return stdfs::exists(host) ? ReadHostFile(host) : std::string();
}

std::string Demo(int n, const std::string& name, const std::string& keys) {
    return "[Demo" + std::to_string(n) + "]\r\nName=" + name + "\r\nFirm=F\r\n" + keys;
}

// A program that notes where it ran, its arguments and the menu's PC and tool, in a file named after
// its first argument.
constexpr const char* kRunner =
    "out=\"$KAVLO_PC/drive_c/OUT/$1\"\n"
    "printf '%s\\n' \"$(pwd)\" \"$*\" \"$KAVLO_PC\" \"$KAVLO_TOOL\" > \"$out.tmp\"\n"
    "mv \"$out.tmp\" \"$out.txt\"\n";

json ShellEvent(const std::string& verb, const std::string& file, const std::string& params = "",
                const std::string& dir = "") {
    return json{{"kind", "shell"}, {"verb", verb}, {"file", file}, {"params", params}, {"dir", dir}};
}

json ProcessEvent(const std::string& line, const std::string& dir, bool wait = false) {
    return json{{"kind", "process"}, {"commandLine", line}, {"workingDir", dir}, {"wait", wait}};
}

TEST(LaunchScenario, EveryKindOfInstalledItemRunsFromItsRowAndTheButtonsOpenTheirAddresses) {
    TempDir dir;
    const stdfs::path disc = dir / "disc";
    WriteHostFile(
        disc / "KAVLO" / "kavloxp.ini",
        "[Main]\r\nVersion=0\r\nCD=1226\r\nDemos=8\r\nAcrobatReader=READER\\SETUP.EXE\r\n" +
            Demo(1, "Runner", "InstallType=1\r\nGameName=RUN.EXE fast\r\nWeb=WWW.Runner.example\r\n") +
            Demo(2, "Manual", "InstallType=1\r\nGameName=MANUAL.PDF\r\n") +
            Demo(3, "Page",
                 "InstallType=1\r\nGameName=INDEX.HTML\r\nReadmeName=GUIDE.HTML -x\r\n"
                 "Web=HTTPS://Secure.Example/Page\r\n") +
            Demo(4, "Film", "InstallType=1\r\nGameName=INTRO.AVI\r\n") +
            Demo(5, "Link", "InstallType=1\r\nGameName=PLAY.LNK\r\n") +
            Demo(6, "Tool",
                 "InstallType=0\r\nInstallDir=TOOL\r\nGameName=CONFIG.EXE\r\nTestName=C:\\TOOL\\TOOL."
                 "CFG\r\n") +
            Demo(7, "Engine", "InstallType=1\r\nGameName=ENGINE.EXE\r\n") +
            Demo(8, "Single", "InstallType=1\r\nGameName=game.exe:Normal;game3d.exe -gl:3D\r\n"));
    // The PDF reader's setup registers a viewer for PDF documents, through the tool the menu names.
    WriteHostScript(
        disc / "READER" / "SETUP.EXE",
        "\"$KAVLO_TOOL\" reg --pc \"$KAVLO_PC\" add 'HKEY_CLASSES_ROOT\\.pdf' '' AcroExch.Document\n");
    // The disc's tool takes its time, then rewrites kavlo.ini: the record of its item is back only when
    // the menu waited for it before checking the item again.
    WriteHostScript(disc / "DEMOS" / "TOOL" / "CONFIG.EXE",
                    "sleep 0.3\nprintf '[Main]\\r\\n' > \"$KAVLO_PC/drive_c/WINDOWS/kavlo.ini\"\n");

    Menu menu;
    const stdfs::path c = menu.Dir() / "pc" / "drive_c";
    WriteHostScript(c / "GAMES" / "RUNNER" / "RUN.EXE", kRunner);
    WriteHostFile(c / "DOCS" / "MANUAL.PDF", "%PDF-1.4\n");
    WriteHostFile(c / "DOCS" / "INDEX.HTML", "<html></html>");
    WriteHostFile(c / "FILMS" / "INTRO.AVI", "RIFF");
    WriteHostFile(c / "TOOL" / "TOOL.CFG", "cfg");
    WriteHostScript(c / "IPSC" / "ENGINE.EXE", kRunner);
    WriteHostScript(c / "SINGLE" / "game.exe", kRunner);
    stdfs::create_directories(c / "OUT");
    menu.WriteSettings("[CD1226]\r\nRUNNER=C:\\GAMES\\RUNNER\r\nMANUAL=C:\\DOCS\r\nPAGE=C:\\DOCS\r\n"
                       "FILM=C:\\FILMS\r\nLINK=C:\\LINKS\r\nENGINE=C:\\IPSC\r\n"
                       "SINGLE=C:\\SINGLE\r\n");
    const test::ToolRun link =
        test::RunTool({"shortcut", "--pc", (menu.Dir() / "pc").string(), "C:\\LINKS\\PLAY.LNK",
                       "C:\\GAMES\\RUNNER\\RUN.EXE", "--args", "link", "--dir", "C:\\GAMES"});
    ASSERT_EQ(link.exit_code, 0) << link.err;

    setenv("KAVLO_OPEN", "true", 1); // the shell's opener does nothing on the test machine
    const MenuResult r = menu.Run(disc.string(), {},
                                  "click Play1\nclick Play2\nclick Play3\nclick Play4\nclick Play5\n"
                                  "click Play6\nclick Play7\nclick Play8\n"
                                  "click WebImage\nclick DemosLabel3\nclick ReadmeImage\nclick WebImage\n"
                                  "wait 100\n");
    unsetenv("KAVLO_OPEN");
    ASSERT_EQ(r.run.exit_code, 0) << r.run.err;

    const json expected = json::array({
        ProcessEvent(R"(C:\GAMES\RUNNER\RUN.EXE fast)", R"(C:\GAMES\RUNNER\)"),
        ProcessEvent(R"(D:\READER\SETUP.EXE)", R"(D:\READER\)", true),
        ShellEvent("OPEN", R"(C:\DOCS\MANUAL.PDF)"),
        ProcessEvent(R"(C:\DOCS\INDEX.HTML)", R"(C:\DOCS\INDEX.HTML)"),
        ShellEvent("OPEN", R"(C:\DOCS\INDEX.HTML)"),
        ShellEvent("OPEN", R"(C:\FILMS\INTRO.AVI)"),
        ShellEvent("OPEN", R"(C:\LINKS\PLAY.LNK)"),
        ProcessEvent(R"("C:\GAMES\RUNNER\RUN.EXE" link)", R"(C:\GAMES)"),
        ProcessEvent(R"(D:\DEMOS\TOOL\CONFIG.EXE)", R"(D:\DEMOS\TOOL\)", true),
        ProcessEvent(R"("C:\IPSC\ENGINE.EXE" -module ipsc)", R"(C:\IPSC\)"),
        ProcessEvent(R"(C:\SINGLE\game.exe)", R"(C:\SINGLE\)"),
        ShellEvent("OPEN", "http://www.runner.example"),
        ShellEvent("OPEN", R"(C:\DOCS\GUIDE.HTML)", " -x"),
        ShellEvent("OPEN", "https://secure.example/page"),
    });
    EXPECT_EQ(r.dump["events"], expected);

    // The programs ran where the menu said, with their arguments and the menu's PC and tool.
    const std::string pc = stdfs::canonical(menu.Dir() / "pc").string();
    const std::string tool = stdfs::canonical(test::ToolPath()).string();
    const std::string runner_dir = stdfs::canonical(c / "GAMES" / "RUNNER").string();
    EXPECT_EQ(AwaitFile(c / "OUT" / "fast.txt"), runner_dir + "\nfast\n" + pc + "\n" + tool + "\n");
    EXPECT_EQ(AwaitFile(c / "OUT" / "link.txt"),
              stdfs::canonical(c / "GAMES").string() + "\nlink\n" + pc + "\n" + tool + "\n");
    EXPECT_EQ(AwaitFile(c / "OUT" / "-module.txt"),
              stdfs::canonical(c / "IPSC").string() + "\n-module ipsc\n" + pc + "\n" + tool + "\n");
    // The disc's tool was waited for: its item was checked again afterwards and recorded anew.
    EXPECT_EQ(ReadHostFile(menu.Settings()), "[Main]\r\n[CD1226]\r\nTOOL=C:\\TOOL\r\nTOOL_=TOOL.CFG,,,1\r\n");
}

// Two versions installed: the reader is asked in Czech, with the versions' labels on the buttons, and the
// chosen one runs with its arguments.
TEST(LaunchScenario, VersionChoiceRunsTheVersionPicked) {
    TempDir dir;
    const stdfs::path disc = dir / "disc";
    WriteHostFile(disc / "KAVLO" / "kavloxp.ini",
                  "[Main]\r\nVersion=0\r\nCD=1226\r\nDemos=1\r\n" +
                      Demo(1, "Choice", "InstallType=1\r\nGameName=game.exe:Normal;game3d.exe -gl:3D\r\n"));
    Menu menu;
    const stdfs::path c = menu.Dir() / "pc" / "drive_c";
    WriteHostScript(c / "CHOICE" / "game.exe", kRunner);
    WriteHostScript(c / "CHOICE" / "game3d.exe", kRunner);
    stdfs::create_directories(c / "OUT");
    menu.WriteSettings("[CD1226]\r\nCHOICE=C:\\CHOICE\r\n");
    const stdfs::path asked = menu.Dir() / "asked.json";
    const MenuResult r =
        menu.Run(disc.string(), {}, "click Play1\ndump " + asked.string() + "\nclick Choice2\nwait 100\n");
    ASSERT_EQ(r.run.exit_code, 0) << r.run.err;
    const std::string during = ReadHostFile(asked);
    EXPECT_NE(during.find("Jakou verzi hry chcete spustit?"), std::string::npos);
    EXPECT_NE(during.find("\"3D\""), std::string::npos);
    EXPECT_NE(during.find("\"Normal\""), std::string::npos);
    EXPECT_EQ(r.dump["events"], json::array({ProcessEvent(R"(C:\CHOICE\game3d.exe -gl)", R"(C:\CHOICE\)")}));
    const std::string pc = stdfs::canonical(menu.Dir() / "pc").string();
    EXPECT_EQ(AwaitFile(c / "OUT" / "-gl.txt"), stdfs::canonical(c / "CHOICE").string() + "\n-gl\n" + pc +
                                                    "\n" + stdfs::canonical(test::ToolPath()).string() +
                                                    "\n");
}

} // namespace
} // namespace kavlo
