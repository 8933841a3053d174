// `kavlo-tool catalogue`: the JSON that editors and scenario tests read.

#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace kavlo::test {
namespace {

ToolRun RunCatalogueTool(const TempDir& dir) {
    return RunTool({"catalogue", "--disc", (dir / "disc").string(), "--pc", (dir / "pc").string()});
}

TEST(CatalogueTool, HeaderReaderKeysAndTablesAsJson) {
    TempDir dir;
    // A Turkish disc's texts are drawn with the Turkish character set: "\xDE" is "Ş" there (and
    // "Ţ" in Windows-1250); the JSON must carry what the reader sees, as UTF-8.
    WriteHostFile(dir / "disc" / "KAVLO" / "kavloxp.ini",
                  "[Main]\r\nVersion=2\r\nCD=0307\r\nDemos=1\r\nMovies=1\r\nUpdates=1\r\nMusic2=m\xDE\r\n"
                  "[Updates]\r\nUpdate1=P;1;p.exe;r.txt;3\r\n"
                  "[Demo1]\r\nName=\xDE"
                  "ena\r\nInstallType=4\r\nCD=1\r\nDescribe2=tr\r\n"
                  "[Movie1]\r\nName=m\r\nInstallDir=\\M\\a.avi\r\n");
    const ToolRun run = RunCatalogueTool(dir);
    ASSERT_EQ(run.exit_code, 0);
    const nlohmann::json out = nlohmann::json::parse(run.out, nullptr, false);
    ASSERT_TRUE(out.is_object());
    const nlohmann::json& main = out["Main"];
    EXPECT_EQ(main["Version"], 2);
    EXPECT_EQ(main["Demos"], 1);
    EXPECT_EQ(main["Music2"], "m\u015E");
    EXPECT_EQ(main["DovudizPath"], "Dovudiz\\index.htm");
    EXPECT_EQ(main["Title"], "Kavlo CD 03-2007");
    EXPECT_EQ(main["Debug"], false);

    ASSERT_EQ(out["Demos"].size(), 1u);
    const nlohmann::json& demo = out["Demos"][0];
    EXPECT_EQ(demo["Name"], "\u015EENA");
    EXPECT_EQ(demo["Title"], "\u015EENA");
    EXPECT_EQ(demo["Text"], "tr");
    EXPECT_EQ(demo["InstallType"], 4);
    EXPECT_EQ(demo["CD"], 1);
    EXPECT_EQ(out["Updates"][0]["Mode"], 3);
    EXPECT_EQ(out["Updates"][0]["ReadmeName"], "r.txt");
    EXPECT_EQ(out["Movies"][0]["Flags"], 1);
    EXPECT_EQ(out["Movies"][0]["FilePath"].get<std::string>().substr(1), ":\\M\\a.avi");
    EXPECT_TRUE(out["Extra3"].is_array());
    EXPECT_TRUE(out["Extra3"].empty());
}

} // namespace
} // namespace kavlo::test
