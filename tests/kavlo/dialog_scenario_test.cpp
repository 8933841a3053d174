// Modal dialogs and message boxes in a headless run: the script finds their controls, its keys reach
// them, and the dump shows each as a window of its own beside the main window.

#include <gtest/gtest.h>

#include <filesystem>

#include "menu_run.h"

namespace kavlo::test {
namespace {

namespace stdfs = std::filesystem;

TEST(DialogScenario, TheVersionChoiceIsDumpedAsAWindowOfItsOwnAndAnsweredByKeysOrAnswer) {
    TempDir dir;
    const stdfs::path disc = dir / "disc";
    WriteHostFile(disc / "KAVLO" / "kavloxp.ini",
                  "[Main]\r\nVersion=0\r\nCD=1226\r\nDemos=1\r\n[Demo1]\r\nName=Choice\r\nFirm=F\r\n"
                  "InstallType=1\r\nGameName=game.exe:Normal;game3d.exe -gl:3D\r\n");
    Menu menu;
    const stdfs::path c = menu.Dir() / "pc" / "drive_c";
    for (const char* program : {"game.exe", "game3d.exe"}) {
        WriteHostFile(c / "CHOICE" / program, "#!/bin/sh\nexit 0\n");
        stdfs::permissions(c / "CHOICE" / program, stdfs::perms::owner_all);
    }
    menu.WriteSettings("[CD1226]\r\nCHOICE=C:\\CHOICE\r\n");
    const stdfs::path during = menu.Dir() / "during.json";
    // A letter goes to the focused button, which has none of it; Tab moves to the second, Enter presses it.
    const MenuResult r =
        menu.Run(disc.string(), {},
                 "click Play1\ntype x\nkey Tab\ndump " + during.string() + "\nkey Return\nwait 100\n");
    ASSERT_EQ(r.run.exit_code, 0) << r.run.err;

    const json open = json::parse(ReadHostFile(during));
    ASSERT_EQ(open["dialogs"].size(), 1u);
    const json& dialog = open["dialogs"][0];
    EXPECT_EQ(dialog["window"]["title"], open["application"]["title"]);
    EXPECT_EQ(dialog["window"]["left"], (1024 - dialog["window"]["width"].get<int>()) / 2);
    const json& parts = dialog["components"];
    EXPECT_EQ(parts["Message"]["caption"], "Jakou verzi hry chcete spustit?");
    EXPECT_EQ(parts["Choice1"]["caption"], "Normal");
    EXPECT_EQ(parts["Choice2"]["caption"], "3D");
    EXPECT_EQ(parts["Choice2"]["class"], "TButton");
    EXPECT_EQ(parts["Choice1"]["focused"], false);
    EXPECT_EQ(parts["Choice2"]["focused"], true);
    EXPECT_EQ(parts["Choice2"]["default"], true);
    // The main window keeps its own components and its place in the dump.
    EXPECT_TRUE(open["components"].contains("Play1"));
    EXPECT_TRUE(open["events"].empty());

    EXPECT_TRUE(r.dump["dialogs"].empty());
    ASSERT_EQ(r.dump["events"].size(), 1u);
    EXPECT_EQ(r.dump["events"][0]["commandLine"], "C:\\CHOICE\\game3d.exe -gl");

    // "answer N" presses the open dialog's N-th button.
    const MenuResult first = menu.Run(disc.string(), {}, "click Play1\nanswer 1\nwait 100\n");
    ASSERT_EQ(first.run.exit_code, 0) << first.run.err;
    ASSERT_EQ(first.dump["events"].size(), 1u);
    EXPECT_EQ(first.dump["events"][0]["commandLine"], "C:\\CHOICE\\game.exe");
}

// An archive item installed in C:\Games\Frost, whose uninstall asks before deleting its folder.
struct ArchiveItem {
    ArchiveItem() {
        WriteHostFile(disc / "KAVLO" / "kavloxp.ini",
                      "[Main]\r\nVersion=0\r\nCD=1226\r\nDemos=1\r\n[Demo1]\r\nName=Frost\r\nFirm=F\r\n"
                      "Date=1226\r\nInstallType=2\r\nGameName=RALLY.EXE\r\n");
        WriteHostFile(menu.Dir() / "pc" / "drive_c" / "Games" / "Frost" / "RALLY.EXE", "MZ");
        menu.WriteSettings("[CD1226]\r\nFrost=C:\\Games\\Frost\r\n");
    }
    bool Installed() const { return stdfs::exists(menu.Dir() / "pc" / "drive_c" / "Games" / "Frost"); }

