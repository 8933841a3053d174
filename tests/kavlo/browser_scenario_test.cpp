// Browsing a disc headless: which pages a disc gets and how the icon column behaves, every way of
// moving through lists of several lengths, the letter jump, the colour scheme toggle and the settings
// page's switches, each checked in the state dumps a script takes along the way.

#include <gtest/gtest.h>

#include "kavlo/menu_run.h"

namespace kavlo {
namespace {

using test::json;
using test::Menu;
using test::ReadHostFile;
using test::SampleDisc;
using test::SetCatalogueKey;
using test::TempDir;
using test::WriteDisc;
using test::WriteHostFile;

// A disc whose catalogue lists these items in one section (demos unless said) and nothing else.
std::string ItemsDisc(const TempDir& dir, const std::vector<std::string>& names,
                      const std::string& count_key = "Demos", const std::string& prefix = "Demo") {
    std::string catalogue =
        "[Main]\r\nVersion=0\r\nCD=1226\r\n" + count_key + "=" + std::to_string(names.size()) + "\r\n";
    for (size_t i = 0; i < names.size(); ++i) {
        catalogue += "[" + prefix + std::to_string(i + 1) + "]\r\nName=" + names[i] + "\r\nFirm=F\r\n";
    }
    WriteHostFile(dir / "disc" / "KAVLO" / "kavloxp.ini", catalogue);
    return (dir / "disc").string();
}

std::vector<std::string> Numbered(int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) {
        names.push_back("DEMO " + std::to_string(i));
    }
    return names;
}

std::pair<int, int> CurrentAndTop(const json& dump) {
    return {dump["MenuState"]["CurrentItem"], dump["MenuState"]["TopItem"]};
}

TEST(BrowserScenario, DiscWithOnlyDemosHasTwoIconsAndAShortColumn) {
    TempDir dir;
    Menu menu;
    const json dump = menu.Run(ItemsDisc(dir, Numbered(3))).dump;
    const json& pages = dump["MenuState"]["PageTable"];
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0], (json{{"caption", "DEMOS"}, {"kind", 1}}));
    EXPECT_EQ(pages[1], (json{{"caption", "INSTALLED"}, {"kind", 20}}));
    const json& c = dump["components"];
    for (const char* hidden : {"DIBSection3", "DIBSection4", "DIBSection5", "IconLabel3", "IconLabel5"}) {
        EXPECT_FALSE(c[hidden]["visible"]) << hidden;
    }
    EXPECT_EQ(c["Down2"]["image"], -1);
    EXPECT_EQ(c["DIBSection1"]["image"], 1); // the open page's icon stays pressed
    EXPECT_EQ(c["DIBSection2"]["image"], 20);
    EXPECT_EQ(c["DemosLabel3"]["caption"], "DEMO 3");
    EXPECT_EQ(c["DemosLabel4"]["caption"], "");
    EXPECT_EQ(c["PositionLabel"]["caption"], "1 z 3");
}

TEST(BrowserScenario, ShortListMovesStayWithinItsSevenItems) {
    TempDir dir;
    Menu menu;
    const std::vector<json> s = menu.Steps(ItemsDisc(dir, Numbered(7)),
                                           {"wait 10", "key PageDown", "key Down", "key Home", "key 9",
                                            "key 5", "key End", "key PageUp", "click DemosLabel4", "key Up"});
    ASSERT_EQ(s.size(), 10u);
    EXPECT_EQ(s[0]["components"]["Up1"]["image"], -1);
    EXPECT_EQ(CurrentAndTop(s[1]), std::make_pair(7, 1));
    EXPECT_EQ(s[1]["components"]["Down1"]["image"], -1);
    EXPECT_EQ(CurrentAndTop(s[2]), std::make_pair(7, 1));
    EXPECT_EQ(CurrentAndTop(s[3]), std::make_pair(1, 1));
    EXPECT_EQ(CurrentAndTop(s[4]), std::make_pair(1, 1)); // row 9 is past the last item
    EXPECT_EQ(CurrentAndTop(s[5]), std::make_pair(5, 1));
    EXPECT_EQ(s[5]["components"]["HighlightDIB"]["top"], 63 + 31 * 4);
    EXPECT_EQ(s[5]["components"]["PositionLabel"]["caption"], "5 z 7");
    EXPECT_EQ(CurrentAndTop(s[6]), std::make_pair(7, 1));
    EXPECT_EQ(CurrentAndTop(s[7]), std::make_pair(1, 1));
    EXPECT_EQ(CurrentAndTop(s[8]), std::make_pair(4, 1));
    EXPECT_EQ(CurrentAndTop(s[9]), std::make_pair(3, 1));
}

