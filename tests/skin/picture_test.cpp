#include "skin/formats/picture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "platform/posix/posix_file_system.h"
#include "skin/surface/dib.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

void PutU16(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void PutU32(std::string& out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

// The fields of a bitmap file a test chooses; the rest is filled in as a writer would.
struct BmpSpec {
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bits = 24;
    uint32_t compression = 0;
    std::vector<uint32_t> palette = {}; // 0x00RRGGBB
    uint32_t clr_used = 0;
    std::vector<uint32_t> masks = {}; // written after a 40-byte header
    std::string pixels = {};
    uint32_t header_size = 40;
    std::optional<uint32_t> offset = {};
};

std::string MakeBmp(const BmpSpec& bmp) {
    std::string header;
    const bool core = bmp.header_size == 12;
    PutU32(header, bmp.header_size);
    if (core) {
        PutU16(header, static_cast<uint32_t>(bmp.width));
        PutU16(header, static_cast<uint32_t>(bmp.height));
        PutU16(header, 1);
        PutU16(header, bmp.bits);
    } else {
        PutU32(header, static_cast<uint32_t>(bmp.width));
        PutU32(header, static_cast<uint32_t>(bmp.height));
        PutU16(header, 1);
        PutU16(header, bmp.bits);
        PutU32(header, bmp.compression);
        PutU32(header, static_cast<uint32_t>(bmp.pixels.size()));
        PutU32(header, 2835);
        PutU32(header, 2835);
        PutU32(header, bmp.clr_used);
        PutU32(header, 0);
        header.resize(bmp.header_size, '\0');
    }
    for (const uint32_t mask : bmp.masks) {
        PutU32(header, mask);
    }
    for (const uint32_t colour : bmp.palette) {
        header.push_back(static_cast<char>(colour & 0xFF));
        header.push_back(static_cast<char>((colour >> 8) & 0xFF));
        header.push_back(static_cast<char>((colour >> 16) & 0xFF));
        if (!core) {
            header.push_back('\0');
        }
    }
    std::string file = "BM";
    const auto offset = static_cast<uint32_t>(14 + header.size());
    PutU32(file, static_cast<uint32_t>(offset + bmp.pixels.size()));
    PutU32(file, 0);
    PutU32(file, bmp.offset.value_or(offset));
    return file + header + bmp.pixels;
}

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (const int v : values) {
        out.push_back(static_cast<char>(v));
    }
    return out;
}

// A picture as rows from the top, through a surface so the stored order is the surface's.
std::vector<std::vector<uint32_t>> Rows(const Picture& picture) {
    TMemoryDIB dib;
    AssignPicture(dib, picture);
    std::vector<std::vector<uint32_t>> rows(dib.Height());
    for (int y = 0; y < dib.Height(); ++y) {
        for (int x = 0; x < dib.Width(); ++x) {
            rows[y].push_back(dib.Pixel(x, y));
        }
    }
    return rows;
}

using Grid = std::vector<std::vector<uint32_t>>;
constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

std::vector<uint32_t> IndexPalette(size_t count) {
    std::vector<uint32_t> palette(count);
    for (size_t i = 0; i < count; ++i) {
        palette[i] = static_cast<uint32_t>(i);
    }
    return palette;
}

TEST(BmpTest, EveryDepthDecodes) {
    struct Case {
        const char* name;
        BmpSpec bmp;
        Grid expected;
    };
    const Case cases[] = {
        {"1 bit, rows padded to 32 bits, bottom row first",
         {.width = 3,
          .height = 2,
          .bits = 1,
          .palette = {0x000000, 0xFFFFFF},
          .pixels = Bytes({0xA0, 0, 0, 0, 0x40, 0, 0, 0})},
         {{kBlack, kWhite, kBlack}, {kWhite, kBlack, kWhite}}},
        {"4 bits with a short palette",
         {.width = 3,
          .bits = 4,
          .palette = {0xFF0000, 0x00FF00, 0x0000FF},
          .clr_used = 3,
          .pixels = Bytes({0x12, 0x00, 0, 0})},
         {{0xFF00FF00u, 0xFF0000FFu, 0xFFFF0000u}}},
        {"8 bits, an index past the palette is black",
         {.width = 2,
          .bits = 8,
          .palette = {0x123456, 0x654321},
          .clr_used = 2,
          .pixels = Bytes({1, 5, 0, 0})},
         {{0xFF654321u, kBlack}}},
        {"24 bits, blue green red",
         {.width = 3, .pixels = Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0})},
         {{0xFF030201u, 0xFF060504u, 0xFF090807u}}},
        {"24 bits, the last row's padding may be missing",
         {.width = 1, .pixels = Bytes({1, 2, 3})},
         {{0xFF030201u}}},
        {"32 bits keep their alpha", {.bits = 32, .pixels = Bytes({1, 2, 3, 0x40})}, {{0x40030201u}}},
        {"16 bits are 5-5-5",
         {.width = 3, .bits = 16, .pixels = Bytes({0x00, 0x7C, 0x1F, 0x00, 0x21, 0x04, 0, 0})},
         {{0xFFFF0000u, 0xFF0000FFu, 0xFF080808u}}},
        {"16-bit bit fields 5-6-5",
         {.width = 2,
          .bits = 16,
          .compression = 3,
          .masks = {0xF800, 0x07E0, 0x001F},
          .pixels = Bytes({0xE0, 0x07, 0x00, 0xF8})},
         {{0xFF00FF00u, 0xFFFF0000u}}},
        {"32-bit bit fields without an alpha mask are opaque",
         {.bits = 32, .compression = 3, .masks = {0xFF, 0xFF00, 0xFF0000}, .pixels = Bytes({1, 2, 3, 4})},
         {{0xFF010203u}}},
        {"negative height is top-down",
         {.width = 1, .height = -2, .pixels = Bytes({1, 1, 1, 0, 2, 2, 2, 0})},
         {{0xFF010101u}, {0xFF020202u}}},
        {"core header with a three-byte palette",
         {.width = 2,
          .height = 1,
          .bits = 8,
          .palette = IndexPalette(256),
          .pixels = Bytes({7, 200, 0, 0}),
          .header_size = 12},
         {{0xFF000007u, 0xFF0000C8u}}},
        {"version 5 header",
         {.width = 1, .pixels = Bytes({9, 8, 7, 0}), .header_size = 124},
         {{0xFF070809u}}},
    };
    for (const Case& c : cases) {
        const PictureResult result = LoadPicture(MakeBmp(c.bmp));
        ASSERT_TRUE(result) << c.name << ": " << result.error;
        EXPECT_EQ(Rows(*result.picture), c.expected) << c.name;
    }
}

