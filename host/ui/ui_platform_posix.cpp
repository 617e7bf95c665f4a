// The UI loop on POSIX systems: poll() on the watched descriptors; X11 is
// the window system.
#include <poll.h>

#include <vector>

#include "ui_loop.h"

namespace pluginhost {

bool loopWatchesDescriptors() { return true; }

const char* hostWindowSystem() { return "x11"; }

void UiLoop::waitAndDispatch(Clock::time_point until) {
    std::vector<pollfd> watched;
    for (const auto& entry : descriptors_) watched.push_back({entry.first, POLLIN, 0});
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
    const int ready = poll(watched.data(), watched.size(), static_cast<int>(std::max<long long>(left, 0)));
    if (ready <= 0) return;
    for (const pollfd& entry : watched) {
        if ((entry.revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
        // A callback may remove descriptors, its own included.
        const auto found = descriptors_.find(entry.fd);
        if (found == descriptors_.end()) continue;
        const Callback callback = found->second;
        callback();
    }
}

}  // namespace pluginhost
