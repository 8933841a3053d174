// The page and item builders in a headless window over a disc and PC written here: what the detail
// panel shows and offers per section, the disc banner, the install state seen as it changes on the
// PC, and the Installed page read from kavlo.ini.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "platform/codepage.h"
#include "sampledisc/loaded_sample.h"

namespace kavlo {
namespace {

using Tags = std::array<int, 4>;          // readme, web, play, uninstall
using Panel = std::array<std::string, 5>; // name, developer, requirements, date, description

PosixPlatformOptions DiscAndPc(const test::TempDir& dir, const std::string& catalogue,
                               const std::string& strings) {
    test::WriteHostFile(dir / "disc" / "KAVLO" / "kavloxp.ini", catalogue);
    if (!strings.empty()) {
        test::WriteHostFile(dir / "disc" / "KAVLO" / "strings.ini", strings);
    }
    return {.pc_root = (dir / "pc").string(),
            .disc_dir = (dir / "disc").string(),
            .scan_media = false,
            .fixed_time = LocalTime{2026, 12, 8, 12, 0, 0}};
}

// The main window over a disc with the given catalogue. The PC may be written to before Start, since
// the first page opens and checks the PC at once.
struct BuilderMenu {
    explicit BuilderMenu(const std::string& catalogue, const std::string& strings = "")
        : posix(DiscAndPc(dir, catalogue, strings)), fonts(posix.fonts()),
          form(posix.platform(), app, fonts, test::FormStream(), {}) {}

    void Start() {
        form.FormCreate();
        form.Show();
        backend.RunFor(app, 50);
    }

    // Opens a page as its icon does, then makes item `n` current as a row click does.
    void Open(PageKind page, int n = 1) {
        form.SelectPage(page);
        if (n != 1) {
            form.state.CurrentItem = n;
            form.ProcessPage();
        }
    }

    // Writes a file on the PC, making its folders.
    void Put(const std::string& path, const std::string& bytes) {
        FileSystem& fs = posix.platform().fs;
        for (size_t slash = path.find('\\', 3); slash != std::string::npos;
             slash = path.find('\\', slash + 1)) {
            fs.CreateDir(path.substr(0, slash));
        }
        ASSERT_TRUE(fs.WriteFileAtomic(path, bytes)) << path;
    }
    void Remove(const std::string& path) { ASSERT_TRUE(posix.platform().fs.DeleteFile(path)) << path; }

    Panel Texts() const {
        const TForm1Controls& c = form.controls;
        return {c.NameLabel->Caption(), c.FirmLabel->Caption(), c.TechLabel->Caption(),
                c.DateLabel->Caption(), c.TextLabel->Caption()};
    }
    Tags Buttons() const {
        const TForm1Controls& c = form.controls;
        return {c.ReadmeImage->Tag(), c.WebImage->Tag(), c.PlayImage->Tag(), c.StopImage->Tag()};
    }
    TForm1Controls& controls() { return form.controls; }

