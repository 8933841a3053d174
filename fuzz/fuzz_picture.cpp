// Any bytes as a picture file (bitmap or JPEG, told apart by the signature): nothing may crash or
// overrun, and a decoded picture must be as large as it says and within the picture limits. A picture
// is then put on a surface and drawn turned onto a small one, as the gallery does with loaded files.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "skin/formats/picture.h"
#include "skin/surface/dib.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kavlo::PictureResult result = kavlo::LoadPicture(bytes);
    if (!result) {
        Check(!result.error.empty());
        return 0;
    }
    const kavlo::Picture& picture = *result.picture;
    Check(picture.width > 0 && picture.height > 0);
    Check(picture.width <= kavlo::kMaxPictureSide && picture.height <= kavlo::kMaxPictureSide);
    Check(picture.pixels.size() == size_t{picture.width} * picture.height);

    kavlo::TMemoryDIB dib;
    kavlo::AssignPicture(dib, std::move(*result.picture));
    dib.SetAngle(static_cast<int16_t>(size % 360));
    dib.SetOpacity(static_cast<uint8_t>(size));
    kavlo::TMemoryDIB target(16, 16);
    dib.Draw(target, -3, -3);
    return 0;
}
