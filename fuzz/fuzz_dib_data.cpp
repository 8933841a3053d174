// Any bytes as a stored DIB.Data value: decoding must end in pixels or an error, never a crash or a
// read past the data; pixels that decode must pack and unpack to the same pixels with every
// compressor.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "skin/formats/compressor.h"
#include "skin/formats/stored_image.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

constexpr size_t kRoundTripLimit = 256 * 1024; // keeps each run fast

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const kavlo::CompressorRegistry registry = kavlo::CompressorRegistry::WithStandardCompressors();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kavlo::PixelBlockResult block = kavlo::DecodeStoredData(bytes, registry);
    if (!block.ok()) {
        Check(block.block.pixels.empty());
        return 0;
    }
    Check(block.block.pixels.size() == size_t{block.block.width} * block.block.height);
    const std::string raw = kavlo::EncodePixelBlock(block.block);
    if (raw.size() > kRoundTripLimit) {
        return 0;
    }
    for (const kavlo::Compressor* compressor : registry.All()) {
        const kavlo::PackedData packed = kavlo::PackStoredData(raw, compressor);
        const kavlo::PixelBlockResult back = kavlo::DecodeStoredData(packed.bytes, registry);
        Check(back.ok() && back.block == block.block);
    }
    return 0;
}
