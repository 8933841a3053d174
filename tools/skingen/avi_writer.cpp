#include "avi_writer.h"

#include <algorithm>
#include <string_view>

#include "le_bytes.h"

namespace kavlo::skingen {

namespace {

// A chunk with its id and size, padded to an even length as RIFF wants.
std::string Chunk(std::string_view id, const std::string& data) {
    std::string out(id);
    Put32(out, static_cast<uint32_t>(data.size()));
    out += data;
    if (data.size() % 2 != 0) {
        out.push_back('\0');
    }
    return out;
}

std::string List(std::string_view type, const std::string& content) {
    return Chunk("LIST", std::string(type) + content);
}

// Shorter gaps of unchanged pixels are cheaper written again than skipped (a skip costs four bytes).
constexpr int kMinSkip = 4;

class Rle8Coder {
public:
    explicit Rle8Coder(std::string& out) : out_(out) {}

    // Pixels [a, b) of one row: encoded runs where three or more repeat, absolute runs between them.
    void Span(const uint8_t* row, int a, int b) {
        int i = a;
        while (i < b) {
            int run = RunAt(row, i, b);
            if (run >= 3) {
                Put8(out_, static_cast<uint32_t>(run));
                Put8(out_, row[i]);
                i += run;
                continue;
            }
            int j = i;
            while (j < b) {
                int r = RunAt(row, j, b);
                if (r >= 3 || j + r - i > 255) {
                    break;
                }
                j += r;
            }
            int n = j - i;
            if (n >= 3) {
                Put8(out_, 0);
                Put8(out_, static_cast<uint32_t>(n));
                out_.append(reinterpret_cast<const char*>(row + i), static_cast<size_t>(n));
                if (n % 2 != 0) {
                    Put8(out_, 0); // absolute runs end on a word
                }
                i = j;
            } else {
                Put8(out_, static_cast<uint32_t>(run));
                Put8(out_, row[i]);
                i += run;
            }
        }
        x_ = b;
    }

    // Moves the pen forward to pixel x of coded line `line` (lines count from the bottom row).
    void MoveTo(int x, int line) {
        if (line > line_ && x < x_) {
            EndOfLine();
        }
        int dx = x - x_, dy = line - line_;
        while (dx > 0 || dy > 0) {
            int sx = std::min(dx, 255), sy = std::min(dy, 255);
            Put8(out_, 0);
            Put8(out_, 2);
            Put8(out_, static_cast<uint32_t>(sx));
            Put8(out_, static_cast<uint32_t>(sy));
            dx -= sx, dy -= sy;
        }
        x_ = x, line_ = line;
    }

    void EndOfLine() {
        Put8(out_, 0);
        Put8(out_, 0);
        x_ = 0, ++line_;
    }

    void EndOfBitmap() {
        Put8(out_, 0);
        Put8(out_, 1);
    }

private:
    static int RunAt(const uint8_t* row, int i, int b) {
        int n = 1;
        while (i + n < b && n < 255 && row[i + n] == row[i]) {
            ++n;
        }
        return n;
    }