TEST(BmpTest, RunLengthCodedRows) {
    // Bottom row: a run, a literal running past the right edge; then a run, a move, a run; then a
    // full-width run and the end of the bitmap.
    const std::string rle8 = Bytes({2, 5, 0, 3, 1, 2, 3, 0, 0, 0, //
                                    1, 7, 0, 2, 2, 0, 1, 8, 0, 0, //
                                    4, 9, 0, 1});
    const PictureResult eight = LoadPicture(MakeBmp({.width = 4,
                                                     .height = 3,
                                                     .bits = 8,
                                                     .compression = 1,
                                                     .palette = IndexPalette(10),
                                                     .clr_used = 10,
                                                     .pixels = rle8}));
    ASSERT_TRUE(eight) << eight.error;
    const uint32_t b = kBlack;
    EXPECT_EQ(Rows(*eight.picture),
              (Grid{{b | 9, b | 9, b | 9, b | 9}, {b | 7, b, b, b | 8}, {b | 5, b | 5, b | 1, b | 2}}));

    // A move past the last row ends the picture; skipped pixels keep index 0.
    const std::string moved = Bytes({1, 3, 0, 2, 0, 5});
    const PictureResult skipped = LoadPicture(MakeBmp({.width = 2,
                                                       .height = 2,
                                                       .bits = 8,
                                                       .compression = 1,
                                                       .palette = {0x111111, 0x222222, 0, 0x333333},
                                                       .clr_used = 4,
                                                       .pixels = moved}));
    ASSERT_TRUE(skipped) << skipped.error;
    EXPECT_EQ(Rows(*skipped.picture), (Grid{{0xFF111111u, 0xFF111111u}, {0xFF333333u, 0xFF111111u}}));

    const std::string rle4 = Bytes({0, 3, 0x34, 0x50, 3, 0x67, 0, 0, 5, 0x12, 0, 1});
    const PictureResult four = LoadPicture(MakeBmp(
        {.width = 6, .height = 2, .bits = 4, .compression = 2, .palette = IndexPalette(16), .pixels = rle4}));
    ASSERT_TRUE(four) << four.error;
    EXPECT_EQ(Rows(*four.picture),
              (Grid{{b | 1, b | 2, b | 1, b | 2, b | 1, b}, {b | 3, b | 4, b | 5, b | 6, b | 7, b | 6}}));
}

