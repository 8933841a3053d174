// The disc's two display fonts are DejaVu faces renamed to the families the window's labels ask for:
// the rename must leave a font every reader accepts, and the menu must find the faces by those names.

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/posix/posix_platform.h"
#include "sampledisc/font_rename.h"
#include "sampledisc/sample_disc.h"
#include "skin/text/font_resolver.h"
#include "support/temp_dir.h"

#include <ft2build.h>
#include FT_SFNT_NAMES_H

namespace kavlo {
namespace {

using test::TempDir;

const std::string kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const sample::FontNaming kNaming{"Square721 AT", "Square721 AT Book", "Square721AT-Book"};

uint32_t U32(const std::string& bytes, size_t pos) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value = (value << 8) | (pos + i < bytes.size() ? static_cast<uint8_t>(bytes[pos + i]) : 0u);
    }
    return value;
}

uint32_t WordSum(const std::string& bytes) {
    uint32_t sum = 0;
    for (size_t pos = 0; pos < bytes.size(); pos += 4) {
        sum += U32(bytes, pos);
    }
    return sum;
}

struct TableEntry {
    uint32_t checksum = 0;
    size_t offset = 0;
    std::string data;
};

std::map<std::string, TableEntry> Tables(const std::string& font) {
    std::map<std::string, TableEntry> tables;
    const size_t count = U32(font, 4) >> 16;
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = 12 + i * 16;
        const size_t offset = U32(font, entry + 8);
        tables[font.substr(entry, 4)] = {U32(font, entry + 4), offset,
                                         font.substr(offset, U32(font, entry + 12))};
    }
    return tables;
}

// Table checksums count head.checkSumAdjustment as zero.
std::string WithoutAdjustment(const std::string& tag, std::string data) {
    if (tag == "head") {
        data.replace(8, 4, 4, '\0');
    }
    return data;
}