    std::string& out_;
    int x_ = 0;
    int line_ = 0;
};

} // namespace

std::string EncodeRle8(const std::vector<uint8_t>& frame, const std::vector<uint8_t>* previous, int width,
                       int height) {
    std::string out;
    Rle8Coder coder(out);
    for (int line = 0; line < height; ++line) {
        size_t start = static_cast<size_t>(height - 1 - line) * width;
        const uint8_t* row = frame.data() + start;
        if (previous == nullptr) {
            coder.Span(row, 0, width);
            if (line + 1 < height) {
                coder.EndOfLine();
            }
            continue;
        }
        const uint8_t* before = previous->data() + start;
        int x = 0;
        while (x < width) {
            while (x < width && row[x] == before[x]) {
                ++x;
            }
            if (x == width) {
                break;
            }
            // A changed span runs on over unchanged gaps too short to be worth a skip.
            int end = x + 1, same = 0;
            for (int k = end; k < width && same < kMinSkip; ++k) {
                if (row[k] == before[k]) {
                    ++same;
                } else {
                    end = k + 1, same = 0;
                }
            }
            coder.MoveTo(x, line);
            coder.Span(row, x, end);
            x = end;
        }
    }
    coder.EndOfBitmap();
    return out;
}

std::string WriteAvi(const AviVideo& video, const std::vector<AviFrame>& frames) {
    constexpr uint32_t kHasIndex = 0x10;
    constexpr uint32_t kKeyFrame = 0x10;
    const auto count = static_cast<uint32_t>(frames.size());
    const auto w = static_cast<uint32_t>(video.width), h = static_cast<uint32_t>(video.height);

    std::string movi, index;
    uint32_t largest = 0;
    for (const AviFrame& frame : frames) {
        largest = std::max(largest, static_cast<uint32_t>(frame.data.size()));
        index += video.chunk_id;
        Put32(index, frame.key ? kKeyFrame : 0);
        Put32(index, static_cast<uint32_t>(4 + movi.size())); // from the list's 'movi'
        Put32(index, static_cast<uint32_t>(frame.data.size()));
        movi += Chunk(video.chunk_id, frame.data);
    }

    const uint32_t period = video.micro_sec_per_frame;
    std::string avih;
    Put32(avih, period);
    Put32(avih, static_cast<uint32_t>(uint64_t{largest} * 1000000 / std::max(period, 1u)));
    Put32(avih, 0); // padding granularity
    Put32(avih, kHasIndex);
    Put32(avih, count);
    Put32(avih, 0); // initial frames
    Put32(avih, 1); // streams
    Put32(avih, largest);
    Put32(avih, w);
    Put32(avih, h);
    for (int i = 0; i < 4; ++i) {
        Put32(avih, 0);
    }

    std::string strh = "vids" + video.handler;
    Put32(strh, 0); // flags
    Put16(strh, 0); // priority
    Put16(strh, 0); // language
    Put32(strh, 0); // initial frames
    Put32(strh, video.scale);
    Put32(strh, video.rate);
    Put32(strh, 0); // start
    Put32(strh, count);
    Put32(strh, largest);
    Put32(strh, 0xFFFFFFFF); // default quality
    Put32(strh, 0);          // sample size: frames vary
    Put16(strh, 0);
    Put16(strh, 0);
    Put16(strh, w);
    Put16(strh, h);

    std::string strf;
    Put32(strf, 40);
    Put32(strf, w);
    Put32(strf, h); // positive: rows bottom-up
    Put16(strf, 1);
    Put16(strf, video.bit_count);
    Put32(strf, video.compression);
    Put32(strf, video.image_size);
    Put32(strf, 0);
    Put32(strf, 0);
    Put32(strf, static_cast<uint32_t>(video.palette.size()));
    Put32(strf, 0);
    for (uint32_t colour : video.palette) {
        Put32(strf, colour & 0xFFFFFF); // blue, green, red, 0
    }

    std::string hdrl = Chunk("avih", avih) + List("strl", Chunk("strh", strh) + Chunk("strf", strf));
    std::string body = "AVI " + List("hdrl", hdrl) + List("movi", movi) + Chunk("idx1", index);
    std::string out = "RIFF";
    Put32(out, static_cast<uint32_t>(body.size()));
    return out + body;
}

std::string WriteAviRle8(const IndexedClip& clip, uint32_t micro_sec_per_frame, uint32_t rate,
                         uint32_t scale) {
    AviVideo video;
    video.width = clip.width;
    video.height = clip.height;
    video.micro_sec_per_frame = micro_sec_per_frame;
    video.rate = rate;
    video.scale = scale;
    video.handler = "mrle";
    video.chunk_id = "00dc";
    video.bit_count = 8;
    video.compression = 1; // BI_RLE8
    video.image_size = ((static_cast<uint32_t>(clip.width) + 3) & ~3u) * static_cast<uint32_t>(clip.height);
    video.palette = clip.palette;
    video.palette.resize(256, 0);

    std::vector<AviFrame> frames;
    for (size_t i = 0; i < clip.frames.size(); ++i) {
        frames.push_back(
            {EncodeRle8(clip.frames[i], i == 0 ? nullptr : &clip.frames[i - 1], clip.width, clip.height),
             i == 0});
    }
    return WriteAvi(video, frames);
}

} // namespace kavlo::skingen