TEST(BrowserScenario, LongListsPageByTens) {
    TempDir dir25;
    Menu menu;
    const std::vector<json> s = menu.Steps(
        ItemsDisc(dir25, Numbered(25)), {"click Down1", "click Down1", "click Up1", "key End", "key Down"});
    EXPECT_EQ(CurrentAndTop(s[0]), std::make_pair(11, 11));
    EXPECT_EQ(s[0]["components"]["DemosLabel1"]["caption"], "DEMO 11");
    EXPECT_EQ(CurrentAndTop(s[1]), std::make_pair(21, 16));
    EXPECT_EQ(CurrentAndTop(s[2]), std::make_pair(11, 6));
    EXPECT_EQ(CurrentAndTop(s[3]), std::make_pair(25, 16));
    EXPECT_EQ(s[3]["components"]["DemosLabel10"]["caption"], "DEMO 25");
    EXPECT_EQ(CurrentAndTop(s[4]), std::make_pair(25, 16));

    TempDir dir45;
    const std::vector<json> t = menu.Steps(ItemsDisc(dir45, Numbered(45), "Extra3", "E3xtra"),
                                           {"click Down1", "key 0", "click Down1", "wheel down 300 300",
                                            "wheel up 300 300", "key PageDown", "key PageDown"});
    EXPECT_EQ(CurrentAndTop(t[1]), std::make_pair(20, 11));
    EXPECT_EQ(CurrentAndTop(t[2]), std::make_pair(30, 21));
    EXPECT_EQ(CurrentAndTop(t[3]), std::make_pair(31, 22)); // the window follows one row
    EXPECT_EQ(CurrentAndTop(t[4]), std::make_pair(30, 22));
    EXPECT_EQ(CurrentAndTop(t[5]), std::make_pair(40, 36));
    EXPECT_EQ(CurrentAndTop(t[6]), std::make_pair(45, 36));
}

TEST(BrowserScenario, FirstLetterJumpsToTheFirstNameAndOtherLettersDoNothing) {
    TempDir dir;
    Menu menu;
    std::vector<std::string> names = Numbered(30);
    names[13] = "SNOW PATROL";
    names[26] = "SALT MINES";
    const std::vector<json> s = menu.Steps(ItemsDisc(dir, names), {"key S", "key Q", "key D", "key 3"});
    EXPECT_EQ(CurrentAndTop(s[0]), std::make_pair(14, 14));
    EXPECT_EQ(CurrentAndTop(s[1]), std::make_pair(14, 14));
    EXPECT_EQ(CurrentAndTop(s[2]), std::make_pair(1, 1));
    EXPECT_EQ(CurrentAndTop(s[3]), std::make_pair(3, 1));
}

TEST(BrowserScenario, FourteenPagesScrollTheColumnToItsEndAndBack) {
    Menu menu;
    const std::vector<json> s =
        menu.Steps(SampleDisc(), {"move Down2", "wait 3000", "move DIBBackImage", "move Up2", "wait 3000"});
    ASSERT_EQ(s[0]["MenuState"]["PageCount"], 14);
    const json& end = s[1]["components"];
    EXPECT_LT(end["DIBSection14"]["top"].get<int>(), 330);
    EXPECT_GE(end["DIBSection14"]["top"].get<int>(), 325);
    EXPECT_EQ(end["Down2"]["image"], -1);
    EXPECT_EQ(end["DIBSection1"]["opacity"], 0);
    EXPECT_EQ(end["DIBSection14"]["opacity"], end["IconLabel14"]["opacity"]);
    EXPECT_GT(end["DIBSection14"]["opacity"].get<int>(), 0);
    // The pointer on the background stops the column where it is.
    EXPECT_EQ(s[2]["components"]["DIBSection1"]["top"], end["DIBSection1"]["top"]);
    const json& back = s[4]["components"];
    EXPECT_GE(back["DIBSection1"]["top"].get<int>(), 56);
    EXPECT_LE(back["DIBSection1"]["top"].get<int>(), 60);
    EXPECT_EQ(back["Up2"]["image"], -1);
}

