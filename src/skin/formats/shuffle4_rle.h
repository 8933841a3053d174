#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "skin/formats/compressor.h"

namespace kavlo {

// Byte-plane shuffle: all first bytes of every 4-byte group, then all second, third and fourth
// bytes. Pixels then give long runs (an opaque picture's alpha plane is one run). The n % 4 bytes
// after the last whole group follow the fourth plane unchanged; a raw pixel block (4 + w * h * 4
// bytes) never has any.
std::string Shuffle4(std::string_view bytes);
std::string Unshuffle4(std::string_view planes);

// Run-length coding as (count, value) pairs, count 1..255.
std::string RleEncode(std::string_view bytes);
// Fails on an odd length, a count of 0, or output that would pass `size` or fall short of it.
CodecResult RleDecode(std::string_view pairs, uint32_t size);

// "Shuffle4 RLE" {CABA9056-7349-43A4-B010-3764FBFAC230}.
class Shuffle4RleCompressor : public Compressor {
public:
    static const Guid kId;

    std::string_view Name() const override { return "Shuffle4 RLE"; }
    const Guid& Id() const override { return kId; }
    CodecResult Compress(std::string_view raw) const override;
    CodecResult Decompress(std::string_view payload, uint32_t raw_size) const override;
};

} // namespace kavlo
