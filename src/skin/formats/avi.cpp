#include "skin/formats/avi.h"

#include <algorithm>
#include <cstring>

namespace kavlo {

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
// avih's fields that matter here, from the start of its data.
constexpr size_t kMainHeaderSize = 40;
constexpr size_t kBitmapInfoSize = 40;

uint32_t Le32(std::string_view data, size_t offset) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<uint8_t>(data[offset + static_cast<size_t>(i)]);
    }
    return value;
}

uint16_t Le16(std::string_view data, size_t offset) {
    return static_cast<uint16_t>(static_cast<uint8_t>(data[offset]) |
                                 (static_cast<uint8_t>(data[offset + 1]) << 8));
}

bool IsId(std::string_view data, size_t offset, std::string_view id) {
    return data.substr(offset, 4) == id;
}

// A chunk inside a list: its four-character id, its data, and (for a LIST or RIFF) the list type.
struct RiffChunk {
    std::string_view id;
    size_t data_offset = 0; // in the file
    size_t size = 0;
    std::string_view list_type;
};

// Walks the chunks of [begin, end) of the file. Each chunk must lie inside the range; the padding byte
// after an odd-sized chunk may be missing at the very end.
class ChunkWalker {
public:
    ChunkWalker(std::string_view file, size_t begin, size_t end) : file_(file), pos_(begin), end_(end) {}

    // False at the end; on a chunk that overruns the range `error` is set.
    bool Next(RiffChunk& chunk, std::string& error) {
        if (pos_ + 8 > end_) {
            if (pos_ < end_ && !Padding()) {
                error = "truncated chunk header";
            }
            return false;
        }
        chunk.id = file_.substr(pos_, 4);
        chunk.size = Le32(file_, pos_ + 4);
        chunk.data_offset = pos_ + 8;
        if (chunk.size > end_ - chunk.data_offset) {
            error = "chunk '" + Printable(chunk.id) + "' runs past the end of the file";
            return false;
        }
        chunk.list_type = {};
        if (chunk.id == "LIST" || chunk.id == "RIFF") {
            if (chunk.size < 4) {
                error = "list too short for its type";
                return false;
            }
            chunk.list_type = file_.substr(chunk.data_offset, 4);
        }
        pos_ = chunk.data_offset + chunk.size + (chunk.size & 1u);
        return true;
    }

private:
    // A lone byte left at the end is the padding of the chunk before.
    bool Padding() const { return end_ - pos_ == 1; }

    static std::string Printable(std::string_view id) {
        std::string out;
        for (char c : id) {
            out.push_back(c >= 0x20 && c < 0x7F ? c : '?');
        }
        return out;
    }

    std::string_view file_;
    size_t pos_;
    size_t end_;
};

uint32_t PaletteEntry(uint8_t red, uint8_t green, uint8_t blue) {
    return 0xFF000000u | (uint32_t{red} << 16) | (uint32_t{green} << 8) | blue;
}

// What the header lists tell: the main header and the first video stream.
struct Headers {
    bool have_main = false;
    bool have_video = false;
    int video_stream = -1;
    int streams = 0;
};

std::string ReadMainHeader(std::string_view file, const RiffChunk& chunk, AviClip& clip, Headers& headers) {
    if (chunk.size < kMainHeaderSize) {
        return "main header too short";
    }
    const size_t at = chunk.data_offset;
    clip.micro_sec_per_frame = Le32(file, at);
    clip.header_total_frames = Le32(file, at + 16);
    const uint32_t width = Le32(file, at + 32);
    const uint32_t height = Le32(file, at + 36);
    if (width == 0 || height == 0 || width > kMaxAviSide || height > kMaxAviSide ||
        int64_t{width} * height > kMaxAviPixels) {
        return "frame size " + std::to_string(width) + " x " + std::to_string(height) + " out of range";
    }
    clip.width = static_cast<int>(width);
    clip.height = static_cast<int>(height);
    headers.have_main = true;
    return {};
}

