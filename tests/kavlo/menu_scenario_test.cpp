// The whole menu driven headless over the sample disc and PC roots made for each test: what the
// window looks like in both modes and on several screens, the titles, the colour scheme by the hour,
// the start-up errors, a read-only settings file, debug mode, and scripts it cannot run.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "kavlo/menu_run.h"

namespace kavlo {
namespace {

using nlohmann::json;
using test::Boxes;
using test::Menu;
using test::MenuResult;
using test::ReadHostFile;
using test::SampleDisc;
using test::SetCatalogueKey;
using test::TempDir;
using test::WriteDisc;
using test::WriteHostFile;

TEST(MenuScenario, FramedAndSimpleWindowsAreLaidOutAsDesigned) {
    Menu menu;
    const MenuResult framed = menu.Run(SampleDisc());
    ASSERT_EQ(framed.run.exit_code, 0) << framed.run.err;
    const json& w = framed.dump["window"];
    EXPECT_EQ(w, (json{{"left", 103},
                       {"top", 13},
                       {"width", 818},
                       {"height", 742},
                       {"title", "Kavlo CD 12-2026 (A)"},
                       {"shaped", true},
                       {"visible", true}}));
    EXPECT_EQ(framed.dump["application"]["title"], "Kavlo CD 12-2026 (A)");
    EXPECT_EQ(framed.dump["exitCode"], 0);
    const json& c = framed.dump["components"];
    EXPECT_EQ(c["DIBContainer1"]["left"], 85);
    EXPECT_EQ(c["DIBContainer1"]["top"], 173);
    EXPECT_EQ(c["DIBBackImage"]["image"], 52);
    EXPECT_EQ(c["CoverDown"]["image"], 92);
    EXPECT_EQ(c["CoverUp"]["image"], 94);
    EXPECT_EQ(c["DemosLabel10"]["top"], 349);
    EXPECT_EQ(c["CDNumberLabel"]["caption"], "1226");
    EXPECT_EQ(c["HelpLabel"]["fontColor"], "#2F322B");
    for (int i = 1; i <= 10; ++i) {
        EXPECT_TRUE(c["Animate" + std::to_string(i)]["visible"]) << i;
    }
    // The sample disc has a partner: exactly one partner button shows in either mode.
    EXPECT_TRUE(c["DIBImage3"]["visible"]);
    EXPECT_FALSE(c["DIBImage5"]["visible"]);
    EXPECT_EQ(c["StartTimer"]["enabled"], true);
    EXPECT_EQ(framed.dump["MenuState"]["Enhanced"], 1);

    menu.WriteSettings("[Main]\r\nEnhanced=0\r\n");
    const MenuResult simple = menu.Run(SampleDisc());
    const json& s = simple.dump["window"];
    EXPECT_EQ(s["width"], 638);
    EXPECT_EQ(s["height"], 482);
    EXPECT_EQ(s["left"], 193);
    EXPECT_EQ(s["top"], 143);
    EXPECT_EQ(s["shaped"], false);
    const json& sc = simple.dump["components"];
    EXPECT_EQ(sc["DIBContainer1"]["left"], 0);
    EXPECT_EQ(sc["DIBContainer1"]["top"], 0);
    EXPECT_EQ(sc["DIBBackImage"]["image"], 96);
    EXPECT_EQ(sc["CoverDown"]["image"], 98);
    EXPECT_EQ(sc["CoverUp"]["image"], 100);
    EXPECT_FALSE(sc["Animate1"]["visible"]);
    EXPECT_FALSE(sc["DIBImage3"]["visible"]);
    EXPECT_TRUE(sc["DIBImage5"]["visible"]);
}

TEST(MenuScenario, WindowIsCentredAndSmallScreensGetTheSimpleWindow) {
    struct Case {
        const char* screen;
        int left, top, width;
    };
    // Halves go to the even neighbour, as the centring rounds.
    for (const Case& k : {Case{"1280x1024", 231, 141, 818}, Case{"1023x767", 102, 12, 818},
                          Case{"801x742", -8, 0, 818}, Case{"800x600", 81, 59, 638}}) {
        Menu menu;
        menu.WriteSettings("[Main]\r\nEnhanced=1\r\n");
        const MenuResult r = menu.Run(SampleDisc(), {"--screen", k.screen});
        EXPECT_EQ(r.dump["window"]["left"], k.left) << k.screen;
        EXPECT_EQ(r.dump["window"]["top"], k.top) << k.screen;
        EXPECT_EQ(r.dump["window"]["width"], k.width) << k.screen;
        EXPECT_EQ(r.dump["MenuState"]["Enhanced"], k.width == 818 ? 1 : 0) << k.screen;
        // The small screen's choice holds for this run only.
        EXPECT_NE(ReadHostFile(menu.Settings()).find("Enhanced=1"), std::string::npos) << k.screen;
    }
}

TEST(MenuScenario, ColourSchemeFollowsTheHour) {
    for (const auto& [now, scheme] : {std::pair{"2026-12-08T07:59", 1}, std::pair{"2026-12-08T08:00", 0},
                                      std::pair{"2026-12-08T19:59", 0}, std::pair{"2026-12-08T20:00", 1}}) {
        Menu menu;
        const MenuResult r = menu.Run(SampleDisc(), {}, "", now);
        EXPECT_EQ(r.dump["MenuState"]["ColourScheme"], scheme) << now;
        EXPECT_EQ(r.dump["components"]["DIBBackImage"]["image"], 52 + scheme) << now;
        EXPECT_EQ(r.dump["components"]["CoverUp"]["image"], 94 + scheme) << now;
    }
}

TEST(MenuScenario, TitlesNameTheDisc) {
    TempDir dir;
    const std::filesystem::path disc = WriteDisc(dir / "disc");
    Menu menu;
    SetCatalogueKey(disc, "ActualCD", "2");
    EXPECT_EQ(menu.Run(disc.string()).dump["window"]["title"], "Kavlo CD 12-2026 (B)");
    SetCatalogueKey(disc, "NumberOfCD", "1");
    EXPECT_EQ(menu.Run(disc.string()).dump["window"]["title"], "Kavlo CD 12-2026");
    SetCatalogueKey(disc, "DVD", "1");
    const json dvd = menu.Run(disc.string()).dump;
    EXPECT_EQ(dvd["window"]["title"], "Kavlo DVD 12-2026");
    EXPECT_EQ(dvd["application"]["title"], "Kavlo DVD 12-2026");
}

TEST(MenuScenario, StartupErrorsComeInOrderAndEndTheProgram) {
    Menu menu;
    const MenuResult nowhere = menu.Run("");
    EXPECT_EQ(nowhere.run.exit_code, 0) << nowhere.run.err;
    const std::vector<json> boxes = Boxes(nowhere.dump);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0]["text"], "There is no KAVLO CD/DVD in any drive...");
    EXPECT_EQ(boxes[1]["text"], "Where is my KAVLOXP.INI?????");
    EXPECT_EQ(nowhere.dump["exitCode"], 0);

