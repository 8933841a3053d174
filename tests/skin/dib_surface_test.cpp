#include "skin/surface/dib.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "skin/surface/win_dib.h"
#include "support/run_tool.h"

namespace kavlo {
namespace {

TEST(SurfaceTest, DefaultsAndStoredRowOrder) {
    TMemoryDIB dib(2, 3);
    EXPECT_EQ(dib.Opacity(), 255);
    EXPECT_EQ(dib.Angle(), 0);
    EXPECT_EQ(dib.ScaleX(), 100);
    EXPECT_EQ(dib.ScaleY(), 100);
    EXPECT_FALSE(dib.Transparent());
    EXPECT_FALSE(dib.Masked());
    EXPECT_FALSE(dib.Transformed());
    EXPECT_EQ(dib.Routine(), DrawRoutine::PlainCopy);

    // Row y from the top is stored row Height - y - 1.
    dib.SetPixel(1, 0, 0xAA000001u);
    dib.SetPixel(0, 2, 0xBB000002u);
    EXPECT_EQ(dib.Bits()[2 * 2 + 1], 0xAA000001u);
    EXPECT_EQ(dib.Bits()[0], 0xBB000002u);
    EXPECT_EQ(dib.ScanLine(0)[1], 0xAA000001u);
    // Outside the surface: reads give 0, writes do nothing.
    dib.SetPixel(2, 0, 1);
    dib.SetPixel(-1, 0, 1);
    EXPECT_EQ(dib.Pixel(2, 0), 0u);
    EXPECT_EQ(dib.Pixel(0, -1), 0u);
}

TEST(SurfaceTest, RawBlockBytesAreBlueGreenRedAlphaBottomRowFirst) {
    TMemoryDIB dib;
    const std::vector<uint8_t> bytes = {0x10, 0x20, 0x30, 0x40, 0x01, 0x02, 0x03, 0x04};
    ASSERT_TRUE(dib.SetPixelBytes(1, 2, bytes));
    EXPECT_EQ(dib.Pixel(0, 1), 0x40302010u); // the bottom row comes first
    EXPECT_EQ(dib.Pixel(0, 0), 0x04030201u);
    const std::span<const uint8_t> back = dib.PixelBytes();
    EXPECT_EQ(std::vector<uint8_t>(back.begin(), back.end()), bytes);

    // A block of the wrong length leaves the surface as it was.
    EXPECT_FALSE(dib.SetPixelBytes(2, 2, bytes));
    EXPECT_FALSE(dib.SetPixelBytes(1, 1, bytes));
    EXPECT_EQ(dib.Width(), 1);
    EXPECT_EQ(dib.Height(), 2);
    EXPECT_FALSE(dib.SetPixels(3, 3, {1, 2}));
    EXPECT_TRUE(dib.SetPixelBytes(0, 0, {}));
    EXPECT_TRUE(dib.Empty());
}

TEST(SurfaceTest, ChangeHandlerHearsEveryRealChangeOnce) {
    TMemoryDIB dib;
    int changes = 0;
    dib.SetOnChange([&changes](TAbstractSuperDIB&) { ++changes; });
    const std::vector<std::pair<const char*, std::function<void()>>> steps = {
        {"size", [&] { dib.SetSize(2, 2); }},
        {"opacity", [&] { dib.SetOpacity(3); }},
        {"angle", [&] { dib.SetAngle(-30); }},
        {"scale", [&] { dib.SetScale(50); }},
        {"scale x", [&] { dib.SetScaleX(60); }},
        {"scale y", [&] { dib.SetScaleY(70); }},
        {"transparent", [&] { dib.SetTransparent(true); }},
        {"colour", [&] { dib.SetTransparentColor(0x123456); }},
        {"mode", [&] { dib.SetTransparentMode(TTransparentMode::tmFixed); }},
        {"masked", [&] { dib.SetMasked(true); }},
        {"auto size", [&] { dib.SetAutoSize(true); }},
        {"pixels", [&] { dib.SetPixels(1, 1, {7}); }},
    };
    for (const auto& [name, step] : steps) {
        const int before = changes;
        step();
        EXPECT_EQ(changes, before + 1) << name;
        step(); // the same value again is no change
        EXPECT_EQ(changes, before + 1 + (std::string(name) == "size" || std::string(name) == "pixels"))
            << name << " repeated";
    }
    const int before = changes;
    dib.SetPixel(0, 0, 5);
    dib.Fill(9);
    EXPECT_EQ(changes, before) << "pixel writes are no property change";
}

TEST(SurfaceTest, CopiesTakePixelsAndPropertiesButNotTheOwner) {
    TMemoryDIB a(1, 1);
    int a_changes = 0;
    a.SetOnChange([&a_changes](TAbstractSuperDIB&) { ++a_changes; });
    a.SetPixel(0, 0, 0x01020304u);
    a.SetOpacity(9);
    a.SetMasked(true);
    TMemoryDIB b(a);
    b.SetOpacity(10);
    EXPECT_EQ(a_changes, 2);
    EXPECT_EQ(b.Pixel(0, 0), 0x01020304u);
    EXPECT_EQ(b.Routine(), DrawRoutine::AlphaBlend);

    TWinDIB c;
    int c_changes = 0;
    c.SetOnChange([&c_changes](TAbstractSuperDIB&) { ++c_changes; });
    c.Assign(a);
    EXPECT_EQ(c_changes, 1);
    EXPECT_EQ(c.Opacity(), 9);
    EXPECT_TRUE(c.Masked());
    c.SetOpacity(1);
    EXPECT_EQ(c_changes, 2);
    EXPECT_EQ(a_changes, 2);
}

TEST(SurfaceTest, TransparentColourByMode) {
    TMemoryDIB dib(2, 2);
    dib.Fill(0xFF000000u);
    dib.SetPixel(0, 1, 0x7F102030u); // bottom-left: the first stored pixel
    dib.SetTransparentColor(0xABCDEF);
    EXPECT_EQ(dib.TransparentMode(), TTransparentMode::tmAuto);
    EXPECT_EQ(dib.TransparentColor(), 0x302010u); // as a TColor, $00BBGGRR
    EXPECT_EQ(dib.TransparentKey(), 0x102030u);
    dib.SetTransparentMode(TTransparentMode::tmFixed);
    EXPECT_EQ(dib.TransparentColor(), 0xABCDEFu);
    EXPECT_EQ(dib.TransparentKey(), 0xEFCDABu);

    TMemoryDIB empty;
    empty.SetTransparentColor(0x0000FF);
    EXPECT_EQ(empty.TransparentColor(), 0x0000FFu);
}

TEST(SurfaceTest, AutomaticKeySkipsTheBottomLeftColour) {
    TMemoryDIB src(2, 2);
    src.SetPixel(0, 0, 0xFF00FF00u);
    src.SetPixel(1, 0, 0x80FFFFFFu); // same colour as the key, other alpha
    src.SetPixel(0, 1, 0xFFFFFFFFu);
    src.SetPixel(1, 1, 0xFF123456u);
    src.SetTransparent(true);
    TMemoryDIB dst(2, 2);
    dst.Fill(0xFF777777u);
    src.Draw(dst, 0, 0);
    EXPECT_EQ(dst.Pixel(0, 0), 0x0000FF00u);
    EXPECT_EQ(dst.Pixel(1, 0), 0xFF777777u);
    EXPECT_EQ(dst.Pixel(0, 1), 0xFF777777u);
    EXPECT_EQ(dst.Pixel(1, 1), 0x00123456u);
}

TEST(SurfaceTest, OpaqueRunsRowByRowFromTheTop) {
    constexpr uint32_t k = 0xFFFFFFFFu; // the key, white
    constexpr uint32_t p = 0xFF000000u;
    const uint32_t rows[4][5] = {
        {k, p, p, k, p},
        {k, k, k, k, k}, // a row with no foreground gives no rectangle
        {p, p, p, p, p},
        {0x00FFFFFFu, 0xFFFFFFFEu, k, k, k}, // alpha does not matter; a near-white does
    };
    TMemoryDIB dib(5, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            dib.SetPixel(x, y, rows[y][x]);
        }
    }
    const std::vector<Rect> expected = {{1, 0, 3, 1}, {4, 0, 5, 1}, {0, 2, 5, 3}, {1, 3, 2, 4}};
    EXPECT_EQ(dib.OpaqueRuns(0xFFFFFF), expected);
    EXPECT_EQ(dib.OpaqueRuns(0xFFFFFFFF), expected) << "the key's top byte is ignored";
    EXPECT_EQ(dib.OpaqueRuns(0x000000).size(), 4u);

