// Any bytes as an AVI clip: nothing may crash or overrun; a clip that reads must keep the limits and
// point only inside its own bytes, and every frame it lists must decode or fail with a reason.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "skin/formats/avi.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kavlo::AviResult result = kavlo::ReadAvi(bytes);
    if (!result) {
        Check(!result.error.empty());
        return 0;
    }
    const kavlo::AviClip& clip = *result.clip;
    Check(clip.width > 0 && clip.height > 0 && clip.width <= kavlo::kMaxAviSide &&
          clip.height <= kavlo::kMaxAviSide);
    Check(int64_t{clip.width} * clip.height <= kavlo::kMaxAviPixels);
    Check(clip.frame_count > 0 && clip.frame_count <= kavlo::kMaxAviFrames);
    for (const kavlo::AviClip::Chunk& chunk : clip.chunks) {
        Check(chunk.offset <= clip.bytes.size() && chunk.size <= clip.bytes.size() - chunk.offset);
    }
    kavlo::AviFrameDecoder decoder(clip);
    while (decoder.NextFrame() < clip.frame_count) {
        const int before = decoder.NextFrame();
        if (!decoder.DecodeNext().empty()) {
            break;
        }
        Check(decoder.NextFrame() == before + 1);
        Check(decoder.Indices().size() == static_cast<size_t>(clip.width) * static_cast<size_t>(clip.height));
    }
    std::vector<uint32_t> pixels;
    decoder.ToPixels(pixels);
    Check(pixels.size() == decoder.Indices().size());
    // Going back to a frame decodes the same picture as getting there the first time.
    if (clip.frame_count > 1 && decoder.Seek(1).empty()) {
        const std::vector<uint8_t> second = decoder.Indices();
        Check(decoder.Seek(0).empty() && decoder.Seek(1).empty() && decoder.Indices() == second);
    }
    return 0;
}