    // A disc without a catalogue is taken as it is, and only the catalogue is missed.
    TempDir dir;
    WriteHostFile(dir / "disc" / "KAVLO.EXE", "");
    const std::vector<json> missing = Boxes(menu.Run((dir / "disc").string()).dump);
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(missing[0]["text"], "Where is my KAVLOXP.INI?????");

    // With every letter taken the disc has no drive: a clear refusal rather than a search of the PC.
    std::string drives = "[Drives]\r\n";
    for (char letter = 'D'; letter <= 'Z'; ++letter) {
        drives += std::string(1, letter) + "=" + dir.path().string() + ",fixed\r\n";
    }
    WriteHostFile(menu.Dir() / "pc" / "drives.ini", drives);
    const MenuResult full = menu.Run(SampleDisc());
    EXPECT_EQ(full.run.exit_code, 2);
    EXPECT_FALSE(full.run.err.empty());
}

// A user who may not write to the Windows directory is warned, in Czech whatever the disc's language,
// and the menu goes on without its "Language" write.
TEST(MenuScenario, UserWhoCannotWriteTheWindowsDirectoryIsWarnedAndTheMenuGoesOn) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to run the menu as another user";
    }
    TempDir dir;
    const std::filesystem::path disc = WriteDisc(dir / "disc");
    const std::filesystem::path pc = dir / "pc";
    const std::filesystem::path out = dir / "out";
    // The PC as an administrator left it: the Windows directory belongs to root.
    ASSERT_EQ(test::RunMenu({"--headless", "--disc", disc.string(), "--pc", pc.string()}).exit_code, 0);
    std::filesystem::create_directories(out);
    for (const std::filesystem::path& open : {dir.path(), out}) {
        std::filesystem::permissions(open, std::filesystem::perms::all);
    }
    const std::string settings_before = ReadHostFile(pc / "drive_c" / "WINDOWS" / "kavlo.ini");
    const test::ToolRun run =
        test::RunProgram("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", test::MenuPath(),
                                     "--headless", "--disc", disc.string(), "--pc", pc.string(),
                                     "--dump-state", (out / "dump.json").string()});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const json dump = json::parse(ReadHostFile(out / "dump.json"));
    const std::vector<json> boxes = Boxes(dump);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]["text"], "Nemáte administrátorská práva - většina dem nepůjde nainstalovat!");
    EXPECT_TRUE(dump["window"]["visible"]);
    EXPECT_EQ(ReadHostFile(pc / "drive_c" / "WINDOWS" / "kavlo.ini"), settings_before);
}

