// The items of the sections: key treatments, composed paths, Param, drivers and the steps after
// the keys.

#include <gtest/gtest.h>

#include <stdexcept>

#include "catalogue_test_disc.h"

namespace kavlo::test {
namespace {

std::string Main(const std::string& keys) {
    return "[Main]\r\n" + keys;
}

// Item 1 of the TDemos table of a section prefix, and the section's count key.
const TDemos& FirstItem(const Catalogue& c, const std::string& prefix) {
    const std::pair<std::string, const TDemos*> items[] = {
        {"Demo", &c.Demos[1]},     {"Share", &c.Shareware[1]}, {"Reader", &c.Readers[1]},
        {"Driver", &c.Drivers[1]}, {"Extra", &c.Extra[1]},     {"Addon", &c.Addons[1]},
        {"Full", &c.Fulls[1]},     {"E2xtra", &c.Extra2[1]},   {"E3xtra", &c.Extra3[1]}};
    for (const auto& [name, item] : items) {
        if (name == prefix) {
            return *item;
        }
    }
    throw std::invalid_argument(prefix);
}

std::string CountKey(const std::string& prefix) {
    const std::pair<std::string, std::string> keys[] = {
        {"Demo", "Demos"},  {"Share", "Shareware"}, {"Reader", "Readers"}, {"Full", "Fulls"},
        {"Extra", "Extra"}, {"E2xtra", "Extra2"},   {"E3xtra", "Extra3"}};
    for (const auto& [name, key] : keys) {
        if (name == prefix) {
            return key;
        }
    }
    throw std::invalid_argument(prefix);
}

TEST(CatalogueItems, TextTreatmentsPerSection) {
    CatalogueDisc disc;
    disc.WriteCatalogue(Main("Version=0\r\nDemos=1\r\nDrivers=1\r\nReaders=1\r\nService=1\r\nShots=1\r\n") +
                        "[Demo1]\r\nName=Tom & Jerry~old\r\nFirm=a&b\r\nDescribe0=x & y\r\nDescribe1=cz\r\n"
                        "TechInfo=p2 & 64mb\r\nGameName=Game.exe\r\nRegUninstall=My*Game*\r\n"
                        "[Driver1]\r\nName=nv\r\nFullName=a & b\r\nTechInfo=t\r\nFirm=not read\r\n"
                        "[Reader1]\r\nName=r\r\nDescribe0=en\r\nDescribe1=cz & sk\r\n"
                        "[Service1]\r\nName=s\r\nFirm=f\r\nInstallDir=C:\\Tools\\\r\n"
                        "[Shot1]\r\nName=s & t\r\nFirm=a & b\r\nDescribe0=zero\r\n");
    disc.Load();
    const Catalogue& c = *disc.catalogue;
    const TDemos& demo = c.Demos[1];
    EXPECT_EQ(demo.Name, "TOM && JERRY");
    EXPECT_EQ(demo.Title, "TOM && JERRY");
    EXPECT_EQ(demo.Firm, "A&&B");
    EXPECT_EQ(demo.Describe0, "x && y");
    EXPECT_EQ(demo.Describe, "x && y"); // language 0 reads "Describe0" for the description too
    EXPECT_EQ(demo.Text, demo.Describe);
    EXPECT_EQ(demo.TechInfo, "P2 && 64MB");
    EXPECT_EQ(demo.GameName, "Game.exe");
    EXPECT_EQ(demo.RegUninstall, "My Game ");

    const TDemos& driver = c.Drivers[1];
    EXPECT_EQ(driver.FullName, "A & B"); // upper-cased only
    EXPECT_EQ(driver.Firm, "");
    EXPECT_EQ(driver.Title, "");

    const TDemos& reader = c.Readers[1];
    EXPECT_EQ(reader.Describe, "cz && sk"); // always the Czech key
    EXPECT_EQ(reader.Describe0, "");
    EXPECT_EQ(reader.Text, "cz && sk");

    EXPECT_EQ(c.Service[1].Firm, "");
    EXPECT_EQ(c.Service[1].SourceDir, "C:\\Tools\\");

    EXPECT_EQ(c.Shots[1].Name, "S && T");
    EXPECT_EQ(c.Shots[1].Firm, "A & B");
    EXPECT_EQ(c.Shots[1].Text, "zero");
}

TEST(CatalogueItems, ComposedSourceDirs) {
    struct Case {
        std::string main;
        std::string section;
        std::string install_dir;
        std::string expected; // after the drive letter
    };
    const Case cases[] = {
        {"Demos=1", "Demo1", "Game", ":\\DEMOS\\Game"},
        {"Shareware=1", "Share1", "Tool", ":\\Software\\Tool"},
        {"Readers=1", "Reader1", "R", ":\\Readers\\R"},
        {"Shareware=1\r\nCD=0204\r\nActualCD=2\r\nNumberOfCD=2", "Share1", "Tool", ":\\Tool"},
        {"Readers=1\r\nCD=0204\r\nActualCD=2", "Reader1", "R", ":\\R"},
        {"Readers=1\r\nCD=0204\r\nActualCD=1", "Reader1", "R", ":\\Readers\\R"},
        {"Shareware=1\r\nCD=0205\r\nActualCD=2", "Share1", "Tool", ":\\Software\\Tool"},
        {"Drivers=1", "Driver1", "nv", ":\\Drivers\\nv"},
        {"Extra=1", "Extra1", "X\\", ":\\X\\"},
        {"Addons=1", "Addon1", "A", ":\\A"},
        {"Extra3=1", "E3xtra1", "E", ":\\E"},
        {"Fulls=1", "Full1", "Full\\Game\\", ":\\Full\\Game"},
        {"Fulls=1", "Full1", "", ":"},
    };
    for (const Case& c : cases) {
        CatalogueDisc disc;
        disc.WriteCatalogue(Main(c.main + "\r\n") + "[" + c.section +
                            "]\r\nName=n\r\nInstallDir=" + c.install_dir + "\r\n");
        disc.Load();
        const TDemos& item = FirstItem(*disc.catalogue, c.section.substr(0, c.section.size() - 1));
        EXPECT_EQ(item.SourceDir, disc.state.DiscDrive.substr(0, 1) + c.expected)
            << c.section << " " << c.main;
    }
}

TEST(CatalogueItems, DemosOfAnotherDiscOfTheSetCannotBeInstalled) {
    struct Case {
        std::string main;
        std::string demo_cd; // "" = key missing (1)
        bool installable;
    };
    const Case cases[] = {
        {"ActualCD=1\r\nNumberOfCD=2", "2", false}, {"ActualCD=2\r\nNumberOfCD=2", "2", true},
        {"ActualCD=2\r\nNumberOfCD=2", "", false},  {"ActualCD=1\r\nNumberOfCD=2", "", true},
        {"ActualCD=1\r\nDVD=1", "2", true},         {"ActualCD=1", "257", true}, // a byte holds 257 as 1
    };
    for (const Case& c : cases) {
        CatalogueDisc disc;
        const std::string cd_key = c.demo_cd.empty() ? "" : "CD=" + c.demo_cd + "\r\n";
        disc.WriteCatalogue(Main("Demos=1\r\n" + c.main + "\r\n") +
                            "[Demo1]\r\nName=d\r\nInstallDir=D\r\nInstallName=setup.exe\r\nPicture=p\r\n" +
                            cd_key);
        disc.Load();
        const TDemos& demo = disc.catalogue->Demos[1];
        SCOPED_TRACE(c.main + " demo CD " + c.demo_cd);
        EXPECT_EQ(demo.InstallName.empty(), !c.installable);
        EXPECT_EQ(demo.SourceDir.empty(), !c.installable);
        EXPECT_EQ(demo.Name, "D");
        EXPECT_EQ(demo.Picture, "p");
    }
}

TEST(CatalogueItems, CzechDriversDroppedOnOtherLanguages) {
    const std::string drivers =
        "[Driver1]\r\nName=A\r\nInstallDir=a\r\n[Driver2]\r\nName=B cz\r\nInstallDir=b\r\n"
        "[Driver3]\r\nName=C\r\nInstallDir=c\r\n[Driver4]\r\nName=Dcz\r\n";
    struct Case {
        std::string version;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"0", {"A", "C"}},
        {"5", {"A", "C"}},
        {"1", {"A", "B CZ", "C", "DCZ"}},
        {"9", {"A", "B CZ", "C", "DCZ"}}, // taken as Czech
    };
    for (const Case& c : cases) {
        CatalogueDisc disc;
        disc.WriteCatalogue(Main("Drivers=4\r\nVersion=" + c.version + "\r\n") + drivers);
        disc.Load();
        const Catalogue& cat = *disc.catalogue;
        ASSERT_EQ(cat.header.Drivers, static_cast<int>(c.names.size())) << c.version;
        for (size_t i = 0; i < c.names.size(); ++i) {
            EXPECT_EQ(cat.Drivers[static_cast<int>(i) + 1].Name, c.names[i]) << c.version;
        }
        EXPECT_EQ(cat.Drivers[2].SourceDir.substr(1), c.names[1] == "C" ? ":\\Drivers\\c" : ":\\Drivers\\b");
    }
}

TEST(CatalogueItems, DriversAndMoviesFromEitherFile) {
    CatalogueDisc disc;
    disc.WriteCatalogue(Main("Drivers=3\r\nMovies=2\r\nDriversCD=2\r\nVersion=1\r\n") +
                        "[Driver1]\r\nName=first\r\nCD=3\r\n"
                        "[Driver2]\r\nInstallDir=from first file\r\nCD=3\r\n"
                        "[Movie1]\r\nName=\r\nInstallDir=\\ignored\r\n"
                        "[Movie2]\r\nName=m2\r\nInstallDir=\\MOVIES\\m2.avi\r\nInstallType=258\r\n");
    disc.WriteCatalogue2("[Driver2]\r\nName=second\r\nInstallDir=two\r\nDescribe1=popis\r\n"
                         "[Driver3]\r\nName=third\r\nCD=1\r\n"
                         "[Movie1]\r\nName=m1\r\nInstallDir=\\MOVIES\\m1.avi\r\nFlags=0\r\nFirm=f & g\r\n");
    disc.Load();
    const Catalogue& c = *disc.catalogue;
    const std::string drive = disc.state.DiscDrive;
    EXPECT_EQ(c.Drivers[1].Name, "FIRST");
    EXPECT_EQ(c.Drivers[1].CD, 3);
    EXPECT_EQ(c.Drivers[2].Name, "SECOND");
    EXPECT_EQ(c.Drivers[2].SourceDir, drive + "\\Drivers\\two");
    EXPECT_EQ(c.Drivers[2].CD, 2); // kavloxp2.ini has no CD: DriversCD, not the first file's 3
    EXPECT_EQ(c.Drivers[2].Text, "popis");
    EXPECT_EQ(c.Drivers[3].Name, "THIRD");
    EXPECT_EQ(c.Drivers[3].CD, 1);
    EXPECT_EQ(c.Drivers[3].NeedsInstall, 1);

    EXPECT_EQ(c.Movies[1].Name, "M1");
    EXPECT_EQ(c.Movies[1].FilePath, drive + "\\MOVIES\\m1.avi");
    EXPECT_EQ(c.Movies[1].Flags, 0);
    EXPECT_EQ(c.Movies[1].Firm, "F & G");
    EXPECT_EQ(c.Movies[2].FilePath, drive + "\\MOVIES\\m2.avi");
    EXPECT_EQ(c.Movies[2].Flags, 1);
    EXPECT_EQ(c.Movies[2].InstallType, 2); // low byte of 258
}

TEST(CatalogueItems, UpdatesSplitFromOneKey) {
    struct Case {
        std::string value;
        TUpdate expected;
    };
    const Case cases[] = {
        {"Patch;1.1;patch.exe", {"PATCH", "1.1", "patch.exe", "", 0, ""}},
        {"Fix & go,v2,fix.exe,fix.txt,1", {"FIX && GO", "v2", "fix.exe", "fix.txt", 1, ""}},
        {"A;b;c;d;7;extra;more", {"A", "b", "c", "d", 7, ""}},
        {"A;b;c;d;seven", {"A", "b", "c", "d", 0, ""}},
        {"A;b;c;d;300", {"A", "b", "c", "d", 44, ""}},
        {"", {"", "", "", "", 0, ""}},
    };
    CatalogueDisc disc;
    std::string text = Main("Updates=" + std::to_string(std::size(cases)) + "\r\n") + "[Updates]\r\n";
    for (size_t i = 0; i < std::size(cases); ++i) {
        text += "Update" + std::to_string(i + 1) + "=" + cases[i].value + "\r\n";
    }
    disc.WriteCatalogue(text);
    disc.Load();
    for (size_t i = 0; i < std::size(cases); ++i) {
        const TUpdate& got = disc.catalogue->Updates[static_cast<int>(i) + 1];
        const TUpdate& want = cases[i].expected;
        SCOPED_TRACE(cases[i].value);
        EXPECT_EQ(got.Name, want.Name);
        EXPECT_EQ(got.Suffix, want.Suffix);
        EXPECT_EQ(got.FileName, want.FileName);
        EXPECT_EQ(got.ReadmeName, want.ReadmeName);
        EXPECT_EQ(got.Mode, want.Mode);
    }
}

TEST(CatalogueItems, ParamChosenByInstallTypeThenDirDetect) {
    struct Case {
        std::string section;
        std::string keys;
        std::string expected;
        bool other_keys = true; // the section also holds every other Param key
    };
    const std::string all = "TestName=test\r\nAfterInstall=after\r\nForcedDir=forced\r\nTestFile=tfile\r\n"
                            "ShortCut=link\r\nIniFile=ini\r\nSearchFile=search\r\nDesktopShortCut=desk\r\n"
                            "FilesInArchive=12\r\n";
    const Case cases[] = {
        {"Demo", "InstallType=2\r\nDirDetect=3\r\nUnpackedSize=99\r\n", "link"},
        {"Demo", "InstallType=2\r\nDirDetect=0\r\nUnpackedSize=99\r\n", "99"},
        {"Demo", "InstallType=2\r\n", "0", false},
        {"Demo", "InstallType=1\r\n", "after"},
        {"Demo", "InstallType=10\r\nDirDetect=10\r\n", "ini"},
        {"Demo", "InstallType=5\r\nDirDetect=2\r\n", "tfile"},
        {"Demo", "", "test"},
        {"Demo", "InstallType=7\r\nDirDetect=1\r\n", ""},
        {"Share", "InstallType=0\r\n", ""},
        {"Share", "InstallType=3\r\n", "forced"},
        {"Share", "InstallType=3\r\nDirDetect=9\r\n", "desk"},
        {"Share", "DirDetect=2\r\n", ""},
        {"Reader", "DirDetect=8\r\n", "search"},
        {"Full", "InstallType=7\r\n", "test"},
        {"Full", "InstallType=2\r\n", "12"},
        {"E2xtra", "InstallType=5\r\nDirDetect=15\r\n", "link"},
        {"E3xtra", "InstallType=5\r\nDirDetect=15\r\n", ""},
        {"E3xtra", "InstallType=7\r\n", ""},
        {"Extra", "InstallType=0\r\n", ""},
    };
    for (const Case& c : cases) {
        CatalogueDisc disc;
        disc.WriteCatalogue(Main(CountKey(c.section) + "=1\r\n") + "[" + c.section + "1]\r\nName=n\r\n" +
                            c.keys + (c.other_keys ? all : ""));
        disc.Load();
        const TDemos& item = FirstItem(*disc.catalogue, c.section);
        EXPECT_EQ(item.Param, c.expected) << c.section << " " << c.keys;
    }
}

TEST(CatalogueItems, IntegerDefaultsAndJunk) {
    CatalogueDisc disc;
    disc.WriteCatalogue(Main("Extra=1\r\nAddons=1\r\nDemos=1\r\n") +
                        "[Extra1]\r\nName=e\r\nInstallType=five\r\nFlags=\r\nCD=x\r\n"
                        "[Addon1]\r\nName=a\r\n"
                        "[Demo1]\r\nName=d\r\nInstallType=$10\r\nDirDetect= 3\r\nFlags=-2\r\nShortCut=s\r\n");
    disc.Load();
    const Catalogue& c = *disc.catalogue;
    EXPECT_EQ(c.Extra[1].InstallType, 5);
    EXPECT_EQ(c.Extra[1].Flags, 1);
    EXPECT_EQ(c.Extra[1].CD, 1);
    EXPECT_EQ(c.Addons[1].InstallType, 5);
    EXPECT_EQ(c.Addons[1].Flags, 0);
    EXPECT_EQ(c.Demos[1].InstallType, 16);
    EXPECT_EQ(c.Demos[1].DirDetect, 3);
    EXPECT_EQ(c.Demos[1].Flags, -2);
    EXPECT_EQ(c.Demos[1].Param, "s");
}

TEST(CatalogueItems, InstallStateFlagsAndCheckWhileLoading) {
    CatalogueDisc disc;
    std::string text = Main("Demos=1\r\nShareware=1\r\nService=1\r\nDrivers=1\r\nExtra=1\r\nReaders=1\r\n"
                            "Addons=1\r\nFulls=1\r\nExtra2=1\r\nExtra3=1\r\n");
    const std::pair<std::string, std::string> items[] = {
        {"Demo1", "DEMO"},   {"Share1", "SHARE"},   {"Service1", "SERVICE"}, {"Driver1", "DRIVER"},
        {"Extra1", "EXTRA"}, {"Reader1", "READER"}, {"Addon1", "ADDON"},     {"Full1", "FULL"},
        {"E2xtra1", "E2"},   {"E3xtra1", "E3"},
    };
    for (const auto& [section, name] : items) {
        text += "[" + section + "]\r\nName=" + name + "\r\nDescribe1=about " + name + "\r\n";
        if (section == "Share1") {
            text += "InstallType=3\r\nForcedDir=forced\r\n";
        }
    }
    disc.WriteCatalogue(text);
    Catalogue& c = *disc.catalogue;
    for (TDemos* item : {&c.Demos[1], &c.Shareware[1], &c.Service[1], &c.Drivers[1], &c.Extra[1],
                         &c.Readers[1], &c.Addons[1], &c.Fulls[1], &c.Extra2[1], &c.Extra3[1]}) {
        item->CanUninstall = 1; // left from an earlier load
        item->NeedsInstall = 0;
    }
    disc.Load();
    // The check runs in section load order, on items whose keys and flags are all set.
    std::vector<std::string> checked;
    for (const TDemos& item : disc.checked) {
        checked.push_back(item.Name);
        EXPECT_EQ(item.Text, "about " + item.Name);
        EXPECT_EQ(item.Param, item.Name == "SHARE" ? "forced" : "");
        EXPECT_EQ(item.CanUninstall, item.Name == "EXTRA" ? 1 : 0);
    }
    EXPECT_EQ(checked, (std::vector<std::string>{"SHARE", "EXTRA", "READER", "FULL", "E2", "E3"}));
    struct Case {
        const TDemos& item;
        int needs_install, can_uninstall;
    };
    const Case cases[] = {
        {c.Demos[1], 0, 0},  {c.Shareware[1], 1, 0}, {c.Service[1], 0, 1}, {c.Drivers[1], 1, 1},
        {c.Extra[1], 1, 1},  {c.Readers[1], 1, 0},   {c.Addons[1], 1, 1},  {c.Fulls[1], 0, 0},
        {c.Extra2[1], 0, 0}, {c.Extra3[1], 0, 0},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(k.item.NeedsInstall, k.needs_install) << k.item.Name;
        EXPECT_EQ(k.item.CanUninstall, k.can_uninstall) << k.item.Name;
    }
}

} // namespace
} // namespace kavlo::test
