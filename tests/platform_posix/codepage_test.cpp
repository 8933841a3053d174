#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace kavlo {
namespace {

struct CodePageCase {
    CodePage cp;
    std::string bytes;
    std::string utf8;
};

TEST(CodePage, KnownCharactersBothWays) {
    const CodePageCase cases[] = {
        {CodePage::Windows1250, "plain ASCII 0-9", "plain ASCII 0-9"},
        {CodePage::Windows1250, "\x8A\x9A\x8E\x9E", "ŠšŽž"},
        {CodePage::Windows1250, "\xC8\xE8\xD8\xF8\xCC\xEC\xD9\xF9", "ČčŘřĚěŮů"},
        {CodePage::Windows1250, "\xA3\xB3\xA5\xB9\xAF\xBF\x8C\x9C", "ŁłĄąŻżŚś"},
        {CodePage::Windows1250, "N\xE1vod k instalaci", "Návod k instalaci"},
        {CodePage::Windows1250, "\x80\x84\x93\x94\x96\x99", "€„“”–™"},
        {CodePage::Windows1250, "\xA0\xA1\xA2\xFF", "\u00A0ˇ˘˙"},
        {CodePage::Windows1254, "\xD0\xF0\xDD\xFD\xDE\xFE", "ĞğİıŞş"},
        {CodePage::Windows1254, "\x83\x8C\x9C\x9F\xFF", "ƒŒœŸÿ"},
        {CodePage::Windows1254, "T\xFCrk\xE7\x65", "Türkçe"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToUtf8(c.bytes, c.cp), c.utf8) << c.utf8;
        EXPECT_EQ(FromUtf8(c.utf8, c.cp), c.bytes) << c.utf8;
    }
}

TEST(CodePage, EveryDefinedByteSurvivesTheRoundTrip) {
    for (CodePage cp : {CodePage::Windows1250, CodePage::Windows1254}) {
        for (int b = 0x01; b <= 0xFF; ++b) {
            const std::string byte(1, static_cast<char>(b));
            const std::string utf8 = ToUtf8(byte, cp);
            if (utf8 == "\uFFFD") {
                continue;
            }
            EXPECT_EQ(FromUtf8(utf8, cp), byte) << "code page " << static_cast<int>(cp) << " byte " << b;
        }
    }
}

TEST(CodePage, UndefinedBytesBecomeReplacementCharacter) {
    for (char b : {'\x81', '\x83', '\x88', '\x90', '\x98'}) {
        EXPECT_EQ(ToUtf8(std::string(1, b), CodePage::Windows1250), "\uFFFD") << int(b);
    }
    for (char b : {'\x81', '\x8D', '\x8E', '\x8F', '\x90', '\x9D', '\x9E'}) {
        EXPECT_EQ(ToUtf8(std::string(1, b), CodePage::Windows1254), "\uFFFD") << int(b);
    }
    // The replacement character itself has no byte to go back to.
    EXPECT_EQ(FromUtf8("\uFFFD"), "?");
}

TEST(CodePage, UnmappableAndMalformedInputBecomesOneQuestionMarkEach) {
    const struct {
        std::string utf8;
        std::string expected;
    } cases[] = {
        {"ğ in 1250", "? in 1250"},                       // Turkish letter missing from Windows-1250
        {"日本", "??"},                                   // three-byte characters
        {"a\U0001F600b", "a?b"},                          // four-byte character
        {"a\xC3", "a?"},                                  // truncated sequence at the end
        {"a\xE2\x82z", "a??z"},                           // truncated sequence before a plain byte
        {"\xC0\xAF", "??"},                               // overlong encoding of "/"
        {"\xED\xA0\x80", "???"},                          // encoded surrogate
        {"\xFF\xFE", "??"},                               // bytes that never start a sequence
        {"\x80x", "?x"},                                  // stray continuation byte
        {std::string("a\0b", 3), std::string("a\0b", 3)}, // NUL passes through
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FromUtf8(c.utf8), c.expected) << c.utf8;
    }
    EXPECT_EQ(FromUtf8("Č", CodePage::Windows1254), "?");
}

TEST(CodePage, UpperCaseFoldsAsciiAndAccentedLetters) {
    const struct {
        std::string text;
        std::string upper;
    } cases[] = {
        {"program files", "PROGRAM FILES"},
        {"\x9A\x9C\x9D\x9E\x9F", "\x8A\x8C\x8D\x8E\x8F"}, // š ś ť ž ź
        {"\xB3\xB9\xBA\xBE\xBF", "\xA3\xA5\xAA\xBC\xAF"}, // ł ą ş ľ ż
        {"\xE8\xEC\xF8\xF9\xFD", "\xC8\xCC\xD8\xD9\xDD"}, // č ě ř ů ý
        {"\xDF\xB5\xF7\xFF", "\xDF\xB5\xF7\xFF"},         // ß µ ÷ ˙ have no capital here
        {"[]{}_~@`", "[]{}_~@`"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UpperCase1250(c.text), c.upper) << ToUtf8(c.text);
    }
    EXPECT_TRUE(EqualsNoCase1250("\x8Elu\x9Dou\xE8k\xFD", "\x9ELU\x8DOU\xC8K\xDD")); // Žluťoučký
    EXPECT_FALSE(EqualsNoCase1250("\xDF", "SS"));
    EXPECT_FALSE(EqualsNoCase1250("abc", "abcd"));
}

} // namespace
} // namespace kavlo