TEST(MenuScenario, ReadOnlySettingsFileIsReadAndLeftAlone) {
    Menu menu;
    const std::string settings = "[Main]\r\nEnhanced=0\r\nMusic=0\r\n";
    menu.WriteSettings(settings);
    ASSERT_EQ(chmod(menu.Settings().c_str(), 0444), 0);
    const MenuResult r = menu.Run(SampleDisc());
    EXPECT_EQ(r.run.exit_code, 0) << r.run.err;
    EXPECT_EQ(r.dump["MenuState"]["Enhanced"], 0);
    EXPECT_EQ(r.dump["MenuState"]["Music"], 0);
    EXPECT_EQ(r.dump["window"]["width"], 638);
    EXPECT_TRUE(Boxes(r.dump).empty());
    EXPECT_EQ(ReadHostFile(menu.Settings()), settings);
}

TEST(MenuScenario, DebugModeShowsItsLabelsAndOpensTheCatalogue) {
    TempDir dir;
    const std::filesystem::path disc = WriteDisc(dir / "disc");
    SetCatalogueKey(disc, "Debug", "1");
    // The shell's opener is a program that does nothing, so no editor opens on the test machine.
    setenv("KAVLO_OPEN", "true", 1);
    Menu menu;
    const MenuResult r = menu.Run(disc.string(), {}, "click DebugLabel2\nwait 100\n");
    unsetenv("KAVLO_OPEN");
    ASSERT_EQ(r.run.exit_code, 0) << r.run.err;
    EXPECT_EQ(r.dump["application"]["title"], "Kavlo CD 12-2026 (A) - DEBUG MODE");
    EXPECT_EQ(r.dump["window"]["title"], "Kavlo CD 12-2026 (A)");
    EXPECT_TRUE(r.dump["components"]["DebugLabel1"]["visible"]);
    EXPECT_TRUE(r.dump["components"]["DebugLabel2"]["visible"]);
    ASSERT_EQ(r.dump["events"].size(), 1u);
    EXPECT_EQ(r.dump["events"][0], (json{{"kind", "shell"},
                                         {"verb", "OPEN"},
                                         {"file", "D:\\KAVLO\\KAVLOXP.INI"},
                                         {"params", ""},
                                         {"dir", ""}}));
    // Outside debug mode the labels are hidden and take no clicks.
    EXPECT_FALSE(menu.Run(SampleDisc()).dump["components"]["DebugLabel1"]["visible"]);
}

TEST(MenuScenario, ScriptsItCannotRunStopWithStatus2) {
    Menu menu;
    const MenuResult unreadable = menu.Run(SampleDisc(), {}, "wait 10\nclik DebugLabel1\n");
    EXPECT_EQ(unreadable.run.exit_code, 2);
    EXPECT_NE(unreadable.run.err.find("line 2"), std::string::npos) << unreadable.run.err;

    const MenuResult unknown = menu.Run(SampleDisc(), {}, "wait 10\n\nmove NoSuchButton 1 1\n");
    EXPECT_EQ(unknown.run.exit_code, 2);
    EXPECT_NE(unknown.run.err.find("line 3"), std::string::npos) << unknown.run.err;
    EXPECT_NE(unknown.run.err.find("NoSuchButton"), std::string::npos) << unknown.run.err;

    for (const char* bad : {"wheel sideways 1 1\n", "answer maybe\n", "key NoKey\n", "wait -5\n"}) {
        EXPECT_EQ(menu.Run(SampleDisc(), {}, bad).run.exit_code, 2) << bad;
    }
}

TEST(MenuScenario, ScriptedRunWritesItsDumpsAndScreenshots) {
    Menu menu;
    const std::filesystem::path shot = menu.Dir() / "shot.png";
    const std::filesystem::path mid = menu.Dir() / "mid.json";
    const MenuResult r = menu.Run(SampleDisc(), {"--screenshot", shot.string()},
                                  "wait 250\ndump " + mid.string() + "\nquit\nwait 100000\n");
    ASSERT_EQ(r.run.exit_code, 0) << r.run.err;
    // The dump taken during the run has no exit code yet; the one at the end has.
    const json during = json::parse(ReadHostFile(mid));
    EXPECT_FALSE(during.contains("exitCode"));
    EXPECT_EQ(r.dump["exitCode"], 0);
    const std::string png = ReadHostFile(shot);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    // Width and height from the header: the whole framed window.
    auto be32 = [&](size_t at) {
        return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
               (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
    };
    EXPECT_EQ(be32(16), 818);
    EXPECT_EQ(be32(20), 742);
}

} // namespace
} // namespace kavlo
