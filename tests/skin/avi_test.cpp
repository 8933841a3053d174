// The AVI reader on clips built here byte by byte (RLE8 with every escape, palette changes, padding
// and skipped chunks; uncompressed frames beside a sound stream, found through idx1), damaged clips,
// and the clip window playing one on the virtual clock.

#include "skin/formats/avi.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "skin/controls/animate.h"
#include "skin/controls/skin_form.h"
#include "skin_control_fixture.h"

namespace kavlo {
namespace {

std::string Le32(uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
            static_cast<char>(v >> 24)};
}

std::string Le16(uint16_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8)};
}

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) {
        out.push_back(static_cast<char>(v));
    }
    return out;
}

std::string Chunk(std::string_view id, std::string_view data) {
    std::string out = std::string(id) + Le32(static_cast<uint32_t>(data.size())) + std::string(data);
    if (data.size() % 2 != 0) {
        out.push_back('\0');
    }
    return out;
}

std::string List(std::string_view type, std::string_view body) {
    return Chunk("LIST", std::string(type) + std::string(body));
}

std::string MainHeader(uint32_t micro_sec, uint32_t frames, uint32_t width, uint32_t height) {
    std::string data = Le32(micro_sec) + Le32(0) + Le32(0) + Le32(0x10) + Le32(frames) + Le32(0) + Le32(1) +
                       Le32(0) + Le32(width) + Le32(height);
    data.resize(56, '\0');
    return Chunk("avih", data);
}

std::string StreamList(std::string_view type, std::string_view format) {
    std::string header = std::string(type) + std::string(4, '\0');
    header.resize(56, '\0');
    return List("strl", Chunk("strh", header) + Chunk("strf", format));
}

std::string VideoFormat(int32_t width, int32_t height, uint32_t compression,
                        const std::vector<uint32_t>& rgb) {
    std::string info = Le32(40) + Le32(static_cast<uint32_t>(width)) + Le32(static_cast<uint32_t>(height)) +
                       Le16(1) + Le16(8) + Le32(compression) + Le32(0) + Le32(0) + Le32(0) +
                       Le32(static_cast<uint32_t>(rgb.size())) + Le32(0);
    for (uint32_t colour : rgb) {
        info += Bytes({static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                       static_cast<int>(colour >> 16), 0});
    }
    return info;
}

std::string Riff(std::string_view body) {
    return "RIFF" + Le32(static_cast<uint32_t>(body.size() + 4)) + "AVI " + std::string(body);
}

const std::vector<uint32_t> kPalette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

// 4 x 3, three frames: a key frame using runs, an odd absolute run, end of line and a run clipped at
// the right edge; a frame that moves by delta and changes one pixel; then a palette change and an
// empty frame (the last one again).
std::string RleClip() {
    const std::string key = Bytes({4, 1, 0, 0,                   // bottom row: 1111
                                   0, 3, 2, 3, 2, 0, 1, 4, 0, 0, // 2 3 2 (padded), 4
                                   2, 3, 3, 4,                   // top row: 33 44 (one 4 clipped)
                                   0, 1});
    const std::string delta = Bytes({0, 2, 2, 1, 1, 0, 0, 1});
    const std::string palette_change = Bytes({1, 1, 0, 0, 10, 20, 30, 0});
    const std::string hdrl = MainHeader(66667, 3, 4, 3) + Chunk("JUNK", "xyz") +
                             StreamList("vids", VideoFormat(4, 3, 1, kPalette));
    const std::string movi = Chunk("00dc", key) + Chunk("JUNK", "odd") + Chunk("00dc", delta) +
                             Chunk("00pc", palette_change) + Chunk("00dc", "");
    return Riff(List("hdrl", hdrl) + Chunk("ZZZZ", "u") + List("movi", movi));
}

std::vector<uint8_t> Indices(std::string_view rows_bottom_up) {
    std::vector<uint8_t> out;
    for (char c : rows_bottom_up) {
        out.push_back(static_cast<uint8_t>(c - '0'));
    }
    return out;
}

