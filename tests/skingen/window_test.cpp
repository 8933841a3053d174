// The built-in window as the menu loads it: TFORM1 read into a form with the standard factory.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "skin/controls/component_factory.h"
#include "skin/controls/dib_container.h"
#include "skin/controls/dib_image.h"
#include "skin/controls/dib_image_list.h"
#include "skin/text/font_resolver.h"
#include "skingen/resources.h"
#include "ui/headless/offscreen_window.h"

namespace kavlo {
namespace {

class NoFonts : public Fonts {
public:
    int AddFontResource(std::string_view) override { return 0; }
    bool RemoveFontResource(std::string_view) override { return false; }
    void BroadcastFontChange() override {}
    std::optional<std::string> FindFace(std::string_view) const override { return std::nullopt; }
    std::vector<std::string> Families() const override { return {}; }
};

class BuiltInWindow : public ::testing::Test {
protected:
    void SetUp() override {
        const auto stream = Resource("TFORM1");
        FormLoadResult loaded =
            LoadSkinForm(std::string_view(reinterpret_cast<const char*>(stream.data()), stream.size()),
                         ComponentFactory::Standard(), SkinServices{window.App(), resolver},
                         CompressorRegistry::WithStandardCompressors());
        ASSERT_TRUE(loaded.ok()) << (loaded.errors.empty() ? "" : loaded.errors.front());
        form = std::move(loaded.form);
        container = form->Find<TDIBContainer>("DIBContainer1");
        ASSERT_NE(container, nullptr);
    }

    OffscreenWindow window{818, 742};
    WindowSite site{window.App(), window.Window()};
    NoFonts fonts;
    FontResolver resolver{fonts, FontResolverOptions{.use_fontconfig = false}};
    std::unique_ptr<SkinForm> form;
    TDIBContainer* container = nullptr;
};

// The corner spots are the hot areas; the indicators inside them only show a state. A click in the
// middle of a spot must reach the spot, whether the indicator shows an image or not.
TEST_F(BuiltInWindow, TheMiddleOfEachCornerSpotTakesThePointer) {
    for (const char* name : {"ExitSpot", "SetupSpot", "IndigoSpot"}) {
        SCOPED_TRACE(name);
        auto* spot = form->Find<TDIBImage>(name);
        ASSERT_NE(spot, nullptr);
        int clicks = 0;
        spot->handlers.OnClick = [&clicks](TControl&) { ++clicks; };
        const int x = spot->Left() + spot->Width() / 2;
        const int y = spot->Top() + spot->Height() / 2;
        for (int index : {-1, 64}) {
            for (const char* indicator : {"ExitDIB", "SetupDIB", "IndigoDIB"}) {
                form->Find<TDIBImage>(indicator)->IndexMain().SetDIBIndex(index);
            }
            EXPECT_EQ(container->ControlAt(x, y), spot) << "indicator image " << index;
        }
        // Through the window, as the pointer comes.
        const int wx = container->Left() + x;
        const int wy = container->Top() + y;
        form->PointerMove({}, wx, wy);
        form->PointerDown(MouseButton::Left, {}, wx, wy);
        form->PointerUp(MouseButton::Left, {}, wx, wy);
        EXPECT_EQ(clicks, 1);
    }
}

// A window shows few of its 131 skin images at first; unpacking them all would hold up its first frame.
TEST_F(BuiltInWindow, TheFirstFrameUnpacksTheImagesItShowsAndNoOthers) {
    auto* list = form->Find<TDIBImageList>("DIBImageList1");
    ASSERT_NE(list, nullptr);
    // Laying out needs sizes only: the picture viewer's frame, auto-sized and hidden, stays packed.
    const auto* frame = form->Find<TDIBImage>("DIBImage1");
    EXPECT_EQ(frame->Width(), 638);
    EXPECT_EQ(frame->Height(), 482);
    EXPECT_TRUE(list->Item(frame->IndexMain().DIBIndex())->Packed());

    form->SetClientSize(818, 742);
    form->SetSite(&site);
    window.SetPaintHandler([this](const Rect& rect) { form->Paint(rect); });
    window.RunFor(0);

    std::set<int> shown;
    for (int i = 0; i < container->ControlCount(); ++i) {
        const auto* image = dynamic_cast<const TDIBImage*>(&container->Control(i));
        if (image != nullptr && image->Visible() && image->IndexMain().Item() != nullptr &&
            image->IndexMain().DIBImageList() == list) {
            shown.insert(image->IndexMain().DIBIndex());
        }
    }
    std::set<int> unpacked;
    for (int i = 0; i < list->Count(); ++i) {
        if (!list->Item(i)->Packed()) {
            unpacked.insert(i);
        }
    }
    EXPECT_EQ(unpacked, shown);
    EXPECT_LT(unpacked.size(), 12u);
    // And the frame on the window holds them: the background at the content area's corner.
    const auto presented = window.Backend().Frame(window.Window());
    ASSERT_TRUE(presented.has_value());
    const uint8_t* p = presented->Row(container->Top() + 10) + (container->Left() + 10) * 4;
    const uint32_t background = list->Item(52)->DIB().Pixel(10, 10);
    EXPECT_EQ(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16, background & 0xFFFFFF);
}

} // namespace
} // namespace kavlo
