#include "main_f/texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/posix/posix_file_system.h"
#include "platform/profile.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

struct Block {
    int language;
    std::span<const MessageSource> entries;
    CodePage code_page;
};

std::vector<Block> AllBlocks() {
    return {{0, EnglishMessages(), CodePage::Windows1250},   {1, CzechMessages(), CodePage::Windows1250},
            {2, TurkishMessages(), CodePage::Windows1254},   {3, RomanianMessages(), CodePage::Windows1250},
            {4, SlovakMessages(), CodePage::Windows1250},    {5, GermanMessages(), CodePage::Windows1250},
            {6, IndonesianMessages(), CodePage::Windows1250}};
}

std::string Utf8Text(const MessageTexts& texts, int number) {
    return ToUtf8(texts.LoadString(number), CodePage::Windows1250);
}

// A character the block's code page lacks would be shown as "?" on the disc.
TEST(MessageTable, EveryEntryLiesInItsBlockAndSurvivesItsCodePage) {
    for (const Block& block : AllBlocks()) {
        std::set<int> seen;
        for (const MessageSource& entry : block.entries) {
            SCOPED_TRACE(entry.number);
            EXPECT_EQ(entry.number / 100, block.language);
            EXPECT_GE(entry.number % 100, 1);
            EXPECT_TRUE(seen.insert(entry.number).second) << "duplicate number";
            EXPECT_NE(std::string(entry.utf8), "");
            EXPECT_EQ(ToUtf8(BuiltInMessage(entry.number), block.code_page), entry.utf8);
        }
    }
}

// Every index the menu looks up has a text in every language, except the gaps the blocks have
// always had: Czech alone has 47 and 59; Romanian, Slovak and German keep only 81-84 and 96 from
// 73 up.
TEST(MessageTable, IndexesTheMenuShowsArePresentWithTheKnownGaps) {
    const std::vector<int> used = {1,  2,  3,  4,  5,  6,  7,  8,  10, 11, 13, 14, 15, 16, 29, 30, 31, 32,
                                   33, 34, 35, 40, 41, 47, 50, 59, 61, 73, 74, 75, 76, 78, 79, 80, 81, 82,
                                   83, 84, 85, 86, 87, 88, 89, 90, 91, 92, 93, 94, 95, 96, 97, 98, 99};
    const std::set<int> short_block_keeps = {81, 82, 83, 84, 96};
    for (int language = 0; language <= 6; ++language) {
        const bool short_block = language >= 3 && language <= 5;
        for (int index : used) {
            SCOPED_TRACE(language * 100 + index);
            bool expected = true;
            if (index == 47 || index == 59) {
                expected = language == 1;
            } else if (short_block && index >= 73) {
                expected = short_block_keeps.contains(index);
            }
            EXPECT_EQ(!BuiltInMessage(language * 100 + index).empty(), expected);
        }
    }
}

