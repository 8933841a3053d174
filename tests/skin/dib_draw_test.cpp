#include "skin/surface/dib_draw.h"

#include <gtest/gtest.h>

#include <vector>

#include "skin/surface/dib.h"

namespace kavlo {
namespace {

TEST(BlendChannelTest, SixteenBitFormulaWithItsPlusOne) {
    struct Case {
        uint8_t src, dst, a, expected;
    };
    const Case cases[] = {
        {0, 0, 255, 1},       // full weight: 0 becomes 1
        {1, 0, 255, 1},       //
        {100, 7, 255, 100},   // full weight keeps every other source value
        {255, 0, 255, 255},   // 255 * 255 >> 8 is 254, + 1
        {0, 0, 0, 1},         // no weight: a destination 0 becomes 1
        {0, 1, 0, 1},         //
        {200, 100, 0, 100},   // no weight keeps every other destination value
        {0, 255, 0, 255},     //
        {255, 255, 128, 255}, // the largest sum, 65025, still fits 16 bits
        {10, 20, 128, 15},    // (1280 + 2540) >> 8 = 14, + 1
        {0x10, 0x40, 128, 0x28},
        {255, 0, 127, 127}, // (32385 >> 8) + 1
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BlendChannel(c.src, c.dst, c.a), c.expected)
            << "src " << int{c.src} << " dst " << int{c.dst} << " a " << int{c.a};
    }
}

TEST(BlendPixelTest, BlendsColourBytesAndTakesSourceAlpha) {
    EXPECT_EQ(BlendPixel(0x80102030u, 0xFF405060u, 128), 0x80283848u);
    EXPECT_EQ(BlendPixel(0x00FFFFFFu, 0xFF000000u, 255), 0x00FFFFFFu);
    EXPECT_EQ(BlendPixel(0xABFFFFFFu, 0x00000000u, 0), 0xAB010101u);
}

TEST(DrawRoutineTest, ChoiceFollowsOpacityMaskedAndTransparent) {
    struct Case {
        uint8_t opacity;
        bool masked, transparent;
        DrawRoutine expected;
    };
    const Case cases[] = {
        {255, false, false, DrawRoutine::PlainCopy},     {255, false, true, DrawRoutine::KeyCopy},
        {255, true, false, DrawRoutine::AlphaCopy},      {255, true, true, DrawRoutine::AlphaCopy},
        {254, false, false, DrawRoutine::ConstantBlend}, {0, false, true, DrawRoutine::KeyBlend},
        {100, true, false, DrawRoutine::AlphaBlend},     {100, true, true, DrawRoutine::AlphaBlend},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseDrawRoutine(c.opacity, c.masked, c.transparent), c.expected)
            << int{c.opacity} << ' ' << c.masked << ' ' << c.transparent;
        TMemoryDIB dib;
        dib.SetOpacity(c.opacity);
        dib.SetMasked(c.masked);
        dib.SetTransparent(c.transparent);
        EXPECT_EQ(dib.Routine(), c.expected);
    }
}

TEST(DrawRoutineTest, RoutineFollowsLaterChanges) {
    TMemoryDIB dib;
    dib.SetTransparent(true);
    dib.SetOpacity(10);
    EXPECT_EQ(dib.Routine(), DrawRoutine::KeyBlend);
    dib.SetMasked(true);
    EXPECT_EQ(dib.Routine(), DrawRoutine::AlphaBlend);
    dib.SetOpacity(255);
    EXPECT_EQ(dib.Routine(), DrawRoutine::AlphaCopy);
    dib.SetMasked(false);
    EXPECT_EQ(dib.Routine(), DrawRoutine::KeyCopy);
    dib.SetTransparent(false);
    EXPECT_EQ(dib.Routine(), DrawRoutine::PlainCopy);
}

struct DrawCase {
    const char* name;
    uint8_t opacity;
    bool masked;
    bool transparent;
    uint32_t src;
    uint32_t dst;
    uint32_t expected;
};

