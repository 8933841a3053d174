#include "main_f/texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/codepage.h"

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

} // namespace
} // namespace kavlo
