// The detail panel's flags, buttons and hints, and the picture gallery, on a live window in a headless
// application over a small disc of the test's own pictures.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "main_f/form1.h"
#include "platform/codepage.h"
#include "platform/posix/posix_platform.h"
#include "sampledisc/jpeg_writer.h"
#include "sampledisc/loaded_sample.h"
#include "support/temp_dir.h"
#include "ui/headless/headless_backend.h"

namespace kavlo {
namespace {

using test::TempDir;
using test::WriteHostFile;

// A disc of one catalogue header and whatever pictures the test writes, open in the menu window.
class PanelMenu {
public:
    explicit PanelMenu(int language, int sponsor = 0)
        : posix_(DiscWithCatalogue(dir_, language, sponsor)), fonts_(posix_.fonts()),
          form(posix_.platform(), app_, fonts_, test::FormStream(), {}) {
        posix_.system().SetScreenProvider([this] { return backend_.DisplaySize(); });
        form.FormCreate();
        form.Show();
        Tick(50);
    }

    std::filesystem::path DiscFile(const std::string& rel) const { return dir_ / "disc" / "KAVLO" / rel; }
    // A small picture `width` pixels wide; the width tells the pictures apart.
    void WriteSmall(const std::string& stem, int width) {
        TMemoryDIB dib(static_cast<uint16_t>(width), 6);
        dib.Fill(0xFF204080);
        WriteHostFile(DiscFile("Small/" + stem + ".bmp"), EncodeBmpFile(dib));
    }
    // Full-size pictures name01.jpg .. name`count`.jpg; picture n is 20 + n pixels wide.
    void WriteGallery(const std::string& name, int count) {
        for (int n = 1; n <= count; ++n) {
            const std::optional<std::string> jpeg =
                sample::EncodeJpeg(skingen::Canvas(20 + n, 10, skingen::Hex(0x3060C0)), 90);
            ASSERT_TRUE(jpeg);
            WriteHostFile(DiscFile(name + (n < 10 ? "0" : "") + std::to_string(n) + ".jpg"), *jpeg);
        }
    }

    // The first demo's picture is `name`; the Demos page is open on it.
    void OpenDemoWithPicture(const std::string& name) {
        form.catalogue.Demos[1].Picture = name;
        form.state.CurrentPage = PageKind::Demos;
        form.state.CurrentItem = 1;
    }

