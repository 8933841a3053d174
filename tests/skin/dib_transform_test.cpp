#include "skin/surface/dib_transform.h"

#include <gtest/gtest.h>

#include <vector>

#include "skin/surface/dib.h"

namespace kavlo {
namespace {

TEST(TransformedSizeTest, BoundingBoxOfScaledAndTurnedImage) {
    struct Case {
        int w, h, angle;
        long double sx, sy;
        Extent expected;
    };
    const Case cases[] = {
        {10, 20, 0, 100, 100, {10, 20}},     {10, 20, 30, 100, 100, {19, 22}}, // 8.66 + 10, 5 + 17.32
        {10, 20, -30, 100, 100, {19, 22}}, // the sign of the turn does not change the box
        {10, 20, 90, 100, 100, {20, 10}},    {10, 20, 180, 100, 100, {10, 20}},
        {10, 20, 450, 100, 100, {20, 10}},   {10, 20, 0, 50, 50, {5, 10}},
        {10, 20, 0, 200, 200, {20, 40}},     {10, 20, 30, 50, 200, {24, 37}}, // 4.33 + 20, 2.5 + 34.64
        {3, 3, 45, 100, 100, {4, 4}},                                         // 4.24
        {5, 1, 0, 50, 100, {3, 1}},                                           // 2.5 rounds away from zero
        {10, 20, 0, -100, 100, {10, 20}},    {10, 20, 0, 0, 100, {0, 20}},
        {638, 482, 0, 120, 120, {766, 578}}, // 765.6, 578.4
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TransformedSize(c.w, c.h, c.angle, c.sx, c.sy), c.expected)
            << c.w << 'x' << c.h << " at " << c.angle << " scale " << static_cast<double>(c.sx) << '/'
            << static_cast<double>(c.sy);
    }
}

// A surface whose pixel at (x, y) is 0xFF0000yx, so every pixel tells where it came from.
TMemoryDIB Numbered(uint16_t width, uint16_t height) {
    TMemoryDIB dib(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            dib.SetPixel(x, y, 0xFF000000u | static_cast<uint32_t>(y << 4 | x));
        }
    }
    return dib;
}

constexpr uint32_t o = 0x11111111u; // not drawn

std::vector<std::vector<uint32_t>> DrawInto(const TAbstractSuperDIB& src, uint16_t width, uint16_t height,
                                            int x = 0, int y = 0) {
    TMemoryDIB dst(width, height);
    dst.Fill(o);
    src.Draw(dst, x, y);
    std::vector<std::vector<uint32_t>> rows(height);
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            const uint32_t p = dst.Pixel(col, row);
            rows[row].push_back(p == o ? o : p & 0xFFu);
        }
    }
    return rows;
}

using Grid = std::vector<std::vector<uint32_t>>;

TEST(TransformDrawTest, QuarterTurnsMapPixelsExactly) {
    TMemoryDIB src = Numbered(3, 2);
    src.SetAngle(90); // counter-clockwise: the top-right pixel comes to the top-left
    EXPECT_EQ(DrawInto(src, 2, 3), (Grid{{0x02, 0x12}, {0x01, 0x11}, {0x00, 0x10}}));
    src.SetAngle(-90);
    EXPECT_EQ(DrawInto(src, 2, 3), (Grid{{0x10, 0x00}, {0x11, 0x01}, {0x12, 0x02}}));
    src.SetAngle(180);
    EXPECT_EQ(DrawInto(src, 3, 2), (Grid{{0x12, 0x11, 0x10}, {0x02, 0x01, 0x00}}));
    src.SetAngle(360);
    EXPECT_EQ(DrawInto(src, 3, 2), (Grid{{0x00, 0x01, 0x02}, {0x10, 0x11, 0x12}}));
}

TEST(TransformDrawTest, ScaleRepeatsOrSamplesPixels) {
    TMemoryDIB src = Numbered(2, 2);
    src.SetScale(200);
    EXPECT_EQ(DrawInto(src, 4, 4), (Grid{{0x00, 0x00, 0x01, 0x01},
                                         {0x00, 0x00, 0x01, 0x01},
                                         {0x10, 0x10, 0x11, 0x11},
                                         {0x10, 0x10, 0x11, 0x11}}));
    src.SetScaleX(100);
    EXPECT_EQ(DrawInto(src, 2, 4), (Grid{{0x00, 0x01}, {0x00, 0x01}, {0x10, 0x11}, {0x10, 0x11}}));

    TMemoryDIB big = Numbered(4, 4);
    big.SetScale(50);
    EXPECT_EQ(DrawInto(big, 3, 3), (Grid{{0x11, 0x13, o}, {0x31, 0x33, o}, {o, o, o}}));
}

TEST(TransformDrawTest, PixelsOutsideTheTurnedImageAreNotDrawn) {
    TMemoryDIB src(2, 2);
    src.Fill(0xFF000000u);
    src.SetAngle(45); // a diamond in a 3 x 3 box
    const Grid grid = DrawInto(src, 3, 3);
    EXPECT_EQ(grid[0][0], o);
    EXPECT_EQ(grid[0][2], o);
    EXPECT_EQ(grid[2][0], o);
    EXPECT_EQ(grid[2][2], o);
    EXPECT_EQ(grid[1][1], 0u);
    EXPECT_EQ(grid[0][1], 0u);
}

TEST(TransformDrawTest, ClippedAtTheDestinationEdges) {
    TMemoryDIB src = Numbered(2, 2);
    src.SetScale(200);
    EXPECT_EQ(DrawInto(src, 3, 3, -1, -2), (Grid{{0x10, 0x11, 0x11}, {0x10, 0x11, 0x11}, {o, o, o}}));
    EXPECT_EQ(DrawInto(src, 2, 2, 2, 0), (Grid{{o, o}, {o, o}}));
}

TEST(TransformDrawTest, DegenerateOrHugeScalesStayBounded) {
    TMemoryDIB src = Numbered(2, 2);
    src.SetScaleX(0);
    EXPECT_EQ(DrawInto(src, 2, 2), (Grid{{o, o}, {o, o}}));
    // A 2 x 2 image at ten million percent: only the destination's 4 x 4 is rendered.
    src.SetScale(1e7L);
    src.SetAngle(30);
    const Grid grid = DrawInto(src, 4, 4, -100000, -100000);
    EXPECT_NE(grid[0][0], o);
}

TEST(TransformDrawTest, KeepsRoutineAndFixesTheSourceKey) {
    // 180 degrees puts the key pixel (bottom-left of the source) at the top-right, and a plain pixel
    // at the bottom-left where an automatic key of the turned image would be taken from.
    TMemoryDIB src(2, 1);
    src.SetPixel(0, 0, 0xFF00FF00u);
    src.SetPixel(1, 0, 0xFF0000FFu);
    src.SetTransparent(true);
    src.SetAngle(180);
    TMemoryDIB dst(2, 1);
    dst.Fill(0xFF777777u);
    src.Draw(dst, 0, 0);
    EXPECT_EQ(dst.Pixel(0, 0), 0x000000FFu); // key copy: alpha cleared
    EXPECT_EQ(dst.Pixel(1, 0), 0xFF777777u);

    TMemoryDIB faded(1, 1);
    faded.SetPixel(0, 0, 0x80FFFFFFu);
    faded.SetOpacity(0);
    faded.SetScale(200);
    TMemoryDIB under(2, 2);
    under.Fill(0xFF000010u);
    faded.Draw(under, 0, 0);
    EXPECT_EQ(under.Pixel(1, 1), 0x80010110u); // constant blend at 0 through the temporary surface
}

} // namespace
} // namespace kavlo
