#include "platform/font_names.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "font_test_files.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

using test::BuildCollection;
using test::BuildFace;
using test::NameRecordSpec;
using test::Utf16Be;

std::vector<std::vector<std::string>> FamiliesOf(const std::string& bytes) {
    std::vector<std::vector<std::string>> result;
    for (const auto& face : ReadFontFaces(bytes)) {
        result.push_back(face.families);
    }
    return result;
}

TEST(FontNames, FamilyRecordsInPreferenceOrder) {
    const std::vector<NameRecordSpec> records = {
        {1, 0, 0, 1, "Caf\x8E Mac"},                              // Macintosh Roman
        {3, 1, 0x405, 1, Utf16Be(u"Kavlo Bezpatkové")},           // Czech
        {3, 1, 0x409, 4, Utf16Be(u"Kavlo Sans Bold")},            // full name, not a family
        {3, 1, 0x409, 1, Utf16Be(u"Kavlo Sans")},                 // the name GDI matches
        {0, 3, 0, 1, Utf16Be(u"Kavlo Sans")},                     // same text again
        {3, 3, 0x409, 1, "\x82\xA0"},                             // legacy CJK encoding
        {3, 1, 0x409, 1, Utf16Be(u"Emoji \xD83D\xDE00 \xD800x")}, // surrogate pair, lone half
    };
    EXPECT_EQ(FamiliesOf(BuildFace(records)),
              (std::vector<std::vector<std::string>>{
                  {"Kavlo Sans", "Emoji 😀 \uFFFDx", "Kavlo Bezpatkové", "Café Mac"}}));
}

TEST(FontNames, CollectionsGiveEveryFace) {
    const std::string ttc = BuildCollection({
        {{.bytes = Utf16Be(u"Kavlo Text")}},
        {{.name_id = 2, .bytes = Utf16Be(u"Regular")}}, // no family: left out
        {{.bytes = Utf16Be(u"Kavlo Text Light")}},
    });
    EXPECT_EQ(FamiliesOf(ttc), (std::vector<std::vector<std::string>>{{"Kavlo Text"}, {"Kavlo Text Light"}}));
}

TEST(FontNames, DamagedFilesNeverReadOutOfBounds) {
    const std::string font = BuildFace({{.bytes = Utf16Be(u"Kavlo")}});
    // Every cut of a valid file either loses the name or keeps it whole.
    for (size_t length = 0; length < font.size(); ++length) {
        auto faces = FamiliesOf(font.substr(0, length));
        EXPECT_TRUE(faces.empty()) << length;
    }
    std::string bad_offset = font;
    bad_offset[bad_offset.size() - 11] = '\x7F'; // string offset far past the end
    EXPECT_TRUE(FamiliesOf(bad_offset).empty());
    std::string huge_collection = "ttcf";
    huge_collection += std::string("\x00\x01\x00\x00\xFF\xFF\xFF\xFF", 8);
    EXPECT_TRUE(FamiliesOf(huge_collection).empty());
    EXPECT_TRUE(FamiliesOf("GIF89a this is a picture, not a font").empty());
    EXPECT_TRUE(FamiliesOf("").empty());
}

TEST(FontNames, InstalledTrueTypeFile) {
    const std::filesystem::path dejavu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    if (!std::filesystem::exists(dejavu)) {
        GTEST_SKIP() << "DejaVu Sans is not installed; the built fonts above cover the format";
    }
    const auto faces = FamiliesOf(test::ReadHostFile(dejavu));
    ASSERT_EQ(faces.size(), 1u);
    ASSERT_FALSE(faces[0].empty());
    EXPECT_EQ(faces[0][0], "DejaVu Sans");
}

} // namespace
} // namespace kavlo