    const std::vector<Rect> alpha = {{0, 0, 5, 1}, {0, 1, 5, 2}, {0, 2, 5, 3}, {1, 3, 5, 4}};
    EXPECT_EQ(dib.AlphaRuns(0x80), alpha);
}

TEST(CanvasTest, FillRectClipsAndWritesAlphaZero) {
    TWinDIB dib(3, 2);
    dib.Fill(0xFF000000u);
    dib.FillRect({-5, 1, 2, 9}, 0x0000FF); // red as a TColor
    EXPECT_EQ(dib.Pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(dib.Pixel(0, 1), 0x00FF0000u);
    EXPECT_EQ(dib.Pixel(1, 1), 0x00FF0000u);
    EXPECT_EQ(dib.Pixel(2, 1), 0xFF000000u);
}

TEST(CanvasTest, DrawPictureCopiesPixelsWithAlpha) {
    Picture picture{2, 1, true, {0x01020304u, 0x05060708u}};
    TWinDIB dib(2, 2);
    dib.DrawPicture(1, 1, picture);
    EXPECT_EQ(dib.Pixel(1, 1), 0x01020304u);
    EXPECT_EQ(dib.Pixel(0, 1), 0u);
    EXPECT_EQ(dib.Pixel(1, 0), 0u);
}

TEST(BlendToolTest, PrintsTheDestinationPixel) {
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const Case cases[] = {
        {{"--src", "12345678", "--dst", "FFFFFFFF", "--opacity", "255"}, "12345678\n"},
        {{"--src", "ff000000", "--dst", "00ffffff", "--opacity", "0"}, "FFFFFFFF\n"},
        {{"--src", "80102030", "--dst", "FF405060", "--opacity", "128"}, "80283848\n"},
        {{"--src", "00FFFFFF", "--dst", "FF00FF10", "--opacity", "255", "--masked"}, "0001FF10\n"},
        {{"--src", "FFABCDEF", "--dst", "11223344", "--opacity", "255", "--transparent", "ABCDEF"},
         "11223344\n"},
        {{"--src", "FFABCDEE", "--dst", "11223344", "--opacity", "255", "--transparent", "ABCDEF"},
         "00ABCDEE\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"blend"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const test::ToolRun run = test::RunTool(args);
        EXPECT_EQ(run.exit_code, 0) << run.err;
        EXPECT_EQ(run.out, c.out) << c.args[1];
    }
    for (const auto& bad : std::vector<std::vector<std::string>>{
             {"blend", "--src", "123", "--dst", "FFFFFFFF", "--opacity", "1"},
             {"blend", "--src", "FFFFFFFF", "--dst", "FFFFFFFF", "--opacity", "256"},
             {"blend", "--src", "FFFFFFFF", "--dst", "FFFFFFFF", "--opacity", "1", "--transparent",
              "XYZXYZ"}}) {
        EXPECT_NE(test::RunTool(bad).exit_code, 0) << bad[2] << bad[6];
    }
}

} // namespace
} // namespace kavlo
