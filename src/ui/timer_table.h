#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace kavlo {

using TimerId = uint32_t;

// The live window-message timers of an Application and when each comes due. Timers keep a grid of
// multiples of their interval from their start, as a periodic system timer does; a tick taken late
// moves the timer to the first grid point after the moment it was taken, so missed ticks collapse
// into that one. A timer whose handler is running is not due for anyone.
class TimerTable {
public:
    using Handler = std::shared_ptr<const std::function<void()>>;

    // Nothing when the limit of live timers is reached.
    std::optional<TimerId> Add(uint64_t now_ms, uint32_t interval_ms, std::function<void()> handler);
    // Restarts a live timer with a new interval and handler, keeping its identity (and, when its
    // handler is running, that fact). False for an unknown timer.
    bool Reset(TimerId id, uint64_t now_ms, uint32_t interval_ms, std::function<void()> handler);
    void Remove(TimerId id);

    void SetLimit(size_t max_live_timers) { limit_ = max_live_timers; }
    size_t Limit() const { return limit_; }
    size_t Count() const { return timers_.size(); }

    // The timer to tick at now_ms: due, not running and not in `skip`; the earliest due first, the
    // older timer on a tie.
    std::optional<TimerId> NextDue(uint64_t now_ms, const std::vector<TimerId>& skip) const;
    // Milliseconds until a timer that is not running comes due (0 when one is due); nothing without one.
    std::optional<uint64_t> TimeToNext(uint64_t now_ms) const;

    // Takes the tick of a due timer: marks it running, schedules its next tick and hands out its
    // handler, which stays alive even if the timer is removed while it runs.
    Handler BeginTick(TimerId id, uint64_t now_ms);
    void EndTick(TimerId id);

private:
    struct Entry {
        uint32_t interval_ms = 0;
        uint64_t due_ms = 0;
        Handler handler;
        bool running = false;
    };
    static uint32_t ClampInterval(uint32_t interval_ms);

    std::map<TimerId, Entry> timers_;
    TimerId next_id_ = 1;
    size_t limit_ = 10000; // the per-process limit of USER objects on Windows
};

} // namespace kavlo
