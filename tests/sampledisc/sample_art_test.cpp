// The pieces the sample disc's pictures are made of: the pen letters of the titles and picture numbers,
// and the JPEG encoder of the galleries.

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "sampledisc/jpeg_writer.h"
#include "sampledisc/stroke_letters.h"
#include "skin/formats/picture.h"
#include "skingen/raster.h"

namespace kavlo {
namespace {

using skingen::Canvas;
using skingen::Hex;
using skingen::Mask;

// Coverage rounded to on/off, for comparing shapes.
std::vector<bool> Covered(const Mask& mask) {
    std::vector<bool> on;
    for (int y = 0; y < mask.Height(); ++y) {
        for (int x = 0; x < mask.Width(); ++x) {
            on.push_back(mask.At(x, y) > 0.5f);
        }
    }
    return on;
}

TEST(StrokeLetters, EveryCharacterIsDrawnInsideItsCellAndNoTwoAlike) {
    constexpr double kHeight = 18, kStroke = 2, kMargin = 4;
    const double width = sample::LetterWidth("A", kHeight);
    EXPECT_DOUBLE_EQ(width, kHeight * 4 / 6);
    std::set<std::vector<bool>> shapes;
    const std::string characters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/";
    for (char c : characters) {
        const std::string text(1, c);
        const Mask mask = skingen::Rasterize(sample::LetterPath(text, {kMargin, kMargin}, kHeight, kStroke),
                                             static_cast<int>(width + 2 * kMargin),
                                             static_cast<int>(kHeight + 2 * kMargin));
        ASSERT_GT(mask.X1(), mask.X0()) << c << " draws nothing";
        // The pen's half width may reach past the cell, no more.
        EXPECT_GE(mask.X0(), kMargin - kStroke / 2 - 1) << c;
        EXPECT_LE(mask.X1(), kMargin + width + kStroke / 2 + 1) << c;
        EXPECT_GE(mask.Y0(), kMargin - kStroke / 2 - 1) << c;
        EXPECT_LE(mask.Y1(), kMargin + kHeight + kStroke / 2 + 1) << c;
        EXPECT_TRUE(shapes.insert(Covered(mask)).second) << c << " looks like another character";
    }
    // Characters follow one another at a steady advance, and unknown ones leave their gap.
    EXPECT_DOUBLE_EQ(sample::LetterWidth("A-A", kHeight), sample::LetterWidth("AAA", kHeight));
    const Mask gap = skingen::Rasterize(sample::LetterPath("I I", {0, 0}, kHeight, kStroke), 80, 30);
    const Mask two = skingen::Rasterize(sample::LetterPath("II", {0, 0}, kHeight, kStroke), 80, 30);
    EXPECT_GT(gap.X1(), two.X1());
}

uint32_t PixelAt(const Picture& p, int x, int y) {
    return p.pixels[static_cast<size_t>(p.height - 1 - y) * p.width + x];
}

bool Near(uint32_t argb, uint32_t rgb) {
    for (int shift : {0, 8, 16}) {
        if (std::abs(static_cast<int>((argb >> shift) & 0xFF) - static_cast<int>((rgb >> shift) & 0xFF)) >
            12) {
            return false;
        }
    }
    return true;
}

TEST(JpegWriter, DecodesToTheCanvasColoursInTheirPlaces) {
    Canvas canvas(64, 48, Hex(0xC03020));
    canvas.Fill(skingen::RectPath(32, 16, 32, 32), skingen::Solid(Hex(0x2040C0)));
    canvas.Fill(skingen::RectPath(0, 0, 64, 16), skingen::Solid(Hex(0x30B040)));
    const std::optional<std::string> jpeg = sample::EncodeJpeg(canvas, 85);
    ASSERT_TRUE(jpeg);
    const PictureResult decoded = LoadPicture(*jpeg);
    ASSERT_TRUE(decoded) << decoded.error;
    const Picture& p = *decoded.picture;
    ASSERT_EQ(p.width, 64);
    ASSERT_EQ(p.height, 48);
    EXPECT_TRUE(Near(PixelAt(p, 32, 4), 0x30B040)) << std::hex << PixelAt(p, 32, 4);
    EXPECT_TRUE(Near(PixelAt(p, 12, 36), 0xC03020)) << std::hex << PixelAt(p, 12, 36);
    EXPECT_TRUE(Near(PixelAt(p, 52, 36), 0x2040C0)) << std::hex << PixelAt(p, 52, 36);
    // Smaller than the pixels themselves: the encoder compresses.
    EXPECT_LT(jpeg->size(), 64u * 48 * 3 / 4);
}

} // namespace
} // namespace kavlo