std::string ReadVideoFormat(std::string_view file, const RiffChunk& strf, AviClip& clip) {
    if (strf.size < kBitmapInfoSize) {
        return "video format too short";
    }
    const size_t at = strf.data_offset;
    const uint32_t info_size = Le32(file, at);
    const auto width = static_cast<int32_t>(Le32(file, at + 4));
    const auto height = static_cast<int32_t>(Le32(file, at + 8));
    const uint16_t bits = Le16(file, at + 14);
    const uint32_t compression = Le32(file, at + 16);
    const uint32_t colours = Le32(file, at + 32);
    if (bits != 8 || (compression != kBiRgb && compression != kBiRle8)) {
        return "only 8-bit uncompressed or RLE8 video is read";
    }
    if (info_size < kBitmapInfoSize || info_size > strf.size) {
        return "bad bitmap header size";
    }
    const bool top_down = height < 0;
    if (top_down && compression != kBiRgb) {
        return "RLE8 frames cannot be top-down";
    }
    const int64_t rows = top_down ? -int64_t{height} : height;
    if (width != clip.width || rows != clip.height) {
        return "video format size differs from the main header";
    }
    const uint32_t count = colours == 0 ? 256 : colours;
    if (count > 256) {
        return "palette of more than 256 colours";
    }
    if ((strf.size - info_size) / 4 < count) {
        return "palette truncated";
    }
    for (uint32_t i = 0; i < count; ++i) {
        const size_t entry = at + info_size + 4 * i;
        clip.palette[i] =
            PaletteEntry(static_cast<uint8_t>(file[entry + 2]), static_cast<uint8_t>(file[entry + 1]),
                         static_cast<uint8_t>(file[entry]));
    }
    for (uint32_t i = count; i < 256; ++i) {
        clip.palette[i] = PaletteEntry(0, 0, 0);
    }
    clip.palette_size = static_cast<int>(count);
    clip.compression = compression;
    clip.top_down = top_down;
    return {};
}

std::string ReadStreamList(std::string_view file, const RiffChunk& list, AviClip& clip, Headers& headers) {
    const int stream = headers.streams++;
    ChunkWalker walker(file, list.data_offset + 4, list.data_offset + list.size);
    RiffChunk chunk;
    std::string error;
    bool video = false;
    while (walker.Next(chunk, error)) {
        if (chunk.id == "strh") {
            if (chunk.size < 8) {
                return "stream header too short";
            }
            video = IsId(file, chunk.data_offset, "vids") && !headers.have_video;
        } else if (chunk.id == "strf" && video) {
            error = ReadVideoFormat(file, chunk, clip);
            if (!error.empty()) {
                return error;
            }
            headers.have_video = true;
            headers.video_stream = stream;
        }
    }
    return error;
}

std::string ReadHeaderList(std::string_view file, const RiffChunk& list, AviClip& clip, Headers& headers) {
    ChunkWalker walker(file, list.data_offset + 4, list.data_offset + list.size);
    RiffChunk chunk;
    std::string error;
    while (walker.Next(chunk, error)) {
        if (chunk.id == "avih") {
            error = ReadMainHeader(file, chunk, clip, headers);
        } else if (chunk.id == "LIST" && chunk.list_type == "strl") {
            if (!headers.have_main) {
                return "stream list before the main header";
            }
            error = ReadStreamList(file, chunk, clip, headers);
        }
        if (!error.empty()) {
            return error;
        }
    }
    return error;
}

// The video stream's chunk ids: "nndb", "nndc" (frames), "nnpc" (palette changes).
struct StreamIds {
    char digits[2];

    std::optional<AviClip::Chunk::Kind> KindOf(std::string_view id) const {
        if (id.size() != 4 || id[0] != digits[0] || id[1] != digits[1]) {
            return std::nullopt;
        }
        const std::string_view tail = id.substr(2);
        if (tail == "db" || tail == "dc") {
            return AviClip::Chunk::Kind::Frame;
        }
        if (tail == "pc") {
            return AviClip::Chunk::Kind::PaletteChange;
        }
        return std::nullopt;
    }
};

std::string AddChunk(AviClip& clip, AviClip::Chunk::Kind kind, size_t offset, size_t size) {
    if (clip.chunks.size() >= 2 * static_cast<size_t>(kMaxAviFrames)) {
        return "too many chunks";
    }
    if (kind == AviClip::Chunk::Kind::Frame) {
        if (clip.frame_count >= kMaxAviFrames) {
            return "too many frames";
        }
        ++clip.frame_count;
    }
    clip.chunks.push_back({kind, static_cast<uint32_t>(offset), static_cast<uint32_t>(size)});
    return {};
}

// The movie list walked in order; 'rec ' lists group chunks one level down.
std::string ScanMovie(std::string_view file, size_t begin, size_t end, const StreamIds& ids, AviClip& clip,
                      int depth) {
    ChunkWalker walker(file, begin, end);
    RiffChunk chunk;
    std::string error;
    while (walker.Next(chunk, error)) {
        if (chunk.id == "LIST") {
            if (chunk.list_type == "rec " && depth == 0) {
                error = ScanMovie(file, chunk.data_offset + 4, chunk.data_offset + chunk.size, ids, clip, 1);
            }
        } else if (const auto kind = ids.KindOf(chunk.id)) {
            error = AddChunk(clip, *kind, chunk.data_offset, chunk.size);
        }
        if (!error.empty()) {
            return error;
        }
    }
    return error;
}

