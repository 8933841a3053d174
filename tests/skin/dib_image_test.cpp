#include "skin/controls/dib_image.h"

#include <gtest/gtest.h>

#include <string>

#include "skin/controls/dib_container.h"
#include "skin/controls/dib_image_list.h"
#include "skin_control_fixture.h"
#include "skin_pixels.h"

namespace kavlo {
namespace {

using test::Solid;

class DIBImageTest : public ::testing::Test {
protected:
    DIBImageTest() {
        container.SetBounds(0, 0, 32, 32);
        container.SetColor(0x000000);
    }

    int AddImage(const TAbstractSuperDIB& dib) {
        list.Add().DIB().Assign(dib);
        return list.Count() - 1;
    }
    TDIBImage& Make(int index, int width, int height) {
        TDIBImage& image = container.Add<TDIBImage>();
        image.SetBounds(0, 0, width, height);
        image.IndexMain().SetDIBImageList(&list);
        image.IndexMain().SetDIBIndex(index);
        return image;
    }

    test::SkinFixture fixture;
    TDIBImageList list;
    TDIBContainer container{fixture.Services()};
};

TEST_F(DIBImageTest, AutoSizeTakesTheImagesSizeAsTheControlTurnsAndScalesIt) {
    const int wide = AddImage(Solid(10, 4, 0xFF000000));
    struct Case {
        int16_t angle;
        double scale;
        int width, height;
    };
    const Case cases[] = {
        {0, 100, 10, 4}, {90, 100, 4, 10}, {0, 50, 5, 2}, {30, 100, 11, 8}, {180, 200, 20, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.angle) + " degrees, " + std::to_string(c.scale) + "%");
        TDIBImage& image = Make(wide, 1, 1);
        image.SetAngle(c.angle);
        image.SetScale(c.scale);
        image.SetAutoSize(true);
        EXPECT_EQ(image.Width(), c.width);
        EXPECT_EQ(image.Height(), c.height);
    }
    // The image's own stored scale is not the control's: the control gives the image its Scale.
    TMemoryDIB stored = Solid(6, 3, 0xFF000000);
    stored.SetScale(200);
    TDIBImage& image = Make(AddImage(stored), 1, 1);
    image.SetAutoSize(true);
    EXPECT_EQ(image.Width(), 6);
    EXPECT_EQ(image.Height(), 3);
}

TEST_F(DIBImageTest, WithoutAnImageAutoSizeKeepsTheSize) {
    const int small = AddImage(Solid(3, 2, 0xFF000000));
    TDIBImage& image = Make(-1, 17, 9);
    image.SetAutoSize(true);
    EXPECT_EQ(image.Width(), 17);
    EXPECT_EQ(image.Height(), 9);
    image.IndexMain().SetDIBIndex(small);
    EXPECT_EQ(image.Width(), 3);
    image.IndexMain().SetDIBIndex(-1);
    EXPECT_EQ(image.Width(), 3);
    EXPECT_EQ(image.Height(), 2);
    // An index beyond the list is no image either.
    image.IndexMain().SetDIBIndex(99);
    EXPECT_EQ(image.Width(), 3);
    // Nothing is drawn: the container's colour stays.
    container.SetColor(0x0000FF);
    container.Compose({0, 0, 32, 32});
    EXPECT_EQ(container.Surface().Pixel(0, 0), 0x00FF0000u);
}

TEST_F(DIBImageTest, StretchAutoSizeAndScaleClearEachOther) {
    const int index = AddImage(Solid(4, 4, 0xFF000000));
    struct Step {
        const char* action;
        bool auto_size, stretch;
    };
    const Step steps[] = {
        {"autosize", true, false}, {"stretch", false, true}, {"autosize", true, false},
        {"stretch", false, true},  {"scale", false, false},  {"stretch", false, true},
        {"scale x", false, false},
    };
    TDIBImage& image = Make(index, 10, 6);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.action);
        const std::string action = step.action;
        if (action == "autosize") {
            image.SetAutoSize(true);
        } else if (action == "stretch") {
            image.SetStretch(true);
        } else if (action == "scale") {
            image.SetScale(100);
        } else {
            image.SetScaleX(100);
        }
        EXPECT_EQ(image.AutoSize(), step.auto_size);
        EXPECT_EQ(image.Stretch(), step.stretch);
    }
}

TEST_F(DIBImageTest, StretchScalesByWholePercents) {
    const int index = AddImage(Solid(6, 4, 0xFF00FF00));
    TDIBImage& image = Make(index, 7, 10);
    image.SetStretch(true);
    EXPECT_EQ(image.DrawScaleX(), 116); // 7 x 100 / 6, the fraction dropped
    EXPECT_EQ(image.DrawScaleY(), 250);
    container.Compose({0, 0, 32, 32});
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 7; ++x) {
            ASSERT_EQ(container.Surface().Pixel(x, y), 0xFF00FF00u) << x << "," << y;
        }
    }
    EXPECT_NE(container.Surface().Pixel(7, 0), 0xFF00FF00u);
    EXPECT_NE(container.Surface().Pixel(0, 10), 0xFF00FF00u);
}

