#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "skin/formats/lzh.h"

namespace kavlo {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values) {
        bytes += static_cast<char>(v);
    }
    return bytes;
}

std::string Unlimited(std::string_view raw) {
    CodecResult packed = LzhEncode(raw, SIZE_MAX);
    EXPECT_TRUE(packed.ok()) << packed.error;
    return packed.bytes;
}

// Streams worked out by hand from the coding rules, so the encoder and the decoder cannot agree on
// a shared mistake. Fresh tree: node m's parent is 314 + m / 2, a code bit is 1 for an odd node.
//   literal 'A' (leaf 65): 65 346 487 557 592 610 619 623 625 -> root first 111001101
//   length 3 (symbol 256): 256 442 535 581 604 616 622 625   -> root first 10001100
//   position p: the 3..8-bit code of p >> 6 (0 -> 000, 1 -> 0010), then p & 63 in 6 bits.
// The window starts as spaces up to 4036, so "   " is a match; of the equal candidates the encoder
// takes the nearest, distance 1 (position 0), copying the space at 4035 forward.
// After 'A' only leaves 65 and 313 swap places, so the code of symbol 256 stays the same.
struct KnownStream {
    const char* what;
    std::string raw;
    std::string payload;
};

const KnownStream kKnownStreams[] = {
    {"one literal", "A", Bytes({1, 0, 0, 0, 0xE6, 0x80})},
    {"match into the initial spaces", "   ", Bytes({3, 0, 0, 0, 0x8C, 0x00, 0x00})},
    {"literal then overlapping match", "AAAA", Bytes({4, 0, 0, 0, 0xE6, 0xC6, 0x00, 0x00})},
    {"empty", "", Bytes({0, 0, 0, 0})},
};

TEST(Lzh, KnownStreamsEncodeAndDecode) {
    for (const KnownStream& known : kKnownStreams) {
        SCOPED_TRACE(known.what);
        EXPECT_EQ(Unlimited(known.raw), known.payload);
        CodecResult raw = LzhDecode(known.payload);
        ASSERT_TRUE(raw.ok()) << raw.error;
        EXPECT_EQ(raw.bytes, known.raw);
    }
}

TEST(Lzh, DecodesEveryWayOfReachingTheInitialSpaces) {
    // Symbol 256 (length 3) with other positions an encoder may choose: 59 (000 111011) and 100
    // (upper 1 -> 0010, lower 36 -> 100100); both land in the spaces.
    const std::string payloads[] = {Bytes({3, 0, 0, 0, 0x8C, 0x1D, 0x80}),
                                    Bytes({3, 0, 0, 0, 0x8C, 0x29, 0x00})};
    for (const std::string& payload : payloads) {
        CodecResult raw = LzhDecode(payload);
        ASSERT_TRUE(raw.ok()) << raw.error;
        EXPECT_EQ(raw.bytes, "   ");
    }
}

std::string RandomBytes(size_t size, int alphabet, uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pick(0, alphabet - 1);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(pick(random));
    }
    return bytes;
}

// A picture as the skin has them: gradients, flat areas and a repeated motif, BGRA bottom-up.
std::string ImageLike(int width, int height) {
    std::string bytes;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool flat = (x / 16 + y / 16) % 3 == 0;
            bytes += static_cast<char>(flat ? 0x2F : (x * 255) / width);
            bytes += static_cast<char>(flat ? 0x32 : (y * 255) / height);
            bytes += static_cast<char>(flat ? 0x2B : ((x ^ y) & 0x1F) + 0x40);
            bytes += static_cast<char>(0xFF);
        }
    }
    return bytes;
}

TEST(Lzh, RoundTrips) {
    struct Case {
        const char* what;
        std::string raw;
    };
    const Case cases[] = {
        {"random bytes, every literal", RandomBytes(20000, 256, 1)},
        {"random over four letters", RandomBytes(70000, 4, 2)},
        {"long run (matches of 60 back to back)", std::string(100000, 'x')},
        {"spaces, matching the initial window", std::string(5000, ' ')},
        {"image-like, many tree rebuilds", ImageLike(300, 200)},
        {"window wrap with distant repeats",
         RandomBytes(3000, 256, 3) + RandomBytes(5000, 3, 4) + RandomBytes(3000, 256, 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CodecResult raw = LzhDecode(Unlimited(c.raw));
        ASSERT_TRUE(raw.ok()) << raw.error;
        EXPECT_TRUE(raw.bytes == c.raw);
    }
}

TEST(Lzh, EncoderGivesUpWhenPackingDoesNotPay) {
    const std::string cases[] = {RandomBytes(4096, 256, 7), "", "AB"};
    for (const std::string& raw : cases) {
        CodecResult packed = LzhEncode(raw);
        EXPECT_FALSE(packed.ok());
        EXPECT_EQ(packed.error, "Compressed file is larger than the original.");
    }
    EXPECT_TRUE(LzhEncode(std::string(4096, 'q')).ok());
}

TEST(Lzh, HostileStreamsFailCleanly) {
    const std::string valid = Unlimited(ImageLike(40, 30));
    struct Case {
        const char* what;
        std::string payload;
    };
    const Case cases[] = {
        {"no length", Bytes({1, 0})},
        {"length far beyond any picture", Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xE6, 0x80})},
        {"length without a stream", Bytes({5, 0, 0, 0})},
        {"match of 3 where 2 bytes are declared", Bytes({2, 0, 0, 0, 0x8C, 0x1D, 0x80})},
        {"cut in the middle", valid.substr(0, valid.size() / 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CodecResult raw = LzhDecode(c.payload);
        EXPECT_FALSE(raw.ok());
        EXPECT_EQ(raw.error.rfind("LZH : ", 0), 0u) << raw.error;
    }
}

TEST(Lzh, EveryCutOfAStreamIsAnError) {
    // The last byte always holds at least one bit of the last code, so no cut decodes.
    const std::string payload = Unlimited(ImageLike(24, 20));
    for (size_t cut = 0; cut < payload.size(); ++cut) {
        EXPECT_FALSE(LzhDecode(payload.substr(0, cut)).ok()) << "cut at " << cut;
    }
    EXPECT_TRUE(LzhDecode(payload + "trailing").ok());
}

TEST(Lzh, CompressorChecksTheContainerSize) {
    LzhCompressor lzh;
    EXPECT_EQ(lzh.Name(), "DIB LZH");
    EXPECT_EQ(lzh.Id().ToString(), "{BC0C10FC-E045-41E7-A37C-B86AF21320B8}");
    const std::string raw = ImageLike(20, 20);
    CodecResult packed = lzh.Compress(raw);
    ASSERT_TRUE(packed.ok()) << packed.error;
    EXPECT_TRUE(lzh.Decompress(packed.bytes, static_cast<uint32_t>(raw.size())).bytes == raw);
    EXPECT_FALSE(lzh.Decompress(packed.bytes, static_cast<uint32_t>(raw.size() + 4)).ok());
}

} // namespace
} // namespace kavlo