// idx1 entries point at chunk headers, counted from the movie list's type field or from the start of
// the file; the first entry tells which.
std::string ReadIndex(std::string_view file, const RiffChunk& index, size_t movi_type_offset,
                      const StreamIds& ids, AviClip& clip) {
    const size_t entries = index.size / 16;
    std::optional<size_t> base;
    for (size_t i = 0; i < entries; ++i) {
        const size_t at = index.data_offset + 16 * i;
        const std::string_view id = file.substr(at, 4);
        const size_t offset = Le32(file, at + 8);
        const size_t size = Le32(file, at + 12);
        if (!base) {
            for (size_t candidate : {movi_type_offset, size_t{0}}) {
                if (candidate + offset + 8 <= file.size() && file.substr(candidate + offset, 4) == id) {
                    base = candidate;
                    break;
                }
            }
            if (!base) {
                return "index does not point at its chunks";
            }
        }
        const auto kind = ids.KindOf(id);
        if (!kind) {
            continue;
        }
        const size_t header = *base + offset;
        if (header > file.size() || file.size() - header < 8 || file.substr(header, 4) != id ||
            Le32(file, header + 4) != size || size > file.size() - header - 8) {
            return "index entry " + std::to_string(i) + " does not match its chunk";
        }
        const std::string error = AddChunk(clip, *kind, header + 8, size);
        if (!error.empty()) {
            return error;
        }
    }
    return {};
}

} // namespace

AviResult ReadAvi(std::string_view bytes) {
    if (bytes.size() < 12 || !IsId(bytes, 0, "RIFF") || !IsId(bytes, 8, "AVI ")) {
        return AviResult::Fail("not an AVI file");
    }
    if (bytes.size() > 0xFFFFFFF0u) {
        return AviResult::Fail("file too large");
    }
    const size_t riff_size = Le32(bytes, 4);
    if (riff_size < 4 || riff_size > bytes.size() - 8) {
        return AviResult::Fail("file truncated");
    }
    AviResult result;
    result.clip.emplace();
    AviClip& clip = *result.clip;
    clip.bytes.assign(bytes.substr(0, 8 + riff_size));
    const std::string_view file = clip.bytes;

    Headers headers;
    std::optional<RiffChunk> movi;
    std::optional<RiffChunk> index;
    ChunkWalker walker(file, 12, file.size());
    RiffChunk chunk;
    std::string error;
    while (error.empty() && walker.Next(chunk, error)) {
        if (chunk.id == "LIST" && chunk.list_type == "hdrl") {
            error = ReadHeaderList(file, chunk, clip, headers);
        } else if (chunk.id == "LIST" && chunk.list_type == "movi" && !movi) {
            movi = chunk;
        } else if (chunk.id == "idx1" && !index) {
            index = chunk;
        }
    }
    if (!error.empty()) {
        return AviResult::Fail(error);
    }
    if (!headers.have_main) {
        return AviResult::Fail("no main header");
    }
    if (!headers.have_video || headers.video_stream > 99) {
        return AviResult::Fail("no video stream");
    }
    if (!movi) {
        return AviResult::Fail("no movie list");
    }
    const StreamIds ids{{static_cast<char>('0' + headers.video_stream / 10),
                         static_cast<char>('0' + headers.video_stream % 10)}};
    // With other streams interleaved the index is the quick way to the video; alone, the list is.
    if (headers.streams > 1 && index) {
        error = ReadIndex(file, *index, movi->data_offset, ids, clip);
    } else {
        error = ScanMovie(file, movi->data_offset + 4, movi->data_offset + movi->size, ids, clip, 0);
    }
    if (!error.empty()) {
        return AviResult::Fail(error);
    }
    if (clip.frame_count == 0) {
        return AviResult::Fail("no frames");
    }
    return result;
}

AviFrameDecoder::AviFrameDecoder(const AviClip& clip) : clip_(clip) {
    Rewind();
}

void AviFrameDecoder::Rewind() {
    indices_.assign(static_cast<size_t>(clip_.width) * static_cast<size_t>(clip_.height), 0);
    palette_ = clip_.palette;
    next_chunk_ = 0;
    next_frame_ = 0;
    failed_ = false;
}

std::string AviFrameDecoder::Seek(int frame) {
    if (frame < 0 || frame >= clip_.frame_count) {
        return "frame " + std::to_string(frame) + " out of range";
    }
    if (frame < next_frame_ || failed_) {
        Rewind();
    }
    while (next_frame_ <= frame) {
        std::string error = DecodeNext();
        if (!error.empty()) {
            return error;
        }
    }
    return {};
}

