#include <string>
#include <vector>

#include "engine/command_lines.h"
#include "pc_fixture.h"

namespace kavlo {
namespace {

class WorkingDirOfTest : public test::PcTest {
protected:
    WorkingDirOfTest() : PcTest(/*with_disc=*/true) {}
};

TEST_F(WorkingDirOfTest, FollowsTheProgramFile) {
    MakeFile(OnDisc("DEMO/SETUP.EXE"));
    MakeFile(OnC("GAME/GO.BAT"));
    MakeFile(OnC("GAME/GAME.COM"));
    MakeFile(OnC("S/RUN.CMD"));
    MakeFile(OnC("A/RUN.BAT"));
    MakeFile(OnC("Q/BIN/WIN32/Q.EXE"));
    MakeFile(OnC("Program Files/G/g.exe"));
    struct Case {
        std::string line;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {R"("D:\DEMO\SETUP.EXE" /S)", R"(D:\DEMO\)"},
        {R"(d:\demo\setup.exe)", R"(d:\demo\)"},
        {R"("C:\Program Files\G\G.EXE" -x)", R"(C:\Program Files\G\)"},
        // A missing .EXE falls back to the folder of the whole line.
        {R"(C:\NONE\SETUP.EXE /D=C:\X\Y)", R"(C:\NONE\SETUP.EXE /D=C:\X\)"},
        {R"(D:\DEMO\SETUP.EXE /D=C:\X\Y)", R"(D:\DEMO\)"},
        // The other types count only when the file is there; nothing left means C:\.
        {R"(C:\GAME\GO.BAT)", R"(C:\GAME\)"},
        {R"(C:\NONE\GO.BAT)", R"(C:\)"},
        {R"(C:\GAME\GAME.COM /X)", R"(C:\GAME\)"},
        {R"(C:\S\RUN.CMD)", R"(C:\S\)"},
        // A later extension in the order overwrites the .EXE result.
        {R"(C:\A\RUN.BAT C:\B\X.EXE)", R"(C:\A\)"},
        // Lines that name no program file are their own directory.
        {"RunDll32 foo", "RunDll32 foo"},
        {R"(C:\A\START.LNK)", R"(C:\A\START.LNK)"},
        {R"(D:\freeloader.com GAME)", R"(D:\freeloader.com GAME)"},
        {R"(D:\FREELOADER.COM GAME)", R"(C:\)"},
        // Programs in BIN\WIN32 run two folders higher.
        {R"(C:\Q\BIN\WIN32\Q.EXE)", R"(C:\Q\BIN\WIN32\..\..\)"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WorkingDirOf(fs(), c.line), c.expected) << "line: " << c.line;
    }
}

TEST_F(WorkingDirOfTest, ADirectoryIsNoProgramFile) {
    std::filesystem::create_directories(OnC("DIR.BAT"));
    EXPECT_EQ(WorkingDirOf(fs(), R"(C:\DIR.BAT)"), R"(C:\)");
}

} // namespace
} // namespace kavlo
