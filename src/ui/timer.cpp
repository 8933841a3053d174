#include "ui/timer.h"

namespace kavlo {

TimerBase::~TimerBase() {
    if (id_) {
        app_.KillTimer(*id_);
    }
}

bool TimerBase::SetEnabled(bool enabled) {
    if (enabled == enabled_) {
        return true;
    }
    enabled_ = enabled;
    return UpdateTimer();
}

bool TimerBase::SetInterval(uint32_t interval_ms) {
    if (interval_ms == interval_ms_) {
        return true;
    }
    interval_ms_ = interval_ms;
    return UpdateTimer();
}

bool TimerBase::UpdateTimer() {
    if (!enabled_ || interval_ms_ == 0 || !HasHandler()) {
        if (id_) {
            app_.KillTimer(*id_);
            id_.reset();
        }
        return true;
    }
    // The tick holds the application, not `this`, for the error path: a handler may free its timer.
    Application* app = &app_;
    auto tick = [this, app] {
        try {
            Fire();
        } catch (...) {
            app->HandleException(std::current_exception());
        }
    };
    if (id_ && app_.ResetTimer(*id_, interval_ms_, tick)) {
        return true;
    }
    id_ = app_.SetTimer(interval_ms_, tick);
    if (id_) {
        return true;
    }
    enabled_ = false;
    app_.HandleException(std::make_exception_ptr(EOutOfResources("Not enough timers available")));
    return false;
}

} // namespace kavlo
