// The sample disc is the fixture of many later tests and the editors' example: its catalogue must
// load in every language, name only files that are there, and its setups must install and uninstall.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "sampledisc/loaded_sample.h"
#include "support/run_tool.h"

namespace kavlo {
namespace {

using test::LoadedSample;

TEST(SampleDisc, LoadsInEveryLanguageWithEverySectionFilled) {
    for (int language = 0; language <= 6; ++language) {
        LoadedSample s(language);
        ASSERT_TRUE(s.written) << s.error;
        EXPECT_TRUE(s.boxes.Shown().empty()) << language;
        const CatalogueHeader& h = s.form.catalogue.header;
        EXPECT_EQ(h.Version, language);
        for (int count : {h.Demos, h.Shareware, h.Service, h.Updates, h.Shots, h.Movies, h.Readers, h.Fulls,
                          h.Extra2, h.Extra3, h.Extra, h.Addons}) {
            EXPECT_GT(count, 0) << language;
        }
        // The Czech-only driver is dropped on every other disc.
        EXPECT_EQ(h.Drivers, language == 1 ? 4 : 3) << language;
        EXPECT_FALSE(s.form.catalogue.Demos[1].Describe.empty()) << language;
    }
}

TEST(SampleDisc, EveryInstallTypeAndDetectionKindIsRepresented) {
    LoadedSample s(0);
    const Catalogue& c = s.form.catalogue;
    std::set<int> types, detections;
    auto collect = [&](const auto& table, int count) {
        for (int n = 1; n <= count; ++n) {
            types.insert(table[n].InstallType);
            detections.insert(table[n].DirDetect);
        }
    };
    collect(c.Demos, c.header.Demos);
    collect(c.Fulls, c.header.Fulls);
    collect(c.Extra2, c.header.Extra2);
    collect(c.Extra3, c.header.Extra3);
    collect(c.Shareware, c.header.Shareware);
    for (int type : {0, 1, 2, 3, 4, 5, 6, 7, 10, 20, 30}) {
        EXPECT_TRUE(types.count(type)) << "install type " << type;
    }
    for (int detect : {0, 2, 3, 4, 5, 6, 7, 8, 9, 15}) {
        EXPECT_TRUE(detections.count(detect)) << "detection " << detect;
    }
    // A demo of the set's second disc is listed but cannot be installed from this one.
    EXPECT_TRUE(c.Demos[13].InstallName.empty());
}

TEST(SampleDisc, NamesOnlyFilesThatAreOnTheDisc) {
    LoadedSample s(0);
    const Catalogue& c = s.form.catalogue;
    FileSystem& fs = s.posix.fs();
    for (int n = 1; n <= c.header.Demos; ++n) {
        const TDemos& d = c.Demos[n];
        if (d.SourceDir.empty()) {
            continue; // on the set's other disc
        }
        if (!d.ReadmeDVD.empty()) {
            EXPECT_TRUE(fs.FileExists(d.SourceDir + "\\" + d.ReadmeDVD)) << d.Name;
        }
        const bool setup = d.InstallName.find(".EXE") != std::string::npos;
        if (setup) {
            EXPECT_TRUE(fs.FileExists(d.SourceDir + "\\" + d.InstallName)) << d.Name;
        }
        if (d.InstallType == 0) {
            EXPECT_TRUE(fs.FileExists(d.SourceDir + "\\" + d.GameName)) << d.Name;
        }
    }
    for (int n = 1; n <= c.header.Updates; ++n) {
        EXPECT_TRUE(fs.FileExists("\\Updates\\" + c.Updates[n].FileName)) << c.Updates[n].Name;
    }
    EXPECT_TRUE(fs.FileExists("\\Dovudiz\\index.htm"));
    EXPECT_TRUE(fs.FileExists("\\Redarer\\REDARER.exe"));
}

TEST(SampleDisc, ASetupInstallsAndItsUninstallerRemovesWhatItInstalled) {
    LoadedSample s(0);
    const std::string pc = (s.dir / "pc").string();
    const std::string env = "KAVLO_PC='" + pc + "' KAVLO_TOOL='" + test::ToolPath() + "' ";
    ASSERT_EQ(
        std::system(
            (env + "sh '" + (s.dir / "disc" / "DEMOS" / "SALTMARS" / "SETUP.EXE").string() + "'").c_str()),
        0);

    Registry& reg = s.posix.registry();
    const auto uninstall = reg.ReadString(
        RegRoot::LocalMachine, "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Saltmarsh Tactics",
        "UninstallString");
    ASSERT_TRUE(uninstall.has_value());
    EXPECT_EQ(*uninstall, "\"C:\\Program Files\\Saltmarsh Tactics\\UNINST.EXE\"");
    EXPECT_EQ(reg.ReadString(RegRoot::LocalMachine, "\\SOFTWARE\\Heron Works\\Saltmarsh Tactics", "Path"),
              "C:\\Program Files\\Saltmarsh Tactics\\TACTICS.EXE");
    FileSystem& fs = s.posix.fs();
    EXPECT_TRUE(fs.FileExists("C:\\Program Files\\Saltmarsh Tactics\\TACTICS.EXE"));
    EXPECT_TRUE(fs.FileExists("C:\\Program Files\\Saltmarsh Tactics\\DATA\\MAPS.DAT"));

    const auto uninstaller = fs.HostPath("C:\\Program Files\\Saltmarsh Tactics\\UNINST.EXE");
    ASSERT_TRUE(uninstaller.has_value());
    ASSERT_EQ(std::system((env + "'" + *uninstaller + "'").c_str()), 0);
    EXPECT_FALSE(fs.FileExists("C:\\Program Files\\Saltmarsh Tactics\\TACTICS.EXE"));
    EXPECT_TRUE(fs.FileExists("C:\\Program Files\\Saltmarsh Tactics\\SAVES\\SLOT1.SAV")); // a leftover
    EXPECT_FALSE(
        reg.KeyExists(RegRoot::LocalMachine,
                      "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Saltmarsh Tactics"));
    EXPECT_FALSE(reg.KeyExists(RegRoot::LocalMachine, "\\SOFTWARE\\Heron Works\\Saltmarsh Tactics"));
}

} // namespace
} // namespace kavlo