    test::TempDir dir;
    PosixPlatform posix;
    HeadlessBackend backend{ScreenSize{1280, 1024}};
    Application app{backend};
    FontResolver fonts;
    TForm1 form;
};

std::string DemosDisc(int discs) {
    return "[Main]\nCD=1206\nVersion=0\nActualCD=1\nDemos=2\nNumberOfCD=" + std::to_string(discs) +
           "\n[Demo1]\nName=Far Cry\nFullName=Far Cry Jungle\nFirm=Crytek\nTechInfo=P4, 512 MB RAM\n"
           "Date=0504\nDescribe0=An island shooter.\nGameName=FC.EXE\nInstallDir=FC\\\n"
           "[Demo2]\nName=Thief\nCD=2\nTechInfo=P3\n";
}

TEST(PageBuilders, DemosShowTheirTextsAndTheBannerNamesTheOtherDiscOnlyInASet) {
    BuilderMenu set(DemosDisc(2));
    set.Start();
    set.Open(PageKind::Demos);
    EXPECT_EQ(set.Texts(),
              (Panel{"FAR CRY JUNGLE", "CRYTEK", "P4, 512 MB RAM", "MAY 2004", "An island shooter."}));
    // Runs from the disc: play without anything installed, nothing to uninstall.
    EXPECT_EQ(set.Buttons(), (Tags{0, 0, 1, 0}));

    set.Open(PageKind::Demos, 2);
    EXPECT_EQ(set.Texts(),
              (Panel{"THIEF", "", "--------------------- NALEZNETE NA CD  (B) -----------------", "", ""}));
    EXPECT_EQ(set.Buttons(), (Tags{0, 0, 0, 0}));

    BuilderMenu single(DemosDisc(1));
    single.Start();
    single.Open(PageKind::Demos, 2);
    EXPECT_EQ(single.Texts()[2], "--------------------- NALEZNETE NA CD  -----------------");
}

TEST(PageBuilders, ADemoIsOfferedForInstallThenForUninstallAndDroppedWhenDeletedByHand) {
    BuilderMenu menu("[Main]\nCD=1206\nVersion=0\nDebug=1\nDemos=1\n"
                     "[Demo1]\nName=Doom\nGameName=DOOM.EXE\nInstallType=2\nInstallName=DOOM.RAR\n"
                     "InstallDir=DOOM\\\nReadmeName=README.TXT\n");
    menu.Start();
    menu.Open(PageKind::Demos);
    EXPECT_EQ(menu.Buttons(), (Tags{0, 0, 1, 0}));

    menu.Put("C:\\GAMES\\DOOM\\DOOM.EXE", "MZ");
    menu.form.SettingsFile->WriteString("CD1206", "DOOM", "C:\\GAMES\\DOOM");
    menu.Open(PageKind::Demos);
    EXPECT_EQ(menu.Buttons(), (Tags{1, 0, 1, 1}));
    // The installed readme is missing, which only the editor's debug mode reports.
    const std::vector<MessageBoxRecord>& boxes = menu.backend.QueuedBoxes().Shown();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Readme file not found...");

    menu.Remove("C:\\GAMES\\DOOM\\DOOM.EXE");
    menu.form.ProcessPage();
    EXPECT_EQ(menu.Buttons(), (Tags{0, 0, 1, 0}));
    EXPECT_EQ(menu.form.SettingsFile->ReadString("CD1206", "DOOM", ""), "");
}

TEST(PageBuilders, AReadersDocumentOffersOnlyItsReadmeAndAProgramOnlyItsRun) {
    BuilderMenu menu("[Main]\nCD=1206\nVersion=1\nReaders=2\n"
                     "[Reader1]\nName=Povidka\nFirm=Jan\nReadmeName=POVIDKA.TXT\nInstallDir=POVIDKA\\\n"
                     "Describe1=Text ctenare\n"
                     "[Reader2]\nName=Hra\nGameName=HRA.EXE\nInstallDir=HRA\\\n");
    menu.Start();
    menu.Open(PageKind::Readers);
    EXPECT_EQ(menu.Texts(), (Panel{"POVIDKA", "JAN", "", "", "Text ctenare"}));
    EXPECT_EQ(menu.Buttons(), (Tags{1, 0, 0, 0}));
    EXPECT_TRUE(menu.controls().Flag_CZ->Visible());

    menu.Open(PageKind::Readers, 2);
    EXPECT_EQ(menu.Buttons(), (Tags{0, 0, 1, 0}));
    const TDemos& program = menu.form.catalogue.Readers[2];
    EXPECT_EQ(program.InstalledDir, program.SourceDir);
}

TEST(PageBuilders, AnEmptyInstalledPageHidesTheBarAndStillExplainsItself) {
    BuilderMenu menu("[Main]\nCD=1206\nVersion=2\n", "[MAIN]\nA233=Kurulanlar %1 %1\n");
    menu.Put("C:\\WINDOWS\\kavlo.ini", "[Main]\nMusic=0\n");
    menu.Start();
    menu.Open(PageKind::Installed);
    EXPECT_EQ(menu.form.InstalledCount, 0);
    EXPECT_EQ(menu.controls().HighlightDIB->Top(), -100);
    EXPECT_EQ(menu.Texts()[4], "Kurulanlar 2-98 %1");
    EXPECT_EQ(menu.controls().DemosLabel[0]->Caption(), "");
}

TEST(PageBuilders, InstalledPageListsAGameOncePerDiscAndPrunesAVanishedOne) {
    BuilderMenu menu("[Main]\nCD=1206\nVersion=0\n");
    menu.Put("C:\\WINDOWS\\kavlo.ini", "[Main]\nMusic=1\n"
                                       "[CD0604]\nHALFLIFE=C:\\GAMES\\HL\nHALFLIFE_=HL.EXE,,,\n"
                                       "[CD0704]\nGONE=C:\\GAMES\\GONE\nGONE_=GONE.EXE,,,\n"
                                       "HALFLIFE=C:\\GAMES\\HL2\nHALFLIFE_=HL.EXE,,,\n");
    menu.Put("C:\\GAMES\\HL\\HL.EXE", "MZ");
    menu.Put("C:\\GAMES\\HL2\\HL.EXE", "MZ");
    menu.Start();
    menu.Open(PageKind::Installed);
    ASSERT_EQ(menu.form.InstalledCount, 2);
    EXPECT_EQ(menu.controls().DemosLabel[1]->Caption(), "HALFLIFE");
    EXPECT_EQ(menu.Texts(), (Panel{"HALFLIFE", "KAVLO 06-04", "", "", menu.form.LoadString(33)}));
    EXPECT_EQ(menu.Buttons(), (Tags{0, 0, 1, 1}));
    menu.Open(PageKind::Installed, 2);
    EXPECT_EQ(menu.Texts()[1], "KAVLO 07-04");

    EXPECT_EQ(menu.form.SettingsFile->ReadString("CD0704", "GONE_", ""), "");
    EXPECT_EQ(menu.form.SettingsFile->ReadString("CD0704", "HALFLIFE", ""), "C:\\GAMES\\HL2");
}

TEST(PageBuilders, FilmsNameThePlayerOrCodecTheyNeed) {
    BuilderMenu menu("[Main]\nCD=1206\nVersion=0\nDVD=1\nMovies=3\n"
                     "[Movie1]\nName=Runaway\nFlags=50\nGameName=PLAY.BAT\nPicture=NUL\n"
                     "[Movie2]\nName=Trailer\nFullName=The Trailer\nFirm=Studio\nDate=0004\n"
                     "[Movie3]\nName=Silent\nFlags=0\n");
    menu.Start();
    menu.Open(PageKind::Movies);
    EXPECT_EQ(menu.Texts(), (Panel{"RUNAWAY", "", FromUtf8("NUTNÝ SOFTWAROVÝ DVD PŘEHRÁVAČ"), "", ""}));
    EXPECT_EQ(menu.Buttons(), (Tags{0, 0, 1, 0}));
    EXPECT_TRUE(menu.controls().Flag_Unplayable->Visible());
    EXPECT_EQ(menu.controls().DIBImage4->Opacity(), 255);

    menu.Open(PageKind::Movies, 2);
    EXPECT_EQ(menu.Texts(),
              (Panel{"THE TRAILER", "STUDIO", "Requires DivX codec (in Drivers).", "OUT NOW", ""}));
    EXPECT_EQ(menu.Buttons(), (Tags{0, 0, 0, 0}));
    menu.Open(PageKind::Movies, 3);
    EXPECT_EQ(menu.Texts()[2], "");
}

TEST(PageBuilders, TheTopGamesDiscShowsGenresAndAdvertsAreMarked) {
    BuilderMenu menu("[Main]\nCD=0204\nVersion=0\nNumberOfCD=2\nActualCD=2\nFulls=1\nFullsCD=2\n"
                     "Extra2=1\n"
                     "[Full1]\nName=Civ\nTechInfo=Strategie\nDate=0504\nInstallType=30\n"
                     "[E2xtra1]\nName=Shop\nTechInfo=Visit us\nDate=0504\nWeb=http://shop\n");
    menu.Start();
    menu.Open(PageKind::Fulls);
    EXPECT_EQ(menu.Texts(), (Panel{"CIV", "", "", "STRATEGIE", ""}));
    EXPECT_EQ(menu.Buttons(), (Tags{0, 0, 1, 0}));

    menu.Open(PageKind::Extra2);
    EXPECT_EQ(menu.Texts(), (Panel{"SHOP", "", "", FromUtf8("PLACENÁ INZERCE"), ""}));
    EXPECT_EQ(menu.Buttons(), (Tags{0, 1, 0, 0}));
}

TEST(PageBuilders, ThePartnersPageTakesItsTextsFromTheCatalogueHeader) {
    BuilderMenu menu("[Main]\nCD=1206\nVersion=0\nDovudizEnabled=1\nDovudiz=Partner\n"
                     "DovudizText=Games & more~ hidden\n");
    menu.Start();
    menu.Open(PageKind::Dovudiz);
    const Panel panel = menu.Texts();
    EXPECT_EQ(panel[0], "Partner");
    EXPECT_NE(panel[1], ""); // no authors named: our own credit line
    EXPECT_EQ(panel[4], "Games && more");
    EXPECT_EQ(menu.Buttons(), (Tags{0, 0, 1, 0}));
}

} // namespace
} // namespace kavlo
