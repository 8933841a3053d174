#include "skin/controls/dib_container.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "skin/controls/dib_fade_label.h"
#include "skin/controls/dib_image.h"
#include "skin/controls/dib_image_list.h"
#include "skin_control_fixture.h"
#include "skin_pixels.h"

namespace kavlo {
namespace {

using test::BlendedPixel;
using test::Solid;

class ContainerTest : public ::testing::Test {
protected:
    TDIBContainer& MakeContainer(int width, int height, TColor color = 0x000000) {
        containers_.push_back(std::make_unique<TDIBContainer>(fixture.Services()));
        TDIBContainer& container = *containers_.back();
        container.SetBounds(0, 0, width, height);
        container.SetColor(color);
        return container;
    }
    int AddImage(const TAbstractSuperDIB& dib) {
        list.Add().DIB().Assign(dib);
        return list.Count() - 1;
    }
    TDIBImage& Place(TDIBContainer& container, int index, Rect bounds, uint8_t opacity = 255) {
        TDIBImage& image = container.Add<TDIBImage>();
        image.SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
        image.IndexMain().SetDIBImageList(&list);
        image.IndexMain().SetDIBIndex(index);
        image.SetOpacity(opacity);
        return image;
    }
    static std::vector<uint32_t> Pixels(const TAbstractSuperDIB& dib) {
        return std::vector<uint32_t>(dib.Bits(), dib.Bits() + dib.PixelCount());
    }

