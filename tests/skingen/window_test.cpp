// The built-in window as the menu loads it: TFORM1 read into a form with the standard factory.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "skin/controls/component_factory.h"
#include "skin/controls/dib_container.h"
#include "skin/controls/dib_image.h"
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

} // namespace
} // namespace kavlo
