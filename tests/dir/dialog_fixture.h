#pragma once

// A program without a screen for the dialogs: the headless backend, its message loop and fonts that
// always resolve to the fallback face, so measures do not depend on the machine's fonts.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/fonts.h"
#include "skin/controls/dialog_form.h"
#include "skin/text/font_resolver.h"
#include "ui/application.h"
#include "ui/headless/headless_backend.h"

namespace kavlo::test {

class FallbackFonts : public Fonts {
public:
    int AddFontResource(std::string_view) override { return 0; }
    bool RemoveFontResource(std::string_view) override { return false; }
    void BroadcastFontChange() override {}
    std::optional<std::string> FindFace(std::string_view) const override { return std::nullopt; }
    std::vector<std::string> Families() const override { return {}; }
};

struct DialogFixture {
    HeadlessBackend backend{ScreenSize{1024, 768}};
    Application app{backend};
    FallbackFonts no_fonts;
    FontResolver fonts{no_fonts, FontResolverOptions{.use_fontconfig = false}};
    SkinServices Services() { return SkinServices{app, fonts}; }

    // The innermost dialog running now.
    DialogForm* Open() {
        return app.ModalForms().empty() ? nullptr : dynamic_cast<DialogForm*>(app.ModalForms().back());
    }
    // Runs `step` once the next modal dialog is up.
    void WhenShown(std::function<void(DialogForm&)> step) {
        app.Post([this, step = std::move(step)] {
            ASSERT_NE(Open(), nullptr);
            step(*Open());
        });
    }
    // A left click in the middle of a control of the dialog.
    void Click(DialogForm& dialog, const TControl& control) {
        const int x = control.Left() + control.Width() / 2;
        const int y = control.Top() + control.Height() / 2;
        backend.QueueEvent({dialog.Window(), MouseMoveEvent{x, y, {}}});
        backend.QueueEvent({dialog.Window(), MouseDownEvent{MouseButton::Left, x, y, {}}});
        backend.QueueEvent({dialog.Window(), MouseUpEvent{MouseButton::Left, x, y, {}}});
    }
    void Key(DialogForm& dialog, uint16_t key, ShiftState shift = {}) {
        backend.QueueEvent({dialog.Window(), KeyDownEvent{key, shift}});
        backend.QueueEvent({dialog.Window(), KeyUpEvent{key, shift}});
    }
    // The presented pixel at a client point of the dialog's window, 0x00RRGGBB.
    uint32_t Pixel(DialogForm& dialog, int x, int y) {
        const std::optional<PixelView> frame = backend.Frame(dialog.Window());
        const uint8_t* p = frame->Row(y) + static_cast<ptrdiff_t>(x) * 4;
        return static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
    }
};

} // namespace kavlo::test
