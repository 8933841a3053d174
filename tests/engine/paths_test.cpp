#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/paths.h"

namespace kavlo {
namespace {

struct TextCase {
    std::string input;
    std::string expected;
};

using TextOp = std::string (*)(std::string_view);

void ExpectTable(TextOp op, const std::vector<TextCase>& cases) {
    for (const auto& c : cases) {
        EXPECT_EQ(op(c.input), c.expected) << "input: " << c.input;
    }
}

TEST(PathText, PostFixDir) {
    ExpectTable(PostFixDir, {
                                {"C:", "C:\\"},
                                {"C:\\", "C:\\"},
                                {"", ""},
                                {"C:\\GAMES", "C:\\GAMES\\"},
                                {"C:\\GAMES\\\\", "C:\\GAMES\\\\"},
                                {"C:/GAMES/", "C:/GAMES/\\"},
                            });
}

TEST(PathText, RemoveEndSlash) {
    ExpectTable(RemoveEndSlash, {
                                    {"C:\\A\\", "C:\\A"},
                                    {"C:\\A\\\\", "C:\\A\\"},
                                    {"C:\\", "C:"},
                                    {"C:\\A", "C:\\A"},
                                    {"\\", ""},
                                    {"", ""},
                                });
}

TEST(PathText, GetParentDir) {
    ExpectTable(GetParentDir, {
                                  {"C:\\A\\B\\", "C:\\A"},
                                  {"C:\\A\\B", "C:\\A"},
                                  {"C:\\A", "C:"},
                                  {"C:\\A\\", "C:"},
                                  {"C:\\", "C:"},
                                  {"C:", ""},
                                  {"GAME", ""},
                                  {"", ""},
                                  {"\\\\", "\\"},
                                  {"C:\\A\\\\", "C:\\A"},
                              });
}

TEST(PathText, TextBeforeColonAndStripQuotes) {
    ExpectTable(TextBeforeColon, {
                                     {"HKLM:SOFTWARE:X", "HKLM"},
                                     {"NOCOLON", "NOCOLON"},
                                     {":X", ""},
                                     {"", ""},
                                 });
    ExpectTable(StripQuotes, {
                                 {"\"C:\\A B\\X.EXE\" /S", "C:\\A B\\X.EXE /S"},
                                 {"\"\"\"", ""},
                                 {"plain", "plain"},
                             });
}

TEST(PathText, CutAfterExtension) {
    ExpectTable(CutAfterExtension, {
                                       {"C:\\GAME\\SETUP.EXE /U", "C:\\GAME\\SETUP.EXE"},
                                       // No blank: nothing to cut, even after the extension.
                                       {"C:\\GAME\\SETUP.EXEX", "C:\\GAME\\SETUP.EXEX"},
                                       // A blank but no dot.
                                       {"RunDll32 foo", "RunDll32 foo"},
                                       // The last dot counts, wherever it is.
                                       {"C:\\A.B\\X.EXE /D=1.2", "C:\\A.B\\X.EXE /D=1.2"},
                                       {"C:\\MY GAME\\GO.BAT", "C:\\MY GAME\\GO.BAT"},
                                       // Fewer than three characters after the dot.
                                       {"A B.C", "A B.C"},
                                       {"", ""},
                                   });
}

TEST(PathText, DoubleAmpersands) {
    ExpectTable(DoubleAmpersands, {
                                      {"Tom & Jerry", "Tom && Jerry"},
                                      {"a&&b", "a&&b"},
                                      {"a&&&b", "a&&&b"},
                                      {"&", "&&"},
                                      {"&a&", "&&a&&"},
                                      {"Game~old", "Game"},
                                      {"~all", ""},
                                      {"A & B~x & y", "A && B"},
                                      {"", ""},
                                  });
    EXPECT_EQ(DoubleAmpersands(UCase("Tom & Jerry~old")), "TOM && JERRY");
}

TEST(PathText, SplitList) {
    struct Case {
        std::string input;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"SETUP.EXE", {"SETUP.EXE"}},
        {"a;b:c", {"a", "b:c"}},
        {"C:\\X", {"C", "\\X"}},
        {",a,", {"", "a", ""}},
        {"a,b;c:d", {"a", "b;c:d"}},
        {"a;;b", {"a", "", "b"}},
        {",", {"", ""}},
        {"", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitList(c.input), c.expected) << "input: " << c.input;
    }
}

TEST(PathText, UCase) {
    ExpectTable(UCase, {
                           // "příliš žluťoučký kůň"
                           {"p\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2",
                            "P\xD8\xCDLI\x8A \x8ELU\x8DOU\xC8K\xDD K\xD9\xD2"},
                           // "ďáblova ěná úsměv ó"
                           {"\xEF\xE1\xE9\xEC\xF3\xFA", "\xCF\xC1\xC9\xCC\xD3\xDA"},
                           // ä ö ü ľ ĺ ŕ ô ą stay lower-case.
                           {"\xE4\xF6\xFC\xBE\xE5\xE0\xF4\xB9", "\xE4\xF6\xFC\xBE\xE5\xE0\xF4\xB9"},
                           // Capitals, digits and punctuation pass through.
                           {"AZ09[]{}@`\x8A\xD8", "AZ09[]{}@`\x8A\xD8"},
                           {"az", "AZ"},
                           {"", ""},
                       });
}

TEST(PathText, DirPartAndSamePath) {
    ExpectTable(DirPartOf, {
                               {"C:\\GAMES\\X\\DeIsL1.isu", "C:\\GAMES\\X\\"},
                               {"C:\\", "C:\\"},
                               {"SETUP.EXE", ""},
                           });
    EXPECT_TRUE(SamePathText("c:\\windows\\\xE8", "C:\\WINDOWS\\\xC8"));
    EXPECT_FALSE(SamePathText("C:\\WINDOWS", "C:\\WINDOWS\\"));
}

} // namespace
} // namespace kavlo
