#include "skin/formats/png_writer.h"

#include <png.h>

#include <cstring>
#include <fstream>
#include <system_error>

namespace kavlo {

namespace {

// The region's pixels top-down as R, G, B (and A) bytes, the order libpng's simplified API takes.
std::vector<uint8_t> RegionBytes(const PixelView& pixels, const ScreenRect& region, int channels) {
    std::vector<uint8_t> bytes(static_cast<size_t>(region.Width()) * region.Height() * channels);
    uint8_t* out = bytes.data();
    for (int y = region.top; y < region.bottom; ++y) {
        const uint8_t* in = pixels.Row(y) + static_cast<ptrdiff_t>(region.left) * 4;
        for (int x = 0; x < region.Width(); ++x, in += 4, out += channels) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            if (channels == 4) {
                out[3] = in[3];
            }
        }
    }
    return bytes;
}

} // namespace

std::optional<std::vector<uint8_t>> EncodePng(const PixelView& pixels, const ScreenRect& region,
                                              PngAlpha alpha) {
    if (!pixels.Valid()) {
        return std::nullopt;
    }
    ScreenRect clipped = Intersect(region, {0, 0, pixels.width, pixels.height});
    if (clipped.Empty()) {
        return std::nullopt;
    }
    int channels = alpha == PngAlpha::Keep ? 4 : 3;
    std::vector<uint8_t> bytes = RegionBytes(pixels, clipped, channels);

    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(clipped.Width());
    image.height = static_cast<png_uint_32>(clipped.Height());
    image.format = alpha == PngAlpha::Keep ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    png_int_32 stride = clipped.Width() * channels;

    // The first call only measures; the second writes into a buffer of that size.
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, bytes.data(), stride, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    std::vector<uint8_t> png(size);
    if (!png_image_write_to_memory(&image, png.data(), &size, 0, bytes.data(), stride, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    png.resize(size);
    return png;
}

bool WritePngFile(const std::filesystem::path& path, const PixelView& pixels, const ScreenRect& region,
                  PngAlpha alpha) {
    std::optional<std::vector<uint8_t>> png = EncodePng(pixels, region, alpha);
    if (!png) {
        return false;
    }
    // Written beside the target and renamed, so a failed write never leaves half a picture.
    std::filesystem::path temp = path;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(png->data()), static_cast<std::streamsize>(png->size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temp, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temp, path, error);
    if (error) {
        std::filesystem::remove(temp, error);
        return false;
    }
    return true;
}

} // namespace kavlo
