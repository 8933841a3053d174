// The skin's image lists: every index has the size and drawing flags the window relies on, the
// scheme pairs differ only in their accent, and the small opaque images sit on the background
// without a seam wherever the window moves them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "skingen/art_background.h"
#include "skingen/art_extras.h"
#include "skingen/image_list.h"
#include "skingen/layout.h"

namespace kavlo::skingen {
namespace {

using namespace layout;

class ImageLists : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        list1_ = new std::vector<SkinImage>(BuildImageList1());
        controls_ = new std::vector<SkinImage>(BuildControlsList());
    }
    static void TearDownTestSuite() {
        delete list1_;
        delete controls_;
    }
    static const SkinImage& At(int i) { return (*list1_)[i]; }
    static std::vector<SkinImage>* list1_;
    static std::vector<SkinImage>* controls_;
};
std::vector<SkinImage>* ImageLists::list1_ = nullptr;
std::vector<SkinImage>* ImageLists::controls_ = nullptr;

struct Size {
    int w, h;
};

Size ExpectedSize(int i) {
    auto in = [i](std::initializer_list<int> set) {
        for (int v : set) {
            if (v == i) {
                return true;
            }
        }
        return false;
    };
    if (i <= 35 || (i >= 102 && i <= 109) || (i >= 122 && i <= 125)) {
        return {kIconWidth, kIconHeight};
    }
    if (i <= 51) {
        return {40, 40};
    }
    if (in({52, 53, 78, 79, 96, 97})) {
        return {638, 482};
    }
    if ((i >= 54 && i <= 63) || in({118, 119})) {
        return {32, 32};
    }
    if (i <= 69) {
        return {12, 12};
    }
    if (in({70, 71})) {
        return {10, 18};
    }
    if (in({72, 73})) {
        return {10, 17};
    }
    if (in({74, 75})) {
        return {135, 28};
    }
    if (in({76, 77})) {
        return {44, 72};
    }
    if (i >= 80 && i <= 87) {
        return {18, 11};
    }
    if ((i >= 88 && i <= 91) || (i >= 110 && i <= 117)) {
        return {16, 28};
    }
    if (in({92, 93, 98, 99})) {
        return {115, 91};
    }
    if (in({94, 95, 100, 101})) {
        return {100, 58};
    }
    if (i == 126) {
        return {36, 16};
    }
    if (i == 130) {
        return {110, 24};
    }
    return {16, 16}; // the spare entries
}

TEST_F(ImageLists, EveryIndexHasItsSize) {
    ASSERT_EQ(list1_->size(), 131u);
    for (int i = 0; i < 131; ++i) {
        Size s = ExpectedSize(i);
        EXPECT_EQ(At(i).Width(), s.w) << i;
        EXPECT_EQ(At(i).Height(), s.h) << i;
    }
    ASSERT_EQ(controls_->size(), 30u);
    for (const SkinImage& image : *controls_) {
        EXPECT_EQ(image.Width(), 14);
        EXPECT_EQ(image.Height(), 13);
    }
    std::vector<SkinImage> list2 = BuildImageList2();
    ASSERT_EQ(list2.size(), 101u);
    EXPECT_EQ(list2[100].Width() * list2[100].Height(), 1);
}

TEST_F(ImageLists, TellingRowsCarryTheirFlags) {
    for (int i = 0; i < 131; ++i) {
        const SkinImage& image = At(i);
        bool arrow = i == 76 || i == 77;
        EXPECT_EQ(image.transparent, arrow || i == 78 || i == 130) << i;
        EXPECT_EQ(image.masked, i == 78) << i;
        EXPECT_EQ(image.fixed_key, i == 78 || i == 130) << i;
        EXPECT_EQ(image.scale, i == 130 ? 120 : 100) << i;
    }
    EXPECT_EQ(At(130).key_rgb, 0xFFFFFFu);
    EXPECT_EQ(At(0).name, "Demos_Off");
    EXPECT_EQ(At(28).name, "Online_On");
    EXPECT_EQ(At(117).name, "Menu_Settings_on_S_I");
    EXPECT_EQ(At(130).name, "AXE");
    EXPECT_EQ(At(125).name, "");
}

TEST_F(ImageLists, OpaqueImagesHaveNoHoles) {
    for (int i = 0; i < 131; ++i) {
        if (At(i).masked) {
            continue;
        }
        for (uint32_t px : At(i).picture.TopDown()) {
            ASSERT_EQ(px >> 24, 0xFFu) << "image " << i;
        }
    }
}

