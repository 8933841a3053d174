#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "skin/controls/component.h"
#include "skin/surface/skin_types.h"
#include "ui/events.h"

// The skin reaches the ui layer (windows, timers, PNG output) only through this header, so the
// controls do not depend on the ui's headers.

namespace kavlo {

class Application;
class FontResolver;
class TimerBase;

// What the skin's controls need from the program: the message loop (timers, repaints) and the fonts.
struct SkinServices {
    Application& app;
    FontResolver& fonts;
};

// A surface's pixels as its owner stores them: 0xAARRGGBB words, `width` to a row, bottom row first.
struct SurfaceBits {
    const uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
};

// The window a form or a container draws into.
class WindowSite {
public:
    WindowSite(Application& app, WindowId window) : app_(app), window_(window) {}

    Application& App() const { return app_; }
    WindowId Window() const { return window_; }

    // Asks for a paint of part of the client area.
    void Invalidate(const Rect& client_rect);
    // Copies `source` (counted from the top) of a surface to the client area at (dest_x, dest_y).
    void Present(SurfaceBits surface, const Rect& source, int dest_x, int dest_y);
    // The window's outline as a union of client rectangles; empty means rectangular.
    void SetShape(const std::vector<Rect>& rects);
    // The cursor of the control under the pointer (crDefault: the arrow).
    void SetPointerCursor(TCursor cursor);

private:
    Application& app_;
    WindowId window_;
};

// A timer component of either kind: TTimer (enabled from the start) or TDIBTimer (disabled). Enabled,
// Interval and OnTimer behave as the ui timers do.
class TimerHandle {
public:
    enum class Kind { Timer, DIBTimer };

    TimerHandle(Application& app, Kind kind);
    ~TimerHandle();
    TimerHandle(const TimerHandle&) = delete;
    TimerHandle& operator=(const TimerHandle&) = delete;

    bool Enabled() const;
    bool SetEnabled(bool enabled);
    uint32_t Interval() const;
    bool SetInterval(uint32_t interval_ms);
    bool SetOnTimer(std::function<void()> handler);
    bool HasHandler() const { return has_handler_; }
    // A system timer is live: ticks will come.
    bool Active() const;

private:
    std::unique_ptr<TimerBase> timer_;
    Kind kind_;
    bool has_handler_ = false;
};

// Writes a surface as PNG; `keep_alpha` keeps the alpha bytes (else the picture is opaque).
bool WriteSurfacePng(const std::filesystem::path& path, SurfaceBits surface, bool keep_alpha);

} // namespace kavlo
