#include "skin/controls/plain_controls.h"

#include <gtest/gtest.h>

#include <string>

#include "skin/controls/skin_form.h"
#include "skin_control_fixture.h"
#include "skin_pixels.h"

namespace kavlo {
namespace {

using test::Solid;

class PlainControlsTest : public ::testing::Test {
protected:
    PlainControlsTest() {
        form.SetClientSize(12, 8);
        form.SetColor(0x000000);
    }
    TImage& AddImage(const TMemoryDIB& picture, Rect bounds) {
        auto image = std::make_unique<TImage>();
        TImage& added = *image;
        form.Adopt(std::move(image));
        added.SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
        Picture pixels;
        pixels.width = picture.Width();
        pixels.height = picture.Height();
        pixels.pixels.assign(picture.Bits(), picture.Bits() + picture.PixelCount());
        added.SetPicture(std::move(pixels));
        return added;
    }

    test::SkinFixture fixture;
    SkinForm form{fixture.Services()};
};

TEST_F(PlainControlsTest, PicturesAreDrawnAsTheyAreCentredStretchedOrKeyed) {
    TMemoryDIB two_by_two = Solid(2, 2, 0xFF00FF00);
    two_by_two.SetPixel(0, 1, 0xFFFF0000); // bottom-left: the automatic key
    struct Case {
        const char* what;
        bool center, stretch, transparent;
        Rect bounds;
        // Pixel rows of the form's 12 x 8 area's top-left 6 x 4: g green, r red, . black.
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"as it is", false, false, false, {1, 1, 5, 4}, {"......", ".gg...", ".rg...", "......"}},
        {"centred", true, false, false, {0, 0, 6, 4}, {"......", "..gg..", "..rg..", "......"}},
        {"stretched", false, true, false, {0, 0, 6, 4}, {"gggggg", "gggggg", "rrrggg", "rrrggg"}},
        {"keyed", false, false, true, {1, 1, 5, 4}, {"......", ".gg...", "..g...", "......"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TImage& image = AddImage(two_by_two, c.bounds);
        image.SetCenter(c.center);
        image.SetStretch(c.stretch);
        image.SetTransparent(c.transparent);
        form.Compose({0, 0, 12, 8});
        for (int y = 0; y < 4; ++y) {
            std::string row;
            for (int x = 0; x < 6; ++x) {
                const uint32_t p = form.Surface().Pixel(x, y) & 0xFFFFFF;
                row += p == 0x00FF00 ? 'g' : p == 0xFF0000 ? 'r' : p == 0 ? '.' : '?';
            }
            EXPECT_EQ(row, c.expected[static_cast<size_t>(y)]) << y;
        }
        image.SetVisible(false);
    }
}

TEST_F(PlainControlsTest, AnAutoSizedLabelTakesItsTextsSizeAndKeepsItsRightEdgeWhenRightAligned) {
    auto owned = std::make_unique<TLabel>(fixture.Fonts());
    TLabel& label = *owned;
    form.Adopt(std::move(owned));
    label.SetFont(FontSpec{.name = "DejaVu Sans", .height = -12});
    label.SetBounds(100, 10, 5, 5);
    label.SetCaption("Reload");
    const int width = label.Width();
    EXPECT_GT(width, 20);
    EXPECT_GT(label.Height(), 10);
    EXPECT_EQ(label.Left(), 100);
    label.SetAlignment(TAlignment::taRightJustify);
    label.SetCaption("Show ini files");
    EXPECT_GT(label.Width(), width);
    EXPECT_EQ(label.Left() + label.Width(), 100 + width);
    label.SetAutoSize(false);
    label.SetCaption("x");
    EXPECT_GT(label.Width(), width);
}

TEST_F(PlainControlsTest, AnOpaqueLabelTakesItsParentsColourUntilItGetsOneOfItsOwn) {
    auto owned = std::make_unique<TLabel>(fixture.Fonts());
    TLabel& label = *owned;
    form.Adopt(std::move(owned));
    label.SetAutoSize(false);
    label.SetBounds(0, 0, 12, 8); // no caption: the brush alone
    const auto brush = [&] {
        form.Compose({0, 0, 12, 8});
        return form.Surface().Pixel(5, 4) & 0xFFFFFFu;
    };
    EXPECT_TRUE(label.ParentColor());
    EXPECT_EQ(brush(), 0x000000u);
    form.SetColor(0x0000FF); // the parent's new colour shows through ParentColor
    EXPECT_EQ(brush(), 0xFF0000u);
    label.SetColor(0x0000FF); // the colour it already shows: nothing changes
    EXPECT_TRUE(label.ParentColor());
    label.SetColor(0x00FF00);
    EXPECT_FALSE(label.ParentColor());
    form.SetColor(0x000000);
    EXPECT_EQ(brush(), 0x00FF00u);
    label.SetParentColor(true);
    EXPECT_EQ(brush(), 0x000000u);
}

TEST_F(PlainControlsTest, FormTimersTickOnceTheWindowGivesThemAHandler) {
    struct Case {
        TimerHandle::Kind kind;
        bool enabled_at_start;
    };
    for (const Case& c : {Case{TimerHandle::Kind::Timer, true}, Case{TimerHandle::Kind::DIBTimer, false}}) {
        TimerComponent timer(fixture.App(), c.kind);
        EXPECT_EQ(timer.Timer().Enabled(), c.enabled_at_start);
        timer.Timer().SetEnabled(true);
        timer.Timer().SetInterval(50);
        EXPECT_FALSE(timer.Timer().Active());
        int ticks = 0;
        timer.Timer().SetOnTimer([&ticks] { ++ticks; });
        fixture.RunFor(200);
        EXPECT_EQ(ticks, 4);
        timer.Timer().SetEnabled(false);
        fixture.RunFor(200);
        EXPECT_EQ(ticks, 4);
    }
}

} // namespace
} // namespace kavlo