TEST_F(ImageLists, KeyedImagesKeepTheKeyOutOfTheirShape) {
    for (int i : {76, 77}) {
        std::vector<uint32_t> stored = At(i).StoredPixels();
        uint32_t key = stored[0] & 0xFFFFFF; // the automatic key: the bottom-left pixel
        EXPECT_EQ(key, kArrowKey) << i;
        const Canvas& p = At(i).picture;
        EXPECT_NE(ToByte(p.At(22, 36).r) << 16 | ToByte(p.At(22, 36).g) << 8 | ToByte(p.At(22, 36).b), key)
            << "the arrow's middle is drawn, not keyed out";
    }
    // The partner button: corners keyed out, and no pixel of the button itself white.
    const Canvas& axe = At(130).picture;
    for (auto [x, y] : {std::pair{0, 0}, std::pair{109, 0}, std::pair{0, 23}, std::pair{109, 23}}) {
        EXPECT_EQ(axe.At(x, y), Hex(0xFFFFFF)) << x << "," << y;
    }
    for (int x = 12; x < 98; ++x) {
        EXPECT_NE(axe.At(x, 12), Hex(0xFFFFFF)) << x;
    }
}

TEST_F(ImageLists, PictureFrameIsClearInTheMiddle) {
    std::vector<uint32_t> px = At(78).picture.TopDown();
    auto alpha = [&](int x, int y) { return px[static_cast<size_t>(y) * 638 + x] >> 24; };
    EXPECT_EQ(alpha(319, 240), 0u);
    EXPECT_EQ(alpha(2, 240), 255u);
    EXPECT_EQ(alpha(319, 3), 255u);
    uint32_t shade = alpha(319, 16);
    EXPECT_GT(shade, 0u) << "the bezel's shadow falls onto the picture";
    EXPECT_LT(shade, 255u);
    // Clear pixels carry the fixed key, so a key reader and an alpha reader agree.
    std::vector<uint32_t> stored = At(78).StoredPixels();
    EXPECT_EQ(stored[static_cast<size_t>(241) * 638 + 319], kFrameKey);
}

// The box around the pixels of `icon` that `keep` selects.
template <typename Keep> Box Extent(const Canvas& icon, Keep keep) {
    int x0 = icon.Width(), y0 = icon.Height(), x1 = -1, y1 = -1;
    for (int y = 0; y < icon.Height(); ++y) {
        for (int x = 0; x < icon.Width(); ++x) {
            if (keep(x, y)) {
                x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
            }
        }
    }
    return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

bool Near(Rgba a, Rgba b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b) < 0.05f;
}

TEST_F(ImageLists, SectionIconsSitCentredInTheirBox) {
    const int bases[] = {0, 4, 8, 12, 16, 20, 24, 28, 32, 102, 106, 122};
    for (int base : bases) {
        for (int s = 0; s < 2; ++s) {
            const int index = base + 2 * s;
            const Canvas& icon = At(index).picture;
            const int w = icon.Width(), h = icon.Height();
            // The plate with its shadow: what the icon lays over the column.
            Canvas column = At(52 + s).picture.Crop(kIconX, 200, w, h);
            Box plate = Extent(icon, [&](int x, int y) { return !Near(icon.At(x, y), column.At(x, y)); });
            EXPECT_NEAR(plate.x, w - plate.Right(), 1) << index << ": off-centre across";
            EXPECT_GE(plate.y, 1) << index;
            EXPECT_LE(plate.y, 3) << index;
            EXPECT_LE(h - plate.Bottom(), 3) << index << ": the plate leaves the box's foot empty";
            if (s == 1) {
                continue; // the light column of scheme 1 looks like silver; the pairs test covers its plate
            }
            // The silver pictogram, looked for inside the plate's rims: clear of them, centred, and
            // large enough to read.
            constexpr int kRim = 4;
            Box glyph = Extent(icon, [&](int x, int y) {
                Rgba p = icon.At(x, y);
                return x >= kRim && x < w - kRim && y >= kRim && y < h - kRim &&
                       std::min({p.r, p.g, p.b}) > 0.55f && !Near(p, column.At(x, y));
            });
            EXPECT_GT(glyph.x, kRim) << index;
            EXPECT_LT(glyph.Right(), w - kRim) << index;
            EXPECT_GT(glyph.y, kRim) << index;
            EXPECT_LT(glyph.Bottom(), h - kRim) << index;
            EXPECT_NEAR(glyph.x, w - glyph.Right(), 4) << index << ": pictogram off-centre across";
            EXPECT_NEAR(glyph.y, h - glyph.Bottom(), 8) << index << ": pictogram off-centre upright";
            EXPECT_GE(std::max(glyph.w, glyph.h), 20) << index << ": too small to read";
        }
    }
}

struct PairCase {
    int scheme0, scheme1;
    Box neutral;       // must be the same in both; w == 0: none
    bool accent_shows; // the pair must differ somewhere
};