TEST(BmpTest, BrokenOrAbsurdFilesAreRefused) {
    const std::vector<uint32_t> pal256 = IndexPalette(256);
    struct Case {
        const char* name;
        std::string bytes;
        const char* reason; // a part of the error text
    };
    const Case cases[] = {
        {"only the signature", "BM", "truncated"},
        {"header cut short", MakeBmp({}).substr(0, 30), "truncated"},
        {"pixel data cut short", MakeBmp({.width = 2, .height = 2, .pixels = std::string(13, '\0')}),
         "truncated"},
        {"palette cut short", MakeBmp({.bits = 8, .palette = {1, 2}, .pixels = ""}), "truncated"},
        {"width beyond 16384", MakeBmp({.width = 16385, .pixels = std::string(16385 * 3, '\0')}),
         "too large"},
        {"height beyond 16384 top-down", MakeBmp({.height = -16385, .pixels = std::string(16385 * 4, '\0')}),
         "too large"},
        {"too many pixels in all, without data", MakeBmp({.width = 16384, .height = 16384}), "too large"},
        {"zero width", MakeBmp({.width = 0, .pixels = "\0\0\0\0"}), "no pixels"},
        {"negative width", MakeBmp({.width = -3, .pixels = std::string(12, '\0')}), "no pixels"},
        {"zero height", MakeBmp({.height = 0}), "no pixels"},
        {"2 bits a pixel", MakeBmp({.bits = 2, .palette = {0, 1, 2, 3}, .pixels = std::string(4, '\0')}),
         "Unsupported"},
        {"JPEG inside a bitmap", MakeBmp({.compression = 4, .pixels = std::string(4, '\0')}), "Unsupported"},
        {"run-length coding of a top-down bitmap",
         MakeBmp(
             {.height = -1, .bits = 8, .compression = 1, .palette = pal256, .pixels = Bytes({1, 1, 0, 1})}),
         "top-down"},
        {"run-length data ending early",
         MakeBmp(
             {.height = 2, .bits = 8, .compression = 1, .palette = pal256, .pixels = Bytes({1, 1, 0, 0})}),
         "truncated"},
        {"run-length literal past the data",
         MakeBmp({.width = 8, .bits = 8, .compression = 1, .palette = pal256, .pixels = Bytes({0, 8, 1, 2})}),
         "truncated"},
        {"run-length move cut short",
         MakeBmp({.width = 8, .bits = 8, .compression = 1, .palette = pal256, .pixels = Bytes({0, 2, 1})}),
         "truncated"},
        {"pixel offset past the end", MakeBmp({.pixels = std::string(4, '\0'), .offset = 5000}), "outside"},
        {"pixel offset inside the header", MakeBmp({.pixels = std::string(4, '\0'), .offset = 20}),
         "outside"},
        {"bit-field header cut before its alpha mask",
         MakeBmp({.bits = 32, .compression = 3, .header_size = 108}).substr(0, 14 + 52), "truncated"},
        {"unknown header size", MakeBmp({.pixels = std::string(4, '\0'), .header_size = 20}), "header"},
    };
    for (const Case& c : cases) {
        const PictureResult result = LoadPicture(c.bytes);
        EXPECT_FALSE(result) << c.name;
        EXPECT_NE(result.error.find(c.reason), std::string::npos) << c.name << ": " << result.error;
    }
}

// A JPEG made by libjpeg itself; `colour(x, y)` gives the components of a pixel.
std::string MakeJpeg(int width, int height, int components, J_COLOR_SPACE space,
                     const std::function<std::vector<uint8_t>(int, int)>& colour) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(width * components));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::vector<uint8_t> c = colour(x, y);
            std::copy(c.begin(), c.end(), row.begin() + x * components);
        }
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&cinfo, &pointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

// Colours survive JPEG coding only approximately.
void ExpectNear(uint32_t actual, uint32_t expected, const char* what) {
    EXPECT_EQ(actual >> 24, expected >> 24) << what;
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>((actual >> shift) & 0xFF);
        const int e = static_cast<int>((expected >> shift) & 0xFF);
        EXPECT_NEAR(a, e, 4) << what << std::hex << " actual " << actual << " expected " << expected;
    }
}

