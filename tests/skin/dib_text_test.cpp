#include <gtest/gtest.h>

#include <map>
#include <string>

#include "skin/surface/win_dib.h"
#include "skin/text/font_resolver.h"

namespace kavlo {
namespace {

// No registered fonts and no fontconfig: every family falls back to DejaVu Sans.
class NoFonts : public Fonts {
public:
    int AddFontResource(std::string_view) override { return 0; }
    bool RemoveFontResource(std::string_view) override { return false; }
    void BroadcastFontChange() override {}
    std::optional<std::string> FindFace(std::string_view) const override { return std::nullopt; }
    std::vector<std::string> Families() const override { return {}; }
};

class CanvasTextTest : public ::testing::Test {
protected:
    NoFonts no_fonts_;
    FontResolver fonts_{no_fonts_, {.use_fontconfig = false}};
    const FontSpec font_{.name = "Tahoma", .height = -20, .bold = true};
};

constexpr uint32_t kBackground = 0x7F102030u;

TEST_F(CanvasTextTest, ColourWeightedByCoverageAlphaKept) {
    ASSERT_TRUE(fonts_.ok());
    TWinDIB dib(40, 30);
    dib.Fill(kBackground);
    const Rect box{2, 3, 38, 29};
    const Rect drawn = dib.DrawText(fonts_, box, "HM", font_, 0x0000FF, kDtLeft | kDtSingleLine);
    const TextMask mask = Render(fonts_, font_, "HM", box, kDtLeft | kDtSingleLine);
    EXPECT_EQ(drawn, mask.box);

    int full = 0;
    int partial = 0;
    for (int y = 0; y < dib.Height(); ++y) {
        for (int x = 0; x < dib.Width(); ++x) {
            const uint32_t pixel = dib.Pixel(x, y);
            const uint8_t coverage = mask.At(x, y);
            if (coverage == 0) {
                ASSERT_EQ(pixel, kBackground) << x << ',' << y;
            } else if (coverage == 255) {
                ASSERT_EQ(pixel, 0x7FFF0000u) << x << ',' << y;
                ++full;
            } else {
                ++partial;
                ASSERT_EQ(pixel >> 24, 0x7Fu);
                const uint32_t red = (pixel >> 16) & 0xFF;
                // Coverage is a weight of 255 parts, rounded.
                const int expected_red = (255 * coverage + 0x10 * (255 - coverage) + 127) / 255;
                ASSERT_EQ(static_cast<int>(red), expected_red);
            }
        }
    }
    EXPECT_GT(full, 20) << "the stems of H and M are fully covered";
    EXPECT_GT(partial, 0) << "edges are anti-aliased";
}

TEST_F(CanvasTextTest, MeasuringDrawsNothingAndClippingIsSafe) {
    TWinDIB dib(20, 10);
    dib.Fill(kBackground);
    const Rect needed =
        dib.DrawText(fonts_, {0, 0, 20, 10}, "Wide text", font_, 0, kDtCalcRect | kDtSingleLine);
    EXPECT_GT(needed.Width(), 20);
    for (int y = 0; y < dib.Height(); ++y) {
        for (int x = 0; x < dib.Width(); ++x) {
            ASSERT_EQ(dib.Pixel(x, y), kBackground);
        }
    }
    // Boxes hanging over every edge of the surface.
    dib.DrawText(fonts_, {-15, -12, 30, 25}, "Wide text", font_, 0, kDtCenter | kDtVCenter | kDtSingleLine);
    dib.DrawText(fonts_, {-400, 0, -300, 10}, "x", font_, 0, kDtSingleLine);
    TWinDIB empty;
    empty.DrawText(fonts_, {0, 0, 10, 10}, "x", font_, 0, kDtSingleLine);
    bool touched = false;
    for (int y = 0; y < dib.Height(); ++y) {
        for (int x = 0; x < dib.Width(); ++x) {
            touched = touched || dib.Pixel(x, y) != kBackground;
        }
    }
    EXPECT_TRUE(touched);
}

} // namespace
} // namespace kavlo
