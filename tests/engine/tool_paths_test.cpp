// `kavlo-tool paths OP ARG`: one operation, its result as UTF-8 text or a JSON array.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace kavlo::test {
namespace {

ToolRun RunPaths(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "paths");
    return RunTool(arguments);
}

TEST(PathsTool, PrintsEachOperationsResult) {
    struct Case {
        std::vector<std::string> arguments;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {{"UCase", "příliš žluťoučký kůň"}, "PŘÍLIŠ ŽLUŤOUČKÝ KŮŇ\n"},
        {{"DoubleAmpersands", "Tom & Jerry~old"}, "Tom && Jerry\n"},
        {{"GetParentDir", "C:\\"}, "C:\n"},
        {{"PostFixDir", ""}, "\n"},
        {{"RemoveEndSlash", "C:\\Hry\\"}, "C:\\Hry\n"},
        {{"TextBeforeColon", "a:b"}, "a\n"},
        {{"StripQuotes", "\"a b\""}, "a b\n"},
        {{"CutAfterExtension", "C:\\GAME\\SETUP.EXE /U"}, "C:\\GAME\\SETUP.EXE\n"},
        {{"UninstallerDirOf",
          R"(C:\WINDOWS\UNINST.EXE -f"C:\Hry\Žena\DeIsL1.isu" -c"C:\Hry\Žena\_ISRES.DLL")"},
         "C:\\Hry\\Žena\\\n"},
        {{"SplitList", ",č,"}, "[\"\",\"č\",\"\"]\n"},
        {{"SplitList", ""}, "[]\n"},
    };
    for (const auto& c : cases) {
        const ToolRun result = RunPaths(c.arguments);
        EXPECT_EQ(result.exit_code, 0) << c.arguments.front();
        EXPECT_EQ(result.out, c.expected) << c.arguments.front();
    }
}

TEST(PathsTool, WorkingDirOfLooksAtThePcAndDisc) {
    TempDir dir;
    WriteHostFile(dir / "disc" / "DEMO" / "SETUP.EXE", "x");
    const ToolRun found = RunPaths({"WorkingDirOf", "--pc", (dir / "pc").string(), "--disc",
                                    (dir / "disc").string(), "\"D:\\DEMO\\SETUP.EXE\" /S"});
    EXPECT_EQ(found.exit_code, 0);
    EXPECT_EQ(found.out, "D:\\DEMO\\\n");
    const ToolRun missing =
        RunPaths({"WorkingDirOf", "--pc", (dir / "pc").string(), "D:\\DEMO\\SETUP.EXE /D=C:\\X\\Y"});
    EXPECT_EQ(missing.out, "D:\\DEMO\\SETUP.EXE /D=C:\\X\\\n");
}

TEST(PathsTool, RejectsUnknownOperationsAndWrongArity) {
    EXPECT_NE(RunPaths({"NoSuchOperation", "x"}).exit_code, 0);
    EXPECT_NE(RunPaths({"PostFixDir"}).exit_code, 0);
    EXPECT_NE(RunPaths({"PostFixDir", "a", "b"}).exit_code, 0);
}

} // namespace
} // namespace kavlo::test
