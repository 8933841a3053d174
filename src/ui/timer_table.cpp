#include "ui/timer_table.h"

#include <algorithm>

namespace kavlo {

// Windows raises shorter intervals to USER_TIMER_MINIMUM.
uint32_t TimerTable::ClampInterval(uint32_t interval_ms) {
    return std::max<uint32_t>(interval_ms, 10);
}

std::optional<TimerId> TimerTable::Add(uint64_t now_ms, uint32_t interval_ms, std::function<void()> handler) {
    if (timers_.size() >= limit_) {
        return std::nullopt;
    }
    TimerId id = next_id_++;
    interval_ms = ClampInterval(interval_ms);
    timers_[id] = Entry{interval_ms, now_ms + interval_ms,
                        std::make_shared<const std::function<void()>>(std::move(handler)), false};
    return id;
}

bool TimerTable::Reset(TimerId id, uint64_t now_ms, uint32_t interval_ms, std::function<void()> handler) {
    auto it = timers_.find(id);
    if (it == timers_.end()) {
        return false;
    }
    it->second.interval_ms = ClampInterval(interval_ms);
    it->second.due_ms = now_ms + it->second.interval_ms;
    it->second.handler = std::make_shared<const std::function<void()>>(std::move(handler));
    return true;
}

void TimerTable::Remove(TimerId id) {
    timers_.erase(id);
}

std::optional<TimerId> TimerTable::NextDue(uint64_t now_ms, const std::vector<TimerId>& skip) const {
    std::optional<TimerId> best;
    uint64_t best_due = 0;
    for (const auto& [id, entry] : timers_) {
        if (entry.running || entry.due_ms > now_ms || std::find(skip.begin(), skip.end(), id) != skip.end()) {
            continue;
        }
        // The map runs in id order, so a tie keeps the older timer.
        if (!best || entry.due_ms < best_due) {
            best = id;
            best_due = entry.due_ms;
        }
    }
    return best;
}

std::optional<uint64_t> TimerTable::TimeToNext(uint64_t now_ms) const {
    std::optional<uint64_t> best;
    for (const auto& [id, entry] : timers_) {
        if (entry.running) {
            continue;
        }
        uint64_t wait = entry.due_ms > now_ms ? entry.due_ms - now_ms : 0;
        best = best ? std::min(*best, wait) : wait;
    }
    return best;
}

TimerTable::Handler TimerTable::BeginTick(TimerId id, uint64_t now_ms) {
    auto it = timers_.find(id);
    if (it == timers_.end()) {
        return nullptr;
    }
    Entry& entry = it->second;
    if (entry.due_ms <= now_ms) {
        uint64_t missed = (now_ms - entry.due_ms) / entry.interval_ms;
        entry.due_ms += (missed + 1) * entry.interval_ms;
    }
    entry.running = true;
    return entry.handler;
}

void TimerTable::EndTick(TimerId id) {
    auto it = timers_.find(id);
    if (it != timers_.end()) {
        it->second.running = false;
    }
}

} // namespace kavlo
