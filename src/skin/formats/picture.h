#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavlo {

class FileSystem;
class TAbstractSuperDIB;

// A decoded picture in the surfaces' layout: 0xAARRGGBB words, bottom row first.
struct Picture {
    uint16_t width = 0;
    uint16_t height = 0;
    // A 32-bit picture brings its own alpha bytes; every other picture has alpha 255.
    bool has_alpha = false;
    std::vector<uint32_t> pixels;
};

// A picture, or why there is none.
struct PictureResult {
    std::optional<Picture> picture;
    std::string error;

    explicit operator bool() const { return picture.has_value(); }
    static PictureResult Fail(std::string message) { return {std::nullopt, std::move(message)}; }
};

// Limits a picture must keep before any pixel memory is taken: no side beyond 16384 (well inside the
// surfaces' 16-bit sizes) and no more than 64 Mi pixels in all.
inline constexpr int kMaxPictureSide = 16384;
inline constexpr int64_t kMaxPicturePixels = int64_t{1} << 26;
// Empty when width x height is acceptable, else the reason.
std::string CheckPictureSize(int64_t width, int64_t height);

// Decodes BMP or JPEG bytes, told apart by their signature.
PictureResult LoadPicture(std::string_view bytes);
// Reads a picture file through the PC's file system (a Windows path).
PictureResult LoadPictureFile(const FileSystem& fs, std::string_view path);

// Gives the surface the picture's size and pixels. A picture with alpha makes the surface Masked.
void AssignPicture(TAbstractSuperDIB& dib, Picture picture);
// Loads a picture file into a surface; the surface is untouched when loading fails. Empty on
// success, else the reason.
std::string LoadDIBFromFile(TAbstractSuperDIB& dib, const FileSystem& fs, std::string_view path);

} // namespace kavlo
