// Bitmap files and the 256-colour reduction: headers as Windows reads them, and the menu's own
// picture reader sees the pixels that were written.
#include <gtest/gtest.h>

#include <set>

#include "skin/formats/picture.h"
#include "skingen/bmp_writer.h"

namespace kavlo::skingen {
namespace {

uint32_t Le(const std::string& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | static_cast<uint8_t>(b[at + i]);
    }
    return v;
}

struct Header {
    uint32_t file_size, offset, width, height, bits, colours;
};
Header Read(const std::string& b) {
    return {Le(b, 2, 4), Le(b, 10, 4), Le(b, 18, 4), Le(b, 22, 4), Le(b, 28, 2), Le(b, 46, 4)};
}

TEST(Bmp, HeadersAndSizes) {
    Canvas c(3, 2, Hex(0x102030));
    IndexedPicture p{5, 3, {0x000000, 0xFFFFFF}, std::vector<uint8_t>(15, 1)};
    struct Case {
        const char* what;
        std::string bytes;
        Header expected;
    };
    const Case cases[] = {
        // rows of 9 bytes are padded to 12
        {"24-bit", Bmp24(c), {54 + 12 * 2, 54, 3, 2, 24, 0}},
        // two palette entries; rows of 5 bytes padded to 8
        {"8-bit", Bmp8(p), {54 + 8 + 8 * 3, 62, 5, 3, 8, 2}},
        // 33 pixels need 5 bytes, padded to 8
        {"1-bit", Bmp1(33, 2, std::vector<bool>(66, false), 0, 0xFFFFFF), {54 + 8 + 8 * 2, 62, 33, 2, 1, 2}},
    };
    for (const Case& cs : cases) {
        ASSERT_EQ(cs.bytes.substr(0, 2), "BM") << cs.what;
        Header h = Read(cs.bytes);
        EXPECT_EQ(h.file_size, cs.bytes.size()) << cs.what;
        EXPECT_EQ(h.file_size, cs.expected.file_size) << cs.what;
        EXPECT_EQ(h.offset, cs.expected.offset) << cs.what;
        EXPECT_EQ(h.width, cs.expected.width) << cs.what;
        EXPECT_EQ(h.height, cs.expected.height) << cs.what;
        EXPECT_EQ(h.bits, cs.expected.bits) << cs.what;
        EXPECT_EQ(h.colours, cs.expected.colours) << cs.what;
    }
}

TEST(Bmp, PixelsReadBackThroughThePictureLoader) {
    Canvas c(3, 2, Hex(0x000000));
    c.Fill(RectPath(0, 0, 1, 1), Solid(Hex(0xFF8000))); // top-left
    c.Fill(RectPath(2, 1, 1, 1), Solid(Hex(0x0040FF))); // bottom-right
    PictureResult r = LoadPicture(Bmp24(c));
    ASSERT_TRUE(r) << r.error;
    EXPECT_EQ(r.picture->pixels, c.BottomUp());

    IndexedPicture p{2, 2, {0x112233, 0xAABBCC}, {0, 1, 1, 0}};
    PictureResult r8 = LoadPicture(Bmp8(p));
    ASSERT_TRUE(r8) << r8.error;
    // Bottom-up: the bottom row (1, 0) comes first.
    EXPECT_EQ(r8.picture->pixels, (std::vector<uint32_t>{0xFFAABBCC, 0xFF112233, 0xFF112233, 0xFFAABBCC}));

    std::vector<bool> set(9 * 2, false);
    set[0] = set[8] = set[9 + 4] = true;
    PictureResult r1 = LoadPicture(Bmp1(9, 2, set, 0x000000, 0xFFFFFF));
    ASSERT_TRUE(r1) << r1.error;
    auto at = [&](int x, int y) { return r1.picture->pixels[static_cast<size_t>(1 - y) * 9 + x] & 0xFFFFFF; };
    EXPECT_EQ(at(0, 0), 0xFFFFFFu) << "the first bit of a row is its leftmost pixel";
    EXPECT_EQ(at(8, 0), 0xFFFFFFu) << "the ninth pixel starts the second byte";
    EXPECT_EQ(at(1, 0), 0u);
    EXPECT_EQ(at(4, 1), 0xFFFFFFu);
}

TEST(Quantise, FewColoursStayExact) {
    Canvas c(8, 8, Hex(0x000000));
    c.Fill(RectPath(0, 0, 4, 8), Solid(Hex(0x3366CC)));
    c.Fill(RectPath(4, 4, 4, 4), Solid(Hex(0xEEDD11)));
    IndexedPicture p = Quantise(c);
    EXPECT_EQ(p.palette.size(), 3u);
    PictureResult r = LoadPicture(Bmp8(p));
    ASSERT_TRUE(r);
    EXPECT_EQ(r.picture->pixels, c.BottomUp());
}

TEST(Quantise, ManyColoursFitTheLimitAndStayClose) {
    Canvas c(256, 64);
    c.Fill(RectPath(0, 0, 256, 64), [](double x, double y) {
        return Rgba{float(x / 256), float(y / 64), float(0.5 + 0.4 * std::sin(x / 17 + y / 9)), 1};
    });
    // A uniform 6 x 6 x 6 palette would be off by about 13 a channel; the cut must do better.
    double previous = 1e9;
    for (int colours : {16, 256}) {
        IndexedPicture p = Quantise(c, colours);
        EXPECT_LE(p.palette.size(), size_t(colours));
        std::set<uint8_t> used(p.indexes.begin(), p.indexes.end());
        EXPECT_LE(used.size(), size_t(colours));
        std::vector<uint32_t> original = c.TopDown();
        double error = 0;
        for (size_t i = 0; i < original.size(); ++i) {
            uint32_t q = p.palette[p.indexes[i]];
            for (int s : {0, 8, 16}) {
                error += std::abs(int((original[i] >> s) & 0xFF) - int((q >> s) & 0xFF));
            }
        }
        double mean = error / (original.size() * 3);
        EXPECT_LT(mean, colours == 256 ? 8.0 : 30.0) << colours;
        EXPECT_LT(mean, previous) << "more colours, closer pixels";
        previous = mean;
    }
}

} // namespace
} // namespace kavlo::skingen
