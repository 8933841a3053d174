// `kavlo-tool catalogue`: the JSON that editors and scenario tests read.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

#include <nlohmann/json.hpp>

#include "support/temp_dir.h"

namespace kavlo::test {
namespace {

std::string RunCatalogueTool(const TempDir& dir, int& exit_code) {
    const std::string command = std::string(KAVLO_TOOL_PATH) + " catalogue --disc '" +
                                (dir / "disc").string() + "' --pc '" + (dir / "pc").string() +
                                "' 2>/dev/null";
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        exit_code = -1;
        return out;
    }
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        out.append(buffer, n);
    }
    const int status = pclose(pipe);
    exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

TEST(CatalogueTool, HeaderReaderKeysAndTablesAsJson) {
    TempDir dir;
    // "\x8E" is "Ž" in Windows-1250; the JSON must carry it as UTF-8.
    WriteHostFile(dir / "disc" / "KAVLO" / "kavloxp.ini",
                  "[Main]\r\nVersion=2\r\nCD=0307\r\nDemos=1\r\nMovies=1\r\nUpdates=1\r\nMusic2=m\x8E\r\n"
                  "[Updates]\r\nUpdate1=P;1;p.exe;r.txt;3\r\n"
                  "[Demo1]\r\nName=\x8E"
                  "ena\r\nInstallType=4\r\nCD=1\r\nDescribe2=tr\r\n"
                  "[Movie1]\r\nName=m\r\nInstallDir=\\M\\a.avi\r\n");
    int exit_code = 0;
    const nlohmann::json out = nlohmann::json::parse(RunCatalogueTool(dir, exit_code), nullptr, false);
    ASSERT_EQ(exit_code, 0);
    ASSERT_TRUE(out.is_object());
    const nlohmann::json& main = out["Main"];
    EXPECT_EQ(main["Version"], 2);
    EXPECT_EQ(main["Demos"], 1);
    EXPECT_EQ(main["Music2"], "m\u017D");
    EXPECT_EQ(main["DovudizPath"], "Dovudiz\\index.htm");
    EXPECT_EQ(main["Title"], "Kavlo CD 03-2007");
    EXPECT_EQ(main["Debug"], false);

    ASSERT_EQ(out["Demos"].size(), 1u);
    const nlohmann::json& demo = out["Demos"][0];
    EXPECT_EQ(demo["Name"], "\u017DENA");
    EXPECT_EQ(demo["Title"], "\u017DENA");
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
