// The catalogue's header, titles, counts and the behaviour of a load as a whole.

#include <gtest/gtest.h>

#include "catalogue_test_disc.h"

namespace kavlo::test {
namespace {

TEST(DiscTitles, FollowDiscKindSetAndDebug) {
    struct Case {
        std::string cd;
        int dvd, number_of_cd, actual_cd;
        bool debug;
        std::string window, application, label;
    };
    const Case cases[] = {
        {"0204", 0, 2, 2, false, "Kavlo CD 02-2004 (B)", "Kavlo CD 02-2004 (B)", "0204"},
        {"1105", 0, 3, 1, false, "Kavlo CD 11-2005 (A)", "Kavlo CD 11-2005 (A)", "1105"},
        {"1105", 0, 3, 3, false, "Kavlo CD 11-2005 (C)", "Kavlo CD 11-2005 (C)", "1105"},
        {"0305", 0, 1, 2, false, "Kavlo CD 03-2005", "Kavlo CD 03-2005", "0305"},
        {"0305", 0, 2, 4, false, "Kavlo CD 03-2005", "Kavlo CD 03-2005", "0305"},
        {"0305", 0, 2, 0, false, "Kavlo CD 03-2005", "Kavlo CD 03-2005", "0305"},
        {"0606", 1, 2, 2, false, "Kavlo DVD 06-2006", "Kavlo DVD 06-2006", "0606"},
        {"0606", 1, 1, 1, true, "Kavlo DVD 06-2006", "Kavlo DVD 06-2006 - DEBUG MODE", "0606"},
        {"0204", 0, 2, 1, true, "Kavlo CD 02-2004 (A)", "Kavlo CD 02-2004 (A) - DEBUG MODE", "0204"},
        // Short or missing codes give short parts, never a failure.
        {"", 0, 1, 1, false, "Kavlo CD -20", "Kavlo CD -20", ""},
        {"1", 0, 1, 1, false, "Kavlo CD 1-20", "Kavlo CD 1-20", "1"},
        {"123", 0, 1, 1, false, "Kavlo CD 12-203", "Kavlo CD 12-203", "123"},
        {"020499", 0, 1, 1, false, "Kavlo CD 02-2004", "Kavlo CD 02-2004", "0204"},
    };
    for (const Case& c : cases) {
        CatalogueHeader header;
        header.CD = c.cd;
        header.DVD = c.dvd;
        header.NumberOfCD = c.number_of_cd;
        header.ActualCD = c.actual_cd;
        header.Debug = c.debug;
        const DiscTitles titles = ComposeDiscTitles(header);
        SCOPED_TRACE(c.cd + " actual " + std::to_string(c.actual_cd));
        EXPECT_EQ(titles.window_title, c.window);
        EXPECT_EQ(titles.application_title, c.application);
        EXPECT_EQ(titles.disc_number, c.label);
    }
}

TEST(CatalogueHeader, LanguageOutsideTheSevenIsCzech) {
    const std::pair<std::string, int> cases[] = {{"0", 0},  {"6", 6}, {"7", 1},  {"9", 1},
                                                 {"-1", 1}, {"x", 1}, {"3x", 1}, {"$4", 4}};
    for (const auto& [text, expected] : cases) {
        CatalogueDisc disc;
        disc.WriteCatalogue("[Main]\r\nVersion=" + text + "\r\n");
        disc.Load();
        EXPECT_EQ(disc.catalogue->header.Version, expected) << text;
    }
    CatalogueDisc missing;
    missing.WriteCatalogue("[Main]\r\nCD=0204\r\n");
    missing.Load();
    EXPECT_EQ(missing.catalogue->header.Version, 1);
}

TEST(CatalogueHeader, DefaultsAndValues) {
    CatalogueDisc disc;
    disc.WriteCatalogue("[MAIN]\r\ncd=0505\r\nDVD=1\r\nNumberOfCD=junk\r\nDriversCD=2\r\nDebug=1\r\n"
                        "Redarer=1\r\nDovudizEnabled=1\r\nDemos=2\r\n");
    const CatalogueLoadResult result = disc.Load();
    const CatalogueHeader& h = disc.catalogue->header;
    EXPECT_EQ(h.CD, "0505");
    EXPECT_EQ(h.DVD, 1);
    EXPECT_EQ(h.NumberOfCD, 1); // not a number: the default
    EXPECT_EQ(h.ActualCD, 1);
    EXPECT_EQ(h.DriversCD, 2);
    EXPECT_EQ(h.SharewareCD, 1);
    EXPECT_TRUE(h.Debug);
    EXPECT_EQ(h.Redarer, 1);
    EXPECT_EQ(h.DovudizEnabled, 1);
    EXPECT_EQ(h.Demos, 2);
    EXPECT_FALSE(result.terminate_requested);
    EXPECT_EQ(result.titles.application_title, "Kavlo DVD 05-2005 - DEBUG MODE");
    EXPECT_TRUE(disc.boxes.Shown().empty());
}

TEST(CatalogueCounts, ClampedToTheTablesAndNeverNegative) {
    CatalogueDisc disc;
    std::string text = "[Main]\r\nDemos=45\r\nShareware=-3\r\nService=7z\r\nExtra2=100\r\nUpdates=51\r\n"
                       "[Updates]\r\n";
    for (int n = 1; n <= 51; ++n) {
        text += "Update" + std::to_string(n) + "=U" + std::to_string(n) + "\r\n";
    }
    for (int n = 1; n <= 45; ++n) {
        text += "[Demo" + std::to_string(n) + "]\r\nName=d" + std::to_string(n) + "\r\n";
    }
    text += "[E2xtra100]\r\nName=last\r\n[Share1]\r\nName=s\r\n[Service1]\r\nName=v\r\n";
    disc.WriteCatalogue(text);
    disc.Load();
    const Catalogue& c = *disc.catalogue;
    EXPECT_EQ(c.header.Demos, 40);
    EXPECT_EQ(c.Demos[40].Name, "D40");
    EXPECT_EQ(c.header.Updates, 50);
    EXPECT_EQ(c.Updates[50].Name, "U50");
    EXPECT_EQ(c.header.Extra2, 100);
    EXPECT_EQ(c.Extra2[100].Name, "LAST");
    EXPECT_EQ(c.header.Shareware, 0);
    EXPECT_EQ(c.Shareware[1].Name, "");
    EXPECT_EQ(c.header.Service, 0);
    EXPECT_EQ(c.Service[1].Name, "");
}

TEST(CatalogueLoad, MissingCatalogueAsksToEndButStillLoads) {
    CatalogueDisc disc;
    disc.WriteCatalogue2("[Main]\r\nDemos=3\r\n[Driver1]\r\nName=two\r\n");
    const CatalogueLoadResult result = disc.Load();
    EXPECT_TRUE(result.terminate_requested);
    ASSERT_EQ(disc.boxes.Shown().size(), 1u);
    EXPECT_EQ(disc.boxes.Shown()[0].text, "Where is my KAVLOXP.INI?????");
    EXPECT_EQ(disc.boxes.Shown()[0].buttons, MbButtons::Ok);
    EXPECT_EQ(disc.catalogue->header.Demos, 0); // the header is never read from kavloxp2.ini
    ASSERT_NE(disc.catalogue->CatalogueFile, nullptr);
    ASSERT_NE(disc.catalogue->StringsFile, nullptr);
    EXPECT_EQ(disc.catalogue->CatalogueFile2->ReadString("Driver1", "Name", ""), "two");
    EXPECT_EQ(result.titles.window_title, "Kavlo CD -20");
}

TEST(CatalogueLoad, ReloadOverwritesUpToTheNewCountOnly) {
    CatalogueDisc disc;
    disc.WriteCatalogue(
        "[Main]\r\nShots=3\r\n[Shot1]\r\nName=a\r\n[Shot2]\r\nName=b\r\n[Shot3]\r\nName=c\r\n");
    disc.Load();
    disc.WriteCatalogue("[Main]\r\nShots=1\r\n[Shot1]\r\nName=new first\r\n");
    disc.Load();
    const Catalogue& c = *disc.catalogue;
    EXPECT_EQ(c.header.Shots, 1);
    EXPECT_EQ(c.Shots[1].Name, "NEW FIRST");
    EXPECT_EQ(c.Shots[2].Name, "B");
    EXPECT_EQ(c.Shots[3].Name, "C");
}

TEST(CatalogueLoad, DiscLabelRecordedUnderTheIssueCode) {
    struct Case {
        std::string main;
        std::string key;
        std::string expected; // "" = nothing recorded
    };
    const Case cases[] = {
        {"CD=0204\r\nCDLabel=KAVLO_0204\r\n", "0204", "KAVLO_0204"},
        {"CD=0204\r\n", "0204", ""},
        // No issue code: there is no key to record the label under.
        {"CDLabel=KAVLO\r\n", "", ""},
    };
    for (const Case& c : cases) {
        CatalogueDisc disc;
        disc.WriteCatalogue("[Main]\r\n" + c.main);
        disc.Load();
        EXPECT_EQ(disc.settings().ReadString("Main", c.key, ""), c.expected) << c.main;
        EXPECT_EQ(disc.settings().ReadSection("Main").size(), c.expected.empty() ? 0u : 1u) << c.main;
    }
}

TEST(CatalogueLoad, ReadOnlySettingsDoNotStopTheLoad) {
    CatalogueDisc disc;
    const auto windows = disc.HostPath("pc/drive_c/WINDOWS");
    WriteHostFile(windows / "kavlo.ini", "[Main]\r\n");
    std::filesystem::permissions(windows, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    std::filesystem::permissions(windows / "kavlo.ini", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    disc.WriteCatalogue("[Main]\r\nCD=0204\r\nCDLabel=L\r\nExtra=1\r\n[Extra1]\r\nName=x\r\n");
    const CatalogueLoadResult result = disc.Load();
    std::filesystem::permissions(windows, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    EXPECT_FALSE(result.terminate_requested);
    EXPECT_EQ(disc.catalogue->Extra[1].Name, "X");
    EXPECT_TRUE(disc.boxes.Shown().empty());
}

} // namespace
} // namespace kavlo::test
