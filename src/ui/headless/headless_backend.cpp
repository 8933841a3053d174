#include "ui/headless/headless_backend.h"

#include <algorithm>
#include <cstring>

namespace kavlo {

namespace {

// Window sizes come from form data; anything beyond this is a corrupt form, not a window.
constexpr int kMaxClientSide = 16384;

int ClampSide(int side) {
    return std::clamp(side, 0, kMaxClientSide);
}

} // namespace

// Takes what a sound device would play, and drops it.
class HeadlessBackend::SilentStream final : public AudioStream {
public:
    SilentStream(HeadlessBackend& backend, const AudioFormat& format, AudioPull pull)
        : backend_(&backend), format_(format), pull_(std::move(pull)) {
        backend_->streams_.push_back(this);
    }
    ~SilentStream() override {
        if (backend_ != nullptr) {
            std::erase(backend_->streams_, this);
        }
    }
    SilentStream(const SilentStream&) = delete;
    SilentStream& operator=(const SilentStream&) = delete;

    void Pause() override { paused_ = true; }
    void Resume() override { paused_ = false; }
    bool Paused() const override { return paused_; }
    void Orphan() { backend_ = nullptr; }

    // The clock moved `ms` on: pull what a device would have played meanwhile. Counting from the
    // running time in all keeps rounding from piling up over many small steps.
    void Advance(uint64_t ms) {
        if (paused_) {
            return;
        }
        run_ms_ += ms;
        const uint64_t due = run_ms_ * static_cast<uint64_t>(format_.rate_hz) / 1000;
        while (pulled_ < due) {
            const size_t frames = static_cast<size_t>(std::min<uint64_t>(due - pulled_, kChunkFrames));
            buffer_.resize(frames * static_cast<size_t>(format_.channels));
            pull_(buffer_.data(), frames);
            pulled_ += frames;
        }
    }

private:
    static constexpr uint64_t kChunkFrames = 4096;

