#include "ui/sdl/sdl_backend.h"

#include <cstdlib>

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/codepage.h"
#include "ui/sdl/sdl_audio.h"
#include "ui/sdl/sdl_input.h"
#include "ui/sdl/x11_shape.h"

namespace kavlo {

namespace {

// Window sizes come from form data; anything beyond this is a corrupt form, not a window.
constexpr int kMaxClientSide = 16384;
// How often a dragged window follows the pointer while no event arrives.
constexpr uint32_t kDragFollowMs = 10;
constexpr int kWheelNotch = 120;

int ClampSide(int side) {
    return std::clamp(side, 0, kMaxClientSide);
}

// SDL refuses windows without area: a zero-sized client keeps a one-pixel window.
int WindowSide(int side) {
    return std::max(side, 1);
}

std::optional<MouseButton> ButtonFromSdl(uint8_t button) {
    switch (button) {
        case SDL_BUTTON_LEFT:
            return MouseButton::Left;
        case SDL_BUTTON_RIGHT:
            return MouseButton::Right;
        case SDL_BUTTON_MIDDLE:
            return MouseButton::Middle;
        default:
            return std::nullopt;
    }
}

// The surfaces hold bytes blue, green, red, alpha; a window surface with that byte order (the fourth byte
// unused) takes the rows as they are.
bool TakesRowsAsTheyAre(uint32_t format) {
    return format == SDL_PIXELFORMAT_BGRA32 ||
           (format == SDL_PIXELFORMAT_XRGB8888 && SDL_BYTEORDER == SDL_LIL_ENDIAN);
}

void CopyRows(const PixelView& from, int from_x, int from_y, SDL_Surface& to, const ScreenRect& rect) {
    if (SDL_MUSTLOCK(&to) && SDL_LockSurface(&to) != 0) {
        return;
    }
    const bool as_they_are = TakesRowsAsTheyAre(to.format->format);
    const int row_bytes = rect.Width() * 4;
    for (int y = 0; y < rect.Height(); ++y) {
        const uint8_t* source = from.Row(from_y + y) + static_cast<ptrdiff_t>(from_x) * 4;
        uint8_t* target = static_cast<uint8_t*>(to.pixels) + static_cast<ptrdiff_t>(rect.top + y) * to.pitch +
                          static_cast<ptrdiff_t>(rect.left) * to.format->BytesPerPixel;
        if (as_they_are) {
            std::memcpy(target, source, static_cast<size_t>(row_bytes));
        } else {
            SDL_ConvertPixels(rect.Width(), 1, SDL_PIXELFORMAT_BGRA32, source, row_bytes, to.format->format,
                              target, to.pitch);
        }
    }
    if (SDL_MUSTLOCK(&to)) {
        SDL_UnlockSurface(&to);
    }
}

} // namespace

SdlBackendStart SdlBackend::Start() {
    // Closing a window is its handler's business (CloseEvent), not the end of the program.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // Windows delivers the click that activates a window.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // A menu waiting for the user must not keep the screen saver away.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // Frames reach the screen as the changed rectangles only (a clip's window, a fading row). SDL's
    // default on X11 puts the window's surface in a GL texture and draws the whole window for every
    // update, which without a graphics card costs a tenth of a core while the border clips play.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
#if defined(__unix__) && !defined(__APPLE__)
    // Without a display server SDL would try every driver and leave their complaints on stderr.
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
        return {nullptr, "neither DISPLAY nor WAYLAND_DISPLAY is set"};
    }
#endif
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return {nullptr, SDL_GetError()};
    }
    // SDL falls back to drivers that show nothing; a menu nobody can see is no window at all.
    const std::string_view driver = SDL_GetCurrentVideoDriver() != nullptr ? SDL_GetCurrentVideoDriver() : "";
    if (driver.empty() || driver == "offscreen" || driver == "dummy" || driver == "evdev") {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return {nullptr, "the video driver \"" + std::string(driver) + "\" shows nothing"};
    }
    SDL_StartTextInput();
    return {std::unique_ptr<SdlBackend>(new SdlBackend()), {}};
}

