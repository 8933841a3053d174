#include "ui/application.h"

#include <limits>

namespace kavlo {

Application::Application(Backend& backend) : backend_(backend) {}

void Application::SetWindowHandler(WindowId window, EventHandler handler) {
    handlers_[window] = std::make_shared<const EventHandler>(std::move(handler));
}

void Application::RemoveWindowHandler(WindowId window) {
    handlers_.erase(window);
    invalid_.erase(window);
}

template <class F> void Application::Guarded(F&& f) noexcept {
    try {
        f();
    } catch (...) {
        HandleException(std::current_exception());
    }
}

void Application::HandleException(std::exception_ptr error) noexcept {
    if (!exception_handler_) {
        return;
    }
    try {
        exception_handler_(error);
    } catch (...) {
        // A failing exception handler must not take the message loop down with it.
    }
}

int Application::Run() {
    while (!terminated_) {
        HandleMessage();
    }
    return exit_code_;
}

void Application::ProcessMessages() {
    std::vector<TimerId> ticked;
    while (!terminated_ && DispatchOne(ticked)) {
    }
}

void Application::HandleMessage() {
    if (terminated_) {
        return;
    }
    std::vector<TimerId> ticked;
    if (!DispatchOne(ticked)) {
        Wait();
    }
}

void Application::Terminate(int exit_code) {
    if (!terminated_) {
        exit_code_ = exit_code;
    }
    terminated_ = true;
}

int Application::RunModal(ModalForm& form) {
    form.SetModalResult(mrNone);
    modal_windows_.push_back(form.ModalWindow());
    modal_forms_.push_back(&form);
    for (;;) {
        if (terminated_) {
            form.SetModalResult(mrCancel);
            break;
        }
        if (form.ModalResult() != mrNone) {
            break;
        }
        HandleMessage();
    }
    modal_windows_.pop_back();
    modal_forms_.pop_back();
    return form.ModalResult();
}

std::optional<WindowId> Application::ModalWindow() const {
    if (modal_windows_.empty()) {
        return std::nullopt;
    }
    return modal_windows_.back();
}

void Application::Post(std::function<void()> callback) {
    posted_.push_back(std::move(callback));
}

void Application::Invalidate(WindowId window, const ScreenRect& rect) {
    if (rect.Empty()) {
        return;
    }
    ScreenRect& pending = invalid_[window];
    pending = Union(pending, rect);
}

std::optional<TimerId> Application::SetTimer(uint32_t interval_ms, std::function<void()> handler) {
    return timers_.Add(NowMs(), interval_ms, std::move(handler));
}

bool Application::ResetTimer(TimerId id, uint32_t interval_ms, std::function<void()> handler) {
    return timers_.Reset(id, NowMs(), interval_ms, std::move(handler));
}

void Application::KillTimer(TimerId id) {
    timers_.Remove(id);
}

void Application::SetScreenCursor(Cursor cursor) {
    screen_cursor_ = cursor;
    UpdateCursor();
}

void Application::SetPointerCursor(Cursor cursor) {
    pointer_cursor_ = cursor;
    UpdateCursor();
}

void Application::UpdateCursor() {
    Cursor shown = screen_cursor_ != Cursor::Default ? screen_cursor_ : pointer_cursor_;
    if (shown == Cursor::Default) {
        shown = Cursor::Arrow;
    }
    if (shown_cursor_ != shown) {
        shown_cursor_ = shown;
        backend_.SetCursor(shown);
    }
}

// Windows' order of retrieval: posted messages, input, WM_PAINT, and WM_TIMER last.
bool Application::DispatchOne(std::vector<TimerId>& ticked) {
    PumpBackend();
    if (!posted_.empty()) {
        std::function<void()> callback = std::move(posted_.front());
        posted_.pop_front();
        Guarded([&] { callback(); });
        return true;
    }
    if (!input_.empty()) {
        Event event = std::move(input_.front());
        input_.pop_front();
        Deliver(event);
        return true;
    }
    return DeliverPaint() || TickDueTimer(ticked);
}

void Application::PumpBackend() {
    while (std::optional<Event> event = backend_.PollEvent()) {
        if (const auto* paint = std::get_if<PaintEvent>(&event->data)) {
            Invalidate(event->window, paint->rect);
        } else {
            input_.push_back(std::move(*event));
        }
    }
}

void Application::Deliver(const Event& event) {
    if (const auto* quit = std::get_if<QuitEvent>(&event.data)) {
        Terminate(quit->exit_code);
        return;
    }
    // Windows disables the other windows while a modal dialog runs.
    if (!modal_windows_.empty() && event.window != modal_windows_.back() && IsUserInput(event.data)) {
        return;
    }
    auto it = handlers_.find(event.window);
    if (it == handlers_.end()) {
        return;
    }
    std::shared_ptr<const EventHandler> handler = it->second; // survives its own removal
    Guarded([&] { (*handler)(event); });
}

bool Application::DeliverPaint() {
    if (invalid_.empty()) {
        return false;
    }
    auto first = invalid_.begin();
    Event event{first->first, PaintEvent{first->second}};
    invalid_.erase(first);
    Deliver(event);
    return true;
}

bool Application::TickDueTimer(std::vector<TimerId>& ticked) {
    std::optional<TimerId> id = timers_.NextDue(NowMs(), ticked);
    if (!id) {
        return false;
    }
    ticked.push_back(*id);
    TimerTable::Handler handler = timers_.BeginTick(*id, NowMs());
    Guarded([&] { (*handler)(); });
    timers_.EndTick(*id);
    return true;
}

void Application::Wait() {
    std::optional<uint64_t> until_timer = timers_.TimeToNext(NowMs());
    std::optional<uint32_t> timeout;
    if (until_timer) {
        timeout =
            static_cast<uint32_t>(std::min<uint64_t>(*until_timer, std::numeric_limits<uint32_t>::max()));
    }
    backend_.WaitEvents(timeout);
}

} // namespace kavlo