// Platform, encoding, language, name ID -> the record's bytes, as FreeType reads them.
using NameKey = std::tuple<int, int, int, int>;
std::map<NameKey, std::string> SfntNames(const std::string& font) {
    std::map<NameKey, std::string> names;
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return names;
    }
    if (FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(font.data()),
                           static_cast<FT_Long>(font.size()), 0, &face) == 0) {
        for (FT_UInt i = 0; i < FT_Get_Sfnt_Name_Count(face); ++i) {
            FT_SfntName name;
            if (FT_Get_Sfnt_Name(face, i, &name) == 0) {
                names[{name.platform_id, name.encoding_id, name.language_id, name.name_id}] =
                    std::string(reinterpret_cast<const char*>(name.string), name.string_len);
            }
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return names;
}

std::string Utf16Be(const std::string& ascii) {
    std::string out;
    for (char c : ascii) {
        out += '\0';
        out += c;
    }
    return out;
}

TEST(FontRename, NewNamesInAValidFileWithEverythingElseKept) {
    const std::string original = test::ReadHostFile(kDejaVuSans);
    ASSERT_FALSE(original.empty());
    const std::optional<std::string> renamed = sample::RenameFont(original, kNaming);
    ASSERT_TRUE(renamed.has_value());

    const std::map<NameKey, std::string> before = SfntNames(original);
    const std::map<NameKey, std::string> after = SfntNames(*renamed);
    ASSERT_EQ(before.size(), after.size());
    const std::map<int, std::string> expected = {{1, kNaming.family},
                                                 {3, kNaming.full_name},
                                                 {4, kNaming.full_name},
                                                 {6, kNaming.postscript_name},
                                                 {16, kNaming.family}};
    for (const auto& [key, text] : before) {
        const auto [platform, encoding, language, name_id] = key;
        SCOPED_TRACE(testing::Message() << platform << "/" << name_id);
        ASSERT_TRUE(after.count(key));
        const auto name = expected.find(name_id);
        if (name == expected.end()) {
            EXPECT_EQ(after.at(key), text);
        } else {
            EXPECT_EQ(after.at(key), platform == 1 ? name->second : Utf16Be(name->second));
        }
    }
    EXPECT_EQ(after.at({3, 1, 0x409, 2}), Utf16Be("Book"));

    // Every table checksummed and aligned, the file's sum completed by head.checkSumAdjustment,
    // and every table but the names carried over unchanged.
    const auto old_tables = Tables(original);
    const auto new_tables = Tables(*renamed);
    ASSERT_EQ(old_tables.size(), new_tables.size());
    EXPECT_EQ(WordSum(*renamed), 0xB1B0AFBAu);
    for (const auto& [tag, table] : new_tables) {
        SCOPED_TRACE(tag);
        ASSERT_TRUE(old_tables.count(tag));
        EXPECT_EQ(table.offset % 4, 0u);
        const std::string data = WithoutAdjustment(tag, table.data);
        EXPECT_EQ(table.checksum, WordSum(data));
        if (tag != "name") {
            EXPECT_EQ(data, WithoutAdjustment(tag, old_tables.at(tag).data));
        }
    }
}

TEST(FontRename, RefusesWhatItCannotRewrite) {
    const std::string font = test::ReadHostFile(kDejaVuSans);
    std::string collection = font;
    collection.replace(0, 4, "ttcf");
    std::string name_beyond_end = font;
    size_t entry = 12;
    while (font.substr(entry, 4) != "name") {
        entry += 16;
    }
    name_beyond_end.replace(entry + 8, 4, "\x7F\xFF\xFF\xF0");
    const std::string refused[] = {collection, name_beyond_end, font.substr(0, 200),
                                   std::string("\0\1\0\0", 4), "GIF89a, not a font"};
    for (size_t i = 0; i < std::size(refused); ++i) {
        EXPECT_FALSE(sample::RenameFont(refused[i], kNaming).has_value()) << i;
    }
    EXPECT_FALSE(sample::RenameFont(font, {"Square721 AT", "Square721 AT", "Square721 AT"}).has_value());
    EXPECT_FALSE(sample::RenameFont(font, {"Square\xE9 AT", "Square AT", "SquareAT"}).has_value());
}

TEST(SampleFonts, TheLabelsFacesAreTheDiscsFonts) {
    TempDir dir;
    std::string error;
    ASSERT_TRUE(sample::WriteSampleDisc(dir / "disc", {}, error)) << error;
    PosixPlatform posix(PosixPlatformOptions{
        .pc_root = (dir / "pc").string(), .disc_dir = (dir / "disc").string(), .scan_media = false});
    ASSERT_TRUE(posix.disc_letter().has_value());
    const std::string kavlo = std::string(1, *posix.disc_letter()) + ":\\KAVLO\\";
    PosixFonts& fonts = posix.fonts();
    ASSERT_EQ(fonts.AddFontResource(kavlo + "bb.jpg"), 1);
    ASSERT_EQ(fonts.AddFontResource(kavlo + "bc.jpg"), 1);

    const std::string regular = (dir / "disc/KAVLO/bb.jpg").string();
    const std::string bold = (dir / "disc/KAVLO/bc.jpg").string();
    EXPECT_EQ(fonts.FindFace("Square721 AT"), regular);
    EXPECT_EQ(fonts.FindFace("Square721 BdEx AT"), bold);
    EXPECT_FALSE(fonts.FindFace("DejaVu Sans").has_value());

    FontResolver resolver(fonts);
    const FontSpec date{.name = "Square721 AT", .height = -11};
    const FontSpec number{.name = "Square721 BdEx AT", .height = -29, .bold = true};
    EXPECT_EQ(resolver.Locate(date), (FaceSource{regular, 0, FaceOrigin::Registered}));
    EXPECT_EQ(resolver.Locate(number), (FaceSource{bold, 0, FaceOrigin::Registered}));
    for (const FontSpec& font : {date, number}) {
        SCOPED_TRACE(font.name);
        SizedFace* face = resolver.Resolve(font);
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(std::string(face->face()->family_name), font.name);
        EXPECT_NE(face->GlyphIndex(U'0'), 0u);
        // The bold face is bold of its own, not thickened from the regular one.
        EXPECT_EQ((face->face()->style_flags & FT_STYLE_FLAG_BOLD) != 0, font.bold);
        EXPECT_FALSE(face->synthetic_bold());
    }
}

} // namespace
} // namespace kavlo