    test::SkinFixture fixture;
    TDIBImageList list; // declared before the containers: their controls link to it
    std::vector<std::unique_ptr<TDIBContainer>> containers_;
};

TEST_F(ContainerTest, EachControlBlendsOverWhatLiesBelowItInZOrder) {
    const int base = AddImage(Solid(4, 1, 0xFF102030));
    const int middle = AddImage(Solid(2, 1, 0xFFF0E0D0));
    const int top = AddImage(Solid(1, 1, 0x80405060));
    TDIBContainer& container = MakeContainer(4, 1);
    Place(container, base, {0, 0, 4, 1});
    Place(container, middle, {1, 0, 3, 1}, 128);
    Place(container, top, {2, 0, 3, 1}, 64);
    container.Compose({0, 0, 4, 1});

    const uint32_t under_middle = BlendedPixel(0xFFF0E0D0, 0xFF102030, 128);
    // The top control's work surface holds its image's alpha byte, which the blend passes on.
    const uint32_t under_top = BlendedPixel(0x80405060, under_middle, 64);
    const std::vector<uint32_t> expected = {0xFF102030, under_middle, under_top, 0xFF102030};
    EXPECT_EQ(Pixels(container.Surface()), expected);

    // The same controls the other way up: the opaque one on top hides the others.
    TDIBContainer& reversed = MakeContainer(4, 1);
    Place(reversed, top, {2, 0, 3, 1}, 64);
    Place(reversed, middle, {1, 0, 3, 1}, 128);
    Place(reversed, base, {0, 0, 4, 1});
    reversed.Compose({0, 0, 4, 1});
    EXPECT_EQ(Pixels(reversed.Surface()), std::vector<uint32_t>(4, 0xFF102030));
}

TEST_F(ContainerTest, OpacityExtremesAndTheImagesOwnDrawSettings) {
    const int base = AddImage([] {
        TMemoryDIB dib(3, 1);
        dib.SetPixel(0, 0, 0xFF00C8FF);
        dib.SetPixel(1, 0, 0x12345678);
        dib.SetPixel(2, 0, 0xFF111111);
        return dib;
    }());
    const int grey = AddImage(Solid(1, 1, 0xFF808080));
    TMemoryDIB keyed(2, 1);
    keyed.SetPixel(0, 0, 0xFF00FF00);
    keyed.SetPixel(1, 0, 0xFFABCDEF);
    keyed.SetTransparent(true);
    keyed.SetTransparentMode(TTransparentMode::tmFixed);
    keyed.SetTransparentColor(ColorFromPixel(0x00FF00));
    const int key = AddImage(keyed);

    struct Case {
        const char* what;
        int image;
        Rect bounds;
        uint8_t opacity;
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        // Opacity 255 without a key or mask is a plain copy, alpha byte and all.
        {"opaque copy", base, {0, 0, 3, 1}, 255, {0xFF00C8FF, 0x12345678, 0xFF111111}},
        // Opacity 0 keeps every channel except 0, which becomes 1; the alpha byte is the work surface's.
        {"opacity 0", grey, {0, 0, 1, 1}, 0, {0xFF01C8FF, 0x12345678, 0xFF111111}},
        // Without an image the control still blends what lies under it with itself.
        {"no image, opacity 0", -1, {0, 0, 3, 1}, 0, {0xFF01C8FF, 0x12345678, 0xFF111111}},
        {"no image, opacity 9",
         -1,
         {1, 0, 2, 1},
         9,
         {0xFF00C8FF, BlendedPixel(0x12345678, 0x12345678, 9), 0xFF111111}},
        // The key colour shows what lies under the control; the other pixel loses its alpha byte.
        {"colour key", key, {1, 0, 3, 1}, 255, {0xFF00C8FF, 0x12345678, 0x00ABCDEF}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TDIBContainer& container = MakeContainer(3, 1);
        Place(container, base, {0, 0, 3, 1});
        Place(container, c.image, c.bounds, c.opacity);
        container.Compose({0, 0, 3, 1});
        EXPECT_EQ(Pixels(container.Surface()), c.expected);
    }
}

TEST_F(ContainerTest, AnOpaqueImageHidesWhatIsUnderItOnlyWhereItsPixelsReach) {
    const int base = AddImage(Solid(5, 1, 0xFF0000FF));
    const int narrow = AddImage(Solid(3, 1, 0xFF00FF00));
    TMemoryDIB keyed_image = Solid(5, 1, 0xFFFF0000);
    keyed_image.SetPixel(4, 0, 0xFF000000);
    keyed_image.SetTransparent(true);
    const int keyed = AddImage(keyed_image); // its bottom-left pixel is the key: all red pixels drop out

    struct Case {
        const char* what;
        int top_image;
        Rect top_bounds;
        Rect update;
        std::vector<uint32_t> expected; // 0xDEADBEEF: left alone
    };
    constexpr uint32_t kLeft = 0xDEADBEEF;
    const Case cases[] = {
        {"the image fills the update",
         narrow,
         {1, 0, 5, 1},
         {1, 0, 4, 1},
         {kLeft, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00, kLeft}},
        // The control is wider than its image: its last column shows what lies under it.
        {"wider control",
         narrow,
         {1, 0, 5, 1},
         {0, 0, 5, 1},
         {0xFF0000FF, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00, 0xFF0000FF}},
        {"colour key",
         keyed,
         {0, 0, 5, 1},
         {0, 0, 5, 1},
         {0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0x00000000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TDIBContainer& container = MakeContainer(5, 1, 0x00FFFF);
        Place(container, base, {0, 0, 5, 1});
        Place(container, c.top_image, c.top_bounds);
        container.Surface().Fill(kLeft);
        container.Compose(c.update);
        EXPECT_EQ(Pixels(container.Surface()), c.expected);
    }
    // With nothing under it, the brush shows wherever the image does not reach, and only there.
    TDIBContainer& container = MakeContainer(5, 1, 0x00FFFF);
    Place(container, narrow, {1, 0, 5, 1});
    container.Surface().Fill(kLeft);
    container.Compose({0, 0, 5, 1});
    EXPECT_EQ(Pixels(container.Surface()),
              (std::vector<uint32_t>{0x00FFFF00, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00, 0x00FFFF00}));
}

TEST_F(ContainerTest, RecomposingPartsGivesTheFullPictureAndLeavesTheRestAlone) {
    TMemoryDIB gradient(40, 30);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            gradient.SetPixel(x, y, 0xFF000000u | static_cast<uint32_t>(x * 6 << 16 | y * 8 << 8 | 0x40));
        }
    }
    const int back = AddImage(gradient);
    const int stripe = AddImage(Solid(12, 5, 0xFFE0A020));
    TDIBContainer& container = MakeContainer(40, 30);
    Place(container, back, {0, 0, 40, 30});
    TDIBImage& turned = Place(container, stripe, {14, 3, 34, 23}, 200);
    turned.SetAngle(30);
    turned.SetCenter(true);
    TDIBFadeLabel& label = container.Add<TDIBFadeLabel>();
    label.SetBounds(2, 14, 30, 14);
    label.SetTransparent(true);
    label.SetFont(FontSpec{.name = "DejaVu Sans", .height = -12});
    label.SetFontColor(0xFFFFFF);
    label.SetCaption("Wq");
    Place(container, stripe, {20, 20, 40, 28}, 90);

    container.Compose({0, 0, 40, 30});
    const std::vector<uint32_t> full = Pixels(container.Surface());
    // The caption is there to be cut through: some of its pixels are fully white.
    EXPECT_NE(std::count_if(full.begin(), full.end(), [](uint32_t p) { return (p & 0xFFFFFF) == 0xFFFFFF; }),
              0);

    constexpr uint32_t kSentinel = 0xDEADBEEF;
    container.Surface().Fill(kSentinel);
    const Rect part{5, 7, 27, 19};
    container.Compose(part);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool inside = x >= part.left && x < part.right && y >= part.top && y < part.bottom;
            const uint32_t want = inside ? full[static_cast<size_t>(29 - y) * 40 + x] : kSentinel;
            ASSERT_EQ(container.Surface().Pixel(x, y), want) << x << "," << y;
        }
    }
    // Tiles of odd sizes, each cutting through every control, add up to the whole picture.
    for (const Rect& tile :
         {Rect{0, 0, 17, 9}, Rect{17, 0, 40, 9}, Rect{0, 9, 13, 30}, Rect{13, 9, 40, 30}}) {
        container.Compose(tile);
    }
    EXPECT_EQ(Pixels(container.Surface()), full);
}

TEST_F(ContainerTest, VisibleChangesAskForTheirRectanglesOnly) {
    const int image = AddImage(Solid(4, 4, 0xFF445566));
    TDIBContainer& container = MakeContainer(40, 30);
    container.SetBounds(100, 50, 40, 30);
    WindowSite& site = fixture.OpenWindow(200, 100);
    container.SetSite(&site);
    TDIBImage& control = Place(container, image, {10, 5, 14, 9});
    container.Compose({0, 0, 40, 30});
    fixture.Pump();
    ASSERT_TRUE(container.PendingUpdate().Empty());

    struct Step {
        const char* change;
        Rect pending;
    };
    const Step steps[] = {
        {"opacity", {10, 5, 14, 9}}, {"move", {10, 5, 24, 9}}, // old and new place
        {"hide", {20, 5, 24, 9}},    {"show", {20, 5, 24, 9}}, {"beyond the edge", {20, 5, 40, 9}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.change);
        const std::string change = step.change;
        if (change == "opacity") {
            control.SetOpacity(10);
        } else if (change == "move") {
            control.SetLeft(20);
        } else if (change == "hide") {
            control.SetVisible(false);
        } else if (change == "show") {
            control.SetVisible(true);
        } else {
            control.SetWidth(30);
        }
        EXPECT_EQ(container.PendingUpdate(), step.pending);
        const size_t paints = fixture.Paints().size();
        fixture.Pump();
        ASSERT_EQ(fixture.Paints().size(), paints + 1);
        // The window hears of it in its own coordinates, at the container's place.
        const Rect& r = step.pending;
        EXPECT_EQ(fixture.Paints().back(), (Rect{r.left + 100, r.top + 50, r.right + 100, r.bottom + 50}));
        container.Compose(container.PendingUpdate());
        EXPECT_TRUE(container.PendingUpdate().Empty());
    }
}

TEST_F(ContainerTest, PaintPresentsTheUpdateRectangleAtTheContainersPlace) {
    const int image = AddImage(Solid(8, 6, 0xFF336699));
    TDIBContainer& container = MakeContainer(8, 6, 0x0000FF);
    container.SetBounds(3, 2, 8, 6);
    WindowSite& site = fixture.OpenWindow(20, 10);
    container.SetSite(&site);
    Place(container, image, {0, 0, 8, 6});
    container.Paint({2, 1, 5, 4});
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool shown = x >= 5 && x < 8 && y >= 3 && y < 6;
            EXPECT_EQ(fixture.FramePixel(x, y), shown ? 0xFF336699u : 0u) << x << "," << y;
        }
    }
}

