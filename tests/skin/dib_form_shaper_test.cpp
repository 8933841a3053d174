#include "skin/controls/dib_form_shaper.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin_control_fixture.h"
#include "skin_pixels.h"

namespace kavlo {
namespace {

using test::Solid;

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kBlack = 0xFF000000;

// A mask from rows of text: '#' foreground (black), '.' background (white), 'r' red.
TMemoryDIB Mask(const std::vector<std::string>& rows) {
    TMemoryDIB dib(static_cast<uint16_t>(rows[0].size()), static_cast<uint16_t>(rows.size()));
    for (size_t y = 0; y < rows.size(); ++y) {
        for (size_t x = 0; x < rows[y].size(); ++x) {
            const char c = rows[y][x];
            dib.SetPixel(static_cast<int>(x), static_cast<int>(y),
                         c == '#'   ? kBlack
                         : c == 'r' ? 0xFFFF0000
                                    : kWhite);
        }
    }
    return dib;
}

// Every pixel of the area is in the region exactly when `inside` says so.
template <class Inside> void ExpectCovers(const TRegion& region, int width, int height, Inside inside) {
    for (int y = -1; y <= height; ++y) {
        for (int x = -1; x <= width; ++x) {
            ASSERT_EQ(region.Contains(x, y), inside(x, y)) << x << "," << y;
        }
    }
}

TEST(RegionTest, UnionOfRectanglesIsKeptAsMergedBands) {
    struct Case {
        const char* what;
        std::vector<Rect> rects;
        std::vector<Rect> expected;
    };
    const Case cases[] = {
        {"one", {{1, 1, 3, 2}}, {{1, 1, 3, 2}}},
        {"empty ones vanish", {{1, 1, 1, 5}, {2, 2, 4, 2}}, {}},
        {"rows with the same runs merge", {{0, 0, 4, 1}, {0, 1, 4, 2}, {0, 2, 4, 3}}, {{0, 0, 4, 3}}},
        {"touching runs join", {{0, 0, 2, 1}, {2, 0, 5, 1}}, {{0, 0, 5, 1}}},
        {"overlap", {{0, 0, 4, 4}, {2, 2, 6, 6}}, {{0, 0, 4, 2}, {0, 2, 6, 4}, {2, 4, 6, 6}}},
        {"gap kept", {{0, 0, 2, 1}, {3, 0, 4, 1}}, {{0, 0, 2, 1}, {3, 0, 4, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(TRegion::FromRects(c.rects).Rects(), c.expected);
        // Uniting the rectangles one by one gives the same region.
        TRegion united;
        for (const Rect& r : c.rects) {
            united.Unite(TRegion::FromRects(std::vector<Rect>{r}));
        }
        EXPECT_EQ(united.Rects(), c.expected);
    }
}

TEST(ShapeRegionTest, RowsBecomeRunsOfEveryColourButTheKey) {
    const TMemoryDIB mask = Mask({
        "..##..#",
        ".......",
        "##r###.",
        "#######",
    });
    const ShapeRegion shape = BuildShapeRegion(mask, ColorFromPixel(0xFFFFFF));
    EXPECT_EQ(shape.runs, 4u); // an empty row gives none; red is not the key
    EXPECT_EQ(shape.batches, 1u);
    EXPECT_EQ(shape.region.Rects(),
              (std::vector<Rect>{{2, 0, 4, 1}, {6, 0, 7, 1}, {0, 2, 6, 3}, {0, 3, 7, 4}}));
}

TEST(ShapeRegionTest, ManyRunsAreUnitedFourHundredAtATime) {
    // 1000 single-pixel runs: 40 rows of 25, every other pixel.
    TMemoryDIB mask = Solid(50, 40, kWhite);
    for (int y = 0; y < 40; ++y) {
        for (int x = y % 2; x < 50; x += 2) {
            mask.SetPixel(x, y, kBlack);
        }
    }
    const ShapeRegion shape = BuildShapeRegion(mask, ColorFromPixel(0xFFFFFF));
    EXPECT_EQ(shape.runs, 1000u);
    EXPECT_EQ(shape.batches, 3u);
    ExpectCovers(shape.region, 50, 40, [&](int x, int y) { return mask.Pixel(x, y) == kBlack; });
    EXPECT_EQ(shape.region.RectCount(), 1000u);

    // Runs that coalesce across batches: a solid block of 900 rows ends as one rectangle.
    const ShapeRegion block = BuildShapeRegion(Solid(3, 900, kBlack), ColorFromPixel(0xFFFFFF));
    EXPECT_EQ(block.batches, 3u);
    EXPECT_EQ(block.region.Rects(), (std::vector<Rect>{{0, 0, 3, 900}}));
}

class ShaperTest : public ::testing::Test {
protected:
    int AddImage(const TAbstractSuperDIB& dib) {
        list.Add().DIB().Assign(dib);
        return list.Count() - 1;
    }

    test::SkinFixture fixture;
    TDIBImageList list;
};

TEST_F(ShaperTest, TheKeyDependsOnTheMode) {
    // Bottom-left pixel red; the picture also holds white and black.
    TMemoryDIB picture = Mask({"#.", "r."});
    TMemoryDIB keyed = picture;
    keyed.SetTransparent(true);
    keyed.SetTransparentMode(TTransparentMode::tmFixed);
    keyed.SetTransparentColor(ColorFromPixel(0x000000));
    TMemoryDIB auto_keyed = Mask({"#.", ".r"});
    auto_keyed.SetTransparent(true); // its own key: its bottom-left pixel, white

    struct Case {
        const char* what;
        const TMemoryDIB* linked; // null: the Bitmap
        TTransparentMode mode;
        TColor expected;
    };
    const Case cases[] = {
        {"auto: bottom-left of the bitmap", nullptr, TTransparentMode::tmAuto, 0x0000FF},
        {"auto: bottom-left of the image", &keyed, TTransparentMode::tmAuto, 0x0000FF},
        {"fixed, bitmap: the shaper's colour", nullptr, TTransparentMode::tmFixed, 0x00FF00},
        {"fixed, plain image: the shaper's colour", &picture, TTransparentMode::tmFixed, 0x00FF00},
        {"fixed, keyed image: its fixed key", &keyed, TTransparentMode::tmFixed, 0x000000},
        {"fixed, auto-keyed image: its bottom-left", &auto_keyed, TTransparentMode::tmFixed, 0xFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TDIBFormShaper shaper;
        shaper.SetBitmap(picture);
        shaper.SetTransparentColor(0x00FF00);
        shaper.SetTransparentMode(c.mode);
        if (c.linked != nullptr) {
            shaper.IndexShape().SetDIBImageList(&list);
            shaper.IndexShape().SetDIBIndex(AddImage(*c.linked));
        }
        EXPECT_EQ(shaper.Key(), c.expected);
        EXPECT_EQ(shaper.Build().key, c.expected);
    }
}

TEST_F(ShaperTest, TheWindowGetsTheOutlineMovedByOffsetsAndBorders) {
    WindowSite& site = fixture.OpenWindow(100, 100);
    const TMemoryDIB mask = Mask({"...", ".#.", "..."});
    struct Case {
        const char* what;
        int offset_x, offset_y, border_x, border_y;
        bool client_area_only;
        Rect expected; // client coordinates
    };
    const Case cases[] = {
        {"plain", 0, 0, 0, 0, false, {1, 1, 2, 2}},
        {"offsets", 5, 7, 0, 0, false, {6, 8, 7, 9}},
        {"client area only, no border", 5, 7, 0, 0, true, {6, 8, 7, 9}},
        // The region counts from the window's outer corner: without ClientAreaOnly a border moves
        // the picture up and left of the client area, with it the picture lies on the client area.
        {"border", 5, 7, 3, 20, false, {3, -12, 4, -11}},
        {"client area only with border", 5, 7, 3, 20, true, {6, 8, 7, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TDIBFormShaper shaper;
        shaper.SetBitmap(mask);
        shaper.SetOffset(c.offset_x, c.offset_y);
        shaper.SetClientAreaOnly(c.client_area_only);
        shaper.SetActive(true);
        shaper.SetWindow(&site, c.border_x, c.border_y);
        EXPECT_EQ(fixture.WindowShape(), std::vector<Rect>{c.expected});
        shaper.SetActive(false);
        EXPECT_TRUE(fixture.WindowShape().empty());
    }
}

TEST_F(ShaperTest, ChangesRebuildTheOutlineAndLoadingWaitsForItsEnd) {
    WindowSite& site = fixture.OpenWindow(100, 100);
    const int index = AddImage(Mask({"##.", "..."}));
    TDIBFormShaper shaper;
    shaper.BeginLoading();
    shaper.SetWindow(&site);
    shaper.IndexShape().SetDIBImageList(&list);
    shaper.IndexShape().SetDIBIndex(index);
    shaper.SetActive(true);
    EXPECT_TRUE(fixture.WindowShape().empty());
    shaper.EndLoading();
    EXPECT_EQ(fixture.WindowShape(), (std::vector<Rect>{{0, 0, 2, 1}}));

    // A new picture in the linked item.
    list.Item(index)->DIB().Assign(Mask({"...", ".##"}));
    EXPECT_EQ(fixture.WindowShape(), (std::vector<Rect>{{1, 1, 3, 2}}));
    // Another key: the white pixels stay, the black ones go.
    shaper.SetTransparentMode(TTransparentMode::tmFixed);
    shaper.SetTransparentColor(0x000000);
    EXPECT_EQ(fixture.WindowShape(), (std::vector<Rect>{{0, 0, 3, 1}, {0, 1, 1, 2}}));
    // The link cleared: back to the Bitmap, which is empty, so the window is left rectangular.
    shaper.IndexShape().SetDIBIndex(-1);
    EXPECT_TRUE(fixture.WindowShape().empty());
    EXPECT_TRUE(shaper.Applied().empty());
}

} // namespace
} // namespace kavlo
