// The drawing primitives: coverage, fill rules, paints, compositing, masks and the generator.
#include <gtest/gtest.h>

#include <cmath>

#include "skingen/canvas.h"
#include "skingen/effects.h"
#include "skingen/geometry.h"
#include "skingen/noise.h"
#include "skingen/raster.h"

namespace kavlo::skingen {
namespace {

double Sum(const Mask& m) {
    double s = 0;
    for (int y = 0; y < m.Height(); ++y) {
        for (int x = 0; x < m.Width(); ++x) {
            s += m.At(x, y);
        }
    }
    return s;
}

TEST(Raster, CoverageOfShapesMatchesTheirArea) {
    struct Case {
        const char* what;
        Path path;
        double area;
        double tolerance;
    };
    const Case cases[] = {
        {"whole pixels", RectPath(2, 3, 5, 4), 20, 1e-4},
        {"fractional edges", RectPath(1.25, 2.5, 3.5, 2.25), 7.875, 0.05},
        {"triangle", Polygon({{1, 1}, {15, 1}, {1, 15}}), 98, 0.1},
        {"circle", Circle({16, 16}, 10), kPi * 100, 0.1},
        {"round rect", RoundRect(2, 2, 20, 10, 4), 200 - (4 - kPi) * 16, 0.1},
        {"half ring", ArcBand({16, 16}, 8, 2, 0, 180), kPi * 8 * 2, 0.1},
        {"small circle", Circle({5, 5}, 1.5), kPi * 2.25, 0.02},
    };
    for (const Case& c : cases) {
        Mask m = Rasterize(c.path, 32, 32);
        EXPECT_NEAR(Sum(m), c.area, c.tolerance) << c.what;
    }
}

TEST(Raster, PartialPixelsCarryTheirShare) {
    Mask m = Rasterize(RectPath(1.25, 0, 2.5, 1), 5, 1);
    const float expected[] = {0, 0.75f, 1, 0.75f, 0};
    for (int x = 0; x < 5; ++x) {
        EXPECT_NEAR(m.At(x, 0), expected[x], 1e-5) << x;
    }
    // Rows are sampled 16 times: a shape covering the top quarter of a row covers a quarter.
    Mask top = Rasterize(RectPath(0, 0, 1, 0.25), 1, 1);
    EXPECT_NEAR(top.At(0, 0), 0.25f, 1e-5);
}

TEST(Raster, FillRulesDecideTheStarsMiddle) {
    // A pentagram drawn in one stroke crosses itself: its middle is wound twice.
    std::vector<Vec2> pts;
    for (int i = 0; i < 5; ++i) {
        pts.push_back(Polar({20, 20}, 18, -90 + i * 144));
    }
    Path star = Polygon(pts);
    EXPECT_FLOAT_EQ(Rasterize(star, 40, 40, FillRule::NonZero).At(20, 20), 1.0f);
    EXPECT_FLOAT_EQ(Rasterize(star, 40, 40, FillRule::EvenOdd).At(20, 20), 0.0f);
    // A tip is wound once: covered under both rules.
    EXPECT_FLOAT_EQ(Rasterize(star, 40, 40, FillRule::EvenOdd).At(20, 10), 1.0f);
}

TEST(Raster, OrientedContoursUniteAndReversedOnesCut) {
    Path two = RectPath(0, 0, 6, 4);
    two.Add(Polygon({{3, 0}, {3, 4}, {9, 4}, {9, 0}})); // drawn the other way round
    EXPECT_NEAR(Sum(Rasterize(two, 10, 4)), 24, 1e-4) << "opposite windings cancel where they overlap";
    EXPECT_NEAR(Sum(Rasterize(two.Oriented(), 10, 4)), 36, 1e-4) << "turned alike, the overlap counts once";
    Path ring = Circle({10, 10}, 8).Oriented();
    ring.Add(Circle({10, 10}, 4).Reversed());
    Mask m = Rasterize(ring, 20, 20);
    EXPECT_FLOAT_EQ(m.At(10, 10), 0.0f);
    EXPECT_FLOAT_EQ(m.At(10, 4), 1.0f);
}

TEST(Raster, StrokesCoverTheirPenWidth) {
    Mask line = Rasterize(Stroke({{2, 10}, {18, 10}}, 4, Cap::Butt), 20, 20);
    EXPECT_NEAR(Sum(line), 64, 0.1);
    Mask round = Rasterize(Stroke({{2, 10}, {18, 10}}, 4, Cap::Round), 20, 20);
    EXPECT_NEAR(Sum(round), 64 + kPi * 4, 0.1) << "two half discs added at the ends";
    // Two arms of 16 sharing one pixel, and the quarter of the round join outside both.
    Mask bent = Rasterize(Stroke({{2, 2}, {10, 2}, {10, 10}}, 2, Cap::Butt), 20, 20);
    EXPECT_NEAR(Sum(bent), 31 + kPi / 4, 0.05);
}

TEST(Raster, MaskBoxHoldsEveryCoveredPixel) {
    Mask m = Rasterize(RectPath(5.5, 6, 3, 2), 20, 20);
    EXPECT_EQ(m.X0(), 5);
    EXPECT_EQ(m.X1(), 9);
    EXPECT_EQ(m.Y0(), 6);
    EXPECT_EQ(m.Y1(), 8);
    Mask empty = Rasterize(RectPath(30, 30, 3, 3), 20, 20);
    EXPECT_EQ(empty.X1() - empty.X0(), 0);
}

TEST(Paint, GradientsReachTheirStops) {
    Paint lin = Linear({0, 0}, {10, 0}, {{0, Hex(0x000000)}, {1, Hex(0xFFFFFF)}});
    EXPECT_EQ(lin(-5, 3), Hex(0x000000));
    EXPECT_EQ(lin(15, 3), Hex(0xFFFFFF));
    EXPECT_NEAR(lin(5, 100).g, 0.5f, 1e-6);
    Paint rad = Radial({10, 10}, 4, {{0, Hex(0xFF0000)}, {0.5f, Hex(0x00FF00)}, {1, Hex(0x0000FF)}});
    EXPECT_EQ(rad(10, 10), Hex(0xFF0000));
    EXPECT_EQ(rad(12, 10), Hex(0x00FF00));
    EXPECT_EQ(rad(10, 30), Hex(0x0000FF));
}

TEST(Paint, VerticalBrushingDependsOnXAlone) {
    Paint p = Brushed(Solid(Hex(0x808080)), 7, 0.3f, true);
    for (double x : {0.5, 13.5, 200.5}) {
        EXPECT_EQ(p(x, 1.5), p(x, 377.5)) << x;
    }
    EXPECT_NE(p(10.5, 1.5), p(11.5, 1.5)) << "the streaks vary across";
}

TEST(Compositing, OverAddAndMultiply) {
    struct Case {
        const char* what;
        Blend blend;
        Rgba paint;
        float opacity;
        uint32_t expected; // 0xAARRGGBB of the white pixel afterwards
    };
    const Case cases[] = {
        {"half black over white", Blend::Over, Hex(0x000000), 0.5f, 0xFF808080},
        {"opaque red over white", Blend::Over, Hex(0xFF0000), 1, 0xFFFF0000},
        {"transparent paint", Blend::Over, Hex(0x00FF00, 0), 1, 0xFFFFFFFF},
        {"multiply by grey", Blend::Multiply, Hex(0x808080), 1, 0xFF808080},
        {"add never passes white", Blend::Add, Hex(0xFFFFFF), 1, 0xFFFFFFFF},
    };
    for (const Case& c : cases) {
        Canvas canvas(1, 1, Hex(0xFFFFFF));
        canvas.Fill(RectPath(0, 0, 1, 1), Solid(c.paint), FillRule::NonZero, c.opacity, c.blend);
        EXPECT_EQ(canvas.TopDown()[0], c.expected) << c.what;
    }
    Canvas dark(1, 1, Hex(0x000000));
    dark.Fill(RectPath(0, 0, 1, 1), Solid(Hex(0x404040)), FillRule::NonZero, 1, Blend::Add);
    dark.Fill(RectPath(0, 0, 1, 1), Solid(Hex(0x404040)), FillRule::NonZero, 1, Blend::Add);
    EXPECT_EQ(dark.TopDown()[0], 0xFF808080u);
}

TEST(Compositing, TransparentCanvasKeepsStraightColours) {
    Canvas c(2, 1);
    c.Fill(RectPath(0, 0, 1, 1), Solid(Hex(0x336699, 0.5f)));
    std::vector<uint32_t> px = c.TopDown();
    EXPECT_EQ(px[0], 0x80336699u) << "half alpha, the colour itself unchanged";
    EXPECT_EQ(px[1], 0x00000000u);
}

TEST(Compositing, RowOrders) {
    Canvas c(2, 3, Hex(0x000000));
    c.Fill(RectPath(0, 0, 2, 1), Solid(Hex(0xFF0000))); // top row red
    c.Fill(RectPath(0, 2, 2, 1), Solid(Hex(0x0000FF))); // bottom row blue
    EXPECT_EQ(c.TopDown()[0], 0xFFFF0000u);
    EXPECT_EQ(c.BottomUp()[0], 0xFF0000FFu) << "stored order starts with the bottom row";
    EXPECT_EQ(c.BottomUp()[5], 0xFFFF0000u);
}

TEST(Compositing, CropAndDrawPlacePixels) {
    Canvas src(4, 4, Hex(0x000000));
    src.Fill(RectPath(2, 1, 1, 1), Solid(Hex(0xFFFFFF)));
    Canvas piece = src.Crop(2, 1, 2, 2);
    EXPECT_EQ(piece.TopDown()[0], 0xFFFFFFFFu);
    Canvas dst(3, 3, Hex(0x000000));
    dst.Draw(piece, 1, 1);
    EXPECT_EQ(dst.TopDown()[1 * 3 + 1], 0xFFFFFFFFu);
    EXPECT_EQ(dst.TopDown()[0], 0xFF000000u);
}

TEST(Effects, BlurSpreadsButKeepsTheAmount) {
    Mask dot = Rasterize(RectPath(20, 20, 4, 4), 44, 44);
    Mask soft = Blur(dot, 2.5f);
    EXPECT_NEAR(Sum(soft), 16, 0.01);
    EXPECT_LT(soft.At(21, 21), 1.0f);
    EXPECT_GT(soft.At(17, 21), 0.0f) << "coverage reaches outside the square";
    EXPECT_NEAR(soft.At(21, 21), soft.At(22, 22), 1e-5) << "symmetric about the square's middle";
}

TEST(Effects, ShiftsAndMaskAlgebra) {
    Mask a = Rasterize(RectPath(2, 2, 4, 4), 10, 10);
    Mask moved = Shifted(a, 3, 1);
    EXPECT_FLOAT_EQ(moved.At(5, 3), 1.0f);
    EXPECT_FLOAT_EQ(moved.At(2, 2), 0.0f);
    EXPECT_NEAR(Shifted(a, 0.5f, 0).At(6, 3), 0.5f, 1e-6);
    Mask b = Rasterize(RectPath(4, 2, 4, 4), 10, 10);
    EXPECT_NEAR(Sum(Multiply(a, b)), 8, 1e-4);
    EXPECT_NEAR(Sum(Subtract(a, b)), 8, 1e-4);
    EXPECT_NEAR(Sum(Union(a, b)), 24, 1e-4);
    EXPECT_NEAR(Sum(Inverted(a)), 100 - 16, 1e-4);
    Mask top = EdgeBand(a, 0, 1);
    EXPECT_NEAR(Sum(top), 4, 1e-4) << "one row: the rim facing up";
    EXPECT_FLOAT_EQ(top.At(3, 2), 1.0f);
}

TEST(Noise, GeneratorIsTheSameEverywhere) {
    // SplitMix64's published first outputs for seed 0.
    Rng rng(0);
    EXPECT_EQ(rng.Next(), 0xE220A8397B1DCDAFull);
    EXPECT_EQ(rng.Next(), 0x6E789E6AA1B965F4ull);
    for (double x : {0.0, 3.0, -7.0}) {
        EXPECT_GE(ValueNoise(x + 0.3, 2.7, 9), -1.0);
        EXPECT_LE(ValueNoise(x + 0.3, 2.7, 9), 1.0);
        EXPECT_EQ(ValueNoise(x + 0.3, 2.7, 9), ValueNoise(x + 0.3, 2.7, 9));
    }
    EXPECT_NE(ValueNoise(0.5, 0.5, 1), ValueNoise(0.5, 0.5, 2)) << "the seed matters";
}

} // namespace
} // namespace kavlo::skingen