std::string AviFrameDecoder::DecodeNext() {
    std::string error = DecodeChunks();
    if (!error.empty()) {
        // What follows a broken frame would be drawn over garbage: only a rewind goes on.
        failed_ = true;
        next_chunk_ = clip_.chunks.size();
    }
    return error;
}

std::string AviFrameDecoder::DecodeChunks() {
    if (failed_) {
        return "an earlier frame could not be decoded";
    }
    while (next_chunk_ < clip_.chunks.size()) {
        const AviClip::Chunk& chunk = clip_.chunks[next_chunk_++];
        const std::string_view data = std::string_view(clip_.bytes).substr(chunk.offset, chunk.size);
        if (chunk.kind == AviClip::Chunk::Kind::PaletteChange) {
            std::string error = ApplyPaletteChange(data);
            if (!error.empty()) {
                return error;
            }
            continue;
        }
        ++next_frame_;
        // An empty frame chunk repeats the previous frame.
        if (data.empty()) {
            return {};
        }
        return clip_.compression == kBiRle8 ? DecodeRle8(data) : DecodeRaw(data);
    }
    return "no more frames";
}

std::string AviFrameDecoder::ApplyPaletteChange(std::string_view data) {
    size_t pos = 0;
    while (data.size() - pos >= 4) {
        const size_t first = static_cast<uint8_t>(data[pos]);
        const size_t count = data[pos + 1] == 0 ? 256 : static_cast<uint8_t>(data[pos + 1]);
        pos += 4;
        if ((data.size() - pos) / 4 < count) {
            return "palette change truncated";
        }
        for (size_t i = 0; i < count && first + i < 256; ++i) {
            const size_t at = pos + 4 * i;
            palette_[first + i] =
                PaletteEntry(static_cast<uint8_t>(data[at]), static_cast<uint8_t>(data[at + 1]),
                             static_cast<uint8_t>(data[at + 2]));
        }
        pos += 4 * count;
    }
    return {};
}

std::string AviFrameDecoder::DecodeRaw(std::string_view data) {
    const auto width = static_cast<size_t>(clip_.width);
    const auto height = static_cast<size_t>(clip_.height);
    const size_t stride = (width + 3) & ~size_t{3};
    // The last row's padding may be left out.
    if (data.size() < stride * (height - 1) + width) {
        return "frame data truncated";
    }
    for (size_t row = 0; row < height; ++row) {
        const size_t stored = clip_.top_down ? height - 1 - row : row;
        std::memcpy(indices_.data() + row * width, data.data() + stored * stride, width);
    }
    return {};
}

std::string AviFrameDecoder::DecodeRle8(std::string_view data) {
    const auto width = static_cast<size_t>(clip_.width);
    const auto height = static_cast<size_t>(clip_.height);
    size_t x = 0;
    size_t y = 0; // rows from the bottom
    size_t pos = 0;
    // Pixels beyond the right edge or above the top are dropped, as a display would clip them.
    const auto put = [&](uint8_t index) {
        if (x < width && y < height) {
            indices_[y * width + x] = index;
        }
        ++x;
    };
    while (pos + 2 <= data.size()) {
        const auto count = static_cast<uint8_t>(data[pos]);
        const auto value = static_cast<uint8_t>(data[pos + 1]);
        pos += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i) {
                put(value);
            }
            continue;
        }
        switch (value) {
            case 0: // end of line
                x = 0;
                ++y;
                break;
            case 1: // end of bitmap
                return {};
            case 2: // delta
                if (pos + 2 > data.size()) {
                    return "frame data truncated";
                }
                x += static_cast<uint8_t>(data[pos]);
                y += static_cast<uint8_t>(data[pos + 1]);
                pos += 2;
                break;
            default: { // absolute run, padded to a word
                const size_t padded = value + (value & 1u);
                if (data.size() - pos < value) {
                    return "frame data truncated";
                }
                for (size_t i = 0; i < value; ++i) {
                    put(static_cast<uint8_t>(data[pos + i]));
                }
                pos += std::min(padded, data.size() - pos);
                break;
            }
        }
        if (y > height) {
            // Nothing more can land inside the frame.
            return {};
        }
    }
    return {};
}

void AviFrameDecoder::ToPixels(std::vector<uint32_t>& pixels) const {
    pixels.resize(indices_.size());
    for (size_t i = 0; i < indices_.size(); ++i) {
        pixels[i] = palette_[indices_[i]];
    }
}

} // namespace kavlo
