#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/events.h"
#include "ui/geometry.h"
#include "ui/message_box.h"
#include "ui/pixel_view.h"

namespace kavlo {

// The pointer shapes the menu asks for. Default means "whatever the control under the pointer wants"
// and is resolved by the Application; a backend is only ever given the other three.
enum class Cursor : uint8_t { Default, Arrow, Hand, HourGlass };

// A top-level window as the program describes it. Positions are screen pixels of the client area's
// top-left corner; sizes are the client area's.
struct WindowSpec {
    std::string title; // Windows-1250
    int left = 0;
    int top = 0;
    int client_width = 0;
    int client_height = 0;
    bool visible = false;
    // The window's outline as the union of these client rectangles; empty means rectangular.
    std::vector<ScreenRect> shape;
    // A dialog's frame and title bar from the window system; the menu's own window has none.
    bool framed = false;
};

// Sound the program hands to the machine: interleaved signed 16-bit samples in the machine's byte order.
struct AudioFormat {
    int rate_hz = 44100;
    int channels = 2;
};

// Fills `frames` frames (frames x channels samples) of `samples`; whatever it cannot fill it must set to
// silence. May run on another thread than the program's (the sound device's own), never on two at once.
using AudioPull = std::function<void(int16_t* samples, size_t frames)>;

// A playing sound: opened paused; destroying it closes it, after which the pull is never called again.
class AudioStream {
public:
    virtual ~AudioStream() = default;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    virtual bool Paused() const = 0;
};

// What the program needs from the machine's window system. ui/ never draws: windows get finished
// 32-bit pixels through Present. Names avoid those <windows.h> turns into macros (CreateWindow,
// MessageBox, PostMessage).
class Backend {
public:
    virtual ~Backend() = default;

    // A new window as described; nothing when the window system refuses one.
    virtual std::optional<WindowId> OpenWindow(const WindowSpec& desc) = 0;
    virtual void DestroyWindow(WindowId window) = 0;
    virtual void SetWindowVisible(WindowId window, bool visible) = 0;
    virtual void SetWindowTitle(WindowId window, std::string_view title) = 0;
    // Screen position and client size together: the menu switches between its two layouts at once.
    virtual void SetWindowBounds(WindowId window, int left, int top, int client_width, int client_height) = 0;
    virtual void SetWindowShape(WindowId window, std::vector<ScreenRect> shape) = 0;
    // The window as it is now (position after dragging included); nothing for an unknown window.
    virtual std::optional<WindowSpec> WindowInfo(WindowId window) const = 0;
    // The user drags the window by the pointer until the button is released (a caption-less window
    // moved by its background).
    virtual void StartWindowDrag(WindowId window) = 0;
    // Puts the window above the others and gives it the input focus (after a program the menu
    // started, which may have covered it).
    virtual void RaiseWindow(WindowId window) = 0;

    // Copies `source` (surface coordinates, counted from the top) of the surface to the client area at
    // (dest_x, dest_y); both are clipped.
    virtual void Present(WindowId window, const PixelView& surface, const ScreenRect& source, int dest_x,
                         int dest_y) = 0;

    // The next event, if one is waiting; never blocks.
    virtual std::optional<Event> PollEvent() = 0;
    // Returns when an event may be waiting or the timeout has passed; no timeout waits for an event.
    virtual void WaitEvents(std::optional<uint32_t> timeout_ms) = 0;
    // The clock timers run on, in milliseconds.
    virtual uint64_t NowMs() const = 0;

    virtual MessageBoxes& Boxes() = 0;
    virtual void SetCursor(Cursor cursor) = 0;
    virtual ScreenSize DisplaySize() const = 0;

    // A sound stream in `format`, fed by `pull` while it runs; nothing when the machine has no sound
    // output or refuses the format (the program then stays silent).
    virtual std::unique_ptr<AudioStream> OpenAudio(const AudioFormat& format, AudioPull pull) = 0;
};

} // namespace kavlo
