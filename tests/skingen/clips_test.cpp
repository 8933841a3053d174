// The clips as the menu reads them: the embedded AVI files decode, frame by frame, to exactly what the art
// drew; the border's rest on the frame's own picture and never light what a later window hides; the
// extraction dialog's file-copy clips loop without a jump and keep their edges out of sight; and the RLE8
// coder's escapes (long runs, odd absolute runs, skips across and down more than 255 pixels) survive the
// trip through the reader.
#include <gtest/gtest.h>

#include <algorithm>

#include "skin/formats/avi.h"
#include "skin/formats/bmp_reader.h"
#include "skingen/art_clips.h"
#include "skingen/art_copy.h"
#include "skingen/art_frame.h"
#include "skingen/layout.h"
#include "skingen/noise.h"
#include "skingen/resources.h"
#include "support/temp_dir.h"

namespace kavlo::skingen {
namespace {

uint32_t Le32(std::string_view b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
           uint32_t(uint8_t(b[at + 3])) << 24;
}

// Rows of a top-down frame in the decoder's order, bottom row first.
std::vector<uint8_t> BottomUp(const std::vector<uint8_t>& frame, int width, int height) {
    std::vector<uint8_t> out;
    for (int y = height - 1; y >= 0; --y) {
        out.insert(out.end(), frame.begin() + static_cast<ptrdiff_t>(y) * width,
                   frame.begin() + static_cast<ptrdiff_t>(y + 1) * width);
    }
    return out;
}

// Whether a window after `window` (a later Animate control, drawn over it) covers (x, y).
bool Covered(size_t window, int x, int y) {
    for (size_t later = window + 1; later < layout::kClipWindows.size(); ++later) {
        const Box& b = layout::kClipWindows[later];
        if (x >= b.x && x < b.Right() && y >= b.y && y < b.Bottom()) {
            return true;
        }
    }
    return false;
}

// Decodes every frame of `bytes` and compares it with `clip`, the frames that were written.
void ExpectSameFrames(std::string_view bytes, const IndexedClip& clip, const std::string& what) {
    AviResult read = ReadAvi(bytes);
    ASSERT_TRUE(read) << what << ": " << read.error;
    const AviClip& avi = *read.clip;
    EXPECT_EQ(avi.compression, 1u) << what;
    ASSERT_EQ(avi.width, clip.width) << what;
    ASSERT_EQ(avi.height, clip.height) << what;
    ASSERT_EQ(avi.frame_count, static_cast<int>(clip.frames.size())) << what;
    for (size_t i = 0; i < clip.palette.size(); ++i) {
        ASSERT_EQ(avi.palette[i], 0xFF000000u | clip.palette[i]) << what << " colour " << i;
    }
    AviFrameDecoder decoder(avi);
    for (size_t f = 0; f < clip.frames.size(); ++f) {
        ASSERT_EQ(decoder.DecodeNext(), "") << what << " frame " << f;
        ASSERT_EQ(decoder.Indices(), BottomUp(clip.frames[f], clip.width, clip.height))
            << what << " frame " << f;
    }
}

TEST(BorderClips, EmbeddedClipsPlayWhatWasDrawnAndRestOnTheFrame) {
    BorderPictures art = DrawBorderPictures(DrawFrame().picture);
    PictureResult frame = ReadBmp(test::ReadHostFile(std::filesystem::path(KAVLO_SKIN_DIR) / "IMAGE4"));
    ASSERT_TRUE(frame) << frame.error;
    const Picture& image4 = *frame.picture;
    ASSERT_EQ(art.clips.size(), 10u);
    // Clip name -> the window (Animate1 ... Animate10) that plays it.
    const std::pair<const char*, size_t> kPlaces[] = {{"AVI1", 2}, {"AVI2", 8}, {"AVI3", 3}, {"AVI4", 0},
                                                      {"AVI5", 1}, {"AVI6", 5}, {"AVI7", 4}, {"AVI8", 9},
                                                      {"AVI9", 6}, {"AVI10", 7}};
    for (size_t c = 0; c < art.clips.size(); ++c) {
        const BorderClip& drawn = art.clips[c];
        ASSERT_EQ(drawn.name, kPlaces[c].first);
        ASSERT_EQ(drawn.window, kPlaces[c].second);
        const Box& box = layout::kClipWindows[drawn.window];
        std::span<const uint8_t> res = Resource(drawn.name);
        std::string_view bytes(reinterpret_cast<const char*>(res.data()), res.size());
        ASSERT_GT(bytes.size(), 72u) << drawn.name;
        // The main header's fields where the animation control reads them.
        EXPECT_EQ(Le32(bytes, 32), 66667u) << drawn.name;
        EXPECT_EQ(Le32(bytes, 48), 15u) << drawn.name;
        EXPECT_EQ(Le32(bytes, 64), static_cast<uint32_t>(box.w)) << drawn.name;
        EXPECT_EQ(Le32(bytes, 68), static_cast<uint32_t>(box.h)) << drawn.name;
        AviResult read = ReadAvi(bytes);
        ASSERT_TRUE(read) << drawn.name << ": " << read.error;
        EXPECT_EQ(read.clip->micro_sec_per_frame, 66667u);
        ExpectSameFrames(bytes, drawn.clip, drawn.name);

        AviFrameDecoder decoder(*read.clip);
        std::vector<uint32_t> pixels;
        int lit_pixels = 0;
        for (int f = 0; f < 15; ++f) {
            ASSERT_EQ(decoder.DecodeNext(), "");
            decoder.ToPixels(pixels);
            int differ = 0, green = 0, under_later = 0;
            for (int y = 0; y < box.h; ++y) {
                for (int x = 0; x < box.w; ++x) {
                    uint32_t clip_px = pixels[static_cast<size_t>(box.h - 1 - y) * box.w + x];
                    uint32_t frame_px =
                        image4.pixels[static_cast<size_t>(image4.height - 1 - (box.y + y)) * image4.width +
                                      box.x + x];
                    differ += clip_px != frame_px;
                    under_later += clip_px != frame_px && Covered(drawn.window, box.x + x, box.y + y);
                    int r = (clip_px >> 16) & 0xFF, g = (clip_px >> 8) & 0xFF;
                    green += g > r + 24;
                }
            }
            // A later window is drawn over this one: light there would never show and would break off
            // at that window's edge.
            EXPECT_EQ(under_later, 0) << drawn.name << " frame " << f;
            if (f == 0 || f == 14) {
                EXPECT_EQ(differ, 0) << drawn.name << " frame " << f << " is the frame's picture at rest";
            }
            lit_pixels = std::max(lit_pixels, green);
        }
        EXPECT_GT(lit_pixels, box.w * box.h / 50) << drawn.name << " lights up between its ends";
    }
}

TEST(FileCopyClips, PlayWhatWasDrawnLoopSmoothlyAndStandOutOnTheirPlate) {
    for (int scheme = 0; scheme < 2; ++scheme) {
        const std::string name = "FILECOPY" + std::to_string(scheme);
        ASSERT_EQ(CopyClipName(scheme), name);
        const IndexedClip drawn = DrawCopyClip(scheme);
        std::span<const uint8_t> res = Resource(name);
        std::string_view bytes(reinterpret_cast<const char*>(res.data()), res.size());
        ASSERT_GT(bytes.size(), 72u) << name;
        EXPECT_EQ(Le32(bytes, 32), 66667u) << name;
        EXPECT_EQ(Le32(bytes, 48), 20u) << name;
        EXPECT_EQ(Le32(bytes, 64), 280u) << name;
        EXPECT_EQ(Le32(bytes, 68), 52u) << name;
        ExpectSameFrames(bytes, drawn, name);

        // Index 0 is the key the control leaves out (it reads the bottom-left pixel) and nothing else is.
        ASSERT_EQ(drawn.palette[0], kCopyKey);
        EXPECT_EQ(std::count(drawn.palette.begin(), drawn.palette.end(), kCopyKey), 1) << name;
        const int w = drawn.width, h = drawn.height;
        auto at = [&](size_t f, int x, int y) { return drawn.frames[f][static_cast<size_t>(y) * w + x]; };
        PictureResult plate = ReadBmp(
            test::ReadHostFile(std::filesystem::path(KAVLO_SKIN_DIR) / (scheme == 0 ? "BMP3" : "BMP4")));
        ASSERT_TRUE(plate) << plate.error;
        auto luma = [](uint32_t v) {
            return 0.3 * ((v >> 16) & 0xFF) + 0.59 * ((v >> 8) & 0xFF) + 0.11 * (v & 0xFF);
        };
        const double plate_luma = luma(
            plate.picture
                ->pixels[static_cast<size_t>(plate.picture->height - 1 - 90) * plate.picture->width + 213]);
        std::vector<int> changed;
        for (size_t f = 0; f < drawn.frames.size(); ++f) {
            // The clip's rectangle never shows: its outermost pixels are the key in every frame.
            for (int x = 0; x < w; ++x) {
                ASSERT_EQ(at(f, x, 0), 0) << name << " frame " << f << " top " << x;
                ASSERT_EQ(at(f, x, h - 1), 0) << name << " frame " << f << " bottom " << x;
            }
            for (int y = 0; y < h; ++y) {
                ASSERT_EQ(at(f, 0, y), 0) << name << " frame " << f << " left " << y;
                ASSERT_EQ(at(f, w - 1, y), 0) << name << " frame " << f << " right " << y;
            }
            // The folders take the captions' side of the contrast: light on the dark plate, dark on the
            // light.
            double sum = 0;
            int drawn_pixels = 0;
            for (uint8_t index : drawn.frames[f]) {
                if (index != 0) {
                    sum += luma(drawn.palette[index]);
                    ++drawn_pixels;
                }
            }
            ASSERT_GT(drawn_pixels, w * h / 10) << name << " frame " << f;
            if (scheme == 0) {
                EXPECT_GT(sum / drawn_pixels, plate_luma + 60) << name << " frame " << f;
            } else {
                EXPECT_LT(sum / drawn_pixels, plate_luma - 60) << name << " frame " << f;
            }
            const std::vector<uint8_t>& next = drawn.frames[(f + 1) % drawn.frames.size()];
            int differ = 0;
            for (size_t i = 0; i < next.size(); ++i) {
                differ += next[i] != drawn.frames[f][i];
            }
            changed.push_back(differ);
        }
        // Every step moves the sheets, the step from the last frame back to the first no more than the
        // others: the loop has no jump.
        const auto [least, most] = std::minmax_element(changed.begin(), changed.end() - 1);
        EXPECT_GT(*least, 50) << name;
        EXPECT_GT(changed.back(), 50) << name;
        EXPECT_LE(changed.back(), *most) << name;
    }
    EXPECT_NE(DrawCopyClip(0).palette, DrawCopyClip(1).palette) << "each scheme has its own colours";
}

TEST(BorderClips, RleEscapesSurviveTheReader) {
    constexpr int kW = 300, kH = 290;
    Rng rng(7);
    IndexedClip clip{kW, kH, {}, {}};
    for (uint32_t i = 0; i < 256; ++i) {
        clip.palette.push_back(i * 0x010101u);
    }
    // Runs longer than 255, short runs of two, odd and even stretches of noise.
    std::vector<uint8_t> first(static_cast<size_t>(kW) * kH);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            uint8_t v = y % 3 == 0 ? 9 : (x / 2) % 7 == 0 ? uint8_t(x / 2) : uint8_t(rng.Next());
            first[static_cast<size_t>(y) * kW + x] = v;
        }
    }
    std::vector<uint8_t> spots = first; // a few pixels far apart: skips past 255 across and down
    spots[0] = 1, spots[static_cast<size_t>(kW) * kH - 1] = 2, spots[static_cast<size_t>(kW) * 4 + 299] = 3;
    spots[static_cast<size_t>(kW) * 5 + 2] = 4; // behind the pen: a new line, then across
    std::fill_n(spots.begin() + kW * 150 + 10, 263, uint8_t{5});
    std::vector<uint8_t> changed_back = first;
    std::vector<uint8_t> ends = first; // the last line reached from the first: down more than 255
    ends[0] = 6, ends.back() = 7;
    std::vector<uint8_t> all_new(first.size());
    for (uint8_t& v : all_new) {
        v = uint8_t(rng.Next() % 3);
    }
    clip.frames = {first, spots, spots, changed_back, ends, all_new};
    std::string avi = WriteAviRle8(clip, 66667, 15, 1);
    ExpectSameFrames(avi, clip, "synthetic");
    EXPECT_LT(EncodeRle8(spots, &first, kW, kH).size(), 80u) << "unchanged pixels are skipped";
    EXPECT_EQ(avi.size() % 2, 0u);
    EXPECT_EQ(Le32(avi, 4), avi.size() - 8) << "RIFF size";
}

} // namespace
} // namespace kavlo::skingen