TEST(BrowserScenario, SchemeToggleKeepsPageItemAndRow) {
    Menu menu;
    const std::vector<json> s = menu.Steps(
        SampleDisc(), {"click DIBSection2", "key Down", "key Down", "click IndigoSpot", "click IndigoSpot"});
    for (size_t i : {3u, 4u}) {
        EXPECT_EQ(s[i]["MenuState"]["CurrentPage"], 10) << i;
        EXPECT_EQ(CurrentAndTop(s[i]), std::make_pair(3, 1)) << i;
        EXPECT_EQ(s[i]["components"]["HighlightDIB"]["top"], 63 + 31 * 2) << i;
        EXPECT_EQ(s[i]["MenuState"]["SelectedSlot"], 2) << i;
    }
    EXPECT_EQ(s[3]["MenuState"]["ColourScheme"], 1);
    EXPECT_EQ(s[3]["components"]["DIBSection2"]["image"], 4 + 2 + 1); // pressed, scheme 1
    EXPECT_EQ(s[3]["components"]["DIBBackImage"]["image"], 53);
    EXPECT_EQ(s[4]["MenuState"]["ColourScheme"], 0);
    EXPECT_EQ(s[4]["components"]["DIBSection2"]["image"], 5);
}

TEST(BrowserScenario, SettingsPageFlipsTheSwitchesAndWritesThem) {
    Menu menu;
    const std::vector<json> s = menu.Steps(
        SampleDisc(), {"click SetupSpot", "click Play2", "click Play2", "click Play1", "click DIBSection1"});
    const json& page = s[0];
    EXPECT_EQ(page["MenuState"]["CurrentPage"], 21);
    EXPECT_EQ(page["components"]["DemosLabel1"]["caption"], "BORDER PANEL");
    EXPECT_EQ(page["components"]["DemosLabel3"]["caption"], "MUSIC");
    EXPECT_EQ(page["components"]["Play1"]["image"], 114);
    EXPECT_EQ(page["components"]["Play2"]["image"], 110);
    EXPECT_TRUE(page["components"]["Play3"]["visible"]);
    EXPECT_EQ(s[1]["MenuState"]["Slow"], 1);
    EXPECT_EQ(s[1]["MenuState"]["CurrentItem"], 2);
    EXPECT_EQ(s[1]["components"]["Play2"]["image"], 115); // lit under the pointer
    EXPECT_EQ(s[2]["MenuState"]["Slow"], 0);
    EXPECT_EQ(s[3]["MenuState"]["Enhanced"], 0);
    EXPECT_EQ(s[3]["window"]["width"], 638);
    const std::string settings = ReadHostFile(menu.Settings());
    EXPECT_NE(settings.find("Slow=0"), std::string::npos) << settings;
    EXPECT_NE(settings.find("Enhanced=0"), std::string::npos) << settings;
    // Back on a page, the rows are the page's again.
    EXPECT_EQ(s[4]["MenuState"]["CurrentPage"], 1);
    EXPECT_FALSE(s[4]["components"]["Play1"]["visible"]);
}

TEST(BrowserScenario, TwoDiscIssueShowsOnlyThisDiscsSectionsUnlessItIsADvd) {
    TempDir dir;
    const std::filesystem::path disc = WriteDisc(dir / "disc");
    SetCatalogueKey(disc, "MoviesCD", "2");
    Menu menu;
    auto page_kinds = [](const json& dump) {
        std::vector<int> kinds;
        for (const json& page : dump["MenuState"]["PageTable"]) {
            kinds.push_back(page["kind"]);
        }
        return kinds;
    };
    const std::vector<int> cd = page_kinds(menu.Run(disc.string()).dump);
    EXPECT_EQ(std::count(cd.begin(), cd.end(), 8), 0);
    EXPECT_EQ(cd.back(), 20);
    SetCatalogueKey(disc, "DVD", "1");
    const std::vector<int> dvd = page_kinds(menu.Run(disc.string()).dump);
    EXPECT_EQ(std::count(dvd.begin(), dvd.end(), 8), 1);
}

TEST(BrowserScenario, OnlyACzechMenuShowsTheCzechVersionFlag) {
    Menu menu;
    const json english = menu.Run(SampleDisc()).dump;
    EXPECT_EQ(english["components"]["Flag_CZ"]["image"], 118);
    EXPECT_TRUE(english["components"]["Flag_CZ"]["visible"]);
}

