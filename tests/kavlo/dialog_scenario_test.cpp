// A modal dialog in a headless run: the script finds its controls, its keys reach it, and the dump
// shows it as a window of its own beside the main window.

#include <gtest/gtest.h>

#include <filesystem>

#include "menu_run.h"

namespace kavlo::test {
namespace {

namespace stdfs = std::filesystem;

TEST(DialogScenario, TheVersionChoiceIsDumpedAsAWindowOfItsOwnAndAnsweredByKeys) {
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
}

} // namespace
} // namespace kavlo::test