TEST(AviReader, ReadsAnRle8ClipWithEveryEscapePaletteChangesAndSkippedChunks) {
    const std::string file = RleClip();
    // The window reads these fields at fixed places of the file.
    ASSERT_EQ(file.substr(32, 4), Le32(66667));
    ASSERT_EQ(file.substr(48, 4), Le32(3));
    ASSERT_EQ(file.substr(64, 8), Le32(4) + Le32(3));

    const AviResult read = ReadAvi(file);
    ASSERT_TRUE(read) << read.error;
    const AviClip& clip = *read.clip;
    EXPECT_EQ(clip.width, 4);
    EXPECT_EQ(clip.height, 3);
    EXPECT_EQ(clip.micro_sec_per_frame, 66667u);
    EXPECT_EQ(clip.header_total_frames, 3u);
    EXPECT_EQ(clip.frame_count, 3);
    EXPECT_EQ(clip.palette_size, 5);
    EXPECT_EQ(clip.palette[3], 0xFF0000FFu);
    EXPECT_EQ(clip.palette[5], 0xFF000000u);

    AviFrameDecoder decoder(clip);
    ASSERT_EQ(decoder.DecodeNext(), "");
    EXPECT_EQ(decoder.Indices(), Indices("1111"
                                         "2324"
                                         "3344"));
    ASSERT_EQ(decoder.DecodeNext(), "");
    EXPECT_EQ(decoder.Indices(), Indices("1111"
                                         "2304"
                                         "3344"));
    ASSERT_EQ(decoder.DecodeNext(), "");
    EXPECT_EQ(decoder.Indices(), Indices("1111"
                                         "2304"
                                         "3344"));
    std::vector<uint32_t> pixels;
    decoder.ToPixels(pixels);
    EXPECT_EQ(pixels[0], 0xFF0A141Eu) << "the palette change before the last frame";
    EXPECT_EQ(pixels[4], 0xFF00FF00u);
    EXPECT_NE(decoder.DecodeNext(), "");

    // Back to the second frame: from the start again, with the stream's own palette.
    ASSERT_EQ(decoder.Seek(1), "");
    EXPECT_EQ(decoder.NextFrame(), 2);
    EXPECT_EQ(decoder.Indices(), Indices("1111"
                                         "2304"
                                         "3344"));
    EXPECT_EQ(decoder.Palette()[1], 0xFFFF0000u);
}

TEST(AviReader, FindsUncompressedFramesBesideSoundThroughTheIndex) {
    // 3 x 2, rows padded to 4 bytes, bottom row first; the video is the second stream.
    const std::string frame1 = Bytes({1, 2, 3, 0, 4, 4, 4, 0});
    const std::string frame2 = Bytes({2, 2, 2, 0, 1, 1, 1}); // the last row's padding left out
    const std::string hdrl = MainHeader(100000, 2, 3, 2) + StreamList("auds", std::string(18, '\0')) +
                             StreamList("vids", VideoFormat(3, 2, 0, kPalette));
    std::string movi;
    std::string index;
    const auto add = [&](std::string_view id, std::string_view data, bool indexed) {
        const size_t offset = 4 + movi.size(); // from the list's type field
        movi += Chunk(id, data);
        if (indexed) {
            index += std::string(id) + Le32(0x10) + Le32(static_cast<uint32_t>(offset)) +
                     Le32(static_cast<uint32_t>(data.size()));
        }
    };
    add("00wb", "sound", true);
    add("01db", frame1, true);
    add("01db", Bytes({3, 3, 3, 0, 3, 3, 3, 0}), false); // not in the index: not a frame
    add("00wb", "more", true);
    add("01db", frame2, true);
    const std::string file = Riff(List("hdrl", hdrl) + List("movi", movi) + Chunk("idx1", index));

    const AviResult read = ReadAvi(file);
    ASSERT_TRUE(read) << read.error;
    ASSERT_EQ(read.clip->frame_count, 2);
    AviFrameDecoder decoder(*read.clip);
    ASSERT_EQ(decoder.DecodeNext(), "");
    EXPECT_EQ(decoder.Indices(), Indices("123"
                                         "444"));
    ASSERT_EQ(decoder.DecodeNext(), "");
    EXPECT_EQ(decoder.Indices(), Indices("222"
                                         "111"));

    // An index entry that does not lead to its chunk makes the file unreadable.
    std::string bad = file;
    const size_t entry = bad.rfind("01db");
    bad.replace(entry + 8, 4, Le32(3));
    EXPECT_FALSE(ReadAvi(bad));
}