    int SmallEntry() const { return form.controls.DIBImage4->IndexMain().DIBIndex(); }
    int EntryWidth(int entry) { return form.controls.DIBImageList2->Item(entry)->DIB().Width(); }
    void Tick(uint64_t ms) { backend_.RunFor(app_, ms); }

private:
    static PosixPlatformOptions DiscWithCatalogue(const TempDir& dir, int language, int sponsor) {
        WriteHostFile(dir / "disc/KAVLO/kavloxp.ini",
                      "[Main]\r\nVersion=" + std::to_string(language) +
                          "\r\nCD=0206\r\nRedarer=" + std::to_string(sponsor) + "\r\n");
        return PosixPlatformOptions{.pc_root = (dir / "pc").string(),
                                    .disc_dir = (dir / "disc").string(),
                                    .scan_media = false,
                                    .fixed_time = LocalTime{2026, 12, 8, 12, 0, 0}};
    }
    TempDir dir_;
    PosixPlatform posix_;
    HeadlessBackend backend_{ScreenSize{1280, 1024}};
    Application app_{backend_};
    FontResolver fonts_;

public:
    TForm1 form;
};

int FlagImage(const TDIBImage* flag) {
    return flag->IndexMain().DIBIndex();
}

TEST(DetailPanel, FlagsFollowTheItemsCodeAndNameThemselves) {
    PanelMenu menu(1);
    TForm1& f = menu.form;
    const TForm1Controls& c = f.controls;
    f.state.ColourScheme = 1;
    // Shown flags by letter: Playable, Unplayable, Czech, 3D, Net.
    const std::tuple<int, PageKind, std::string> rows[] = {
        {0, PageKind::Demos, "P"},    {0, PageKind::Fulls, ""},      {2, PageKind::Demos, "PD"},
        {3, PageKind::Demos, "PC"},   {4, PageKind::Demos, "U"},     {12, PageKind::Fulls, "DN"},
        {13, PageKind::Demos, "PCN"}, {24, PageKind::Demos, "UD"},   {24, PageKind::Fulls, "UD"},
        {29, PageKind::Fulls, ""},    {30, PageKind::Fulls, "P"},    {33, PageKind::Fulls, "PN"},
        {36, PageKind::Fulls, "PCD"}, {37, PageKind::Shots, "PCDN"}, {38, PageKind::Fulls, "P"},
    };
    const std::tuple<char, TDIBImage*, int> flags[] = {{'P', c.Flag_Playable, 55},
                                                       {'U', c.Flag_Unplayable, 57},
                                                       {'C', c.Flag_CZ, 59},
                                                       {'D', c.Flag_3D, 61},
                                                       {'N', c.Flag_Net, 63}};
    for (const auto& [code, page, shown] : rows) {
        f.state.CurrentPage = page;
        // After codes that show every flag, so a flag the row leaves off must be cleared.
        f.DoFlags(37);
        f.DoFlags(4);
        f.DoFlags(code);
        for (const auto& [letter, flag, image] : flags) {
            EXPECT_EQ(FlagImage(flag), shown.find(letter) != std::string::npos ? image : -1)
                << "code " << code << " flag " << letter;
        }
    }
    f.DoFlags(36);
    EXPECT_TRUE(c.Flag_3D->Visible());
    f.FlagMouseMove(*c.Flag_CZ, {}, 1, 1);
    EXPECT_EQ(c.HelpLabel->Caption(), FromUtf8("V ČEŠTINĚ"));
    f.FlagMouseMove(*c.Flag_Net, {}, 1, 1); // hidden: nothing to explain
    EXPECT_EQ(c.HelpLabel->Caption(), FromUtf8("V ČEŠTINĚ"));

    // In English the page column's stand-in keeps the Czech flag's place.
    f.catalogue.header.Version = 0;
    c.Flag_CZ->IndexMain().SetDIBIndex(118);
    for (int code : {3, 13, 34, 37}) {
        f.DoFlags(code);
        EXPECT_EQ(FlagImage(c.Flag_CZ), 118) << code;
    }
    f.FlagMouseMove(*c.Flag_3D, {}, 1, 1);
    EXPECT_EQ(c.HelpLabel->Caption(), "3D SUPPORT");
    f.FlagMouseMove(*c.Flag_CZ, {}, 1, 1);
    EXPECT_EQ(c.HelpLabel->Caption(), "3D SUPPORT");
    f.SetOff();
    EXPECT_EQ(FlagImage(c.Flag_CZ), 118);
    EXPECT_EQ(FlagImage(c.Flag_3D), -1);
}

TEST(DetailPanel, ButtonsTakeTheSchemesPictureOrNone) {
    PanelMenu menu(0);
    TForm1& f = menu.form;
    const TForm1Controls& c = f.controls;
    // Pictures whose colour is their index, whatever the skin's artwork is.
    c.ControlsImageList->Clear();
    for (uint32_t n = 0; n < 30; ++n) {
        TMemoryDIB picture(14, 13);
        picture.Fill(0xFF000000 | n);
        c.ControlsImageList->Add(picture);
    }
    f.state.ColourScheme = 1;
    for (auto setter :
         {&TForm1::ReadmeButton, &TForm1::WebButton, &TForm1::PlayButton, &TForm1::StopButton}) {
        (f.*setter)(true);
    }
    const std::pair<TImage*, uint32_t> buttons[] = {
        {c.ReadmeImage, 21}, {c.WebImage, 22}, {c.PlayImage, 23}, {c.StopImage, 24}};
    for (const auto& [button, index] : buttons) {
        EXPECT_EQ(button->Tag(), 1) << button->Name();
        EXPECT_EQ(button->Picture().Pixel(13, 12), 0xFF000000 | index) << button->Name();
    }
    f.state.ColourScheme = 0;
    f.PlayButton(true);
    EXPECT_EQ(c.PlayImage->Picture().Pixel(0, 0), 0xFF000008);

    c.NameLabel->SetCaption("Game");
    f.SetOff();
    for (const auto& [button, index] : buttons) {
        EXPECT_EQ(button->Tag(), 0) << button->Name();
        EXPECT_TRUE(button->Picture().Empty()) << button->Name();
    }
    EXPECT_EQ(c.NameLabel->Caption(), "");
}

TEST(DetailPanel, DateAndRequirementHints) {
    PanelMenu menu(0);
    TForm1& f = menu.form;
    const TForm1Controls& c = f.controls;
    const auto date_hint = [&](PageKind page) {
        f.state.CurrentPage = page;
        c.HelpLabel->SetCaption("before");
        f.DateLabelMouseMove(*c.DateLabel, {}, 1, 1);
        return c.HelpLabel->Caption();
    };
    EXPECT_EQ(date_hint(PageKind::Demos), "before"); // an empty date says nothing
    c.DateLabel->SetCaption("MAY 2004");
    EXPECT_EQ(date_hint(PageKind::Demos), "DATE OF RELEASE");
    EXPECT_EQ(date_hint(PageKind::Service), "LAST UPDATE");
    EXPECT_EQ(date_hint(PageKind::Shareware), "DRUH SOFTWARE");
    EXPECT_EQ(date_hint(PageKind::Extra2), "");
    f.catalogue.header.CD = "0204";
    f.catalogue.header.ActualCD = 2;
    EXPECT_EQ(date_hint(PageKind::Fulls), FromUtf8("ŽÁNR"));

    c.TechLabel->SetCaption("------");
    f.TechLabelMouseEnter(*c.TechLabel);
    EXPECT_EQ(c.HelpLabel->Caption(), FromUtf8("ŽÁNR"));
    c.TechLabel->SetCaption("P200, 32 MB");
    f.TechLabelMouseEnter(*c.TechLabel);
    EXPECT_EQ(c.HelpLabel->Caption(), FromUtf8("VYŽADOVÁNO"));
}

TEST(Gallery, SmallPicturesComeFromTheCacheOnceLoaded) {
    PanelMenu menu(0);
    TForm1& f = menu.form;
    TDIBImage& area = *f.controls.DIBImage4;
    menu.WriteGallery("X", 1);
    menu.WriteSmall("X01", 11);
    menu.WriteSmall("Y", 12);
    menu.WriteSmall("iko04_GR", 13);
    menu.WriteSmall("iko04_IND", 14);
    const int count = f.state.PictureCount;

    EXPECT_EQ(f.LoadSmallPicture("X"), 1);
    EXPECT_EQ(area.Opacity(), 150);
    const int x_entry = menu.SmallEntry();
    EXPECT_EQ(x_entry, count + 1);
    EXPECT_EQ(menu.EntryWidth(x_entry), 11);
    EXPECT_EQ(f.LoadSmallPicture("Y"), 0);
    EXPECT_EQ(f.state.HasGallery, 0);
    EXPECT_EQ(area.Opacity(), 240);
    EXPECT_EQ(menu.EntryWidth(menu.SmallEntry()), 12);

    // Back to X without its file: the cache has it.
    std::filesystem::remove(menu.DiscFile("Small/X01.bmp"));
    f.state.PointerOnPicture = 1;
    EXPECT_EQ(f.LoadSmallPicture("X"), 1);
    EXPECT_EQ(f.state.HasGallery, 1);
    EXPECT_EQ(menu.SmallEntry(), x_entry);
    EXPECT_EQ(area.Opacity(), 240); // under the pointer the hover fade owns it

    // No picture, a missing one and broken ones all leave the area as it was.
    WriteHostFile(menu.DiscFile("Small/BROKEN.bmp"), "BM not really");
    WriteHostFile(menu.DiscFile("Small/SHORT.bmp"), EncodeBmpFile(TMemoryDIB(40, 40)).substr(0, 100));
    for (const char* name : {"NUL", "MISSING", "BROKEN", "SHORT"}) {
        EXPECT_EQ(f.LoadSmallPicture(name), 0) << name;
        EXPECT_EQ(menu.SmallEntry(), x_entry) << name;
    }
    EXPECT_EQ(f.state.PictureCount, count + 2);

    f.state.ColourScheme = 1;
    f.LoadSmallPicture("iko04");
    EXPECT_EQ(menu.EntryWidth(menu.SmallEntry()), 14);
    f.state.ColourScheme = 0;
    f.LoadSmallPicture("IKO04");
    EXPECT_EQ(menu.EntryWidth(menu.SmallEntry()), 13);
}

TEST(Gallery, TheCacheStartsOverAfterItsLastEntry) {
    PanelMenu menu(0);
    TForm1& f = menu.form;
    f.state.PictureCount = 0;
    for (int n = 1; n <= 100; ++n) {
        menu.WriteSmall("P" + std::to_string(n), n);
    }
    for (int n = 1; n <= 99; ++n) {
        f.LoadSmallPicture("P" + std::to_string(n));
    }
    EXPECT_EQ(menu.SmallEntry(), 99);
    EXPECT_EQ(f.state.PictureCount, 1);
    // Only the first entry counts as loaded now: P1 comes from the cache, P50 would be read again.
    std::filesystem::remove(menu.DiscFile("Small/P1.bmp"));
    std::filesystem::remove(menu.DiscFile("Small/P50.bmp"));
    f.LoadSmallPicture("P1");
    EXPECT_EQ(menu.SmallEntry(), 1);
    f.LoadSmallPicture("P50");
    EXPECT_EQ(menu.SmallEntry(), 1);
    f.LoadSmallPicture("P100");
    EXPECT_EQ(menu.SmallEntry(), 2);
    EXPECT_EQ(menu.EntryWidth(2), 100);
}

TEST(Gallery, ArrowsPageThroughThePictures) {
    PanelMenu menu(0);
    TForm1& f = menu.form;
    const TForm1Controls& c = f.controls;
    menu.WriteGallery("X", 3);
    menu.WriteGallery("Z", 12);
    menu.OpenDemoWithPicture("X");
    f.state.Slow = false;
    f.DIBImage4Click(*c.DIBImage4);
    menu.Tick(10);
    const auto shows = [&](int n, bool left, bool right) {
        EXPECT_EQ(f.state.PictureNumber, n);
        EXPECT_EQ(c.DIBImage2->Width(), 20 + n);
        EXPECT_EQ(c.LeftArrow->Visible(), left) << n;
        EXPECT_EQ(c.RightArrow->Visible(), right) << n;
    };
    EXPECT_TRUE(c.DIBImage2->Visible());
    shows(1, false, true);
    f.RightArrowClick(*c.RightArrow);
    shows(2, true, true);
    f.RightArrowClick(*c.RightArrow);
    shows(3, true, false);
    f.RightArrowClick(*c.RightArrow);
    shows(3, true, false);
    f.LeftArrowClick(*c.LeftArrow);
    shows(2, true, true);

    menu.OpenDemoWithPicture("Z");
    f.DIBImage4Click(*c.DIBImage4);
    for (int n = 2; n <= 10; ++n) {
        f.RightArrowClick(*c.RightArrow);
    }
    shows(10, true, true);
}

TEST(Gallery, TheViewerFadesWithEffectsAndComesAtOnceWithout) {
    PanelMenu menu(0, 1);
    TForm1& f = menu.form;
    const TForm1Controls& c = f.controls;
    menu.WriteGallery("X", 2);
    menu.OpenDemoWithPicture("X");
    f.state.Slow = true;
    ASSERT_TRUE(c.DIBImage3->Visible());
    f.DIBImage4Click(*c.DIBImage4);
    EXPECT_TRUE(c.DIBImage1->Visible());
    menu.Tick(10);
    EXPECT_EQ(c.DIBImage2->Opacity(), 40);
    EXPECT_EQ(c.RightArrow->Opacity(), 40);
    EXPECT_EQ(c.DIBImage3->Opacity(), 215);
    // Too early for paging or closing.
    f.RightArrowClick(*c.RightArrow);
    EXPECT_EQ(f.state.PictureNumber, 1);
    f.DIBImage1MouseDown(*c.DIBImage2, MouseButton::Right, {}, 5, 5);
    menu.Tick(10);
    EXPECT_EQ(c.DIBImage2->Opacity(), 80);
    menu.Tick(100);
    EXPECT_EQ(c.DIBImage2->Opacity(), 255);
    EXPECT_FALSE(c.DIBTimer3->Timer().Enabled());
    EXPECT_FALSE(c.DIBTimer4->Timer().Enabled());
    EXPECT_FALSE(c.DIBImage3->Visible());

    f.DIBImage1MouseDown(*c.DIBImage1, MouseButton::Left, {}, 5, 5);
    EXPECT_FALSE(c.DIBTimer4->Timer().Enabled());
    f.DIBImage1MouseDown(*c.DIBImage1, MouseButton::Right, {}, 5, 5);
    menu.Tick(10);
    EXPECT_EQ(c.DIBImage2->Opacity(), 215);
    EXPECT_TRUE(c.DIBImage2->Visible());
    EXPECT_TRUE(c.DIBImage3->Visible()); // the framed window's sponsor button
    menu.Tick(100);
    EXPECT_EQ(c.DIBImage3->Opacity(), 255);
    for (const TDIBImage* hidden : {c.DIBImage2, c.DIBImage1, c.LeftArrow, c.RightArrow}) {
        EXPECT_FALSE(hidden->Visible()) << hidden->Name();
    }

    f.state.Slow = false;
    f.DIBImage4Click(*c.DIBImage4);
    menu.Tick(10);
    EXPECT_EQ(c.DIBImage2->Opacity(), 255);
    EXPECT_FALSE(c.DIBImage3->Visible());
    f.DIBImage1MouseDown(*c.DIBImage1, MouseButton::Right, {}, 5, 5);
    menu.Tick(10);
    EXPECT_FALSE(c.DIBImage2->Visible());
    EXPECT_TRUE(c.DIBImage3->Visible());
}

} // namespace
} // namespace kavlo
