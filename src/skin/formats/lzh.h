#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "skin/formats/compressor.h"

namespace kavlo {

// LZHUF: LZSS over a 4096-byte window (initially spaces, first coded position 4036) with matches of
// 3..60 bytes, its symbols coded by an adaptive Huffman tree and its match positions by a fixed
// prefix code for the upper 6 bits plus 6 plain bits. The payload is the unpacked length (u32 LE)
// followed by the bit stream, most significant bit first.
namespace lzh {
inline constexpr char kNoMemory[] = "LZH : Cannot get memory for dictionary tables";
} // namespace lzh

// Packs `raw`; fails with kCompressedLarger as soon as the payload would grow past `max_payload`
// bytes (by default the size of `raw`: packing that does not pay is given up early).
CodecResult LzhEncode(std::string_view raw, size_t max_payload);
inline CodecResult LzhEncode(std::string_view raw) {
    return LzhEncode(raw, raw.size());
}
// Unpacks a payload. Never reads past `payload` nor writes past the length it declares; a declared
// length above `max_size`, a cut stream or a match reaching past the declared end is an error.
CodecResult LzhDecode(std::string_view payload, uint32_t max_size = kMaxUnpackedSize);

// "DIB LZH" {BC0C10FC-E045-41E7-A37C-B86AF21320B8}.
class LzhCompressor : public Compressor {
public:
    static const Guid kId;

    std::string_view Name() const override { return "DIB LZH"; }
    const Guid& Id() const override { return kId; }
    CodecResult Compress(std::string_view raw) const override { return LzhEncode(raw); }
    CodecResult Decompress(std::string_view payload, uint32_t raw_size) const override;
};

} // namespace kavlo