TEST_F(ImageLists, SchemePairsDifferOnlyInTheAccent) {
    const PairCase cases[] = {
        {0, 2, {8, 8, 33, 30}, true},         // plate and pictogram alike, the column behind differs
        {1, 3, {0, 0, 0, 0}, true},           // lit icons
        {52, 53, {52, 64, 150, 320}, true},   // the list panel
        {52, 53, {230, 276, 260, 140}, true}, // the detail panel's text area
        {96, 97, {52, 64, 150, 320}, true},   {54, 55, {0, 0, 3, 3}, true},    // flag on the panel
        {74, 75, {0, 0, 1, 1}, true},                                          // bar
        {80, 82, {0, 0, 18, 11}, false},                                       // arrows at rest are neutral
        {81, 83, {0, 0, 0, 0}, true},         {88, 90, {0, 0, 16, 28}, false}, // quick-run at rest
        {110, 112, {0, 0, 16, 28}, false},                                     // switch off
        {114, 116, {0, 0, 1, 1}, true},                                        // switch on glows
        {92, 93, {1, 30, 10, 50}, true}, // lower cover over the detail panel's edge
        {106, 108, {8, 8, 33, 30}, true},
    };
    for (const PairCase& c : cases) {
        const Canvas& a = At(c.scheme0).picture;
        const Canvas& b = At(c.scheme1).picture;
        ASSERT_EQ(a.Width(), b.Width());
        bool differ = false;
        for (int y = 0; y < a.Height(); ++y) {
            for (int x = 0; x < a.Width(); ++x) {
                bool neutral =
                    x >= c.neutral.x && x < c.neutral.Right() && y >= c.neutral.y && y < c.neutral.Bottom();
                if (neutral) {
                    ASSERT_EQ(a.At(x, y), b.At(x, y))
                        << c.scheme0 << "/" << c.scheme1 << " at " << x << "," << y;
                }
                differ = differ || !(a.At(x, y) == b.At(x, y));
            }
        }
        EXPECT_EQ(differ, c.accent_shows) << c.scheme0 << "/" << c.scheme1;
    }
    // Action buttons: at rest alike in both schemes, lit in the scheme's accent.
    EXPECT_EQ((*controls_)[6].picture.TopDown(), (*controls_)[21].picture.TopDown());
    EXPECT_NE((*controls_)[11].picture.TopDown(), (*controls_)[26].picture.TopDown());
}

// The background at `box` equals the background at the same columns `dy` lower: an opaque image cut
// from one place fits the other.
bool SameAt(const Canvas& bg, Box box, int dy) {
    for (int y = 0; y < box.h; ++y) {
        for (int x = 0; x < box.w; ++x) {
            if (!(bg.At(box.x + x, box.y + y) == bg.At(box.x + x, box.y + y + dy))) {
                return false;
            }
        }
    }
    return true;
}

TEST_F(ImageLists, MovingImagesFitTheBackgroundEverywhere) {
    struct Travel {
        const char* what;
        Box first;
        std::vector<int> tops;
    };
    std::vector<int> rows, icon_tops, lower_arrow, upper_arrow;
    for (int k = 0; k < 10; ++k) {
        rows.push_back(kBarTop + kBarPitch * k);
    }
    for (int y = 58; y + kIconHeight <= 391; ++y) {
        icon_tops.push_back(y);
    }
    for (int y = 10; y <= 200; ++y) {
        lower_arrow.push_back(y);
    }
    for (int y = 271; y <= 375; ++y) {
        upper_arrow.push_back(y);
    }
    const Travel travels[] = {
        {"highlight bar", kBar, rows},
        {"quick-run buttons", kPlay, rows},
        {"section icons", {kIconX, 200, kIconWidth, kIconHeight}, icon_tops},
        {"lower tracking arrow", {kArrowX, 120, 10, 17}, lower_arrow},
        {"upper tracking arrow", {kArrowX, 300, 10, 18}, upper_arrow},
    };
    for (int index : {52, 53, 96, 97}) {
        const Canvas& bg = At(index).picture;
        for (const Travel& t : travels) {
            for (int top : t.tops) {
                EXPECT_TRUE(SameAt(bg, t.first, top - t.first.y))
                    << t.what << " at " << top << " on " << index;
            }
        }
        // The scroll arrows of the list and of the column share their images.
        EXPECT_TRUE(SameAt(bg, {189, 48, 18, 11}, 0));
        for (auto [from, to] :
             {std::pair{kScrollArrows[0], kScrollArrows[2]}, std::pair{kScrollArrows[1], kScrollArrows[3]}}) {
            for (int y = 0; y < 11; ++y) {
                for (int x = 0; x < 18; ++x) {
                    ASSERT_EQ(bg.At(from.x + x, from.y + y), bg.At(to.x + x, to.y + y)) << index;
                }
            }
        }
    }
}

TEST_F(ImageLists, CoversAreThePanelTheyCover) {
    for (auto [cover, background, box] :
         {std::tuple{92, 52, kLowerCover}, std::tuple{95, 53, kUpperCover}, std::tuple{98, 96, kLowerCover},
          std::tuple{101, 97, kUpperCover}}) {
        const Canvas& c = At(cover).picture;
        const Canvas& bg = At(background).picture;
        for (int y = 0; y < box.h; y += 7) {
            for (int x = 0; x < box.w; x += 5) {
                ASSERT_EQ(c.At(x, y), bg.At(box.x + x, box.y + y)) << cover;
            }
        }
    }
}

} // namespace
} // namespace kavlo::skingen
