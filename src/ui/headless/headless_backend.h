#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "ui/application.h"
#include "ui/backend.h"
#include "ui/message_box.h"

namespace kavlo {

// The program without a screen: a real backend whose time is a virtual clock that moves only when the
// caller lets time pass, whose input is what the caller queues, whose message boxes are answered from
// a queue or by the script, and whose windows are frame buffers that can be read back. Same calls, same
// results.
class HeadlessBackend final : public Backend {
public:
    explicit HeadlessBackend(ScreenSize display = {1024, 768});
    ~HeadlessBackend() override;
    HeadlessBackend(const HeadlessBackend&) = delete;
    HeadlessBackend& operator=(const HeadlessBackend&) = delete;

    // Backend
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
    uint64_t NowMs() const override { return now_ms_; }
    MessageBoxes& Boxes() override { return boxes_; }
    void SetCursor(Cursor cursor) override { cursor_ = cursor; }
    ScreenSize DisplaySize() const override { return display_; }
    // A silent sink: a running stream is pulled on this thread as the virtual clock moves, rate x elapsed
    // time in all, so a sound of N seconds is used up after exactly N seconds.
    std::unique_ptr<AudioStream> OpenAudio(const AudioFormat& format, AudioPull pull) override;

    // The caller's side.
    void QueueEvent(Event event) { events_.push_back(std::move(event)); }
    QueuedMessageBoxes& QueuedBoxes() { return boxes_; }
    // Where the boxes nothing is queued for are shown, as windows the script answers while they are
    // open; when the script has ended, the open box takes its default button. Without them (null) such
    // a box takes its default button at once.
    void SetBoxWindows(WindowedMessageBoxes* windows);
    WindowedMessageBoxes* BoxWindows() const { return box_windows_; }
    Cursor CursorShown() const { return cursor_; }
    // Sound streams open now.
    size_t AudioStreams() const { return streams_.size(); }
    // Time spent inside a handler (a slow step of the program).
    void AdvanceClock(uint64_t ms) { MoveClock(ms); }
    // Lets `duration_ms` of virtual time pass while the program waits: each time the program would
    // sleep, the clock moves to its next timer or to the end of the wait, whichever is first.
    void BeginWait(uint64_t duration_ms) { wait_end_ms_ = now_ms_ + duration_ms; }
    bool Waiting() const { return wait_end_ms_.has_value(); }
    // Runs the program's loop through `duration_ms` of virtual time, handling everything due on the way
    // and at its end.
    void RunFor(Application& app, uint64_t duration_ms);
    // Called whenever the program has nothing to do and no wait is running: the script's next step,
    // which queues input or begins a wait. Returning false (or having no source) means the input has
    // run out and the program is told to quit, since nothing could ever happen again.
    void SetScriptSource(std::function<bool()> next_step) { next_step_ = std::move(next_step); }

    // The client area as presented so far, top-down; nothing for an unknown window.
    std::optional<PixelView> Frame(WindowId window) const;
    std::vector<WindowId> Windows() const;
    std::optional<WindowId> ActiveWindow() const;

private:
    class SilentStream;
    struct Window {
        WindowSpec desc;
        std::vector<uint32_t> frame; // client_width x client_height, top-down
    };
    Window* Find(WindowId window);
    void QueueFullPaint(WindowId window);
    void Activate(WindowId window);
    void Deactivate(WindowId window);
    bool FilterDrag(const Event& event);
    void MoveClock(uint64_t ms);

    ScreenSize display_;
    uint64_t now_ms_ = 0;
    std::optional<uint64_t> wait_end_ms_;
    std::deque<Event> events_;
    std::function<bool()> next_step_;
    std::map<WindowId, Window> windows_;
    WindowId next_id_ = 1;
    std::vector<WindowId> activation_; // most recently activated last
    QueuedMessageBoxes boxes_;
    WindowedMessageBoxes* box_windows_ = nullptr;
    Cursor cursor_ = Cursor::Arrow;
    // The window being dragged and the client point the pointer holds it by.
    std::optional<WindowId> drag_window_;
    int grab_x_ = 0;
    int grab_y_ = 0;
    int pointer_x_ = 0;
    int pointer_y_ = 0;
    std::vector<SilentStream*> streams_;
};

} // namespace kavlo