    TempDir dir;
    stdfs::path disc = dir / "disc";
    Menu menu;
};

TEST(DialogScenario, AnOpenQuestionBoxIsDumpedAsAWindowAndAnsweredByItsButton) {
    ArchiveItem item;
    const stdfs::path during = item.menu.Dir() / "during.json";
    const stdfs::path after = item.menu.Dir() / "after.json";
    const MenuResult r = item.menu.Run(item.disc.string(), {},
                                       "click DemosLabel1\nclick StopImage\ndump " + during.string() +
                                           "\nclick NoButton\nwait 100\ndump " + after.string() + "\n");
    ASSERT_EQ(r.run.exit_code, 0) << r.run.err;

    const json open = json::parse(ReadHostFile(during));
    ASSERT_EQ(open["dialogs"].size(), 1u);
    const json& window = open["dialogs"][0]["window"];
    EXPECT_EQ(window["title"], open["application"]["title"]);
    EXPECT_EQ(window["left"], (1024 - window["width"].get<int>()) / 2);
    EXPECT_EQ(window["top"], (768 - window["height"].get<int>()) / 2);
    const json& parts = open["dialogs"][0]["components"];
    EXPECT_EQ(parts["Message"]["caption"], "Would you like to delete all files in C:\\GAMES\\FROST ?");
    EXPECT_EQ(parts["Icon"]["caption"], "?");
    EXPECT_EQ(parts["YesButton"]["caption"], "&Yes");
    EXPECT_EQ(parts["NoButton"]["caption"], "&No");
    EXPECT_FALSE(parts.contains("OKButton"));
    EXPECT_FALSE(parts.contains("CancelButton"));
    // Yes first, framed and focused; No to its right; the text beside the sign; everything inside the
    // window, the buttons below the text.
    EXPECT_EQ(parts["YesButton"]["focused"], true);
    EXPECT_EQ(parts["YesButton"]["default"], true);
    EXPECT_EQ(parts["NoButton"]["default"], false);
    EXPECT_GT(parts["NoButton"]["left"], parts["YesButton"]["left"]);
    EXPECT_EQ(parts["NoButton"]["top"], parts["YesButton"]["top"]);
    EXPECT_GE(parts["Message"]["left"], parts["Icon"]["left"].get<int>() + parts["Icon"]["width"].get<int>());
    EXPECT_GT(parts["YesButton"]["top"],
              parts["Message"]["top"].get<int>() + parts["Message"]["height"].get<int>());
    for (const char* name : {"Icon", "Message", "YesButton", "NoButton"}) {
        const json& part = parts[name];
        EXPECT_LE(part["left"].get<int>() + part["width"].get<int>(), window["width"].get<int>()) << name;
        EXPECT_LE(part["top"].get<int>() + part["height"].get<int>(), window["height"].get<int>()) << name;
    }
    // Nothing is answered, let alone deleted, while the box waits.
    EXPECT_TRUE(open["events"].empty());
    EXPECT_TRUE(open["components"].contains("StopImage"));

    const json closed = json::parse(ReadHostFile(after));
    EXPECT_TRUE(closed["dialogs"].empty());
    const std::vector<json> boxes = Boxes(closed);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]["buttons"], "yesno");
    EXPECT_EQ(boxes[0]["answer"], "no");
    EXPECT_TRUE(item.Installed());
    EXPECT_EQ(Boxes(r.dump).size(), 1u);
}

// A box the script does not turn to takes its default button and the run goes on: when the script
// ends, and when its next command is for the window (here a wait, then a dump of the result).
TEST(DialogScenario, ABoxTheScriptDoesNotTurnToTakesItsDefaultButton) {
    for (const std::string tail : {"", "wait 100\ndump {mid}\n"}) {
        ArchiveItem item;
        const stdfs::path mid = item.menu.Dir() / "mid.json";
        std::string script = "click DemosLabel1\nclick StopImage\n" + tail;
        if (const size_t at = script.find("{mid}"); at != std::string::npos) {
            script.replace(at, 5, mid.string());
        }
        const MenuResult r = item.menu.Run(item.disc.string(), {}, script);
        ASSERT_EQ(r.run.exit_code, 0) << r.run.err;
        const std::vector<json> boxes = Boxes(r.dump);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0]["answer"], "yes");
        EXPECT_FALSE(item.Installed());
        EXPECT_TRUE(r.dump["dialogs"].empty());
        if (!tail.empty()) {
            const json during = json::parse(ReadHostFile(mid));
            EXPECT_TRUE(during["dialogs"].empty());
            EXPECT_EQ(Boxes(during).size(), 1u);
        }
    }
}

} // namespace
} // namespace kavlo::test
