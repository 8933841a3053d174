#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "ui/backend.h"
#include "ui/events.h"
#include "ui/timer_table.h"

namespace kavlo {

// Modal results with the numbers Windows dialogs return; other positive numbers are the form's own.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;
inline constexpr int mrAbort = 3;
inline constexpr int mrRetry = 4;
inline constexpr int mrIgnore = 5;
inline constexpr int mrYes = 6;
inline constexpr int mrNo = 7;

// A form that can be shown modally: it ends its modal loop by setting a result other than mrNone.
class ModalForm {
public:
    virtual ~ModalForm() = default;
    // The window that keeps its input while the form runs; every other window is disabled meanwhile.
    virtual WindowId ModalWindow() const = 0;

    int ModalResult() const { return modal_result_; }
    void SetModalResult(int result) { modal_result_ = result; }

private:
    int modal_result_ = mrNone;
};

// The program's message loop, shaped like the Windows one the menu was written for: posted work first,
// then user input, then paint requests, and timer ticks only when nothing else waits. Handlers may run
// nested loops (ProcessMessages, RunModal) from inside a handler. One per program, passed by reference.
class Application {
public:
    using EventHandler = std::function<void(const Event&)>;
    using ExceptionHandler = std::function<void(std::exception_ptr)>;

    explicit Application(Backend& backend);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    Backend& GetBackend() { return backend_; }
    MessageBoxes& Boxes() { return backend_.Boxes(); }
    uint64_t NowMs() const { return backend_.NowMs(); }

    // Where the events of a window go; events of a window without a handler are dropped.
    void SetWindowHandler(WindowId window, EventHandler handler);
    void RemoveWindowHandler(WindowId window);

    // The main loop: runs until Terminate, returns the exit code.
    int Run();
    // Dispatches what is pending now and returns; never waits. Each timer ticks at most once per call,
    // so a caller polling in a loop always gets control back.
    void ProcessMessages();
    // Dispatches one pending message, or waits for one when none is pending (one turn of a loop).
    void HandleMessage();

    // Ends the program: the main loop returns when it next runs, a running ProcessMessages returns at
    // once, modal loops end with mrCancel. The current handler runs on to its end.
    void Terminate(int exit_code = 0);
    bool Terminated() const { return terminated_; }
    int ExitCode() const { return exit_code_; }

    // Runs a nested loop until the form sets a result or the program terminates (mrCancel); returns the
    // result. The form's result is cleared first. Input to other windows is dropped meanwhile.
    int RunModal(ModalForm& form);
    // The window of the innermost running modal form.
    std::optional<WindowId> ModalWindow() const;
    // The running modal forms, outermost first.
    const std::vector<ModalForm*>& ModalForms() const { return modal_forms_; }

    // Deferred work, run in posting order before any input, paint or timer.
    void Post(std::function<void()> callback);
    // Asks for a repaint of part of a window; requests gather into one paint event per window.
    void Invalidate(WindowId window, const ScreenRect& rect);

    // A window-message timer: `handler` runs every interval_ms on the backend's clock. Nothing when the
    // limit of live timers is reached.
    std::optional<TimerId> SetTimer(uint32_t interval_ms, std::function<void()> handler);
    // Restarts a live timer in place (same identity, so a timer changed from inside its own handler is
    // still not re-entered). False for an unknown timer.
    bool ResetTimer(TimerId id, uint32_t interval_ms, std::function<void()> handler);
    void KillTimer(TimerId id);
    void SetTimerLimit(size_t max_live_timers) { timers_.SetLimit(max_live_timers); }
    size_t LiveTimerCount() const { return timers_.Count(); }

    // Screen.Cursor: anything but Default overrides every control's cursor (the hour-glass of a wait).
    void SetScreenCursor(Cursor cursor);
    Cursor ScreenCursor() const { return screen_cursor_; }
    // The cursor of the control under the pointer; Default is the arrow.
    void SetPointerCursor(Cursor cursor);

    // Exceptions that escape a handler end here; without a handler they are ignored.
    void SetExceptionHandler(ExceptionHandler handler) { exception_handler_ = std::move(handler); }
    void HandleException(std::exception_ptr error) noexcept;

private:
    bool DispatchOne(std::vector<TimerId>& ticked);
    void PumpBackend();
    void Deliver(const Event& event);
    bool DeliverPaint();
    bool TickDueTimer(std::vector<TimerId>& ticked);
    void Wait();
    void UpdateCursor();
    template <class F> void Guarded(F&& f) noexcept;

    Backend& backend_;
    std::deque<std::function<void()>> posted_;
    std::deque<Event> input_;
    std::map<WindowId, ScreenRect> invalid_;
    TimerTable timers_;
    std::map<WindowId, std::shared_ptr<const EventHandler>> handlers_;
    std::vector<WindowId> modal_windows_;
    std::vector<ModalForm*> modal_forms_;
    bool terminated_ = false;
    int exit_code_ = 0;
    Cursor screen_cursor_ = Cursor::Default;
    Cursor pointer_cursor_ = Cursor::Default;
    std::optional<Cursor> shown_cursor_;
    ExceptionHandler exception_handler_;
};

} // namespace kavlo