TEST(AviReader, DamagedClipsFailWithAReason) {
    const std::string file = RleClip();
    // Cut anywhere, with or without the RIFF size telling the truth about the cut.
    for (size_t length = 0; length < file.size(); ++length) {
        std::string cut = file.substr(0, length);
        EXPECT_FALSE(ReadAvi(cut)) << length;
        if (length >= 12) {
            cut.replace(4, 4, Le32(static_cast<uint32_t>(length - 8)));
            const AviResult read = ReadAvi(cut);
            EXPECT_FALSE(read) << length;
            EXPECT_FALSE(read.error.empty()) << length;
        }
    }
    const auto patched = [&](size_t at, std::string_view bytes) {
        std::string copy = file;
        copy.replace(at, bytes.size(), bytes);
        return ReadAvi(copy);
    };
    EXPECT_EQ(patched(64, Le32(5000)).error, "frame size 5000 x 3 out of range");
    EXPECT_EQ(patched(64, Le32(4096) + Le32(4096)).error, "frame size 4096 x 4096 out of range");
    const size_t frame = file.find("00dc");
    EXPECT_FALSE(patched(frame + 4, Le32(0xFFFFFFF0u)));

    // A frame whose absolute run is cut short reads, and fails when decoded; the frame after it cannot
    // be reached, as it would be drawn over garbage.
    const std::string hdrl = MainHeader(66667, 2, 4, 3) + StreamList("vids", VideoFormat(4, 3, 1, kPalette));
    const AviResult short_run =
        ReadAvi(Riff(List("hdrl", hdrl) +
                     List("movi", Chunk("00dc", Bytes({0, 5, 1, 2})) + Chunk("00dc", Bytes({0, 1})))));
    ASSERT_TRUE(short_run) << short_run.error;
    AviFrameDecoder decoder(*short_run.clip);
    EXPECT_EQ(decoder.DecodeNext(), "frame data truncated");
    EXPECT_NE(decoder.DecodeNext(), "");
    EXPECT_EQ(decoder.Seek(1), "frame data truncated");
}

// The clip window on a form, playing RleClip: three frames of 67 ms.
class AnimateTest : public ::testing::Test {
protected:
    AnimateTest() {
        form.SetClientSize(8, 6);
        form.SetColor(0x000000);
        auto owned = std::make_unique<TAnimate>(fixture.App());
        animate = owned.get();
        form.Adopt(std::move(owned));
        animate->SetBounds(1, 1, 6, 5);
        animate->SetAutoSize(false);
        animate->SetClipSource([this](std::string_view name) {
            ++opens;
            if (name == "LYING") {
                return std::span(reinterpret_cast<const uint8_t*>(lying.data()), lying.size());
            }
            return name == "GOOD"     ? std::span(reinterpret_cast<const uint8_t*>(clip.data()), clip.size())
                   : name == "BROKEN" ? std::span(reinterpret_cast<const uint8_t*>(clip.data()), 40)
                                      : std::span<const uint8_t>();
        });
        animate->OnOpen = [this](TControl&) { events += "open "; };
        animate->OnStart = [this](TControl&) { events += "start "; };
        animate->OnStop = [this](TControl&) { events += "stop "; };
        animate->OnClose = [this](TControl&) { events += "close "; };
    }

    test::SkinFixture fixture;
    SkinForm form{fixture.Services()};
    TAnimate* animate = nullptr;
    const std::string clip = RleClip();
    // The same clip with a main header claiming 9 frames.
    const std::string lying = clip.substr(0, 48) + Le32(9) + clip.substr(52);
    std::string events;
    int opens = 0;
};