SdlBackend::~SdlBackend() {
    for (auto& [id, window] : windows_) {
        SDL_DestroyWindow(window.sdl);
    }
    for (SDL_Cursor* cursor : cursors_) {
        if (cursor != nullptr) {
            SDL_FreeCursor(cursor);
        }
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

SdlBackend::Window* SdlBackend::Find(WindowId window) {
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

std::optional<WindowId> SdlBackend::OpenWindow(const WindowSpec& desc) {
    WindowSpec shown = desc;
    shown.visible = false;
    shown.client_width = ClampSide(desc.client_width);
    shown.client_height = ClampSide(desc.client_height);
    SDL_Window* sdl = SDL_CreateWindow(ToUtf8(desc.title).c_str(), desc.left, desc.top,
                                       WindowSide(shown.client_width), WindowSide(shown.client_height),
                                       (desc.framed ? 0 : SDL_WINDOW_BORDERLESS) | SDL_WINDOW_HIDDEN);
    if (sdl == nullptr) {
        return std::nullopt;
    }
    const WindowId id = SDL_GetWindowID(sdl);
    Window& window = windows_[id];
    window.sdl = sdl;
    window.desc = std::move(shown);
    // The surface comes before the shape: making it may re-create the X window (Surface shapes it).
    if (Surface(window) == nullptr) {
        SDL_DestroyWindow(sdl);
        windows_.erase(id);
        return std::nullopt;
    }
    if (desc.visible) {
        SetWindowVisible(id, true);
    }
    return id;
}

SDL_Surface* SdlBackend::Surface(Window& window) {
    SDL_Surface* surface = SDL_GetWindowSurface(window.sdl);
    if (surface != window.surface) {
        window.surface = surface;
        if (X11WindowOf(window.sdl) != window.shaped_x11) {
            ApplyShape(window);
        }
    }
    return surface;
}

void SdlBackend::ApplyShape(Window& window) {
    window.shaped_x11 = SetX11Shape(window.sdl, window.desc.shape);
}

void SdlBackend::DestroyWindow(WindowId window) {
    Window* w = Find(window);
    if (w == nullptr) {
        return;
    }
    if (drag_ && drag_->window == window) {
        drag_.reset();
    }
    SDL_DestroyWindow(w->sdl);
    windows_.erase(window);
}

void SdlBackend::SetWindowVisible(WindowId window, bool visible) {
    Window* w = Find(window);
    if (w == nullptr || w->desc.visible == visible) {
        return;
    }
    w->desc.visible = visible;
    if (!visible) {
        SDL_HideWindow(w->sdl);
        return;
    }
    SDL_ShowWindow(w->sdl);
    // Windows activates a window it shows; without a window manager only the input focus does that.
    SDL_RaiseWindow(w->sdl);
    SDL_SetWindowInputFocus(w->sdl);
    QueueFullPaint(window);
}

void SdlBackend::SetWindowTitle(WindowId window, std::string_view title) {
    if (Window* w = Find(window)) {
        w->desc.title = std::string(title);
        SDL_SetWindowTitle(w->sdl, ToUtf8(title).c_str());
    }
}

void SdlBackend::SetWindowBounds(WindowId window, int left, int top, int client_width, int client_height) {
    Window* w = Find(window);
    if (w == nullptr) {
        return;
    }
    SDL_SetWindowPosition(w->sdl, left, top);
    client_width = ClampSide(client_width);
    client_height = ClampSide(client_height);
    if (client_width == w->desc.client_width && client_height == w->desc.client_height) {
        return;
    }
    w->desc.client_width = client_width;
    w->desc.client_height = client_height;
    SDL_SetWindowSize(w->sdl, WindowSide(client_width), WindowSide(client_height));
    Surface(*w);
    if (w->desc.visible) {
        QueueFullPaint(window);
    }
}

void SdlBackend::SetWindowShape(WindowId window, std::vector<ScreenRect> shape) {
    if (Window* w = Find(window)) {
        w->desc.shape = std::move(shape);
        ApplyShape(*w);
    }
}

std::optional<WindowSpec> SdlBackend::WindowInfo(WindowId window) const {
    auto it = windows_.find(window);
    if (it == windows_.end()) {
        return std::nullopt;
    }
    WindowSpec info = it->second.desc;
    SDL_GetWindowPosition(it->second.sdl, &info.left, &info.top);
    return info;
}

void SdlBackend::RaiseWindow(WindowId window) {
    if (Window* w = Find(window)) {
        SDL_RaiseWindow(w->sdl);
    }
}

void SdlBackend::StartWindowDrag(WindowId window) {
    Window* w = Find(window);
    if (w == nullptr) {
        return;
    }
    int pointer_x = 0;
    int pointer_y = 0;
    // A click already released has nothing left to drag.
    if ((SDL_GetGlobalMouseState(&pointer_x, &pointer_y) & SDL_BUTTON_LMASK) == 0) {
        return;
    }
    int left = 0;
    int top = 0;
    SDL_GetWindowPosition(w->sdl, &left, &top);
    drag_ = Drag{window, pointer_x - left, pointer_y - top};
}

// The window follows the pointer until the left button is up, wherever the pointer is.
void SdlBackend::FollowDrag() {
    if (!drag_) {
        return;
    }
    Window* w = Find(drag_->window);
    if (w == nullptr) {
        drag_.reset();
        return;
    }
    int pointer_x = 0;
    int pointer_y = 0;
    const uint32_t buttons = SDL_GetGlobalMouseState(&pointer_x, &pointer_y);
    int left = 0;
    int top = 0;
    SDL_GetWindowPosition(w->sdl, &left, &top);
    if (left != pointer_x - drag_->grab_x || top != pointer_y - drag_->grab_y) {
        SDL_SetWindowPosition(w->sdl, pointer_x - drag_->grab_x, pointer_y - drag_->grab_y);
    }
    if ((buttons & SDL_BUTTON_LMASK) == 0) {
        drag_.reset();
    }
}

// Windows' move loop takes the pointer's moves and the release for itself while a window is dragged.
bool SdlBackend::FilterDrag(WindowId window, const EventData& data) {
    if (!drag_ || window != drag_->window) {
        return false;
    }
    if (std::holds_alternative<MouseMoveEvent>(data)) {
        FollowDrag();
        return true;
    }
    if (const auto* up = std::get_if<MouseUpEvent>(&data); up != nullptr && up->button == MouseButton::Left) {
        FollowDrag();
        drag_.reset();
        return true;
    }
    return false;
}

void SdlBackend::Present(WindowId window, const PixelView& surface, const ScreenRect& source, int dest_x,
                         int dest_y) {
    Window* w = Find(window);
    if (w == nullptr || !surface.Valid()) {
        return;
    }
    SDL_Surface* target = Surface(*w);
    if (target == nullptr) {
        return;
    }
    ScreenRect src = Intersect(source, {0, 0, surface.width, surface.height});
    dest_x += src.left - source.left;
    dest_y += src.top - source.top;
    const ScreenRect dest{dest_x, dest_y, dest_x + src.Width(), dest_y + src.Height()};
    // Until SDL has seen a resize through, its surface may still have the old size.
    const ScreenRect client{0, 0, std::min(w->desc.client_width, target->w),
                            std::min(w->desc.client_height, target->h)};
    const ScreenRect clipped = Intersect(dest, client);
    if (clipped.Empty()) {
        return;
    }
    CopyRows(surface, src.left + clipped.left - dest.left, src.top + clipped.top - dest.top, *target,
             clipped);
    const SDL_Rect rect{clipped.left, clipped.top, clipped.Width(), clipped.Height()};
    SDL_UpdateWindowSurfaceRects(w->sdl, &rect, 1);
}

std::optional<Event> SdlBackend::PollEvent() {
    if (events_.empty()) {
        Pump();
    }
    if (events_.empty()) {
        return std::nullopt;
    }
    Event event = std::move(events_.front());
    events_.pop_front();
    return event;
}

void SdlBackend::WaitEvents(std::optional<uint32_t> timeout_ms) {
    if (!events_.empty()) {
        return;
    }
    Pump();
    if (!events_.empty()) {
        return;
    }
    if (drag_) {
        timeout_ms = std::min(timeout_ms.value_or(kDragFollowMs), kDragFollowMs);
    }
    SDL_Event event;
    const int got =
        timeout_ms ? SDL_WaitEventTimeout(&event, static_cast<int>(std::min<uint32_t>(*timeout_ms, INT_MAX)))
                   : SDL_WaitEvent(&event);
    if (got != 0) {
        Translate(event);
    }
    Pump();
}

void SdlBackend::Pump() {
    FollowDrag();
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        Translate(event);
    }
}

uint64_t SdlBackend::NowMs() const {
    return SDL_GetTicks64();
}

void SdlBackend::Queue(WindowId window, EventData data) {
    if (window != kNoWindow && Find(window) == nullptr) {
        return;
    }
    if (FilterDrag(window, data)) {
        return;
    }
    events_.push_back({window, std::move(data)});
}

void SdlBackend::QueueFullPaint(WindowId window) {
    const Window* w = Find(window);
    events_.push_back({window, PaintEvent{{0, 0, w->desc.client_width, w->desc.client_height}}});
}

void SdlBackend::Translate(const SDL_Event& event) {
    const uint16_t modifiers = static_cast<uint16_t>(SDL_GetModState());
    switch (event.type) {
        case SDL_QUIT:
            Queue(kNoWindow, QuitEvent{});
            break;
        case SDL_WINDOWEVENT:
            TranslateWindowEvent(event);
            break;
        case SDL_MOUSEMOTION: {
            const SDL_MouseMotionEvent& motion = event.motion;
            buttons_ = motion.state;
            Queue(motion.windowID, MouseMoveEvent{motion.x, motion.y, ShiftFromSdl(modifiers, buttons_)});
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const SDL_MouseButtonEvent& press = event.button;
            const std::optional<MouseButton> button = ButtonFromSdl(press.button);
            if (!button) {
                break;
            }
            if (event.type == SDL_MOUSEBUTTONDOWN) {
                buttons_ |= SDL_BUTTON(press.button);
                ShiftState shift = ShiftFromSdl(modifiers, buttons_);
                // Windows counts a double click on the second press and starts over on the third.
                shift.double_click = press.clicks >= 2 && press.clicks % 2 == 0;
                Queue(press.windowID, MouseDownEvent{*button, press.x, press.y, shift});
            } else {
                buttons_ &= ~SDL_BUTTON(press.button);
                Queue(press.windowID,
                      MouseUpEvent{*button, press.x, press.y, ShiftFromSdl(modifiers, buttons_)});
            }
            break;
        }
        case SDL_MOUSEWHEEL: {
            const SDL_MouseWheelEvent& wheel = event.wheel;
            const int notches = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
            if (notches != 0) {
                Queue(wheel.windowID, WheelEvent{notches * kWheelNotch, wheel.mouseX, wheel.mouseY,
                                                 ShiftFromSdl(modifiers, buttons_)});
            }
            break;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            TranslateKey(event);
            break;
        case SDL_TEXTINPUT:
            for (char ch : TypedChars1250(event.text.text)) {
                Queue(event.text.windowID, CharEvent{ch});
            }
            break;
        default:
            break;
    }
}

void SdlBackend::TranslateWindowEvent(const SDL_Event& event) {
    const WindowId window = event.window.windowID;
    if (Find(window) == nullptr) {
        return;
    }
    switch (event.window.event) {
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            QueueFullPaint(window);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            Queue(window, FocusGainedEvent{});
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            Queue(window, FocusLostEvent{});
            break;
        case SDL_WINDOWEVENT_CLOSE:
            Queue(window, CloseEvent{});
            break;
        default:
            if (std::optional<EventData> state = WindowStateFromSdl(event.window.event)) {
                Queue(window, std::move(*state));
            }
            break;
    }
}

void SdlBackend::TranslateKey(const SDL_Event& event) {
    const SDL_KeyboardEvent& key = event.key;
    const std::optional<uint16_t> code = VirtualKeyFromSdl(key.keysym);
    if (!code) {
        return;
    }
    const ShiftState shift = ShiftFromSdl(key.keysym.mod, buttons_);
    if (event.type == SDL_KEYUP) {
        Queue(key.windowID, KeyUpEvent{*code, shift});
        return;
    }
    Queue(key.windowID, KeyDownEvent{*code, shift});
    if (std::optional<char> ch = ControlCharOfKey(*code)) {
        Queue(key.windowID, CharEvent{*ch});
    }
}

void SdlBackend::SetCursor(Cursor cursor) {
    SDL_SystemCursor shape = SDL_SYSTEM_CURSOR_ARROW;
    if (cursor == Cursor::Hand) {
        shape = SDL_SYSTEM_CURSOR_HAND;
    } else if (cursor == Cursor::HourGlass) {
        shape = SDL_SYSTEM_CURSOR_WAIT;
    }
    SDL_Cursor*& made = cursors_[static_cast<size_t>(cursor)];
    if (made == nullptr) {
        made = SDL_CreateSystemCursor(shape);
    }
    if (made != nullptr) {
        SDL_SetCursor(made);
    }
}

ScreenSize SdlBackend::DisplaySize() const {
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        return {};
    }
    return {mode.w, mode.h};
}

// The box belongs to the window the user works in: the one with the keyboard, else the newest shown.
SDL_Window* SdlBackend::BoxParent() const {
    SDL_Window* focused = SDL_GetKeyboardFocus();
    SDL_Window* newest = nullptr;
    for (const auto& [id, window] : windows_) {
        if (window.sdl == focused) {
            return focused;
        }
        if (window.desc.visible) {
            newest = window.sdl;
        }
    }
    return newest;
}

std::unique_ptr<AudioStream> SdlBackend::OpenAudio(const AudioFormat& format, AudioPull pull) {
    return OpenSdlAudio(format, std::move(pull));
}

} // namespace kavlo
