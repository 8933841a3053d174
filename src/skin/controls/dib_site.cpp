#include "skin/controls/dib_site.h"

#include "skin/controls/dib_timer.h"
#include "skin/formats/png_writer.h"
#include "ui/application.h"
#include "ui/timer.h"

namespace kavlo {

namespace {

PixelView ToView(SurfaceBits surface) {
    PixelView view;
    view.pixels = reinterpret_cast<const uint8_t*>(surface.bits);
    view.stride_bytes = surface.width * 4;
    view.width = surface.width;
    view.height = surface.height;
    view.bottom_up = true;
    return view;
}

Cursor ToUiCursor(TCursor cursor) {
    switch (cursor) {
        case crHandPoint:
            return Cursor::Hand;
        case crHourGlass:
            return Cursor::HourGlass;
        case crArrow:
            return Cursor::Arrow;
        default:
            return Cursor::Default;
    }
}

} // namespace

void WindowSite::Invalidate(const Rect& client_rect) {
    if (!client_rect.Empty()) {
        app_.Invalidate(window_, client_rect);
    }
}

void WindowSite::Present(SurfaceBits surface, const Rect& source, int dest_x, int dest_y) {
    const PixelView view = ToView(surface);
    if (!view.Valid() || source.Empty()) {
        return;
    }
    app_.GetBackend().Present(window_, view, source, dest_x, dest_y);
}

void WindowSite::SetShape(const std::vector<Rect>& rects) {
    app_.GetBackend().SetWindowShape(window_, rects);
}

void WindowSite::SetPointerCursor(TCursor cursor) {
    app_.SetPointerCursor(ToUiCursor(cursor));
}

TimerHandle::TimerHandle(Application& app, Kind kind) : kind_(kind) {
    if (kind == Kind::Timer) {
        timer_ = std::make_unique<TTimer>(app);
    } else {
        timer_ = std::make_unique<TDIBTimer>(app);
    }
}

TimerHandle::~TimerHandle() = default;

bool TimerHandle::Enabled() const {
    return timer_->Enabled();
}

bool TimerHandle::SetEnabled(bool enabled) {
    return timer_->SetEnabled(enabled);
}

uint32_t TimerHandle::Interval() const {
    return timer_->Interval();
}

bool TimerHandle::SetInterval(uint32_t interval_ms) {
    return timer_->SetInterval(interval_ms);
}

bool TimerHandle::SetOnTimer(std::function<void()> handler) {
    has_handler_ = static_cast<bool>(handler);
    if (kind_ == Kind::Timer) {
        auto& timer = static_cast<TTimer&>(*timer_);
        return has_handler_ ? timer.SetOnTimer([handler](TTimer&) { handler(); }) : timer.SetOnTimer({});
    }
    auto& timer = static_cast<TDIBTimer&>(*timer_);
    return has_handler_ ? timer.SetOnTimer([handler](TDIBTimer&) { handler(); }) : timer.SetOnTimer({});
}

bool TimerHandle::Active() const {
    return timer_->Active();
}

bool WriteSurfacePng(const std::filesystem::path& path, SurfaceBits surface, bool keep_alpha) {
    const PixelView view = ToView(surface);
    if (!view.Valid()) {
        return false;
    }
    return WritePngFile(path, view, ScreenRect{0, 0, surface.width, surface.height},
                        keep_alpha ? PngAlpha::Keep : PngAlpha::Opaque);
}

} // namespace kavlo
