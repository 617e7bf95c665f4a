#include "ui_loop.h"

#include <algorithm>
#include <vector>

namespace pluginhost {

std::uint32_t UiLoop::addTimer(std::int32_t periodMilliseconds, TimerCallback callback) {
    const Clock::duration period = std::chrono::milliseconds(std::max(periodMilliseconds, 1));
    const std::uint32_t id = nextTimerId_++;
    timers_.emplace(id, Timer{period, Clock::now() + period, std::move(callback)});
    return id;
}

bool UiLoop::removeTimer(std::uint32_t id) { return timers_.erase(id) == 1; }

bool UiLoop::addDescriptor(int fd, Callback callback) {
    if (!loopWatchesDescriptors() || fd < 0) return false;
    return descriptors_.emplace(fd, std::move(callback)).second;
}

bool UiLoop::removeDescriptor(int fd) { return descriptors_.erase(fd) == 1; }

void UiLoop::runFor(std::chrono::milliseconds duration) {
    const Clock::time_point end = Clock::now() + duration;
    for (Clock::time_point now = Clock::now(); now < end; now = Clock::now()) {
        Clock::time_point until = end;
        for (const auto& entry : timers_) until = std::min(until, entry.second.due);
        waitAndDispatch(until);
        fireDueTimers();
    }
}

void UiLoop::fireDueTimers() {
    // A callback may add or remove timers, its own included: the due ones
    // are picked first, and each is looked up again before it fires.
    const Clock::time_point now = Clock::now();
    std::vector<std::uint32_t> due;
    for (const auto& [id, timer] : timers_) {
        if (timer.due <= now) due.push_back(id);
    }
    for (const std::uint32_t id : due) {
        const auto found = timers_.find(id);
        if (found == timers_.end()) continue;
        found->second.due = now + found->second.period;
        const TimerCallback callback = found->second.callback;
        callback(id);
    }
}

}  // namespace pluginhost