// One 1 x 1 draw per case through the surfaces' own routine choice; key (fixed) 0x00ABCDEF.
TEST(DrawRoutineTest, EveryRoutineBitExact) {
    const DrawCase cases[] = {
        {"plain copy is exact, alpha included", 255, false, false, 0x12000000u, 0xFFFFFFFFu, 0x12000000u},
        {"constant blend at 0 keeps channels but 0", 0, false, false, 0x7F123456u, 0xEEFF8000u, 0x7FFF8001u},
        {"constant blend at 128", 128, false, false, 0x80102030u, 0xFF405060u, 0x80283848u},
        {"masked alpha 0 keeps channels but 0", 255, true, false, 0x00FFFFFFu, 0xFF00FF10u, 0x0001FF10u},
        {"masked alpha 255 takes source, 0 -> 1", 255, true, false, 0xFF00FF10u, 0x00123456u, 0xFF01FF10u},
        {"masked alpha 128", 255, true, false, 0x80FF0000u, 0xFF0000FFu, 0x8080017Fu},
        {"masked blend: alpha 255 * opacity 128 >> 8 = 127", 128, true, false, 0xFFFF0000u, 0x00000000u,
         0xFF7F0101u},
        {"masked beats the key", 255, true, true, 0xFFABCDEFu, 0x00000000u, 0xFFABCDEFu},
        {"key copy skips the key", 255, false, true, 0xFFABCDEFu, 0x11223344u, 0x11223344u},
        {"key copy skips the key whatever its alpha", 255, false, true, 0x00ABCDEFu, 0x11223344u,
         0x11223344u},
        {"key copy clears alpha", 255, false, true, 0xFFABCDEEu, 0x11223344u, 0x00ABCDEEu},
        {"key blend skips the key", 0, false, true, 0xFFABCDEFu, 0x11223344u, 0x11223344u},
        {"key blend blends the rest", 128, false, true, 0x80102030u, 0xFF405060u, 0x80283848u},
    };
    for (const DrawCase& c : cases) {
        TMemoryDIB src(1, 1);
        TMemoryDIB dst(1, 1);
        src.SetPixel(0, 0, c.src);
        dst.SetPixel(0, 0, c.dst);
        src.SetOpacity(c.opacity);
        src.SetMasked(c.masked);
        src.SetTransparent(c.transparent);
        src.SetTransparentMode(TTransparentMode::tmFixed);
        src.SetTransparentColor(ColorFromPixel(0xABCDEFu));
        src.Draw(dst, 0, 0);
        EXPECT_EQ(dst.Pixel(0, 0), c.expected) << c.name;
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

constexpr uint32_t kUntouched = 0x11111111u;

// The destination as rows of numbers; kUntouched where nothing was drawn.
std::vector<std::vector<uint32_t>> Grid(const TAbstractSuperDIB& dib) {
    std::vector<std::vector<uint32_t>> rows(dib.Height());
    for (int y = 0; y < dib.Height(); ++y) {
        for (int x = 0; x < dib.Width(); ++x) {
            const uint32_t p = dib.Pixel(x, y);
            rows[y].push_back(p == kUntouched ? kUntouched : p & 0xFFu);
        }
    }
    return rows;
}

TEST(DrawClipTest, ClipsToDestinationAndSourceRectangle) {
    constexpr uint32_t o = kUntouched;
    struct Case {
        const char* name;
        int x, y;
        Rect src;
        std::vector<std::vector<uint32_t>> expected;
    };
    const Case cases[] = {
        {"inside",
         1,
         0,
         {0, 0, 3, 3},
         {{o, 0x00, 0x01, 0x02}, {o, 0x10, 0x11, 0x12}, {o, 0x20, 0x21, 0x22}, {o, o, o, o}}},
        {"negative x and y",
         -1,
         -2,
         {0, 0, 3, 3},
         {{0x21, 0x22, o, o}, {o, o, o, o}, {o, o, o, o}, {o, o, o, o}}},
        {"past the bottom-right",
         3,
         3,
         {0, 0, 3, 3},
         {{o, o, o, o}, {o, o, o, o}, {o, o, o, o}, {o, o, o, 0x00}}},
        {"source rectangle",
         0,
         0,
         {1, 1, 3, 2},
         {{0x11, 0x12, o, o}, {o, o, o, o}, {o, o, o, o}, {o, o, o, o}}},
        {"source rectangle past the source",
         0,
         0,
         {-1, -1, 2, 1},
         {{o, o, o, o}, {o, 0x00, 0x01, o}, {o, o, o, o}, {o, o, o, o}}},
        {"fully outside", 4, 0, {0, 0, 3, 3}, {{o, o, o, o}, {o, o, o, o}, {o, o, o, o}, {o, o, o, o}}},
        {"far outside",
         -2000000000,
         2000000000,
         {0, 0, 3, 3},
         {{o, o, o, o}, {o, o, o, o}, {o, o, o, o}, {o, o, o, o}}},
        {"empty source rectangle",
         0,
         0,
         {2, 2, 2, 3},
         {{o, o, o, o}, {o, o, o, o}, {o, o, o, o}, {o, o, o, o}}},
    };
    const TMemoryDIB src = Numbered(3, 3);
    for (const Case& c : cases) {
        TMemoryDIB dst(4, 4);
        dst.Fill(kUntouched);
        src.Draw(dst, c.x, c.y, c.src);
        EXPECT_EQ(Grid(dst), c.expected) << c.name;
    }
}

TEST(DrawClipTest, NothingLeftMeansNoClip) {
    EXPECT_FALSE(ClipDraw(3, 3, {0, 0, 3, 3}, 4, 4, 4, 0));
    EXPECT_FALSE(ClipDraw(3, 3, {0, 0, 3, 3}, 4, 4, 0, -3));
    EXPECT_FALSE(ClipDraw(3, 3, {3, 0, 5, 3}, 4, 4, 0, 0));
    EXPECT_FALSE(ClipDraw(0, 0, {0, 0, 0, 0}, 4, 4, 0, 0));
    const auto one = ClipDraw(3, 3, {0, 0, 3, 3}, 4, 4, -2, -2);
    ASSERT_TRUE(one);
    EXPECT_EQ(one->src, (Rect{2, 2, 3, 3}));
    EXPECT_EQ(one->dst_x, 0);
    EXPECT_EQ(one->dst_y, 0);
}

TEST(DrawClipTest, DrawOntoItselfReadsTheOriginalPixels) {
    TMemoryDIB column = Numbered(1, 3);
    column.Draw(column, 0, 1);
    EXPECT_EQ(Grid(column), (std::vector<std::vector<uint32_t>>{{0x00}, {0x00}, {0x10}}));
}

} // namespace
} // namespace kavlo