TEST(BrowserScenario, GalleriesPageThroughTheirPicturesAndTheCacheKeepsWhatWasSeen) {
    Menu menu;
    // Each view opens with a fade, during which clicks on its arrows are ignored: the wait lets it open.
    std::vector<std::string> steps{"click DIBImage4\nwait 50"};
    for (int i = 0; i < 9; ++i) {
        steps.push_back("click RightArrow");
    }
    steps.insert(steps.end(),
                 {"click RightArrow", "click RightArrow", "click RightArrow", "rclick DIBImage2", "wait 500",
                  "key Down", "click DIBImage4", "click RightArrow", "click RightArrow", "click LeftArrow",
                  "key Escape", "wait 500", "key Up", "key Down"});
    const std::vector<json> s = menu.Steps(SampleDisc(), steps);
    EXPECT_EQ(s[0]["MenuState"]["PictureNumber"], 1);
    EXPECT_TRUE(s[0]["components"]["DIBImage2"]["visible"]);
    EXPECT_FALSE(s[0]["components"]["LeftArrow"]["visible"]);
    EXPECT_EQ(s[9]["MenuState"]["PictureNumber"], 10); // from 09 to 10
    EXPECT_EQ(s[12]["MenuState"]["PictureNumber"], 12);
    EXPECT_FALSE(s[12]["components"]["RightArrow"]["visible"]);
    EXPECT_FALSE(s[14]["components"]["DIBImage2"]["visible"]); // closed by the right button
    // Three pictures: two steps reach the last, one back shows both arrows.
    EXPECT_EQ(s[18]["MenuState"]["PictureNumber"], 3);
    EXPECT_FALSE(s[18]["components"]["RightArrow"]["visible"]);
    EXPECT_EQ(s[19]["MenuState"]["PictureNumber"], 2);
    EXPECT_TRUE(s[19]["components"]["LeftArrow"]["visible"]);
    EXPECT_TRUE(s[19]["components"]["RightArrow"]["visible"]);
    EXPECT_FALSE(s[21]["components"]["DIBImage2"]["visible"]); // closed by Escape
    // Going back to the first item shows its small picture from the cache.
    const int seen = s[21]["MenuState"]["PictureCount"];
    EXPECT_EQ(s[22]["MenuState"]["PictureCount"], seen);
    EXPECT_EQ(s[23]["MenuState"]["PictureCount"], seen);
}

TEST(BrowserScenario, InstalledPageListsEveryDiscsProgramsAndForgetsVanishedOnes) {
    TempDir dir;
    const std::string disc = ItemsDisc(dir, Numbered(3));
    Menu menu;
    menu.Run(disc); // makes the PC root
    const std::filesystem::path c = menu.Dir() / "pc" / "drive_c";
    WriteHostFile(c / "Games" / "Frost" / "FROST.EXE", "");
    WriteHostFile(c / "Games" / "Moth" / "MOTH.EXE", "");
    const std::string settings =
        "[Main]\r\nEnhanced=1\r\n"
        "[CD1197]\r\nOLD GAME=C:\\Games\\Old\r\nOLD GAME_=OLD.EXE,,,\r\n"
        "[CD0604]\r\nFROSTBITE=C:\\Games\\Frost\r\nFROSTBITE_=FROST.EXE,,DG,\r\n"
        "[CD0704]\r\nFROSTBITE=C:\\Games\\Frost\r\nFROSTBITE_=FROST.EXE,,DG,\r\n"
        "MOTH=C:\\Games\\Moth\r\nMOTH_=MOTH.EXE,,,2\r\n"
        "GONE=C:\\Games\\Gone\r\nGONE_=GONE.EXE,,,\r\nGONE__=C:\\Games\\Gone\\UNINST.EXE\r\n";
    menu.WriteSettings(settings);
    const std::vector<json> s = menu.Steps(disc, {"click DIBSection2"});
    const json& page = s[0];
    EXPECT_EQ(page["MenuState"]["CurrentPage"], 20);
    EXPECT_EQ(page["MenuState"]["ItemCount"], 3);
    const json& rows = page["components"];
    EXPECT_EQ(rows["DemosLabel1"]["caption"], "FROSTBITE");
    EXPECT_EQ(rows["DemosLabel2"]["caption"], "FROSTBITE");
    EXPECT_EQ(rows["DemosLabel3"]["caption"], "MOTH");
    EXPECT_EQ(rows["FirmLabel"]["caption"], "KAVLO 06-04");
    const std::string after = ReadHostFile(menu.Settings());
    EXPECT_NE(after.find("[CD1197]\r\nOLD GAME=C:\\Games\\Old\r\nOLD GAME_=OLD.EXE,,,\r\n"),
              std::string::npos)
        << after;
    EXPECT_EQ(after.find("GONE"), std::string::npos) << after;
    EXPECT_NE(after.find("MOTH_=MOTH.EXE,,,2"), std::string::npos) << after;
}

} // namespace
} // namespace kavlo
