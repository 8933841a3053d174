// Installing headless, end to end, on a disc and PC written here: a setup not waited for and found by
// the 3-second poll, a setup whose program is searched for on the drives, setups waited for, an MSI
// package and a folder handed to the shell, the films page, and the "T" argument's message; on the
// sample disc, archives installed through the target dialog and the extraction, run and uninstalled.

#include <gtest/gtest.h>

#include <filesystem>

#include "kavlo/menu_run.h"

namespace kavlo {
namespace {

using test::Boxes;
using test::json;
using test::Menu;
using test::MenuResult;
using test::ReadHostFile;
using test::TempDir;
using test::WriteHostFile;
using test::WriteHostScript;

namespace stdfs = std::filesystem;

std::string Demo(int n, const std::string& name, const std::string& keys) {
    return "[Demo" + std::to_string(n) + "]\r\nName=" + name + "\r\nFirm=F\r\nDate=1226\r\n" + keys;
}

// Waits (at most ten seconds) for a file of the PC to appear.
std::string AwaitOnC(const std::string& rel) {
    return "i=0; while [ ! -e \"$KAVLO_PC/drive_c/" + rel +
           "\" ] && [ $i -lt 1000 ]; do sleep 0.01; i=$((i+1)); done\n";
}

std::vector<json> Starts(const json& dump) {
    std::vector<json> starts;
    for (const json& event : dump["events"]) {
        if (event["kind"] == "process" || event["kind"] == "shell") {
            starts.push_back(event);
        }
    }
    return starts;
}

int SlotOf(const json& dump, int kind) {
    const json& pages = dump["MenuState"]["PageTable"];
    for (size_t i = 0; i < pages.size(); ++i) {
        if (pages[i]["kind"] == kind) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

class InstallPc {
public:
    InstallPc() {
        ::setenv("KAVLO_PC", (menu.Dir() / "pc").c_str(), 1);
        ::setenv("KAVLO_TOOL", test::ToolPath().c_str(), 1);
        ::setenv("KAVLO_OPEN", "true", 1); // the shell's opener does nothing on the test machine
    }
    ~InstallPc() { ::unsetenv("KAVLO_OPEN"); }
    stdfs::path C() const { return menu.Dir() / "pc" / "drive_c"; }

    Menu menu;
};

TEST(InstallScenario, EveryKindOfSetupAndTheFilmsPage) {
    TempDir dir;
    const stdfs::path disc = dir / "disc";
    WriteHostFile(
        disc / "KAVLO" / "kavloxp.ini",
        "[Main]\r\nVersion=0\r\nCD=1226\r\nDVD=1\r\nDemos=6\r\nMovies=2\r\n" +
            Demo(1, "Poller",
                 "InstallType=4\r\nInstallDir=POLL\r\nInstallName=SETUP.EXE\r\nGameName=POLL.EXE\r\n"
                 "RegUninstall=Poller\r\n") +
            Demo(2, "Go", "InstallType=0\r\nInstallDir=GO\r\nGameName=GO.EXE\r\nTestName=C:\\GO.TXT\r\n") +
            Demo(3, "Seeker",
                 "InstallType=5\r\nDirDetect=8\r\nInstallDir=SEEK\r\nInstallName=SETUP.EXE\r\n"
                 "GameName=SEEK.EXE\r\nSearchFile=SEEK.EXE,4,C:\\Nowhere\r\n") +
            Demo(4, "Ten",
                 "InstallType=10\r\nInstallDir=TEN\r\nInstallName=SETUP.EXE\r\nGameName=TEN.EXE\r\n") +
            Demo(5, "Package",
                 "InstallType=6\r\nInstallDir=PKG\r\nInstallName=setup.msi\r\nGameName=PKG.EXE\r\n") +
            Demo(6, "Folder",
                 "InstallType=30\r\nInstallDir=THIRTY\r\nInstallName=INDEX.HTM\r\nGameName=F.EXE\r\n") +
            "[Movie1]\r\nName=Trailer\r\nInstallDir=\\MOVIES\\TRAILER\r\nGameName=TRAILER.AVI\r\n"
            "InstallType=30\r\n"
            "[Movie2]\r\nName=Feature\r\nInstallDir=\\VIDEO_TS\r\nGameName=VTS.VOB\r\nFlags=50\r\n");
    // The poll's setup finishes only once the reader has started the disc's GO.EXE, so the first tick
    // finds nothing and a later one finds the game.
    WriteHostScript(disc / "DEMOS" / "POLL" / "SETUP.EXE",
                    AwaitOnC("GO") + "d=\"$KAVLO_PC/drive_c/Games/Poller\"\nmkdir -p \"$d\"\n"
                                     ": > \"$d/POLL.EXE\"\n"
                                     "\"$KAVLO_TOOL\" reg --pc \"$KAVLO_PC\" add "
                                     "'HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
                                     "Uninstall\\Poller' UninstallString 'C:\\Games\\Poller\\UNINST.EXE'\n"
                                     ": > \"$d/DONE\"\n");
    WriteHostScript(disc / "DEMOS" / "GO" / "GO.EXE",
                    ": > \"$KAVLO_PC/drive_c/GO\"\n" + AwaitOnC("Games/Poller/DONE"));
    // Installs where no one would look; the search has to find it.
    WriteHostScript(
        disc / "DEMOS" / "SEEK" / "SETUP.EXE",
        "sleep 0.1\nd=\"$KAVLO_PC/drive_c/Odd Place/Deep\"\nmkdir -p \"$d\"\n: > \"$d/SEEK.EXE\"\n");
    WriteHostScript(disc / "DEMOS" / "TEN" / "SETUP.EXE", "sleep 0.2\n: > \"$KAVLO_PC/drive_c/TEN.TXT\"\n");
    WriteHostFile(disc / "DEMOS" / "PKG" / "setup.msi", "msi");
    WriteHostFile(disc / "KAVLO.EXE", "");

    InstallPc pc;
    const MenuResult first = pc.menu.Run(disc.string());
    ASSERT_EQ(first.run.exit_code, 0) << first.run.err;
    const int films = SlotOf(first.dump, 8);
    ASSERT_GT(films, 0);

    const auto process = [](const std::string& line, const std::string& in, bool wait) {
        return json{{"kind", "process"}, {"commandLine", line}, {"workingDir", in}, {"wait", wait}};
    };
    const auto shell = [](const std::string& verb, const std::string& file) {
        return json{{"kind", "shell"}, {"verb", verb}, {"file", file}, {"params", ""}, {"dir", ""}};
    };
    const auto texts = [](const json& dump) {
        std::vector<std::string> lines;
        for (const json& box : Boxes(dump)) {
            lines.push_back(box["text"]);
        }
        return lines;
    };

    // "T" shows where the install comes from and goes to. The first tick comes before the setup has
    // finished and leaves the reader's choice; once the disc's GO.EXE has let the setup finish, the
    // next one finds the game and makes its row current again.
    const stdfs::path polled = pc.menu.Dir() / "polled.json";
    const MenuResult r = pc.menu.Run(disc.string(), {"T"},
                                     "answer ok\nclick PlayImage\nwait 3100\ndump " + polled.string() +
                                         "\nclick DemosLabel2\nwait 600\nclick PlayImage\nwait 3100\n");
    ASSERT_EQ(r.run.exit_code, 0) << r.run.err;
    const json during = json::parse(ReadHostFile(polled));
    EXPECT_EQ(during["MenuState"]["CurrentItem"], 1);
    EXPECT_EQ(r.dump["MenuState"]["CurrentItem"], 1);
    EXPECT_EQ(Starts(r.dump),
              (std::vector<json>{process(R"(D:\DEMOS\POLL\SETUP.EXE)", R"(D:\DEMOS\POLL\)", false),
                                 process(R"(D:\DEMOS\GO\GO.EXE)", R"(D:\DEMOS\GO\)", true)}));
    EXPECT_EQ(texts(r.dump), (std::vector<std::string>{R"(D:\DEMOS\POLL\SETUP.EXE )"}));

    // The setup waited for put its program where no one would look; the drive search finds it.
    const MenuResult seek = pc.menu.Run(disc.string(), {}, "click DemosLabel3\nclick PlayImage\n");
    ASSERT_EQ(seek.run.exit_code, 0) << seek.run.err;
    EXPECT_EQ(Starts(seek.dump),
              (std::vector<json>{process(R"(D:\DEMOS\SEEK\SETUP.EXE)", R"(D:\DEMOS\SEEK\)", true)}));
    EXPECT_EQ(seek.dump["components"]["StopImage"]["tag"], 1); // found installed: offered for uninstall
    const std::string settings = ReadHostFile(pc.menu.Settings());
    EXPECT_NE(settings.find("POLLER=C:\\Games\\Poller\r\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("SEEKER=c:\\Odd Place\\Deep\r\n"), std::string::npos) << settings;

    // Type 10 is waited for; an MSI package and a folder go to the shell.
    const MenuResult ten =
        pc.menu.Run(disc.string(), {"T"}, "click DemosLabel4\nanswer ok\nclick PlayImage\n");
    EXPECT_EQ(Starts(ten.dump),
              (std::vector<json>{process(R"(D:\DEMOS\TEN\SETUP.EXE)", R"(D:\DEMOS\TEN\)", true)}));
    EXPECT_TRUE(stdfs::exists(pc.C() / "TEN.TXT"));
    EXPECT_EQ(texts(ten.dump), (std::vector<std::string>{R"(D:\DEMOS\TEN\SETUP.EXE )"}));
    const MenuResult msi = pc.menu.Run(disc.string(), {}, "click DemosLabel5\nclick PlayImage\n");
    EXPECT_EQ(Starts(msi.dump), (std::vector<json>{shell("OPEN", R"(D:\DEMOS\PKG\setup.msi)")}));
    const MenuResult folder = pc.menu.Run(disc.string(), {}, "click DemosLabel6\nclick PlayImage\n");
    EXPECT_EQ(Starts(folder.dump), (std::vector<json>{shell("OPEN", R"(D:\DEMOS\THIRTY)")}));

    // Films: the file and, for type 30, its folder; the feature wants a DVD player the PC lacks.
    const MenuResult film = pc.menu.Run(disc.string(), {},
                                        "click DIBSection" + std::to_string(films) +
                                            "\nclick PlayImage\nwait 600\nkey Down\nclick PlayImage\n");
    EXPECT_EQ(Starts(film.dump), (std::vector<json>{shell("OPEN", R"(D:\MOVIES\TRAILER\TRAILER.AVI)"),
                                                    shell("OPEN", R"(D:\MOVIES\TRAILER)")}));
    ASSERT_EQ(texts(film.dump).size(), 1u);
    EXPECT_NE(texts(film.dump)[0].find("DVD"), std::string::npos);
}

// The extraction dialog's file-copy clip in a dump taken 130 ms after the dialog opened (before its
// walk starts): the colour scheme's clip, playing in the middle of the dialog.
void ExpectCopyClip(const stdfs::path& dump, const std::string& clip) {
    const json open = json::parse(ReadHostFile(dump));
    ASSERT_EQ(open["dialogs"].size(), 1u);
    const json& animate = open["dialogs"][0]["components"]["Animate1"];
    EXPECT_EQ(animate["class"], "TAnimate");
    EXPECT_EQ(animate["clip"], clip);
    EXPECT_EQ(animate["playing"], true);
    EXPECT_EQ(animate["frame"], 2) << "one frame time of 67 ms went by";
    EXPECT_EQ(animate["left"], 73);
    EXPECT_EQ(animate["width"], 280);
    EXPECT_EQ(open["dialogs"][0]["components"]["Label1"]["caption"], "0%");
}

// The whole road of an archive demo on the sample disc: the target dialog proposes a folder, the
// question is answered, the archive is unpacked there and recorded; the play button then runs the
// game, and the uninstall button removes the folder again.
TEST(InstallScenario, AnArchiveDemoIsInstalledRunAndUninstalled) {
    Menu menu;
    const stdfs::path c = menu.Dir() / "pc" / "drive_c";
    const stdfs::path during = menu.Dir() / "during.json";
    const stdfs::path unpacking = menu.Dir() / "unpacking.json";
    const MenuResult installed =
        menu.Run(test::SampleDisc(), {},
                 "click DemosLabel1\nclick PlayImage\ndump " + during.string() +
                     "\nanswer ok\nanswer yes\nwait 130\ndump " + unpacking.string() + "\nwait 500\n");
    ASSERT_EQ(installed.run.exit_code, 0) << installed.run.err;
    const json open = json::parse(ReadHostFile(during));
    ASSERT_EQ(open["dialogs"].size(), 1u);
    EXPECT_EQ(open["dialogs"][0]["window"]["title"], "Directory selection");
    EXPECT_EQ(open["dialogs"][0]["components"]["EditDir1"]["text"], "C:\\FROSTRAL");
    ExpectCopyClip(unpacking, "FILECOPY0");
    EXPECT_TRUE(stdfs::exists(c / "FROSTRAL" / "RALLY.EXE"));
    // The game was packed with its run bit and must start from where it was unpacked.
    EXPECT_NE(stdfs::status(c / "FROSTRAL" / "RALLY.EXE").permissions() & stdfs::perms::owner_exec,
              stdfs::perms::none);
    EXPECT_TRUE(stdfs::exists(c / "FROSTRAL" / "README.TXT"));
    EXPECT_NE(ReadHostFile(menu.Settings()).find("FROSTBITE RALLY=C:\\FROSTRAL"), std::string::npos);

    const MenuResult used = menu.Run(test::SampleDisc(), {},
                                     "click DemosLabel1\nclick PlayImage\nwait 300\nclick StopImage\n"
                                     "answer yes\nwait 300\n");
    ASSERT_EQ(used.run.exit_code, 0) << used.run.err;
    const std::vector<json> starts = Starts(used.dump);
    ASSERT_FALSE(starts.empty());
    EXPECT_EQ(starts[0]["commandLine"], "C:\\FROSTRAL\\RALLY.EXE");
    EXPECT_FALSE(stdfs::exists(c / "FROSTRAL"));
}

// A forced folder confirms itself and only asks the question; a full game's proposal is its place on
// the disc. Both archives unpack whole and are recorded. At night the dialog plays the night scheme's clip.
TEST(InstallScenario, AForcedFolderAndAFullGameUnpackWhole) {
    Menu menu;
    const stdfs::path c = menu.Dir() / "pc" / "drive_c";
    const stdfs::path unpacking = menu.Dir() / "unpacking.json";
    const MenuResult r =
        menu.Run(test::SampleDisc(), {},
                 "click DemosLabel5\nanswer yes\nclick PlayImage\nwait 1000\n"
                 "click DIBSection2\nclick DemosLabel1\nclick PlayImage\nanswer ok\nanswer yes\n"
                 "wait 130\ndump " +
                     unpacking.string() + "\nwait 1000\n",
                 "2026-12-08T23:00");
    ASSERT_EQ(r.run.exit_code, 0) << r.run.err;
    EXPECT_EQ(r.dump["MenuState"]["ColourScheme"], 1);
    ExpectCopyClip(unpacking, "FILECOPY1");
    const std::vector<json> boxes = Boxes(r.dump);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0]["text"], "Would you like to install this demo in C:\\NIGHTCOU ?");
    EXPECT_EQ(boxes[1]["text"], "Would you like to install this program to C:\\FULL\\LIGHT ?");
    EXPECT_TRUE(stdfs::exists(c / "NIGHTCOU" / "COURIER.EXE"));
    size_t unpacked = 0;
    for (const auto& entry : stdfs::recursive_directory_iterator(c / "FULL" / "LIGHT")) {
        unpacked += entry.is_regular_file() || entry.is_directory() ? 1 : 0;
    }
    EXPECT_EQ(unpacked, 208u);
    const std::string settings = ReadHostFile(menu.Settings());
    EXPECT_NE(settings.find("NIGHT COURIER=C:\\NIGHTCOU"), std::string::npos);
    EXPECT_NE(settings.find("LIGHTHOUSE=C:\\FULL\\LIGHT"), std::string::npos);
}

} // namespace
} // namespace kavlo
