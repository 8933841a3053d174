#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/profile_document.h"

namespace kavlo {
namespace {

using namespace std::string_literals;

struct ReadCase {
    std::string what;
    std::string file;
    std::string section;
    std::string key;
    std::optional<std::string> expected;
};

TEST(ProfileDocumentRead, LineSyntax) {
    const std::vector<ReadCase> cases = {
        {"CR LF", "[S]\r\nK=V\r\n", "S", "K", "V"},
        {"LF", "[S]\nK=V\n", "S", "K", "V"},
        {"CR only", "[S]\rA=1\rK=V\r", "S", "K", "V"},
        {"mixed ends", "[S]\rA=1\r\nB=2\nK=V", "S", "K", "V"},
        {"no final line end", "[S]\nK=V", "S", "K", "V"},
        {"blanks and ^Z trimmed", "  \t[ S ] \n\t K \t=\x0b V \x0c\x1a\n", "S", "K", "V"},
        {"inner blanks kept", "[S]\nK=a  b\n", "S", "K", "a  b"},
        {"names trimmed on lookup", "[S]\nK=V\n", " S\t", " K ", "V"},
        {"header to the last ]", "[a]b]\nK=V\n", "a]b", "K", "V"},
        {"text after ] ignored", "[S] ; note\nK=V\n", "S", "K", "V"},
        {"[ without ] is a key", "[S]\n[K=V\n", "S", "[K", "V"},
        {"; comment", "[S]\n;K=V\n", "S", ";K", std::nullopt},
        {"# is no comment", "[S]\n#K=V\n", "S", "#K", "V"},
        {"split at first =", "[S]\nK=a=b\n", "S", "K", "a=b"},
        {"no inline comment", "[S]\nK=v ; c\n", "S", "K", "v ; c"},
        {"key without =", "[S]\nK\n", "S", "K", std::nullopt},
        {"key without = shadows a later one", "[S]\nK\nK=1\n", "S", "K", std::nullopt},
        {"empty value is a value", "[S]\nK=\n", "S", "K", ""},
        {"keys before a section are unreachable", "K=V\n[S]\n", "", "K", std::nullopt},
        {"missing section", "[S]\nK=V\n", "T", "K", std::nullopt},
        {"missing key", "[S]\nK=V\n", "S", "J", std::nullopt},
        {"NUL bytes are data", "[S]\nK=a\0b\n"s, "S", "K", "a\0b"s},
        {"^Z line is blank", "[S]\n\x1a\nK=V\n", "S", "K", "V"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProfileDocument::Parse(c.file).Get(c.section, c.key), c.expected) << c.what;
    }
}

TEST(ProfileDocumentRead, NamesAndDuplicates) {
    const std::vector<ReadCase> cases = {
        {"ASCII case", "[Main]\nGameName=x\n", "MAIN", "gamename", "x"},
        {"Windows-1250 case", "[\xc8\x45SK\xdd]\n\x8eLUT\xdd=1\n", "\xe8\x65sk\xfd", "\x9elut\xfd", "1"},
        {"more accents", "[\xa3\xa5\xaa\xaf\xbc]\nk=1\n", "\xb3\xb9\xba\xbf\xbe", "K", "1"},
        {"first key wins", "[S]\nK=1\nk=2\n", "S", "K", "1"},
        {"first section wins", "[S]\nK=1\n[s]\nK=2\n", "S", "K", "1"},
        {"keys of a later duplicate are never found", "[S]\nA=1\n[T]\n[S]\nB=2\n", "S", "B", std::nullopt},
        {"other sections are not searched", "[S]\n[T]\nK=1\n", "S", "K", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProfileDocument::Parse(c.file).Get(c.section, c.key), c.expected) << c.what;
    }
}

TEST(ProfileDocumentRead, Quotes) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"K=\"v\"", "v"},       {"K='v'", "v"},
        {"K=\"v'", "\"v'"},     {"K=\"\"", ""},
        {"K=\"", "\""},         {"K=\"\"v\"\"", "\"v\""},
        {"K= \" v \" ", " v "}, {"K=a\"b\"", "a\"b\""},
        {"K=\"a\\\"", "a\\"},   {"K='a\" b \"'", "a\" b \""},
    };
    for (const auto& [line, expected] : cases) {
        EXPECT_EQ(ProfileDocument::Parse("[S]\n" + line).Get("S", "K"), expected) << line;
    }
}

TEST(ProfileDocumentRead, Listings) {
    const auto doc = ProfileDocument::Parse("x=0\n[A]\nk1=1\nnovalue\n; c\nK1=2\n=3\n[B]\n[a]\nk9=9\n[]\n");
    EXPECT_EQ(doc.Sections(), (std::vector<std::string>{"A", "B", "a"}));
    EXPECT_EQ(doc.Keys("a"), (std::vector<std::string>{"k1", "K1"}));
    EXPECT_TRUE(doc.Keys("B").empty());
    EXPECT_TRUE(doc.Keys("missing").empty());
    EXPECT_TRUE(doc.HasSection("b"));
    EXPECT_FALSE(doc.HasSection("C"));
}