TEST_F(DIBImageTest, CenterOffsetsByHalfTheRoomRoundedTowardZero) {
    struct Case {
        int control_w, control_h, image_w, image_h;
        int x, y;
    };
    const Case cases[] = {
        {11, 7, 4, 2, 3, 2},
        {4, 4, 4, 4, 0, 0},
        {2, 2, 7, 7, -2, -2}, // -2.5 becomes -2, not -3
        {3, 8, 6, 3, -1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.control_w) + "x" + std::to_string(c.control_h));
        // Every pixel its own colour, so the composed picture shows where the image went.
        TMemoryDIB coded(static_cast<uint16_t>(c.image_w), static_cast<uint16_t>(c.image_h));
        for (int y = 0; y < c.image_h; ++y) {
            for (int x = 0; x < c.image_w; ++x) {
                coded.SetPixel(x, y, 0xFF000000u | static_cast<uint32_t>((x + 1) << 16 | (y + 1) << 8));
            }
        }
        TDIBImage& image = Make(AddImage(coded), c.control_w, c.control_h);
        image.SetCenter(true);
        EXPECT_EQ(image.ImageOffsetX(), c.x);
        EXPECT_EQ(image.ImageOffsetY(), c.y);
        container.Compose({0, 0, 32, 32});
        for (int y = 0; y < c.control_h; ++y) {
            for (int x = 0; x < c.control_w; ++x) {
                const int ix = x - c.x;
                const int iy = y - c.y;
                const bool inside = ix >= 0 && iy >= 0 && ix < c.image_w && iy < c.image_h;
                ASSERT_EQ(container.Surface().Pixel(x, y), inside ? coded.Pixel(ix, iy) : 0u)
                    << x << "," << y;
            }
        }
        image.SetVisible(false);
        // With AutoSize the image fills the control and Center has nothing to do.
        image.SetAutoSize(true);
        EXPECT_EQ(image.ImageOffsetX(), 0);
        EXPECT_EQ(image.ImageOffsetY(), 0);
    }
}

// The unturned scaled draw must give exactly what the general turned-and-scaled draw gives.
TEST(DrawUnturnedTest, SamePixelsAsTheGeneralDraw) {
    TMemoryDIB coded(13, 7);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 13; ++x) {
            coded.SetPixel(x, y,
                           static_cast<uint32_t>((x * 19 + y * 7) << 24 | x * 20 << 16 | y * 36 << 8 | 0x55));
        }
    }
    coded.SetPixel(0, 6, 0xFF0000FF); // the bottom-left pixel: the automatic key
    struct Case {
        const char* what;
        double scale_x, scale_y;
        int x, y;
        bool masked, transparent;
        uint8_t opacity;
    };
    const Case cases[] = {
        {"enlarged", 250, 150, 3, 2, false, false, 255},
        {"shrunk", 37, 61, 0, 0, false, false, 255},
        {"whole percents of a stretch", 116, 1733, -5, -9, false, false, 255},
        {"huge", 24300, 2157, -300, -40, false, false, 150},
        {"keyed", 180, 90, 1, 1, false, true, 255},
        {"keyed blend", 133, 133, 2, 0, false, true, 77},
        {"masked", 210, 345, -4, 3, true, false, 255},
        {"masked blend", 75, 300, 5, -2, true, false, 99},
        {"unscaled", 100, 100, 6, 6, false, true, 200},
        // A box of a billion pixels a side, of which only the window's part is ever worked out.
        {"vast", 1e11, 3e10, -(1 << 29) + 7, -(1 << 28), false, false, 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TMemoryDIB image = coded;
        image.SetMasked(c.masked);
        image.SetTransparent(c.transparent);
        image.SetOpacity(c.opacity);
        TMemoryDIB general = Solid(40, 30, 0xFF808080);
        TMemoryDIB fast = general;
        TMemoryDIB clipped = general;
        TMemoryDIB scaled = image;
        scaled.SetScaleX(c.scale_x);
        scaled.SetScaleY(c.scale_y);
        scaled.Draw(general, c.x, c.y);
        DrawUnturned(image, fast, c.x, c.y, c.scale_x, c.scale_y, Rect{0, 0, 40, 30});
        const Rect clip{7, 4, 23, 19};
        DrawUnturned(image, clipped, c.x, c.y, c.scale_x, c.scale_y, clip);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 40; ++x) {
                ASSERT_EQ(fast.Pixel(x, y), general.Pixel(x, y)) << x << "," << y;
                const bool inside = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
                ASSERT_EQ(clipped.Pixel(x, y), inside ? general.Pixel(x, y) : 0xFF808080u) << x << "," << y;
            }
        }
    }
}

TEST(SurfaceExtentTest, SurfacesKeepToThePictureLimits) {
    struct Case {
        int width, height;
        Extent expected;
    };
    const Case cases[] = {
        {818, 742, {818, 742}},        {-5, 10, {0, 10}},
        {16384, 16384, {16384, 4096}}, {65535, 3, {16384, 3}},
        {65535, 65535, {16384, 4096}}, {0, 65535, {0, 16384}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SurfaceExtentFor(c.width, c.height), c.expected) << c.width << "x" << c.height;
    }
}

TEST_F(DIBImageTest, ControlsFollowTheirItemAndSharedImagesKeepTheirOwnSettings) {
    const int shared = AddImage(Solid(4, 2, 0xFF123456));
    TDIBImage& sized = Make(shared, 1, 1);
    sized.SetAutoSize(true);
    TDIBImage& turned = Make(shared, 8, 8);
    turned.SetLeft(10);
    turned.SetAngle(90);
    turned.SetScale(150);
    container.Compose({0, 0, 32, 32});
    // Drawing lent the image the controls' settings and took them back without telling anyone.
    const TMemoryDIB& image = list.Item(shared)->DIB();
    EXPECT_EQ(image.Angle(), 0);
    EXPECT_EQ(image.ScaleX(), 100);
    EXPECT_TRUE(container.PendingUpdate().Empty());

    // A new picture in the item: the auto-sized control follows it, both repaint.
    list.Item(shared)->DIB().Assign(Solid(5, 7, 0xFF654321));
    EXPECT_EQ(sized.Width(), 5);
    EXPECT_EQ(sized.Height(), 7);
    EXPECT_EQ(container.PendingUpdate(), (Rect{0, 0, 18, 8}));
}

} // namespace
} // namespace kavlo
