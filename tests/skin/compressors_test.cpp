#include <gtest/gtest.h>

#include <string>

#include "skin/formats/compressor.h"
#include "skin/formats/lzh.h"
#include "skin/formats/shuffle4_rle.h"

namespace kavlo {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values) {
        bytes += static_cast<char>(v);
    }
    return bytes;
}

TEST(Guid, TextAndWindowsByteLayout) {
    const auto guid = Guid::Parse("{bc0c10fc-e045-41e7-a37c-b86af21320b8}");
    ASSERT_TRUE(guid);
    EXPECT_EQ(guid->ToString(), "{BC0C10FC-E045-41E7-A37C-B86AF21320B8}");
    std::string bytes;
    guid->AppendBytes(bytes);
    // Data1..Data3 little-endian, Data4 as written.
    EXPECT_EQ(bytes, Bytes({0xFC, 0x10, 0x0C, 0xBC, 0x45, 0xE0, 0xE7, 0x41, 0xA3, 0x7C, 0xB8, 0x6A, 0xF2,
                            0x13, 0x20, 0xB8}));
    EXPECT_EQ(Guid::FromBytes(bytes), *guid);
}

TEST(Guid, RejectsMalformedText) {
    const char* const cases[] = {
        "BC0C10FC-E045-41E7-A37C-B86AF21320B8",   // no braces
        "{BC0C10FC-E045-41E7-A37C-B86AF21320B}",  // one digit short
        "{BC0C10FC-E045-41E7-A37C-B86AF21320BX}", // not hex
        "{BC0C10FCE-045-41E7-A37C-B86AF21320B8}", // dash misplaced
        "",
    };
    for (const char* text : cases) {
        EXPECT_FALSE(Guid::Parse(text)) << text;
    }
}

TEST(CompressorRegistry, FindsTheStandardCompressorsByIdAndName) {
    const CompressorRegistry registry = CompressorRegistry::WithStandardCompressors();
    struct Case {
        const char* name;
        const char* id;
    };
    const Case cases[] = {{"DIB LZH", "{BC0C10FC-E045-41E7-A37C-B86AF21320B8}"},
                          {"Shuffle4 RLE", "{CABA9056-7349-43A4-B010-3764FBFAC230}"}};
    for (const Case& c : cases) {
        const Compressor* by_id = registry.Find(*Guid::Parse(c.id));
        ASSERT_NE(by_id, nullptr) << c.name;
        EXPECT_EQ(by_id->Name(), c.name);
        EXPECT_EQ(registry.FindByName(c.name), by_id);
    }
    EXPECT_EQ(registry.Find(Guid{}), nullptr);
    EXPECT_EQ(registry.FindByName("dib lzh"), nullptr);
}

TEST(CompressorRegistry, RefusesASecondCompressorWithTheSameId) {
    CompressorRegistry registry = CompressorRegistry::WithStandardCompressors();
    EXPECT_FALSE(registry.Register(std::make_unique<LzhCompressor>()));
    EXPECT_FALSE(registry.Register(nullptr));
    EXPECT_EQ(registry.All().size(), 2u);
}

TEST(Shuffle4, GroupsBytesByPlane) {
    struct Case {
        std::string bytes;
        std::string planes;
    };
    const Case cases[] = {
        {"", ""},
        {"abcd", "abcd"},
        {"abcdABCD", "aAbBcCdD"},
        {"abcdABCD123", "aAbBcCdD123"}, // bytes after the last whole group stay at the end
        {"xy", "xy"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Shuffle4(c.bytes), c.planes) << c.bytes;
        EXPECT_EQ(Unshuffle4(c.planes), c.bytes) << c.bytes;
    }
}

TEST(Rle, PairsOfCountAndValue) {
    struct Case {
        std::string bytes;
        std::string pairs;
    };
    const Case cases[] = {
        {"", ""},
        {"a", Bytes({1, 'a'})},
        {"aaab", Bytes({3, 'a', 1, 'b'})},
        {std::string(255, 'z'), Bytes({255, 'z'})},
        {std::string(256, 'z'), Bytes({255, 'z', 1, 'z'})}, // a count never exceeds 255
        {std::string(600, '\0'), Bytes({255, 0, 255, 0, 90, 0})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RleEncode(c.bytes), c.pairs);
        CodecResult back = RleDecode(c.pairs, static_cast<uint32_t>(c.bytes.size()));
        ASSERT_TRUE(back.ok()) << back.error;
        EXPECT_EQ(back.bytes, c.bytes);
    }
}

TEST(Rle, RejectsPairsThatDoNotMakeTheDeclaredSize) {
    struct Case {
        const char* what;
        std::string pairs;
        uint32_t size;
    };
    const Case cases[] = {
        {"cut inside a pair", Bytes({3, 'a', 2}), 5},
        {"run of zero", Bytes({0, 'a', 3, 'b'}), 3},
        {"runs pass the size", Bytes({200, 'a', 200, 'b'}), 300},
        {"runs fall short", Bytes({2, 'a'}), 3},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(RleDecode(c.pairs, c.size).ok()) << c.what;
    }
}

TEST(Shuffle4Rle, PacksAnOpaquePictureIntoFewRuns) {
    // 16 x 16 opaque pixels of one colour behind the 4-byte header: four planes of 257 bytes, each
    // a header byte and 256 equal bytes (runs of 255 and 1), so 12 pairs.
    std::string raw = Bytes({16, 0, 16, 0});
    for (int i = 0; i < 256; ++i) {
        raw += Bytes({0x2F, 0x32, 0x2B, 0xFF});
    }
    const Shuffle4RleCompressor rle;
    CodecResult packed = rle.Compress(raw);
    ASSERT_TRUE(packed.ok());
    EXPECT_EQ(packed.bytes.size(), 24u);
    CodecResult back = rle.Decompress(packed.bytes, static_cast<uint32_t>(raw.size()));
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(back.bytes, raw);
    EXPECT_FALSE(rle.Decompress(packed.bytes, kMaxUnpackedSize + 1).ok());
}

} // namespace
} // namespace kavlo
