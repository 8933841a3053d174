#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavlo {

// Limits a clip must keep before anything is allocated for it: its frames are pictures (no side beyond
// kMaxAviSide, no more than kMaxAviPixels a frame) and a hostile header cannot ask for millions of them.
inline constexpr int kMaxAviSide = 4096;
inline constexpr int64_t kMaxAviPixels = int64_t{1} << 22;
inline constexpr int kMaxAviFrames = 100000;

// A silent 8-bit clip read from an AVI file: the main header's timing and size, the video stream's
// format and palette, and where each frame's data lies. The clip keeps its own copy of the bytes.
struct AviClip {
    int width = 0;
    int height = 0;
    uint32_t micro_sec_per_frame = 0;
    // The frames found in the file (the header's dwTotalFrames may claim more or fewer).
    int frame_count = 0;
    uint32_t header_total_frames = 0;
    // 0 (BI_RGB, 8 bits a pixel, rows padded to 4 bytes) or 1 (BI_RLE8).
    uint32_t compression = 0;
    // Uncompressed frames may store their top row first (a negative height in the format).
    bool top_down = false;
    // The stream format's colour table as 0xAARRGGBB (alpha 255); entries past the table are black.
    std::array<uint32_t, 256> palette{};
    int palette_size = 0;

    // The video chunks in file order: frames and the palette changes between them.
    struct Chunk {
        enum class Kind : uint8_t { Frame, PaletteChange };
        Kind kind = Kind::Frame;
        uint32_t offset = 0; // into `bytes`
        uint32_t size = 0;
    };
    std::vector<Chunk> chunks;
    std::string bytes;
};

// A clip, or why there is none.
struct AviResult {
    std::optional<AviClip> clip;
    std::string error;

    explicit operator bool() const { return clip.has_value(); }
    static AviResult Fail(std::string message) { return {std::nullopt, std::move(message)}; }
};

// Reads a RIFF AVI file: the main header, the first video stream's header and format (8 bits a pixel,
// uncompressed or RLE8), the frame and palette-change chunks of the movie list (through idx1 when the
// file has other streams, else by walking the list). Unknown and JUNK chunks are skipped. Every size
// and offset is checked against the bytes; a truncated file is an error, never a partial read.
AviResult ReadAvi(std::string_view bytes);

// Decodes a clip's frames in order. RLE8 frames draw over the previous frame, so a frame can only be
// reached from the start; Seek does that. The clip must outlive the decoder.
class AviFrameDecoder {
public:
    explicit AviFrameDecoder(const AviClip& clip);

    // The index of the frame DecodeNext decodes (0-based).
    int NextFrame() const { return next_frame_; }
    // Decodes the next frame (applying the palette changes before it). Empty on success, else the
    // reason; after a failure the image is undefined and only Rewind or Seek (which rewinds) go on.
    std::string DecodeNext();
    // Back to before the first frame: a black image and the stream's palette.
    void Rewind();
    // Decodes frames until `frame` is the last decoded one (rewinding when it lies behind).
    std::string Seek(int frame);

    // The decoded image: width x height palette indices, bottom row first.
    const std::vector<uint8_t>& Indices() const { return indices_; }
    // The palette in force for the decoded image.
    const std::array<uint32_t, 256>& Palette() const { return palette_; }
    // The decoded image as 0xAARRGGBB words, bottom row first (the surfaces' layout); `pixels` is
    // resized to width x height.
    void ToPixels(std::vector<uint32_t>& pixels) const;

private:
    std::string DecodeChunks();
    std::string ApplyPaletteChange(std::string_view data);
    std::string DecodeRaw(std::string_view data);
    std::string DecodeRle8(std::string_view data);

    const AviClip& clip_;
    std::vector<uint8_t> indices_;
    std::array<uint32_t, 256> palette_{};
    size_t next_chunk_ = 0;
    int next_frame_ = 0;
    bool failed_ = false;
};

} // namespace kavlo
