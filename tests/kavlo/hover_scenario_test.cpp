// The pointer over the menu, headless on the virtual clock: the play button's help line on every kind
// of page and install state, the small picture's fades frame by frame, the enlarged view's fades with
// the effects switch on and off, the quick-run buttons, the settings switches and the corner spots.

#include <gtest/gtest.h>

#include "kavlo/menu_run.h"

namespace kavlo {
namespace {

using test::json;
using test::Menu;
using test::SampleDisc;
using test::TempDir;
using test::WriteHostFile;

std::string WriteCatalogue(const TempDir& dir, const std::string& lines) {
    std::string catalogue;
    for (const char c : lines) {
        catalogue += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    WriteHostFile(dir / "disc" / "KAVLO" / "kavloxp.ini", catalogue);
    return (dir / "disc").string();
}

// English. Pages: Demos, Fulls, Movies, Shots, Shareware, Installed. BRAVO is installed on the PC.
constexpr const char* kEnglishCatalogue = R"([Main]
Version=0
CD=1226
ActualCD=1
Demos=3
Fulls=3
FullsCD=1
Movies=2
MoviesCD=1
Shots=1
Shareware=3
SharewareCD=1
[Demo1]
Name=ALPHA
GameName=ALPHA.EXE
InstallType=1
InstallName=SETUP.EXE
[Demo2]
Name=BRAVO
GameName=BRAVO.EXE
InstallType=1
InstallName=SETUP.EXE
[Demo3]
Name=CHARLIE
GameName=CHARLIE.EXE
InstallType=30
InstallName=SETUP.EXE
[Full1]
Name=DELTA
GameName=DELTA.EXE
InstallType=1
InstallName=SETUP.EXE
[Full2]
Name=ECHO
GameName=ECHO.EXE
InstallType=30
[Full3]
Name=FOXTROT
GameName=FOXTROT.EXE
InstallType=0
[Movie1]
Name=GOLF
GameName=GOLF.AVI
[Movie2]
Name=HOTEL
GameName=HOTEL.AVI
InstallType=30
[Shot1]
Name=INDIA
Web=http://india.example/
[Share1]
Name=JULIETT
GameName=JULIETT.EXE
InstallType=0
[Share2]
Name=KILO
GameName=KILO.EXE
InstallType=1
InstallName=SETUP.EXE
[Share3]
Name=LIMA
GameName=LIMA.EXE
InstallType=30
InstallName=SETUP.EXE
)";

// Czech, where the opening caption has a text. Pages: Addons, the partner page, Updates, Drivers,
// Installed.
constexpr const char* kCzechCatalogue = R"([Main]
Version=1
CD=1226
ActualCD=1
Addons=2
AddonsCD=1
Drivers=1
DriversCD=1
Updates=1
UpdatesCD=1
DovudizEnabled=1
Dovudiz=DILNA
[Addon1]
Name=MIKE
GameName=MIKE.EXE
InstallType=0
[Addon2]
Name=NOVEMBER
GameName=NOVEMBER.EXE
InstallType=30
InstallName=SETUP.EXE
[Driver1]
Name=OSCAR
InstallName=SETUP.EXE
[Updates]
Update1=PAPA;1.1;PAPA11.EXE;;0
)";

void InstallBravo(const Menu& menu) {
    menu.WriteSettings("[Main]\r\nLanguage=1\r\n[CD1226]\r\nBRAVO=C:\\GAMES\\BRAVO\r\n");
    WriteHostFile(menu.Dir() / "pc" / "drive_c" / "GAMES" / "BRAVO" / "BRAVO.EXE", "");
}

struct HelpCase {
    std::string step;
    int page;
    std::string help;
    int tag; // the play button's: 2 lit, 0 not offered
};

void CheckHelpLines(const std::vector<json>& states, const std::vector<HelpCase>& cases) {
    ASSERT_EQ(states.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        const json& s = states[i];
        EXPECT_EQ(s["MenuState"]["CurrentPage"], cases[i].page) << i;
        EXPECT_EQ(s["components"]["HelpLabel"]["caption"], cases[i].help) << i;
        EXPECT_EQ(s["components"]["PlayImage"]["tag"], cases[i].tag) << i;
    }
}

std::vector<std::string> StepsOf(const std::vector<HelpCase>& cases) {
    std::vector<std::string> steps;
    for (const HelpCase& c : cases) {
        steps.push_back(c.step);
    }
    return steps;
}

TEST(HoverScenario, PlayButtonHelpLineFollowsPageInstallStateAndOpeningType) {
    const std::string over = "move PlayImage";
    const std::string next = "key Down\n" + over;
    auto page = [&over](int slot) { return "click DIBSection" + std::to_string(slot) + "\n" + over; };
    // English has no text for the opening caption: the line goes blank.
    const std::vector<HelpCase> english{
        {over, 1, "INSTALL", 2}, // not installed
        {next, 1, "RUN", 2},     // found where the PC's record says
        {next, 1, "INSTALL", 2}, // opening type, but the Demos page installs it all the same
        {page(2), 10, "INSTALL", 2},
        {next, 10, "", 2},    // opening type
        {next, 10, "RUN", 2}, // runs from the disc
        {page(3), 8, "RUN", 2},
        {next, 8, "", 2},
        {"click DIBSection4\nmove WebImage\n" + over, 7, "HOMEPAGE", 0}, // Shots: the line stays
        {page(5), 3, "RUN", 2},                                          // runs from the disc, so installed
        {next, 3, "INSTALL", 2},
        {next, 3, "", 2},
        {"move DIBBackImage 5 5", 3, "", 1},
    };
    TempDir dir_en;
    Menu menu_en;
    InstallBravo(menu_en);
    CheckHelpLines(menu_en.Steps(WriteCatalogue(dir_en, kEnglishCatalogue), StepsOf(english)), english);

    const std::vector<HelpCase> czech{
        {over, 11, "SPUSTIT", 2},
        {next, 11, "OTEVŘÍT", 2},
        {page(2), 12, "SPUSTIT", 2},
        {page(3), 5, "INSTALOVAT", 2},
        {page(4), 4, "INSTALOVAT", 2},
        {"move ReadmeImage", 4, "INSTALOVAT", 2}, // no readme offered: the line stays
    };
    TempDir dir_cs;
    Menu menu_cs;
    CheckHelpLines(menu_cs.Steps(WriteCatalogue(dir_cs, kCzechCatalogue), StepsOf(czech)), czech);
}

std::vector<int> Opacities(const std::vector<json>& states, size_t from, size_t to, const char* control) {
    std::vector<int> values;
    for (size_t i = from; i < to; ++i) {
        values.push_back(states[i]["components"][control]["opacity"]);
    }
    return values;
}

TEST(HoverScenario, SmallPictureWithGalleryFadesInAndOutFrameByFrame) {
    std::vector<std::string> steps{"move PlayImage", "move DIBImage4"};
    for (int i = 0; i < 12; ++i) {
        steps.push_back("wait 50");
    }
    steps.push_back("move DIBBackImage 5 5");
    for (int i = 0; i < 12; ++i) {
        steps.push_back("wait 50");
    }
    // Back in, away half way through, and the page illustration of the settings page (no gallery).
    for (const char* step : {"move DIBImage4", "wait 150", "move DIBBackImage 5 5", "wait 50",
                             "click SetupSpot\nmove DIBImage4", "wait 200"}) {
        steps.push_back(step);
    }
    Menu menu;
    const std::vector<json> s = menu.Steps(SampleDisc(), steps);
    ASSERT_EQ(s.size(), 33u);
    EXPECT_EQ(s[0]["components"]["PlayImage"]["tag"], 2);
    // Entering puts the rest of the window back to rest.
    const json& entered = s[1];
    EXPECT_EQ(entered["MenuState"]["HasGallery"], 1);
    EXPECT_EQ(entered["MenuState"]["PointerOnPicture"], 1);
    EXPECT_EQ(entered["components"]["HelpLabel"]["caption"], "");
    EXPECT_EQ(entered["components"]["PlayImage"]["tag"], 1);
    // The arrows follow the pointer over the picture's middle.
    EXPECT_EQ(entered["components"]["LowerArrow"]["top"], 109);
    EXPECT_EQ(entered["components"]["UpperArrow"]["top"], 346);
    EXPECT_EQ(Opacities(s, 1, 14, "DIBImage4"),
              (std::vector<int>{150, 160, 170, 180, 190, 200, 210, 220, 230, 240, 250, 255, 255}));
    EXPECT_TRUE(s[11]["components"]["DIBTimer1"]["enabled"]);
    EXPECT_FALSE(s[12]["components"]["DIBTimer1"]["enabled"]);
    EXPECT_EQ(s[14]["MenuState"]["PointerOnPicture"], 0);
    EXPECT_EQ(Opacities(s, 14, 27, "DIBImage4"),
              (std::vector<int>{255, 245, 235, 225, 215, 205, 195, 185, 175, 165, 155, 145, 145}));
    EXPECT_TRUE(s[25]["components"]["DIBTimer2"]["enabled"]);
    EXPECT_FALSE(s[26]["components"]["DIBTimer2"]["enabled"]);
    // Leaving during the fade-in turns it round at once.
    EXPECT_EQ(s[28]["components"]["DIBImage4"]["opacity"], 175);
    EXPECT_FALSE(s[29]["components"]["DIBTimer1"]["enabled"]);
    EXPECT_EQ(s[30]["components"]["DIBImage4"]["opacity"], 165);
    // A picture without a gallery stays as it is.
    const json& plain = s[32];
    EXPECT_EQ(plain["MenuState"]["HasGallery"], 0);
    EXPECT_EQ(plain["MenuState"]["PointerOnPicture"], 1);
    EXPECT_EQ(plain["components"]["DIBImage4"]["opacity"], 240);
    EXPECT_FALSE(plain["components"]["DIBTimer1"]["enabled"]);
}

struct ViewerLook {
    int picture; // opacity of the enlarged picture, -1 hidden
    int sponsor; // opacity of the framed window's sponsor button, -1 hidden
    bool fading_in;
    bool fading_out;
};

ViewerLook LookOf(const json& state) {
    const json& c = state["components"];
    auto shown = [&c](const char* name) { return c[name]["visible"] ? c[name]["opacity"].get<int>() : -1; };
    return {shown("DIBImage2"), shown("DIBImage3"), c["DIBTimer3"]["enabled"], c["DIBTimer4"]["enabled"]};
}

bool operator==(const ViewerLook& a, const ViewerLook& b) {
    return a.picture == b.picture && a.sponsor == b.sponsor && a.fading_in == b.fading_in &&
           a.fading_out == b.fading_out;
}

void PrintTo(const ViewerLook& look, std::ostream* out) {
    *out << "{" << look.picture << ", " << look.sponsor << ", " << look.fading_in << ", " << look.fading_out
         << "}";
}

TEST(HoverScenario, EnlargedViewFadesOnlyWithTheEffectsSwitchOn) {
    // Open, a close request while still fading in, the fade to its end, then the close.
    std::vector<std::string> steps{"click DIBImage4", "wait 10", "wait 10\nrclick DIBImage2"};
    for (int i = 0; i < 6; ++i) {
        steps.push_back("wait 10");
    }
    steps.push_back("rclick DIBImage2");
    for (int i = 0; i < 8; ++i) {
        steps.push_back("wait 10");
    }
    Menu slow;
    slow.WriteSettings("[Main]\r\nSlow=1\r\n");
    const std::vector<json> s = slow.Steps(SampleDisc(), steps);
    ASSERT_EQ(s.size(), 18u);
    std::vector<ViewerLook> looks;
    for (const json& state : s) {
        looks.push_back(LookOf(state));
    }
    EXPECT_EQ(looks, (std::vector<ViewerLook>{{0, 255, true, false},
                                              {40, 215, true, false},
                                              {80, 175, true, false}, // the close request is ignored
                                              {120, 135, true, false},
                                              {160, 95, true, false},
                                              {200, 55, true, false},
                                              {240, 15, true, false},
                                              {255, 0, true, false},
                                              {255, -1, false, false},
                                              {255, -1, false, true},
                                              {215, 40, false, true},
                                              {175, 80, false, true},
                                              {135, 120, false, true},
                                              {95, 160, false, true},
                                              {55, 200, false, true},
                                              {15, 240, false, true},
                                              {0, 255, false, true},
                                              {-1, 255, false, false}}));
    EXPECT_FALSE(s.back()["components"]["DIBImage1"]["visible"]);
    EXPECT_FALSE(s.back()["components"]["RightArrow"]["visible"]);
    EXPECT_FALSE(s.back()["components"]["DIBImage5"]["visible"]); // only the framed window's button

    Menu quick;
    const std::vector<json> q =
        quick.Steps(SampleDisc(), {"click DIBImage4", "wait 10", "rclick DIBImage2", "wait 10"});
    EXPECT_EQ(LookOf(q[0]), (ViewerLook{0, 255, true, false}));
    EXPECT_EQ(LookOf(q[1]), (ViewerLook{255, -1, false, false}));
    EXPECT_EQ(q[1]["components"]["RightArrow"]["opacity"], 255);
    EXPECT_EQ(LookOf(q[2]), (ViewerLook{255, -1, false, true}));
    EXPECT_EQ(LookOf(q[3]), (ViewerLook{-1, 255, false, false}));
    EXPECT_FALSE(q[3]["components"]["DIBImage1"]["visible"]);
}

std::vector<int> QuickImages(const json& state) {
    std::vector<int> images;
    for (int row = 1; row <= 3; ++row) {
        images.push_back(state["components"]["Play" + std::to_string(row)]["image"]);
    }
    return images;
}

TEST(HoverScenario, QuickButtonsSettingsSwitchesAndCornerSpots) {
    TempDir dir;
    Menu menu;
    InstallBravo(menu);
    const std::vector<json> s =
        menu.Steps(WriteCatalogue(dir, kEnglishCatalogue),
                   {"move Play2", "move DIBBackImage 5 5", "move ExitSpot", "move SetupSpot",
                    "move IndigoSpot", "move DIBBackImage 5 5", "click SetupSpot\nmove Play1", "move Play2",
                    "move Play3", "click Play2", "move DIBBackImage 5 5", "click IndigoSpot\nmove Play1",
                    "move IndigoSpot", "click DIBSection1\nmove Play2", "move DIBBackImage 5 5"});
    ASSERT_EQ(s.size(), 15u);
    EXPECT_TRUE(s[0]["components"]["Play2"]["visible"]);
    EXPECT_EQ(QuickImages(s[0]), (std::vector<int>{88, 89, 88}));
    EXPECT_EQ(QuickImages(s[1]), (std::vector<int>{88, 88, 88}));

    auto spots = [](const json& state) {
        const json& c = state["components"];
        return std::make_tuple(c["ExitDIB"]["image"].get<int>(), c["SetupDIB"]["image"].get<int>(),
                               c["IndigoDIB"]["image"].get<int>(),
                               c["HelpLabel2"]["caption"].get<std::string>());
    };
    EXPECT_EQ(spots(s[2]), std::make_tuple(64, -1, -1, std::string("EXIT")));
    EXPECT_EQ(spots(s[3]), std::make_tuple(-1, 66, -1, std::string("SETTINGS")));
    EXPECT_EQ(spots(s[4]), std::make_tuple(-1, -1, 68, std::string("ILLUMINATION")));
    EXPECT_EQ(spots(s[5]), std::make_tuple(-1, -1, -1, std::string()));

    // The settings page: border on, effects and music as the PC's file leaves them (off, on).
    EXPECT_EQ(s[6]["MenuState"]["CurrentPage"], 21);
    EXPECT_EQ(QuickImages(s[6]), (std::vector<int>{115, 110, 114}));
    EXPECT_EQ(QuickImages(s[7]), (std::vector<int>{114, 111, 114}));
    EXPECT_EQ(QuickImages(s[8]), (std::vector<int>{114, 110, 115}));
    EXPECT_EQ(s[9]["MenuState"]["Slow"], 1);
    EXPECT_EQ(QuickImages(s[9]), (std::vector<int>{114, 115, 114})); // switched on, under the pointer
    EXPECT_EQ(QuickImages(s[10]), (std::vector<int>{114, 114, 114}));
    // The other scheme takes its own images, the indicators included.
    EXPECT_EQ(s[11]["MenuState"]["ColourScheme"], 1);
    EXPECT_EQ(QuickImages(s[11]), (std::vector<int>{117, 116, 116}));
    EXPECT_EQ(spots(s[12]), std::make_tuple(-1, -1, 69, std::string("ILLUMINATION")));
    EXPECT_EQ(s[13]["MenuState"]["CurrentPage"], 1);
    EXPECT_EQ(s[13]["components"]["Play2"]["image"], 91);
    EXPECT_EQ(s[14]["components"]["Play2"]["image"], 90);
}

} // namespace
} // namespace kavlo
