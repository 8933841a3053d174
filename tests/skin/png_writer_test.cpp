#include <gtest/gtest.h>

#include <png.h>

#include <cstring>
#include <vector>

#include "skin/formats/png_writer.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

struct Decoded {
    int width = 0;
    int height = 0;
    bool has_alpha = false;
    std::vector<uint8_t> rgba; // top-down
};

// Reads a PNG back with libpng itself, as any viewer would.
std::optional<Decoded> ReadPng(const std::vector<uint8_t>& png) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) {
        return std::nullopt;
    }
    Decoded out;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.has_alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_RGBA;
    out.rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr)) {
        return std::nullopt;
    }
    return out;
}

// A surface whose pixel (x, y) counted from the top is B = x, G = y, R = 200, A = 10 * x + y.
struct Surface {
    Surface(int w, int h, bool bottom_up, int padding_bytes)
        : width(w), height(h), stride(w * 4 + padding_bytes), up(bottom_up),
          bytes(static_cast<size_t>(stride) * h, 0xEE) {
        for (int y = 0; y < h; ++y) {
            uint8_t* row = bytes.data() + static_cast<size_t>(bottom_up ? h - 1 - y : y) * stride;
            for (int x = 0; x < w; ++x) {
                uint8_t* p = row + x * 4;
                p[0] = static_cast<uint8_t>(x);
                p[1] = static_cast<uint8_t>(y);
                p[2] = 200;
                p[3] = static_cast<uint8_t>(10 * x + y);
            }
        }
    }
    PixelView View() const { return {bytes.data(), stride, width, height, up}; }

    int width, height, stride;
    bool up;
    std::vector<uint8_t> bytes;
};

void ExpectRegion(const Decoded& png, const ScreenRect& region, bool alpha_kept) {
    ASSERT_EQ(png.width, region.Width());
    ASSERT_EQ(png.height, region.Height());
    for (int y = 0; y < png.height; ++y) {
        for (int x = 0; x < png.width; ++x) {
            const uint8_t* p = png.rgba.data() + (static_cast<size_t>(y) * png.width + x) * 4;
            int sx = region.left + x;
            int sy = region.top + y;
            ASSERT_EQ(p[0], 200) << sx << "," << sy;
            ASSERT_EQ(p[1], sy);
            ASSERT_EQ(p[2], sx);
            ASSERT_EQ(p[3], alpha_kept ? 10 * sx + sy : 255);
        }
    }
}

TEST(PngWriter, RoundTripOfRegions) {
    struct Case {
        bool bottom_up;
        int padding;
        ScreenRect region;
        PngAlpha alpha;
        ScreenRect expected; // after clipping to the surface
    };
    const Case cases[] = {
        {false, 0, {0, 0, 9, 7}, PngAlpha::Keep, {0, 0, 9, 7}},
        {true, 0, {0, 0, 9, 7}, PngAlpha::Keep, {0, 0, 9, 7}},
        {true, 12, {2, 1, 6, 5}, PngAlpha::Opaque, {2, 1, 6, 5}},
        {false, 4, {3, 4, 9, 7}, PngAlpha::Opaque, {3, 4, 9, 7}},
        {true, 0, {-3, 5, 4, 20}, PngAlpha::Keep, {0, 5, 4, 7}},
    };
    for (const Case& c : cases) {
        Surface surface(9, 7, c.bottom_up, c.padding);
        std::optional<std::vector<uint8_t>> png = EncodePng(surface.View(), c.region, c.alpha);
        ASSERT_TRUE(png);
        std::optional<Decoded> decoded = ReadPng(*png);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->has_alpha, c.alpha == PngAlpha::Keep);
        ExpectRegion(*decoded, c.expected, c.alpha == PngAlpha::Keep);
    }
}

TEST(PngWriter, RefusesWhatIsNotAPicture) {
    Surface surface(4, 4, false, 0);
    PixelView short_stride = surface.View();
    short_stride.stride_bytes = 12;
    PixelView no_pixels = surface.View();
    no_pixels.pixels = nullptr;
    EXPECT_FALSE(EncodePng(short_stride, {0, 0, 4, 4}, PngAlpha::Opaque));
    EXPECT_FALSE(EncodePng(no_pixels, {0, 0, 4, 4}, PngAlpha::Opaque));
    EXPECT_FALSE(EncodePng(surface.View(), {4, 0, 8, 4}, PngAlpha::Opaque)); // wholly outside
    EXPECT_FALSE(EncodePng(surface.View(), {1, 1, 1, 3}, PngAlpha::Opaque)); // empty
}

TEST(PngWriter, FileIsWrittenWholeOrNotAtAll) {
    test::TempDir dir;
    Surface surface(5, 3, true, 0);
    std::filesystem::path good = dir / "shot.png";
    ASSERT_TRUE(WritePngFile(good, surface.View(), {0, 0, 5, 3}, PngAlpha::Opaque));
    std::string bytes = test::ReadHostFile(good);
    std::optional<Decoded> decoded = ReadPng(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    ASSERT_TRUE(decoded);
    ExpectRegion(*decoded, {0, 0, 5, 3}, false);
    EXPECT_FALSE(std::filesystem::exists(dir / "shot.png.tmp"));

    std::filesystem::path missing_folder = dir / "no such folder" / "shot.png";
    EXPECT_FALSE(WritePngFile(missing_folder, surface.View(), {0, 0, 5, 3}, PngAlpha::Opaque));
    EXPECT_FALSE(std::filesystem::exists(missing_folder));
    // Nothing to encode leaves an existing file untouched.
    EXPECT_FALSE(WritePngFile(good, surface.View(), {9, 9, 10, 10}, PngAlpha::Opaque));
    EXPECT_EQ(test::ReadHostFile(good), bytes);
}

} // namespace
} // namespace kavlo