struct EditCase {
    std::string what;
    std::string before;
    std::function<bool(ProfileDocument&)> edit;
    bool result;
    std::string after;
};

void ExpectEdits(const std::vector<EditCase>& cases) {
    for (const auto& c : cases) {
        auto doc = ProfileDocument::Parse(c.before);
        EXPECT_EQ(c.edit(doc), c.result) << c.what;
        EXPECT_EQ(doc.Serialize(), c.after) << c.what;
        // What is in memory must be what the written file reads back as.
        EXPECT_EQ(ProfileDocument::Parse(doc.Serialize()).Serialize(), c.after) << c.what;
    }
}

auto SetOp(std::string s, std::string k, std::string v) {
    return [=](ProfileDocument& doc) { return doc.Set(s, k, v); };
}

TEST(ProfileDocumentEdit, Set) {
    ExpectEdits({
        {"replace in place, rest untouched", "; c\n[S]\n  k = 1 ; x\n\n", SetOp("S", "K", "2"), true,
         "; c\r\n[S]\r\nk=2\r\n\r\n"},
        {"stored spelling of the key kept", "[S]\nGameName=1\n", SetOp("s", "GAMENAME", "2"), true,
         "[S]\r\nGameName=2\r\n"},
        {"new key after the last entry", "[S]\na=1\n; c\n\n[T]\nb=2\n", SetOp("S", "c", "3"), true,
         "[S]\r\na=1\r\nc=3\r\n; c\r\n\r\n[T]\r\nb=2\r\n"},
        {"key line without = counts as entry", "[S]\na\n\n", SetOp("S", "b", "1"), true,
         "[S]\r\na\r\nb=1\r\n\r\n"},
        {"new key in an empty section", "[S]\n\n[T]\n", SetOp("S", "k", "v"), true,
         "[S]\r\nk=v\r\n\r\n[T]\r\n"},
        {"new key in the first duplicate", "[S]\na=1\n[S]\nb=2\n", SetOp("S", "c", "3"), true,
         "[S]\r\na=1\r\nc=3\r\n[S]\r\nb=2\r\n"},
        {"new section at the end", "[S]\na=1\n\n", SetOp("T", "k", "v"), true,
         "[S]\r\na=1\r\n\r\n[T]\r\nk=v\r\n"},
        {"new section, no final line end", "[S]\na=1", SetOp("T", "k", "v"), true,
         "[S]\r\na=1\r\n[T]\r\nk=v\r\n"},
        {"empty file", "", SetOp(" T ", " k ", "v"), true, "[T]\r\nk=v\r\n"},
        {"key without = gets a value", "[S]\nk\n", SetOp("S", "K", "1"), true, "[S]\r\nk=1\r\n"},
        {"value stored as given", "[S]\n", SetOp("S", "k", "\"q\" "), true, "[S]\r\nk=\"q\" \r\n"},
        {"junk kept byte for byte", "\x01\xff junk\n[S]\n\0\x02=\x7f\r\n"s, SetOp("S", "k", "v"), true,
         "\x01\xff junk\r\n[S]\r\n\0\x02=\x7f\r\nk=v\r\n"s},
    });
}

TEST(ProfileDocumentEdit, SetRefusesWhatWouldNotReadBack) {
    const std::string before = "[S]\r\nk=1\r\n";
    ExpectEdits({
        {"= in key", before, SetOp("S", "a=b", "v"), false, before},
        {"key reads as comment", before, SetOp("S", ";a", "v"), false, before},
        {"key reads as header", before, SetOp("S", "[a]", "v"), false, before},
        {"empty key", before, SetOp("S", " ", "v"), false, before},
        {"empty section", before, SetOp("", "k", "v"), false, before},
        {"LF in value", before, SetOp("S", "k", "a\nb=c"), false, before},
        {"CR in value", before, SetOp("S", "k", "a\r[T]"), false, before},
        {"line break in key", before, SetOp("S", "a\nb", "v"), false, before},
        {"line break in section", before, SetOp("S\r\n[T", "k", "v"), false, before},
        {"[ key whose value closes a header", "[S]\n[k\n", SetOp("S", "[k", "x]"), false, "[S]\r\n[k\r\n"},
    });
}

