#pragma once

#include <cstdint>
#include <functional>

#include "ui/application.h"
#include "ui/headless/headless_backend.h"

namespace kavlo {

// A program without a screen and one window of it, shown: the headless backend, the message loop on its
// virtual clock, and the window, whose paint requests go to one handler. What a tool, a benchmark, a
// fuzzer or a test needs to run a form off-screen.
class OffscreenWindow {
public:
    OffscreenWindow(int client_width, int client_height);
    OffscreenWindow(const OffscreenWindow&) = delete;
    OffscreenWindow& operator=(const OffscreenWindow&) = delete;

    HeadlessBackend& Backend() { return backend_; }
    Application& App() { return app_; }
    WindowId Window() const { return window_; }
    // Where the window's paint requests go, in client coordinates; without a handler they are dropped.
    void SetPaintHandler(std::function<void(const ScreenRect&)> paint) { paint_ = std::move(paint); }
    // Lets virtual time pass, running the timers and paints due on the way.
    void RunFor(uint64_t ms) { backend_.RunFor(app_, ms); }

private:
    HeadlessBackend backend_;
    Application app_{backend_};
    WindowId window_ = kNoWindow;
    std::function<void(const ScreenRect&)> paint_;
};

} // namespace kavlo
