#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/command_lines.h"

namespace kavlo {
namespace {

TEST(UninstallerDirOf, FindsTheProgramFolder) {
    struct Case {
        std::string line;
        std::string expected;
    };
    const std::vector<Case> cases = {
        // InstallShield: the log after -f", the resource DLL after -c".
        {R"(C:\WINDOWS\UNINST.EXE -f"C:\GAMES\X\DeIsL1.isu" -c"C:\GAMES\X\_ISRES.DLL")", R"(C:\GAMES\X\)"},
        // No -c: the text runs to the end (less its last character).
        {R"(C:\WINDOWS\IsUninst.exe -f"C:\Program Files\Game\Uninst.isu")", R"(C:\Program Files\Game\)"},
        // -f without a quote.
        {R"(C:\WINDOWS\ST5UNST.EXE -fC:\GAMES\W\ST5UNST.LOG)", R"(C:\GAMES\W\)"},
        // -c without a quote ends three characters earlier.
        {R"(C:\U.EXE -fC:\A\B\C.ISU -cC:\Z\R.DLL)", R"(C:\A\B\)"},
        // The UNINST0.000 log pair wins over -f.
        {R"(C:\WINDOWS\UNWISE.EXE -f "C:\GAMES\Y\UNINST0.000" "C:\GAMES\Y\INSTALL.LOG")", R"(C:\GAMES\Y\)"},
        // No -f: one past the first quote ...
        {R"(C:\WINDOWS\UN.EXE /A "C:\GAMES\Q\LOG.TXT")", R"(C:\GAMES\Q\)"},
        // ... but a start below 5 moves past the first blank.
        {R"(C:\WINDOWS\UNINST.EXE C:\GAMES\V\UNINST.LOG)", R"(C:\GAMES\V\)"},
        {R"("C:\GAMES\Z\UNINSTAL.EXE" /U)", ""},
        {"UNWISE.EXE", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UninstallerDirOf(c.line), c.expected) << "line: " << c.line;
    }
}

} // namespace
} // namespace kavlo
