#include "ui/headless/offscreen_window.h"

#include <variant>

namespace kavlo {

OffscreenWindow::OffscreenWindow(int client_width, int client_height) {
    WindowSpec desc;
    desc.client_width = client_width;
    desc.client_height = client_height;
    desc.visible = true;
    // The headless backend has no window system that could refuse one.
    window_ = backend_.OpenWindow(desc).value_or(kNoWindow);
    app_.SetWindowHandler(window_, [this](const Event& event) {
        const auto* paint = std::get_if<PaintEvent>(&event.data);
        if (paint != nullptr && paint_) {
            paint_(paint->rect);
        }
    });
}

} // namespace kavlo
