#include "skin/formats/picture.h"

#include "platform/file_system.h"
#include "skin/formats/bmp_reader.h"
#include "skin/formats/jpeg_reader.h"
#include "skin/surface/dib.h"

namespace kavlo {

std::string CheckPictureSize(int64_t width, int64_t height) {
    if (width <= 0 || height <= 0) {
        return "The picture has no pixels";
    }
    if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels) {
        return "The picture is too large (" + std::to_string(width) + " x " + std::to_string(height) + ")";
    }
    return {};
}

bool PixelBudget::Take(int64_t pixels) {
    if (refused_ || pixels < 0 || pixels > left_bytes_ / 4) {
        refused_ = true;
        return false;
    }
    left_bytes_ -= pixels * 4;
    return true;
}

std::string PixelBudget::Refusal() const {
    return "The images ask for more than " + std::to_string(limit_bytes_ >> 20) +
           " MB of pixel memory in all";
}

PictureResult LoadPicture(std::string_view bytes, PixelBudget* budget) {
    if (bytes.starts_with("BM")) {
        return ReadBmp(bytes, budget);
    }
    if (bytes.starts_with("\xFF\xD8")) {
        return ReadJpeg(bytes, budget);
    }
    return PictureResult::Fail("Unknown picture format");
}

PictureResult LoadPictureFile(const FileSystem& fs, std::string_view path) {
    const std::optional<std::string> bytes = fs.ReadFile(path);
    if (!bytes) {
        return PictureResult::Fail("Cannot read the picture file");
    }
    return LoadPicture(*bytes);
}

void AssignPicture(TAbstractSuperDIB& dib, Picture picture) {
    const bool has_alpha = picture.has_alpha;
    dib.SetPixels(picture.width, picture.height, std::move(picture.pixels));
    // A picture without alpha is drawn as it is, even where the surface held a masked one before.
    dib.SetMasked(has_alpha);
}

std::string LoadDIBFromFile(TAbstractSuperDIB& dib, const FileSystem& fs, std::string_view path) {
    PictureResult result = LoadPictureFile(fs, path);
    if (!result) {
        return result.error;
    }
    AssignPicture(dib, std::move(*result.picture));
    return {};
}

} // namespace kavlo
