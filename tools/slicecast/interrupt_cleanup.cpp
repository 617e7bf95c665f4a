#include "interrupt_cleanup.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>

namespace slicecastcli {

namespace {

constexpr std::array<int, 3> kInterrupts{SIGINT, SIGTERM, SIGHUP};

// Read by the signal handler, hence a lock-free atomic pointer.
std::atomic<const char*> pendingPath{nullptr};
static_assert(std::atomic<const char*>::is_always_lock_free);

void removePendingAndStop(int signal) {
    if (const char* path = pendingPath.load()) unlink(path);
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    sigaction(signal, &defaultAction, nullptr);
    raise(signal);
}

bool installHandlers() {
    struct sigaction action {};
    action.sa_handler = removePendingAndStop;
    sigemptyset(&action.sa_mask);
    for (int signal : kInterrupts) sigaction(signal, &action, nullptr);
    return true;
}

}  // namespace

void removeOnInterrupt(const char* path) {
    [[maybe_unused]] static const bool handlersInstalled = installHandlers();
    pendingPath.store(path);
}

}  // namespace slicecastcli