TEST(MessageTable, EnglishAndCzechKeepTheirHistoricWording) {
    const MessageTexts english(0, nullptr);
    const MessageTexts czech(1, nullptr);
    struct Case {
        const MessageTexts& texts;
        int number;
        const char* expected;
    };
    const Case cases[] = {
        {english, 15, "Can''t create directory!"},
        {english, 13, "All files are stored  in directory \\SHAREWARE"},
        {english, 85, "VYPNOUT"},
        {english, 87, "ZAPNOUT"},
        {english, 98, "V ČEŠTINĚ"},
        {english, 10, "Install video player"},
        {english, 95,
         "Special effects like tranparency while loading pictures. Owners of slower computers "
         "should turn this off."},
        {czech, 101, "INSTALOVÁNO"},
        {czech, 110, "MODY"},
        {czech, 147, "Extra3"},
        {czech, 159, "OTEVŘÍT"},
        {czech, 191, "NASTAVENÍ"},
        {czech, 180, "NUTNÝ DIVX A WM9 KODEK (V OVLADAČÍCH)."},
        {czech, 134,
         "Po odinstalaci zbylo v adresáři %1 několik souborů. Většinou se jedná uložené pozice, "
         "obrázky či dočasné soubory, které nebyly odstraněny. Chcete je všechny smazat? "
         "(doporučujeme)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8Text(c.texts, c.number), c.expected) << c.number;
    }
    // The menu works in Windows-1250 bytes, not UTF-8.
    EXPECT_EQ(czech.LoadString(191), "NASTAVEN\xCD");
}

TEST(MessageTable, NumbersWithoutATextAreEmpty) {
    const MessageTexts english(0, nullptr);
    const MessageTexts german(5, nullptr);
    for (int number : {47, 59, 0, 9, 77, 100, 591, 573, -1, 700, 100000}) {
        EXPECT_EQ(english.LoadString(number), "") << number;
        EXPECT_EQ(german.LoadString(number), "") << number;
    }
}

TEST(LoadSpecial, PutsTheArgumentInPlaceOfTheFirstPlaceholderOnly) {
    const MessageTexts czech(1, nullptr);
    const MessageTexts english(0, nullptr);
    struct Case {
        const MessageTexts& texts;
        int number;
        std::string arg;
        const char* expected;
    };
    const Case cases[] = {
        {czech, 111, "C:\\GAMES\\X", "Přejete si odstranit všechny soubory z C:\\GAMES\\X ?"},
        {english, 35, "12", "Do you really want to delete 12 MB ?"},
        // An argument that itself holds "%1" is not substituted again.
        {english, 11, "C:\\%1\\%1", "Would you like to delete all files in C:\\%1\\%1 ?"},
        // A text without "%1" drops the argument (the Installed page passes "2-98" to message 33).
        {english, 33, "2-98", "Here you can uninstall all programs installed with this engine from any CD!"},
        {english, 11, "", "Would you like to delete all files in  ?"},
        {english, 47, "X", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToUtf8(c.texts.LoadSpecial(c.number, c.arg)), c.expected) << c.number;
    }
}

TEST(LoadString, TurkishWithoutStringsFileIsEmptyEvenWhereTheTableHasText) {
    const MessageTexts turkish(2, nullptr);
    EXPECT_FALSE(BuiltInMessage(291).empty());
    EXPECT_EQ(turkish.LoadString(291), "");
    EXPECT_EQ(turkish.LoadSpecial(211, "C:\\X"), "");
}

// A disc's strings.ini on drive D:, written in the Turkish code page as Turkish discs carry it.
class StringsFileTest : public ::testing::Test {
protected:
    StringsFileTest() {
        test::WriteHostFile(dir_ / "disc" / "KAVLO" / "strings.ini", FromUtf8("[MAIN]\r\n"
                                                                              "A291=SEÇENEKLER\r\n"
                                                                              "A211=%1 ve %1 silinsin mi?\r\n"
                                                                              "A191=not the Czech text\r\n",
                                                                              CodePage::Windows1254));
    }

    test::TempDir dir_;
    PosixFileSystem fs_{(dir_ / "c").string(), {{'D', (dir_ / "disc").string(), DriveType::CdRom}}};
    ProfileCache cache_;
    IniFile strings_{fs_, cache_, "D:\\KAVLO\\strings.ini", "C:\\WINDOWS\\"};
};

TEST_F(StringsFileTest, TurkishTextsComeOnlyFromTheDisc) {
    const MessageTexts turkish(2, &strings_);
    EXPECT_EQ(ToUtf8(turkish.LoadString(291), CodePage::Windows1254), "SEÇENEKLER");
    // The built-in Turkish block has 205, but a Turkish disc never falls back to it.
    EXPECT_FALSE(BuiltInMessage(205).empty());
    EXPECT_EQ(turkish.LoadString(205), "");
    EXPECT_EQ(turkish.LoadSpecial(211, "C:\\X"), "C:\\X ve %1 silinsin mi?");
}

TEST_F(StringsFileTest, OtherLanguagesIgnoreTheStringsFile) {
    const MessageTexts czech(1, &strings_);
    EXPECT_EQ(ToUtf8(czech.LoadString(191)), "NASTAVENÍ");
    EXPECT_EQ(czech.LoadString(291), BuiltInMessage(291));
}

// `kavlo-tool text|special|date`: the disc opened by the menu's own start-up, output in UTF-8.
class TextToolTest : public ::testing::Test {
protected:
    TextToolTest() {
        test::WriteHostFile(dir_ / "disc" / "KAVLO" / "kavloxp.ini", "[Main]\r\nVersion=2\r\nDebug=1\r\n");
        test::WriteHostFile(dir_ / "disc" / "KAVLO" / "strings.ini",
                            FromUtf8("[MAIN]\r\nA291=SEÇENEKLER\r\nA211=%1 silinsin mi?\r\nA305=Mayıs\r\n",
                                     CodePage::Windows1254));
    }

    test::ToolRun Run(std::vector<std::string> args) {
        args.insert(args.end(), {"--disc", (dir_ / "disc").string(), "--pc", (dir_ / "pc").string()});
        return test::RunTool(args);
    }

    test::TempDir dir_;
};

TEST_F(TextToolTest, PrintsWhatATurkishDiscShows) {
    struct Case {
        std::vector<std::string> args;
        std::string expected;
    };
    const Case cases[] = {
        {{"text", "291"}, "SEÇENEKLER\n"},
        {{"text", "205"}, "\n"},
        {{"special", "211", "C:\\GAMES"}, "C:\\GAMES silinsin mi?\n"},
        {{"date", "0504"}, "MAYıS 2004\n"},
        {{"date", "0504", "--lang", "5"}, "MAI 2004\n"},
        {{"text", "191", "--lang", "1"}, "NASTAVENÍ\n"},
        {{"special", "111", "C:\\GAMES\\Ž", "--lang", "1"},
         "Přejete si odstranit všechny soubory z C:\\GAMES\\Ž ?\n"},
    };
    for (const Case& c : cases) {
        const test::ToolRun run = Run(c.args);
        EXPECT_EQ(run.out, c.expected) << c.args[0] << " " << c.args[1];
        EXPECT_EQ(run.exit_code, 0) << c.args[0] << " " << c.args[1];
    }
}

TEST_F(TextToolTest, MalformedDateShowsTheDebugBox) {
    const test::ToolRun run = Run({"date", "XX04"});
    EXPECT_EQ(run.out, "\n");
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_NE(run.err.find("Wrong date format"), std::string::npos) << run.err;
}

} // namespace
} // namespace kavlo
