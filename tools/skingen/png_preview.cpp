#include "png_preview.h"

#include <cstdio>
#include <png.h>

namespace kavlo::skingen {

bool WritePngPreview(const Canvas& canvas, const std::filesystem::path& path, int zoom) {
    std::vector<uint32_t> words = canvas.TopDown();
    int w = canvas.Width() * zoom, h = canvas.Height() * zoom;
    std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint32_t v = words[static_cast<size_t>(y / zoom) * canvas.Width() + x / zoom];
            uint8_t* p = &rgba[(static_cast<size_t>(y) * w + x) * 4];
            p[0] = static_cast<uint8_t>(v >> 16);
            p[1] = static_cast<uint8_t>(v >> 8);
            p[2] = static_cast<uint8_t>(v);
            p[3] = static_cast<uint8_t>(v >> 24);
        }
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(w);
    image.height = static_cast<png_uint_32>(h);
    image.format = PNG_FORMAT_RGBA;
    bool ok = png_image_write_to_file(&image, path.string().c_str(), 0, rgba.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return ok;
}

} // namespace kavlo::skingen
