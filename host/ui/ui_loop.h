// The host's UI thread as a plug-in's editor sees it: timers, and
// descriptors to watch for reading, each with what to call. runFor runs the
// loop for a while, as a DAW's main loop runs between its own chores. Only
// the thread that runs it may add or remove anything, from callbacks too.
// On Windows the window system calls windows itself: the loop also pumps
// the thread's messages, and takes no descriptors.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>

namespace pluginhost {

class UiLoop {
public:
    using Callback = std::function<void()>;
    // Told the id of the timer that fired.
    using TimerCallback = std::function<void(std::uint32_t)>;
    using Clock = std::chrono::steady_clock;

    UiLoop() = default;
    UiLoop(const UiLoop&) = delete;
    UiLoop& operator=(const UiLoop&) = delete;

    // A timer that fires every periodMilliseconds (at least 1) from now on;
    // its id, never 0.
    std::uint32_t addTimer(std::int32_t periodMilliseconds, TimerCallback callback);
    bool removeTimer(std::uint32_t id);
    // False where the platform has no descriptors, or fd is watched already.
    bool addDescriptor(int fd, Callback callback);
    bool removeDescriptor(int fd);

    void runFor(std::chrono::milliseconds duration);

    std::size_t timerCount() const { return timers_.size(); }
    std::size_t descriptorCount() const { return descriptors_.size(); }

private:
    struct Timer {
        Clock::duration period;
        Clock::time_point due;
        TimerCallback callback;
    };

    // Waits until a descriptor is readable or until, and calls the ready
    // descriptors' callbacks (and, on Windows, the windows' procedures).
    void waitAndDispatch(Clock::time_point until);
    void fireDueTimers();

    std::map<std::uint32_t, Timer> timers_;
    std::map<int, Callback> descriptors_;
    std::uint32_t nextTimerId_ = 1;
};

// Whether this platform's loop can watch descriptors.
bool loopWatchesDescriptors();
// The window system editors open in here, by its usual short name ("x11",
// "win32").
const char* hostWindowSystem();

}  // namespace pluginhost
