// The border panel's picture and outline: the outline cuts the corners and keeps the content area and
// the animation windows; the stored mask and the 256-colour picture say the same.
#include <gtest/gtest.h>

#include <set>

#include "skingen/art_frame.h"
#include "skingen/bmp_writer.h"
#include "skingen/layout.h"

namespace kavlo::skingen {
namespace {

using namespace layout;

class Frame : public ::testing::Test {
protected:
    static void SetUpTestSuite() { art_ = new FrameArt(DrawFrame()); }
    static void TearDownTestSuite() { delete art_; }
    static bool Cut(int x, int y) { return art_->outside[static_cast<size_t>(y) * kFrameWidth + x]; }
    static FrameArt* art_;
};
FrameArt* Frame::art_ = nullptr;

TEST_F(Frame, OutlineCutsTheCornersAndKeepsTheContent) {
    ASSERT_EQ(art_->picture.Width(), 818);
    ASSERT_EQ(art_->picture.Height(), 741);
    for (auto [x, y] : {std::pair{0, 0}, std::pair{817, 0}, std::pair{0, 740}, std::pair{817, 740}}) {
        EXPECT_TRUE(Cut(x, y)) << x << "," << y;
    }
    const Box& content = kContentInFrame;
    for (int y = content.y; y < content.Bottom(); ++y) {
        for (int x = content.x; x < content.Right(); ++x) {
            ASSERT_FALSE(Cut(x, y)) << x << "," << y;
        }
    }
}

TEST_F(Frame, AnimationWindowsStayInsideTheOutline) {
    for (const Box& clip : kClipWindows) {
        int kept = 0;
        for (int y = clip.y; y < clip.Bottom(); ++y) {
            for (int x = clip.x; x < clip.Right(); ++x) {
                kept += Cut(x, y) ? 0 : 1;
            }
        }
        // Only where a window reaches the picture's edge may the rounded outline nibble its corners.
        EXPECT_GT(kept, clip.w * clip.h * 97 / 100) << clip.x << "," << clip.y;
        EXPECT_FALSE(Cut(clip.x + clip.w / 2, clip.y + clip.h / 2));
    }
}

// Pixels of one kind (cut or kept) reached from the seeds by steps to the four neighbours.
size_t Reach(const std::vector<bool>& outside, bool kind, std::vector<std::pair<int, int>> todo) {
    std::vector<bool> seen(outside.size(), false);
    for (auto [x, y] : todo) {
        seen[static_cast<size_t>(y) * kFrameWidth + x] = true;
    }
    size_t reached = 0;
    while (!todo.empty()) {
        auto [x, y] = todo.back();
        todo.pop_back();
        ++reached;
        for (auto [dx, dy] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
            int nx = x + dx, ny = y + dy;
            size_t i = static_cast<size_t>(ny) * kFrameWidth + nx;
            if (nx < 0 || ny < 0 || nx >= kFrameWidth || ny >= kFrameHeight || seen[i] ||
                outside[i] != kind) {
                continue;
            }
            seen[i] = true;
            todo.push_back({nx, ny});
        }
    }
    return reached;
}

TEST_F(Frame, OutlineIsOnePieceWithoutHoles) {
    const std::vector<bool>& outside = art_->outside;
    size_t kept = std::count(outside.begin(), outside.end(), false);
    EXPECT_EQ(Reach(outside, false, {{400, 400}}), kept) << "every kept pixel joins the content area";
    std::vector<std::pair<int, int>> edge;
    for (int x = 0; x < kFrameWidth; ++x) {
        for (int y : {0, kFrameHeight - 1}) {
            if (Cut(x, y)) {
                edge.push_back({x, y});
            }
        }
    }
    for (int y = 1; y + 1 < kFrameHeight; ++y) {
        for (int x : {0, kFrameWidth - 1}) {
            if (Cut(x, y)) {
                edge.push_back({x, y});
            }
        }
    }
    EXPECT_EQ(Reach(outside, true, edge), outside.size() - kept) << "no hole inside the outline";
}

TEST_F(Frame, PalettePictureStaysCloseToTheDrawing) {
    IndexedPicture p = Quantise(art_->picture);
    EXPECT_LE(p.palette.size(), 256u);
    std::set<uint8_t> used(p.indexes.begin(), p.indexes.end());
    EXPECT_LE(used.size(), 256u);
    EXPECT_GT(used.size(), 64u) << "the metal's gradients need the palette";
    std::vector<uint32_t> drawn = art_->picture.TopDown();
    double error = 0;
    for (size_t i = 0; i < drawn.size(); ++i) {
        uint32_t q = p.palette[p.indexes[i]];
        for (int s : {0, 8, 16}) {
            error += std::abs(int((drawn[i] >> s) & 0xFF) - int((q >> s) & 0xFF));
        }
    }
    EXPECT_LT(error / (drawn.size() * 3), 3.0);
}

} // namespace
} // namespace kavlo::skingen
