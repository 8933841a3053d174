#include "skin_control_fixture.h"

#include "ui/application.h"
#include "ui/headless/headless_backend.h"

namespace kavlo::test {

struct SkinFixture::Ui {
    HeadlessBackend backend;
    Application app{backend};
    WindowId window = kNoWindow;
};

namespace {

FontResolverOptions DejaVuOnly() {
    FontResolverOptions options;
    options.use_fontconfig = false;
    return options;
}

} // namespace

SkinFixture::SkinFixture() : ui_(std::make_unique<Ui>()), resolver_(fonts_, DejaVuOnly()) {}

SkinFixture::~SkinFixture() = default;

Application& SkinFixture::App() {
    return ui_->app;
}

HeadlessBackend& SkinFixture::Backend() {
    return ui_->backend;
}

void SkinFixture::RunFor(uint64_t ms) {
    ui_->backend.RunFor(ui_->app, ms);
}

void SkinFixture::Pump() {
    ui_->app.ProcessMessages();
}

WindowSite& SkinFixture::OpenWindow(int width, int height) {
    WindowSpec desc;
    desc.client_width = width;
    desc.client_height = height;
    desc.visible = false;
    ui_->window = *ui_->backend.OpenWindow(desc);
    ui_->app.SetWindowHandler(ui_->window, [this](const Event& event) {
        if (const auto* paint = std::get_if<PaintEvent>(&event.data)) {
            paints_.push_back(Rect{paint->rect.left, paint->rect.top, paint->rect.right, paint->rect.bottom});
        }
    });
    site_.emplace(ui_->app, ui_->window);
    return *site_;
}

uint32_t SkinFixture::FramePixel(int x, int y) const {
    const auto frame = ui_->backend.Frame(ui_->window);
    if (!frame || x < 0 || y < 0 || x >= frame->width || y >= frame->height) {
        return 0;
    }
    const uint8_t* p = frame->Row(y) + static_cast<size_t>(x) * 4;
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool SkinFixture::HandCursorShown() const {
    return ui_->backend.CursorShown() == Cursor::Hand;
}

std::vector<Rect> SkinFixture::WindowShape() const {
    std::vector<Rect> rects;
    if (const auto info = ui_->backend.WindowInfo(ui_->window)) {
        for (const ScreenRect& r : info->shape) {
            rects.push_back(Rect{r.left, r.top, r.right, r.bottom});
        }
    }
    return rects;
}

} // namespace kavlo::test
