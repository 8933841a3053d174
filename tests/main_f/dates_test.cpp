#include "main_f/dates.h"

#include <gtest/gtest.h>

#include <string>

#include "main_f/texts.h"
#include "platform/codepage.h"
#include "platform/posix/posix_file_system.h"
#include "platform/profile.h"
#include "support/temp_dir.h"
#include "ui/message_box.h"

namespace kavlo {
namespace {

std::string DateUtf8(int language, std::string_view code, bool debug, QueuedMessageBoxes& boxes) {
    const MessageTexts texts(language, nullptr);
    return ToUtf8(CreateDate(code, DateContext{texts, debug, boxes, "Kavlo CD"}));
}

struct DateCase {
    int language;
    const char* code;
    const char* expected; // UTF-8
};

void ExpectDates(std::initializer_list<DateCase> cases) {
    for (const DateCase& c : cases) {
        QueuedMessageBoxes boxes;
        EXPECT_EQ(DateUtf8(c.language, c.code, true, boxes), c.expected)
            << "language " << c.language << ", code \"" << c.code << "\"";
        EXPECT_TRUE(boxes.Shown().empty()) << c.code;
    }
}

TEST(CreateDate, MonthsSeasonsAndYears) {
    ExpectDates({
        {0, "1204", "DECEMBER 2004"},
        {0, "0904", "SEPT. 2004"},
        {0, "0104", "JANUARY 2004"},
        {0, "0598", "MAY 98"},
        {0, "0536", "MAY 2036"},
        {0, "0537", "MAY 37"},
        {0, "0500", "MAY 2000"},
        {0, "052005", "MAY 2005"},
        // Only characters 3 to 6 are the year; shorter codes give a shorter year.
        {0, "05042005", "MAY 0420"},
        {0, "050", "MAY 0"},
        {0, "05", "MAY "},
        {0, "5", "MAY "},
        {0, "1304", " 2004"},
        {0, "1Q04", "SPRING 2004"},
        {0, "2Q04", "SUMMER 2004"},
        {0, "3Q05", "AUTUMN 2005"},
        {0, "4Q99", "WINTER 99"},
        {0, "5104", "SPRING 2004"},
        {0, "5204", "SUMMER 2004"},
        {0, "5304", "AUTUMN 2004"},
        {0, "5404", "WINTER 2004"},
        {0, "5504", " 2004"},
        {0, "5Q04", " 2004"},
        // The quarter test comes first: "?" followed by "Q" is a quarter without a season.
        {0, "?Q04", " 2004"},
        {6, "0904", "SEPT. 2004"},
        {6, "3Q05", "AUTUMN 2005"},
    });
}

TEST(CreateDate, ReleasedAndNotAnnouncedShowNoYear) {
    ExpectDates({
        {0, "0000", "OUT NOW"},
        {0, "00", "OUT NOW"},
        {0, "0", "OUT NOW"},
        {0, "00XY", "OUT NOW"},
        {0, "?", "UNKNOWN"},
        {0, "?X", "UNKNOWN"},
        {0, "?ABC", "UNKNOWN"},
        {0, "99", "UNKNOWN"},
        {0, "9904", "UNKNOWN"},
        {1, "0004", "JIŽ VYŠLO"},
        {1, "?", "NEOZNÁMENO"},
    });
}

// Only a..z are upper-cased; letters with diacritics keep their case.
TEST(CreateDate, WordsOfEachLanguage) {
    ExpectDates({
        {1, "0104", "LEDEN 2004"},    {1, "0204", "ÚNOR 2004"},     {1, "0704", "ČERVENEC 2004"},
        {1, "2Q04", "LÉTO 2004"},     {3, "0104", "IANUARIE 2004"}, {3, "1Q05", "PRIMăVARă 2005"},
        {3, "5404", "IARNă 2004"},    {3, "00", "A FOST LANSAT"},   {3, "?", "NECUNOSCUTă"},
        {4, "0704", "JúL 2004"},      {4, "0404", "APRíL 2004"},    {4, "3Q04", "JESEň 2004"},
        {4, "00", "Už VYšLO"},        {4, "?", "NEZNáME"},          {5, "0304", "MäRZ 2004"},
        {5, "1Q04", "FRüHLING 2004"}, {5, "1204", "DEZEMBER 2004"}, {5, "00", "SCHON ERSCHIENEN"},
        {5, "99", "UNBEKANNT"},
    });
}

TEST(CreateDate, NextDiscAndEmptyCodeInEveryLanguage) {
    for (int language = 0; language <= 6; ++language) {
        ExpectDates({{language, "NEXT", "PŘÍŠTÍ CD|DVD"}, {language, "", ""}});
    }
    // Only the exact capitals mean the next disc.
    QueuedMessageBoxes boxes;
    EXPECT_EQ(DateUtf8(0, "Next", false, boxes), "");
}

TEST(CreateDate, MalformedCodesGiveNothingAndABoxInDebugMode) {
    for (const char* code : {"XX04", "X", "0X04", "05X4", "05 4", "-504", "+5", "NEXT1", "Next"}) {
        QueuedMessageBoxes quiet;
        EXPECT_EQ(DateUtf8(0, code, false, quiet), "") << code;
        EXPECT_TRUE(quiet.Shown().empty()) << code;

        QueuedMessageBoxes debug;
        EXPECT_EQ(DateUtf8(1, code, true, debug), "") << code;
        ASSERT_EQ(debug.Shown().size(), 1u) << code;
        EXPECT_EQ(debug.Shown()[0].text, "Wrong date format");
        EXPECT_EQ(debug.Shown()[0].caption, "Kavlo CD");
        EXPECT_EQ(debug.Shown()[0].buttons, MbButtons::Ok);
    }
}

// Turkish discs keep their date words in strings.ini as A301..A318, in the Turkish code page.
TEST(CreateDate, TurkishWordsComeFromTheStringsFile) {
    const char* words[] = {"Ocak",     "Şubat",   "Mart",     "Nisan", "Mayıs", "Haziran",
                           "Temmuz",   "Ağustos", "Eylül",    "Ekim",  "Kasım", "Aralık",
                           "İlkbahar", "Yaz",     "Sonbahar", "Kış",   "Çıktı", "Açıklanmadı"};
    std::string ini = "[MAIN]\r\n";
    for (int i = 0; i < 18; ++i) {
        ini += "A" + std::to_string(301 + i) + "=" + words[i] + "\r\n";
    }
    test::TempDir dir;
    test::WriteHostFile(dir / "disc" / "strings.ini", FromUtf8(ini, CodePage::Windows1254));
    PosixFileSystem fs((dir / "c").string(), {{'D', (dir / "disc").string(), DriveType::CdRom}});
    ProfileCache cache;
    const IniFile strings(fs, cache, "D:\\strings.ini", "C:\\WINDOWS\\");

    struct Case {
        const char* code;
        const char* expected;
    };
    const Case cases[] = {
        {"0504", "MAYıS 2004"}, {"0204", "ŞUBAT 2004"}, {"1Q04", "İLKBAHAR 2004"}, {"5404", "Kış 2004"},
        {"00", "ÇıKTı"},        {"?", "AçıKLANMADı"},   {"NEXT", "PŘÍŠTÍ CD|DVD"},
    };
    for (const Case& c : cases) {
        QueuedMessageBoxes boxes;
        const MessageTexts texts(2, &strings);
        const std::string date = CreateDate(c.code, DateContext{texts, false, boxes, "Kavlo CD"});
        // The next-disc text is Czech whatever the disc language.
        const CodePage cp =
            std::string_view(c.code) == "NEXT" ? CodePage::Windows1250 : CodePage::Windows1254;
        EXPECT_EQ(ToUtf8(date, cp), c.expected) << c.code;
    }

    // Without strings.ini a Turkish disc has no words at all.
    QueuedMessageBoxes boxes;
    const MessageTexts no_file(2, nullptr);
    EXPECT_EQ(CreateDate("0504", DateContext{no_file, false, boxes, ""}), " 2004");
    EXPECT_EQ(CreateDate("00", DateContext{no_file, false, boxes, ""}), "");
}

} // namespace
} // namespace kavlo
