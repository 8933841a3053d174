#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>

#include "ui/application.h"

namespace kavlo {

// What the timer components report when the window system has no timer left for them.
class EOutOfResources : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The shared behaviour of the non-visual timer components: a window-message timer that exists while
// Enabled, Interval != 0 and a handler is set. Changing any of them restarts it. An exception from the
// handler goes to the application's exception handler and the timer keeps running.
class TimerBase {
public:
    virtual ~TimerBase();
    TimerBase(const TimerBase&) = delete;
    TimerBase& operator=(const TimerBase&) = delete;

    bool Enabled() const { return enabled_; }
    // False when the timer was wanted but none could be had; the component is then left disabled and
    // the application's exception handler has been given "Not enough timers available".
    bool SetEnabled(bool enabled);
    uint32_t Interval() const { return interval_ms_; }
    bool SetInterval(uint32_t interval_ms);
    // Whether a timer is live, i.e. ticks will come.
    bool Active() const { return id_.has_value(); }

protected:
    TimerBase(Application& app, bool enabled) : app_(app), enabled_(enabled) {}

    // Kills the timer and, when it is wanted, creates it again; see SetEnabled for the result.
    bool UpdateTimer();
    virtual bool HasHandler() const = 0;
    virtual void Fire() = 0;

private:
    Application& app_;
    bool enabled_;
    uint32_t interval_ms_ = 1000;
    std::optional<TimerId> id_;
};

// A timer component whose OnTimer handler gets the component itself as sender.
template <class Sender> class NotifyTimer : public TimerBase {
public:
    using Handler = std::function<void(Sender& sender)>;

    const Handler& OnTimer() const { return on_timer_; }
    bool SetOnTimer(Handler handler) {
        on_timer_ = std::move(handler);
        return UpdateTimer();
    }

protected:
    using TimerBase::TimerBase;

private:
    bool HasHandler() const override { return static_cast<bool>(on_timer_); }
    void Fire() override {
        Handler handler = on_timer_; // the handler may replace itself
        handler(static_cast<Sender&>(*this));
    }

    Handler on_timer_;
};

// Delphi's TTimer: enabled from the start, 1000 ms, ticking once a handler is set.
class TTimer final : public NotifyTimer<TTimer> {
public:
    explicit TTimer(Application& app) : NotifyTimer(app, true) {}
};

} // namespace kavlo