TEST(ProfileDocumentEdit, Delete) {
    auto del_key = [](std::string s, std::string k) {
        return [=](ProfileDocument& doc) { return doc.DeleteKey(s, k); };
    };
    auto del_section = [](std::string s) {
        return [=](ProfileDocument& doc) { return doc.DeleteSection(s); };
    };
    ExpectEdits({
        {"key", "[S]\na=1\nb=2\n", del_key("s", "A"), true, "[S]\r\nb=2\r\n"},
        {"last key leaves the section", "[S]\na=1\n", del_key("S", "a"), true, "[S]\r\n"},
        {"missing key", "[S]\na=1\n", del_key("S", "b"), false, "[S]\r\na=1\r\n"},
        {"key of missing section", "[S]\na=1\n", del_key("T", "a"), false, "[S]\r\na=1\r\n"},
        {"section with its lines", "; top\n[S]\na=1\n; c\n\n[T]\nb=2", del_section("s"), true,
         "; top\r\n[T]\r\nb=2\r\n"},
        {"missing section", "[S]\n", del_section("T"), false, "[S]\r\n"},
    });
}

TEST(ProfileDocumentEdit, DeletingFirstDuplicateRevealsTheNext) {
    auto doc = ProfileDocument::Parse("[S]\nk=1\nk=2\n[T]\n[S]\nk=3\n");
    ASSERT_TRUE(doc.DeleteKey("S", "k"));
    EXPECT_EQ(doc.Get("S", "k"), "2");
    ASSERT_TRUE(doc.DeleteSection("S"));
    EXPECT_EQ(doc.Get("S", "k"), "3");
    EXPECT_EQ(doc.Sections(), (std::vector<std::string>{"T", "S"}));
    // Index of the remaining sections must follow the removal.
    ASSERT_TRUE(doc.Set("T", "x", "y"));
    EXPECT_EQ(doc.Serialize(), "[T]\r\nx=y\r\n[S]\r\nk=3\r\n");
}

TEST(ProfileDocumentEdit, LookupsFollowEveryEdit) {
    auto doc = ProfileDocument::Parse("[A]\na=1\nb=2\nc=3\n[B]\nx=1\n");
    ASSERT_TRUE(doc.DeleteKey("A", "a"));
    EXPECT_EQ(doc.Get("A", "b"), "2");
    EXPECT_EQ(doc.Get("A", "c"), "3");
    ASSERT_TRUE(doc.Set("A", "d", "4"));
    ASSERT_TRUE(doc.Set("C", "e", "5"));
    ASSERT_TRUE(doc.DeleteSection("A"));
    EXPECT_EQ(doc.Get("B", "x"), "1");
    EXPECT_EQ(doc.Get("C", "e"), "5");
    EXPECT_EQ(doc.Get("A", "d"), std::nullopt);
}

// Bytes weighted towards the characters the parser cares about.
std::string RandomIni(std::mt19937& rng, size_t size) {
    static const std::string kAlphabet = "[]=;#'\" \t\r\n\x1a\0abcAB\xc8\xe8\xff"s;
    std::uniform_int_distribution<int> pick(0, static_cast<int>(kAlphabet.size()));
    std::string out;
    for (size_t i = 0; i < size; ++i) {
        const int n = pick(rng);
        out += n == static_cast<int>(kAlphabet.size()) ? static_cast<char>(rng()) : kAlphabet[n];
    }
    return out;
}

TEST(ProfileDocumentRobustness, RandomBytesRoundTrip) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 300; ++round) {
        const auto doc = ProfileDocument::Parse(RandomIni(rng, 400));
        const auto again = ProfileDocument::Parse(doc.Serialize());
        ASSERT_EQ(again.Serialize(), doc.Serialize());
        ASSERT_EQ(again.Sections(), doc.Sections());
        for (const auto& section : doc.Sections()) {
            ASSERT_EQ(again.Keys(section), doc.Keys(section));
            for (const auto& key : doc.Keys(section)) {
                ASSERT_EQ(again.Get(section, key), doc.Get(section, key));
            }
        }
    }
}

TEST(ProfileDocumentRobustness, HugeLinesAndManyKeys) {
    const std::string big(1 << 20, 'x');
    auto doc = ProfileDocument::Parse("[S]\nk=" + big + "\n" + big + "\n[" + big);
    EXPECT_EQ(doc.Get("S", "k"), big);
    EXPECT_TRUE(doc.Keys("S").size() == 1);

    std::string file;
    for (int s = 0; s < 600; ++s) {
        file += "[Demo" + std::to_string(s) + "]\r\n";
        for (int k = 0; k < 25; ++k) {
            file += "Key" + std::to_string(k) + "=" + std::to_string(s * 100 + k) + "\r\n";
        }
    }
    doc = ProfileDocument::Parse(file);
    EXPECT_EQ(doc.Get("demo599", "KEY24"), "59924");
    EXPECT_EQ(doc.Get("demo0", "key0"), "0");
    EXPECT_EQ(doc.Serialize(), file);
}

} // namespace
} // namespace kavlo