TEST_F(AnimateTest, PlaysItsClipOnceAtTheClipsRateAndStopsOnTheLastFrame) {
    ASSERT_EQ(animate->SetClipName("GOOD"), "");
    EXPECT_EQ(events, "open ");
    EXPECT_EQ(animate->Frame(), 1);
    EXPECT_EQ(animate->StopFrame(), 3);
    animate->SetRepetitions(1);
    ASSERT_EQ(animate->SetActive(true), "");
    EXPECT_EQ(animate->SetActive(true), "") << "asked again while playing";
    EXPECT_EQ(events, "open start ");
    fixture.RunFor(66);
    EXPECT_EQ(animate->Frame(), 1);
    fixture.RunFor(1);
    EXPECT_EQ(animate->Frame(), 2);
    fixture.RunFor(67);
    EXPECT_EQ(animate->Frame(), 3);
    EXPECT_TRUE(animate->Active());
    fixture.RunFor(67);
    EXPECT_FALSE(animate->Active());
    EXPECT_EQ(animate->Frame(), 3);
    EXPECT_EQ(events, "open start stop ");

    // The last frame drawn, centred in the 6 x 5 window at (1, 1): the clip's 4 x 3 rows (top down
    // 3344, 2304, 1111 with colour 1 changed) land at (2, 2). Opaque, the window's colour fills around
    // it; transparent, the clip's background (its bottom-left pixel's colour) lets the form through.
    const auto row = [&](int y) {
        std::string out;
        for (int x = 0; x < 8; ++x) {
            const uint32_t p = form.Surface().Pixel(x, y) & 0xFFFFFF;
            out += p == 0x808080   ? '#'
                   : p == 0x0000FF ? 'b'
                   : p == 0x00FF00 ? 'g'
                   : p == 0xFFFFFF ? 'w'
                   : p == 0x0A141E ? 'k'
                   : p == 0        ? '.'
                                   : '?';
        }
        return out;
    };
    animate->SetTransparent(false);
    animate->SetColor(0x808080);
    form.Compose({0, 0, 8, 6});
    EXPECT_EQ(row(0), "........");
    EXPECT_EQ(row(1), ".######.");
    EXPECT_EQ(row(2), ".#bbww#.");
    EXPECT_EQ(row(3), ".#gb.w#.");
    EXPECT_EQ(row(4), ".#kkkk#.");
    EXPECT_EQ(row(5), ".######.");
    animate->SetTransparent(true);
    form.Compose({0, 0, 8, 6});
    EXPECT_EQ(row(1), "........");
    EXPECT_EQ(row(2), "..bbww..");
    EXPECT_EQ(row(4), "........");
}

TEST_F(AnimateTest, RepeatsAsToldPlaysNothingHiddenAndReportsClipsItCannotOpen) {
    animate->SetAutoSize(true);
    ASSERT_EQ(animate->SetClipName("GOOD"), "");
    EXPECT_EQ(animate->BoundsRect(), (Rect{1, 1, 5, 4}));
    animate->SetRepetitions(2);
    ASSERT_EQ(animate->SetActive(true), "");
    fixture.RunFor(6 * 67 - 1);
    EXPECT_TRUE(animate->Active());
    EXPECT_EQ(animate->Frame(), 3);
    fixture.RunFor(1);
    EXPECT_FALSE(animate->Active());

    animate->SetRepetitions(0);
    ASSERT_EQ(animate->SetActive(true), "");
    fixture.RunFor(5000);
    EXPECT_TRUE(animate->Active()) << "endless";
    animate->SetVisible(false);
    fixture.RunFor(67);
    EXPECT_FALSE(animate->Active());
    EXPECT_EQ(animate->SetActive(true), "");
    fixture.RunFor(500);
    EXPECT_FALSE(animate->Active()) << "hidden, it plays nothing";
    animate->SetVisible(true);
    EXPECT_EQ(events, "open start stop start stop ");

    events.clear();
    EXPECT_EQ(animate->SetClipName("BROKEN"), kCannotOpenAvi);
    EXPECT_EQ(events, "close ");
    EXPECT_FALSE(animate->Open());
    EXPECT_EQ(animate->Frame(), 0);
    EXPECT_FALSE(animate->OpenError().empty());
    // Active tries the clip again, and fails the same way.
    const int opens_before = opens;
    EXPECT_EQ(animate->SetActive(true), kCannotOpenAvi);
    EXPECT_EQ(opens, opens_before + 1);
    EXPECT_FALSE(animate->Active());
    EXPECT_EQ(animate->SetClipName("MISSING"), kCannotOpenAvi);
    EXPECT_EQ(events, "close ");

    // A header claiming more frames than the file holds: only those there are play.
    ASSERT_EQ(animate->SetClipName("LYING"), "");
    EXPECT_EQ(animate->StopFrame(), 3);
    animate->SetRepetitions(1);
    ASSERT_EQ(animate->SetActive(true), "");
    fixture.RunFor(3 * 67);
    EXPECT_FALSE(animate->Active());
    EXPECT_EQ(animate->Frame(), 3);
}

} // namespace
} // namespace kavlo
