#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/backend.h"
#include "ui/sdl/sdl_message_box.h"

struct SDL_Cursor;
struct SDL_Surface;
struct SDL_Window;
union SDL_Event;

namespace kavlo {

class SdlBackend;

// The backend, or why the machine has no display for it (SDL's own words).
struct SdlBackendStart {
    std::unique_ptr<SdlBackend> backend;
    std::string error;
};

// The program on the machine's display through SDL2: borderless windows that the menu draws whole, given
// their outline on X11 by the SHAPE extension. A WindowId is SDL's window ID.
class SdlBackend final : public Backend {
public:
    static SdlBackendStart Start();
    ~SdlBackend() override;
    SdlBackend(const SdlBackend&) = delete;
    SdlBackend& operator=(const SdlBackend&) = delete;

    std::optional<WindowId> OpenWindow(const WindowSpec& desc) override;
    void DestroyWindow(WindowId window) override;
    void SetWindowVisible(WindowId window, bool visible) override;
    void SetWindowTitle(WindowId window, std::string_view title) override;
    void SetWindowBounds(WindowId window, int left, int top, int client_width, int client_height) override;
    void SetWindowShape(WindowId window, std::vector<ScreenRect> shape) override;
    std::optional<WindowSpec> WindowInfo(WindowId window) const override;
    void StartWindowDrag(WindowId window) override;
    void RaiseWindow(WindowId window) override;
    void Present(WindowId window, const PixelView& surface, const ScreenRect& source, int dest_x,
                 int dest_y) override;
    std::optional<Event> PollEvent() override;
    void WaitEvents(std::optional<uint32_t> timeout_ms) override;
    uint64_t NowMs() const override;
    MessageBoxes& Boxes() override { return own_boxes_ != nullptr ? *own_boxes_ : boxes_; }
    // Boxes the program draws itself, in place of SDL's (which need a helper program on many
    // desktops and answer nothing without it); null returns to SDL's.
    void SetBoxes(MessageBoxes* boxes) { own_boxes_ = boxes; }
    void SetCursor(Cursor cursor) override;
    ScreenSize DisplaySize() const override;
    // SDL audio, started with the first stream.
    std::unique_ptr<AudioStream> OpenAudio(const AudioFormat& format, AudioPull pull) override;

private:
    struct Window {
        SDL_Window* sdl = nullptr;
        // As last asked for; the position is SDL's, which follows the window manager.
        WindowSpec desc;
        SDL_Surface* surface = nullptr;
        uintptr_t shaped_x11 = 0; // the X window that got desc.shape
    };
    struct Drag {
        WindowId window = kNoWindow;
        // Where the pointer holds the window, from its top-left corner.
        int grab_x = 0;
        int grab_y = 0;
    };

    SdlBackend() = default;
    Window* Find(WindowId window);
    SDL_Surface* Surface(Window& window);
    void ApplyShape(Window& window);
    void QueueFullPaint(WindowId window);
    void Pump();
    void Translate(const SDL_Event& event);
    void TranslateWindowEvent(const SDL_Event& event);
    void TranslateKey(const SDL_Event& event);
    void Queue(WindowId window, EventData data);
    bool FilterDrag(WindowId window, const EventData& data);
    void FollowDrag();
    SDL_Window* BoxParent() const;

    std::map<WindowId, Window> windows_;
    std::deque<Event> events_;
    uint32_t buttons_ = 0; // SDL_BUTTON masks of the buttons held
    std::optional<Drag> drag_;
    std::array<SDL_Cursor*, 4> cursors_{};
    SdlMessageBoxes boxes_{[this] { return BoxParent(); }};
    MessageBoxes* own_boxes_ = nullptr;
};

} // namespace kavlo