TEST_F(ContainerTest, PointerGoesToTheTopmostControlWithEnterLeaveCaptureAndClick) {
    TDIBContainer& container = MakeContainer(40, 40);
    std::vector<std::string> log;
    auto track = [&log](TControl& control) {
        const std::string name = control.Name();
        control.handlers.OnMouseEnter = [&log, name](TControl&) { log.push_back(name + " enter"); };
        control.handlers.OnMouseLeave = [&log, name](TControl&) { log.push_back(name + " leave"); };
        control.handlers.OnClick = [&log, name](TControl&) { log.push_back(name + " click"); };
        control.handlers.OnMouseDown = [&log, name](TControl&, MouseButton, ShiftState, int x, int y) {
            log.push_back(name + " down " + std::to_string(x) + "," + std::to_string(y));
        };
        control.handlers.OnMouseUp = [&log, name](TControl&, MouseButton, ShiftState, int x, int y) {
            log.push_back(name + " up " + std::to_string(x) + "," + std::to_string(y));
        };
        control.handlers.OnMouseMove = [&log, name](TControl&, ShiftState, int x, int y) {
            log.push_back(name + " move " + std::to_string(x) + "," + std::to_string(y));
        };
    };
    const char* names[] = {"A", "B", "Hidden", "Disabled"};
    const Rect bounds[] = {{0, 0, 10, 10}, {5, 5, 15, 15}, {0, 0, 40, 40}, {0, 0, 40, 40}};
    for (int i = 0; i < 4; ++i) {
        TDIBImage& control = container.Add<TDIBImage>();
        control.SetName(names[i]);
        control.SetBounds(bounds[i].left, bounds[i].top, bounds[i].Width(), bounds[i].Height());
        track(control);
    }
    container.FindControl("hidden")->SetVisible(false);
    container.FindControl("Disabled")->SetEnabled(false);

    struct Step {
        const char* action;
        int x, y;
        std::vector<std::string> expected;
    };
    const Step steps[] = {
        {"move", 2, 2, {"A enter", "A move 2,2"}},
        {"move", 6, 6, {"A leave", "B enter", "B move 1,1"}},
        {"down", 6, 6, {"B down 1,1"}},
        // Pressed, B keeps the pointer beyond its edge; enter and leave follow the pointer.
        {"move", 30, 30, {"B leave", "B move 25,25"}},
        {"up", 30, 30, {"B up 25,25"}}, // released elsewhere: no click
        {"down", 7, 7, {"B enter", "B down 2,2"}},
        {"up", 8, 8, {"B up 3,3", "B click"}},
        {"down", 3, 3, {"B leave", "A enter", "A down 3,3"}},
        {"up", 7, 7, {"A leave", "B enter", "A up 7,7"}}, // released over another control: no click
        {"leave", 0, 0, {"B leave"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string(step.action) + " " + std::to_string(step.x) + "," + std::to_string(step.y));
        log.clear();
        const std::string action = step.action;
        if (action == "move") {
            container.PointerMove({}, step.x, step.y);
        } else if (action == "down") {
            container.PointerDown(MouseButton::Left, {}, step.x, step.y);
        } else if (action == "up") {
            container.PointerUp(MouseButton::Left, {}, step.x, step.y);
        } else {
            container.PointerLeave();
        }
        EXPECT_EQ(log, step.expected);
    }
}

TEST_F(ContainerTest, FocusCyclesThroughTheTabOrder) {
    TDIBContainer& container = MakeContainer(10, 10);
    struct Stop {
        const char* name;
        int tab_order;
        bool visible;
    };
    const Stop stops[] = {
        {"Third", 5, true}, {"Out", -1, true}, {"First", 0, true}, {"Hidden", 1, false}, {"Second", 2, true}};
    for (const Stop& desc : stops) {
        TDIBImage& control = container.Add<TDIBImage>();
        control.SetName(desc.name);
        control.SetDIBTabOrder(desc.tab_order);
        control.SetVisible(desc.visible);
    }
    std::vector<std::string> forward;
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(container.SelectNext(true));
        forward.push_back(container.DIBFocus()->Name());
    }
    EXPECT_EQ(forward, (std::vector<std::string>{"First", "Second", "Third", "First"}));
    ASSERT_TRUE(container.SelectNext(false));
    EXPECT_EQ(container.DIBFocus()->Name(), "Third");

    TDIBContainer& empty = MakeContainer(10, 10);
    empty.Add<TDIBImage>();
    EXPECT_FALSE(empty.SelectNext(true));
    EXPECT_EQ(empty.DIBFocus(), nullptr);
}

} // namespace
} // namespace kavlo
