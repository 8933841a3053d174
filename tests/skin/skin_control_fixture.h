#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/fonts.h"
#include "skin/controls/dib_site.h"
#include "skin/surface/skin_types.h"
#include "skin/text/font_resolver.h"

namespace kavlo {
class Application;
class HeadlessBackend;
} // namespace kavlo

namespace kavlo::test {

// No registered fonts: every face resolves to the DejaVu fallback, without asking fontconfig, so that
// text pixels do not depend on what the machine has installed.
class NoFonts : public Fonts {
public:
    int AddFontResource(std::string_view) override { return 0; }
    bool RemoveFontResource(std::string_view) override { return false; }
    void BroadcastFontChange() override {}
    std::optional<std::string> FindFace(std::string_view) const override { return std::nullopt; }
    std::vector<std::string> Families() const override { return {}; }
};

// A message loop on a virtual clock, a window to present to, and fonts: what the controls need.
// Kept behind pointers because the ui headers may not meet the surface headers in one file.
class SkinFixture {
public:
    SkinFixture();
    ~SkinFixture();

    Application& App();
    HeadlessBackend& Backend();
    FontResolver& Fonts() { return resolver_; }
    SkinServices Services() { return SkinServices{App(), resolver_}; }
    // Lets virtual time pass, running every timer due on the way.
    void RunFor(uint64_t ms);
    // A window of the given client size and a site presenting to it.
    WindowSite& OpenWindow(int width, int height);
    // The window's presented pixel at a client point (0xAARRGGBB).
    uint32_t FramePixel(int x, int y) const;
    // The outline last given to the window.
    std::vector<Rect> WindowShape() const;
    // Whether the backend shows the hand cursor now.
    bool HandCursorShown() const;
    // Paint requests the window received, in order.
    const std::vector<Rect>& Paints() const { return paints_; }
    // Dispatches what is pending (paint requests among it).
    void Pump();

private:
    struct Ui;
    std::unique_ptr<Ui> ui_;
    NoFonts fonts_;
    FontResolver resolver_;
    std::optional<WindowSite> site_;
    std::vector<Rect> paints_;
};

} // namespace kavlo::test
