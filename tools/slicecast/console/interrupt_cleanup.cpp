#include "interrupt_cleanup.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <stdexcept>

namespace slicecastcli {

namespace {

constexpr std::array<int, 3> kInterrupts{SIGINT, SIGTERM, SIGHUP};

// Read by the signal handler, hence lock-free atomic pointers in a table
// of fixed size. More than the most jobs a batch may run, plus a picture.
constexpr std::size_t kSlots = 160;
std::array<std::atomic<const char*>, kSlots> pendingPaths{};
static_assert(std::atomic<const char*>::is_always_lock_free);

void removePendingAndStop(int signal) {
    for (const auto& pending : pendingPaths) {
        if (const char* path = pending.load()) unlink(path);
    }
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

std::size_t removeOnInterrupt(const char* path) {
    [[maybe_unused]] static const bool handlersInstalled = installHandlers();
    for (std::size_t slot = 0; slot < kSlots; ++slot) {
        const char* empty = nullptr;
        if (pendingPaths[slot].compare_exchange_strong(empty, path)) return slot;
    }
    throw std::runtime_error("too many files being written at once");
}

void forgetOnInterrupt(std::size_t slot) { pendingPaths[slot].store(nullptr); }

}  // namespace slicecastcli
