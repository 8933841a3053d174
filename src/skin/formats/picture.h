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

// The pixel memory one form stream may ask for, its images and pictures together. Each may be as large
// as one picture may be, but a stream of many such would take gigabytes; the built-in window's hold
// about 14 MB.
inline constexpr int64_t kMaxFormPixelBytes = int64_t{64} << 20;

// Pixel memory shared by several decodes so that together they keep to it: each takes its pixels
// before it allocates them. A refusal is final, and every later request is refused too: what was
// asked for as a whole cannot be had any more, so nothing more is decoded for it.
class PixelBudget {
public:
    explicit PixelBudget(int64_t bytes) : limit_bytes_(bytes), left_bytes_(bytes) {}

    // Takes `pixels` pixels of 4 bytes; false when they are not left.
    bool Take(int64_t pixels);
    bool Refused() const { return refused_; }
    // Why a request was refused.
    std::string Refusal() const;

private:
    int64_t limit_bytes_;
    int64_t left_bytes_;
    bool refused_ = false;
};

// Decodes BMP or JPEG bytes, told apart by their signature; the pixels are taken from `budget`, when
// given, before any memory is.
PictureResult LoadPicture(std::string_view bytes, PixelBudget* budget = nullptr);
// Reads a picture file through the PC's file system (a Windows path).
PictureResult LoadPictureFile(const FileSystem& fs, std::string_view path);

// Gives the surface the picture's size and pixels. A picture with alpha makes the surface Masked.
void AssignPicture(TAbstractSuperDIB& dib, Picture picture);
// Loads a picture file into a surface; the surface is untouched when loading fails. Empty on
// success, else the reason.
std::string LoadDIBFromFile(TAbstractSuperDIB& dib, const FileSystem& fs, std::string_view path);

} // namespace kavlo