TEST(JpegTest, ColourGreyAndCmykPicturesDecode) {
    const std::string two_halves = MakeJpeg(16, 16, 3, JCS_RGB, [](int, int y) {
        return y < 8 ? std::vector<uint8_t>{200, 30, 30} : std::vector<uint8_t>{20, 40, 220};
    });
    const PictureResult colour = LoadPicture(two_halves);
    ASSERT_TRUE(colour) << colour.error;
    EXPECT_EQ(colour.picture->width, 16);
    EXPECT_EQ(colour.picture->height, 16);
    EXPECT_FALSE(colour.picture->has_alpha);
    const Grid rows = Rows(*colour.picture);
    ExpectNear(rows[1][3], 0xFFC81E1Eu, "top half");
    ExpectNear(rows[14][12], 0xFF1428DCu, "bottom half");

    const PictureResult grey =
        LoadPicture(MakeJpeg(8, 8, 1, JCS_GRAYSCALE, [](int, int) { return std::vector<uint8_t>{128}; }));
    ASSERT_TRUE(grey) << grey.error;
    ExpectNear(Rows(*grey.picture)[4][4], 0xFF808080u, "grey");

    // Adobe's CMYK is stored inverted: 255 is no ink.
    const PictureResult cmyk = LoadPicture(MakeJpeg(8, 8, 4, JCS_CMYK, [](int, int) {
        return std::vector<uint8_t>{0, 255, 255, 255};
    }));
    ASSERT_TRUE(cmyk) << cmyk.error;
    ExpectNear(Rows(*cmyk.picture)[2][2], 0xFF00FFFFu, "cyan");
}

TEST(JpegTest, BrokenOrAbsurdDataIsRefused) {
    const std::string good = MakeJpeg(32, 32, 3, JCS_RGB, [](int x, int y) {
        return std::vector<uint8_t>{static_cast<uint8_t>(x * 8), static_cast<uint8_t>(y * 8), 77};
    });
    std::string huge = good;
    const size_t sof = huge.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    huge[sof + 5] = static_cast<char>(0x4E); // height 20000
    huge[sof + 6] = static_cast<char>(0x20);
    std::string zero_width = good;
    zero_width[sof + 7] = 0;
    zero_width[sof + 8] = 0;
    struct Case {
        const char* name;
        std::string bytes;
        const char* reason; // a part of the error text
    };
    const Case cases[] = {
        {"cut in the middle of the scan", good.substr(0, good.size() / 2), "truncated"},
        {"cut after the headers", good.substr(0, sof + 40), ""},
        {"only the start marker", "\xFF\xD8", ""},
        {"garbage after the start marker", std::string("\xFF\xD8\xFF\x00garbage garbage", 19), "truncated"},
        {"absurd height", huge, "too large"},
        {"zero width", zero_width, ""},
    };
    for (const Case& c : cases) {
        const PictureResult result = LoadPicture(c.bytes);
        EXPECT_FALSE(result) << c.name;
        EXPECT_FALSE(result.error.empty()) << c.name;
        EXPECT_NE(result.error.find(c.reason), std::string::npos) << c.name << ": " << result.error;
    }
    EXPECT_TRUE(LoadPicture(good)) << "the unpatched picture decodes";
}

TEST(PictureTest, UnknownSignatureIsRefused) {
    for (const std::string bytes : {"", "B", "GIF89a", "\x89PNG\r\n"}) {
        const PictureResult result = LoadPicture(bytes);
        EXPECT_FALSE(result) << bytes;
        EXPECT_EQ(result.error, "Unknown picture format");
    }
}

TEST(PictureTest, LoadsIntoSurfacesThroughWindowsPaths) {
    test::TempDir dir;
    PosixFileSystem fs((dir / "c").string(), {});
    test::WriteHostFile(dir / "c/Pics/Alpha.bmp", MakeBmp({.bits = 32, .pixels = Bytes({1, 2, 3, 4})}));
    test::WriteHostFile(dir / "c/Pics/plain.bmp", MakeBmp({.pixels = Bytes({1, 2, 3, 4})}));
    test::WriteHostFile(dir / "c/Pics/broken.bmp", "BM");

    TMemoryDIB dib;
    int changes = 0;
    dib.SetOnChange([&changes](TAbstractSuperDIB&) { ++changes; });
    EXPECT_EQ(LoadDIBFromFile(dib, fs, "C:\\PICS\\alpha.BMP"), "");
    EXPECT_EQ(dib.Pixel(0, 0), 0x04030201u);
    EXPECT_TRUE(dib.Masked()) << "a 32-bit picture makes the surface masked";
    EXPECT_GE(changes, 1);

    EXPECT_EQ(LoadDIBFromFile(dib, fs, "C:\\Pics\\plain.bmp"), "");
    EXPECT_EQ(dib.Pixel(0, 0), 0xFF030201u);
    EXPECT_FALSE(dib.Masked()) << "a picture without alpha after a 32-bit one is drawn as it is";

    dib.SetPixel(0, 0, 0x12345678u);
    EXPECT_NE(LoadDIBFromFile(dib, fs, "C:\\Pics\\broken.bmp"), "");
    EXPECT_NE(LoadDIBFromFile(dib, fs, "C:\\Pics\\missing.bmp"), "");
    EXPECT_EQ(dib.Pixel(0, 0), 0x12345678u) << "a failed load leaves the surface alone";
}

} // namespace
} // namespace kavlo