    HeadlessBackend* backend_;
    AudioFormat format_;
    AudioPull pull_;
    bool paused_ = true;
    uint64_t run_ms_ = 0;
    uint64_t pulled_ = 0;
    std::vector<int16_t> buffer_;
};

HeadlessBackend::HeadlessBackend(ScreenSize display) : display_(display) {}

HeadlessBackend::~HeadlessBackend() {
    for (SilentStream* stream : streams_) {
        stream->Orphan();
    }
}

std::unique_ptr<AudioStream> HeadlessBackend::OpenAudio(const AudioFormat& format, AudioPull pull) {
    if (format.rate_hz <= 0 || format.channels <= 0 || format.channels > 8 || !pull) {
        return nullptr;
    }
    return std::make_unique<SilentStream>(*this, format, std::move(pull));
}

void HeadlessBackend::MoveClock(uint64_t ms) {
    now_ms_ += ms;
    // A pull never opens or closes a stream (the sound device's thread could not either).
    for (SilentStream* stream : streams_) {
        stream->Advance(ms);
    }
}

HeadlessBackend::Window* HeadlessBackend::Find(WindowId window) {
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

std::optional<WindowId> HeadlessBackend::OpenWindow(const WindowSpec& desc) {
    WindowId id = next_id_++;
    Window& window = windows_[id];
    window.desc = desc;
    window.desc.visible = false;
    window.desc.client_width = ClampSide(desc.client_width);
    window.desc.client_height = ClampSide(desc.client_height);
    window.frame.assign(static_cast<size_t>(window.desc.client_width) * window.desc.client_height, 0);
    if (desc.visible) {
        SetWindowVisible(id, true);
    }
    return id;
}

void HeadlessBackend::SetBoxWindows(WindowedMessageBoxes* windows) {
    box_windows_ = windows;
    boxes_.SetUnanswered(windows);
}

void HeadlessBackend::DestroyWindow(WindowId window) {
    if (Find(window) == nullptr) {
        return;
    }
    Deactivate(window);
    windows_.erase(window);
    if (drag_window_ == window) {
        drag_window_.reset();
    }
}

void HeadlessBackend::SetWindowVisible(WindowId window, bool visible) {
    Window* w = Find(window);
    if (w == nullptr || w->desc.visible == visible) {
        return;
    }
    w->desc.visible = visible;
    if (visible) {
        QueueFullPaint(window);
        Activate(window);
    } else {
        Deactivate(window);
    }
}

void HeadlessBackend::SetWindowTitle(WindowId window, std::string_view title) {
    if (Window* w = Find(window)) {
        w->desc.title = std::string(title);
    }
}

void HeadlessBackend::SetWindowBounds(WindowId window, int left, int top, int client_width,
                                      int client_height) {
    Window* w = Find(window);
    if (w == nullptr) {
        return;
    }
    w->desc.left = left;
    w->desc.top = top;
    client_width = ClampSide(client_width);
    client_height = ClampSide(client_height);
    if (client_width == w->desc.client_width && client_height == w->desc.client_height) {
        return;
    }
    std::vector<uint32_t> frame(static_cast<size_t>(client_width) * client_height, 0);
    int keep_width = std::min(client_width, w->desc.client_width);
    for (int y = 0; y < std::min(client_height, w->desc.client_height); ++y) {
        std::copy_n(w->frame.begin() + static_cast<ptrdiff_t>(y) * w->desc.client_width, keep_width,
                    frame.begin() + static_cast<ptrdiff_t>(y) * client_width);
    }
    w->frame = std::move(frame);
    w->desc.client_width = client_width;
    w->desc.client_height = client_height;
    if (w->desc.visible) {
        QueueFullPaint(window);
    }
}

void HeadlessBackend::SetWindowShape(WindowId window, std::vector<ScreenRect> shape) {
    if (Window* w = Find(window)) {
        w->desc.shape = std::move(shape);
    }
}

std::optional<WindowSpec> HeadlessBackend::WindowInfo(WindowId window) const {
    auto it = windows_.find(window);
    if (it == windows_.end()) {
        return std::nullopt;
    }
    return it->second.desc;
}

// No other program draws on the virtual screen, so nothing can cover a window.
void HeadlessBackend::RaiseWindow(WindowId) {}

void HeadlessBackend::StartWindowDrag(WindowId window) {
    if (Find(window) == nullptr) {
        return;
    }
    drag_window_ = window;
    grab_x_ = pointer_x_;
    grab_y_ = pointer_y_;
}

void HeadlessBackend::Present(WindowId window, const PixelView& surface, const ScreenRect& source, int dest_x,
                              int dest_y) {
    Window* w = Find(window);
    if (w == nullptr || !surface.Valid()) {
        return;
    }
    ScreenRect src = Intersect(source, {0, 0, surface.width, surface.height});
    dest_x += src.left - source.left;
    dest_y += src.top - source.top;
    ScreenRect dest{dest_x, dest_y, dest_x + src.Width(), dest_y + src.Height()};
    ScreenRect clipped = Intersect(dest, {0, 0, w->desc.client_width, w->desc.client_height});
    if (clipped.Empty()) {
        return;
    }
    int src_x = src.left + clipped.left - dest.left;
    int src_y = src.top + clipped.top - dest.top;
    for (int y = 0; y < clipped.Height(); ++y) {
        const uint8_t* from = surface.Row(src_y + y) + static_cast<ptrdiff_t>(src_x) * 4;
        uint32_t* to =
            w->frame.data() + static_cast<ptrdiff_t>(clipped.top + y) * w->desc.client_width + clipped.left;
        std::memcpy(to, from, static_cast<size_t>(clipped.Width()) * 4);
    }
}

std::optional<Event> HeadlessBackend::PollEvent() {
    while (!events_.empty()) {
        Event event = std::move(events_.front());
        events_.pop_front();
        if (FilterDrag(event)) {
            continue;
        }
        if (const auto* move = std::get_if<MouseMoveEvent>(&event.data)) {
            pointer_x_ = move->x;
            pointer_y_ = move->y;
        } else if (const auto* down = std::get_if<MouseDownEvent>(&event.data)) {
            pointer_x_ = down->x;
            pointer_y_ = down->y;
        }
        return event;
    }
    return std::nullopt;
}

// Windows' move loop takes the pointer's moves and the release for itself while a window is dragged.
bool HeadlessBackend::FilterDrag(const Event& event) {
    if (!drag_window_ || event.window != *drag_window_) {
        return false;
    }
    if (const auto* move = std::get_if<MouseMoveEvent>(&event.data)) {
        if (Window* w = Find(event.window)) {
            w->desc.left += move->x - grab_x_;
            w->desc.top += move->y - grab_y_;
        }
        return true;
    }
    if (std::holds_alternative<MouseUpEvent>(event.data)) {
        drag_window_.reset();
        return true;
    }
    return false;
}

void HeadlessBackend::WaitEvents(std::optional<uint32_t> timeout_ms) {
    if (!events_.empty()) {
        return;
    }
    if (wait_end_ms_) {
        if (now_ms_ < *wait_end_ms_) {
            uint64_t step = *wait_end_ms_ - now_ms_;
            if (timeout_ms) {
                step = std::min<uint64_t>(step, *timeout_ms);
            }
            MoveClock(step);
            return;
        }
        wait_end_ms_.reset();
    }
    if (next_step_ && next_step_()) {
        return;
    }
    // With the input at its end a box can only be left by its default button; once it is pressed, the
    // program runs on as it would have with the box answered at once.
    if (box_windows_ != nullptr && box_windows_->AnswerDefault()) {
        return;
    }
    events_.push_back({kNoWindow, QuitEvent{}});
}

void HeadlessBackend::RunFor(Application& app, uint64_t duration_ms) {
    uint64_t end_ms = now_ms_ + duration_ms;
    wait_end_ms_ = end_ms;
    while (!app.Terminated()) {
        app.ProcessMessages();
        if (app.Terminated() || now_ms_ >= end_ms) {
            break;
        }
        app.HandleMessage(); // nothing is pending: this waits, and the clock moves
    }
    if (wait_end_ms_ == end_ms) {
        wait_end_ms_.reset();
    }
}

std::optional<PixelView> HeadlessBackend::Frame(WindowId window) const {
    auto it = windows_.find(window);
    if (it == windows_.end()) {
        return std::nullopt;
    }
    const Window& w = it->second;
    return PixelView{reinterpret_cast<const uint8_t*>(w.frame.data()), w.desc.client_width * 4,
                     w.desc.client_width, w.desc.client_height, false};
}

std::vector<WindowId> HeadlessBackend::Windows() const {
    std::vector<WindowId> ids;
    for (const auto& [id, window] : windows_) {
        ids.push_back(id);
    }
    return ids;
}

std::optional<WindowId> HeadlessBackend::ActiveWindow() const {
    if (activation_.empty()) {
        return std::nullopt;
    }
    return activation_.back();
}

void HeadlessBackend::QueueFullPaint(WindowId window) {
    const Window* w = Find(window);
    events_.push_back({window, PaintEvent{{0, 0, w->desc.client_width, w->desc.client_height}}});
}

// A shown window becomes the active one, as Windows activates a window it shows.
void HeadlessBackend::Activate(WindowId window) {
    if (!activation_.empty() && activation_.back() == window) {
        return;
    }
    if (!activation_.empty()) {
        events_.push_back({activation_.back(), FocusLostEvent{}});
    }
    std::erase(activation_, window);
    activation_.push_back(window);
    events_.push_back({window, FocusGainedEvent{}});
}

// Hiding or destroying the active window hands activation back to the one active before it.
void HeadlessBackend::Deactivate(WindowId window) {
    bool was_active = !activation_.empty() && activation_.back() == window;
    std::erase(activation_, window);
    if (!was_active) {
        return;
    }
    events_.push_back({window, FocusLostEvent{}});
    if (!activation_.empty()) {
        events_.push_back({activation_.back(), FocusGainedEvent{}});
    }
}

} // namespace kavlo
