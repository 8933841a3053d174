#include "skin/formats/shuffle4_rle.h"

namespace kavlo {

const Guid Shuffle4RleCompressor::kId = {
    0xCABA9056, 0x7349, 0x43A4, {0xB0, 0x10, 0x37, 0x64, 0xFB, 0xFA, 0xC2, 0x30}};

std::string Shuffle4(std::string_view bytes) {
    const size_t groups = bytes.size() / 4;
    std::string planes(bytes.size(), '\0');
    for (size_t plane = 0; plane < 4; ++plane) {
        for (size_t g = 0; g < groups; ++g) {
            planes[plane * groups + g] = bytes[g * 4 + plane];
        }
    }
    for (size_t i = groups * 4; i < bytes.size(); ++i) {
        planes[i] = bytes[i];
    }
    return planes;
}

std::string Unshuffle4(std::string_view planes) {
    const size_t groups = planes.size() / 4;
    std::string bytes(planes.size(), '\0');
    for (size_t plane = 0; plane < 4; ++plane) {
        for (size_t g = 0; g < groups; ++g) {
            bytes[g * 4 + plane] = planes[plane * groups + g];
        }
    }
    for (size_t i = groups * 4; i < planes.size(); ++i) {
        bytes[i] = planes[i];
    }
    return bytes;
}

std::string RleEncode(std::string_view bytes) {
    std::string pairs;
    size_t i = 0;
    while (i < bytes.size()) {
        size_t run = 1;
        while (run < 255 && i + run < bytes.size() && bytes[i + run] == bytes[i]) {
            ++run;
        }
        pairs += static_cast<char>(run);
        pairs += bytes[i];
        i += run;
    }
    return pairs;
}

CodecResult RleDecode(std::string_view pairs, uint32_t size) {
    if (pairs.size() % 2 != 0) {
        return CodecResult::Failure("RLE : the packed data ends inside a pair");
    }
    CodecResult result;
    for (size_t i = 0; i < pairs.size(); i += 2) {
        const size_t count = static_cast<uint8_t>(pairs[i]);
        if (count == 0) {
            return CodecResult::Failure("RLE : a run of length 0");
        }
        if (result.bytes.size() + count > size) {
            return CodecResult::Failure("RLE : the runs pass the unpacked length");
        }
        result.bytes.append(count, pairs[i + 1]);
    }
    if (result.bytes.size() != size) {
        return CodecResult::Failure("RLE : the runs fall short of the unpacked length");
    }
    return result;
}

CodecResult Shuffle4RleCompressor::Compress(std::string_view raw) const {
    if (raw.size() > kMaxUnpackedSize) {
        return CodecResult::Failure("RLE : the data is too large to pack");
    }
    return {RleEncode(Shuffle4(raw)), {}};
}

CodecResult Shuffle4RleCompressor::Decompress(std::string_view payload, uint32_t raw_size) const {
    if (raw_size > kMaxUnpackedSize) {
        return CodecResult::Failure("RLE : the unpacked length is too large");
    }
    CodecResult planes = RleDecode(payload, raw_size);
    if (!planes.ok()) {
        return planes;
    }
    return {Unshuffle4(planes.bytes), {}};
}

} // namespace kavlo
