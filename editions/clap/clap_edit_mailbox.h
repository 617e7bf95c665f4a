// The hand's edits on their way from the editor to the host. The editor
// (main thread) posts each gesture's begin, values and end; the host takes
// them only as output events of process or flush, whichever it calls first.
// Per parameter the mailbox counts begins and ends and keeps the newest
// value, so it never fills up however long the host waits (one host calls
// neither while its transport is stopped): a begin is never sent without
// its end, and of a drag's values the newest goes out. Wait-free on both
// sides; one poster and one taker.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "clap_abi.h"
#include "clap_parameters.h"

namespace slicecast {

class ClapEditMailbox {
public:
    // Main thread.
    void begin(clap::Id id) noexcept;
    void change(clap::Id id, double plain) noexcept;
    void end(clap::Id id) noexcept;

    // process or flush: pushes what is waiting at frame 0, in each
    // parameter's order. What the host's list refuses waits for the next
    // call.
    void deliver(const clap::OutputEvents& out) noexcept;

private:
    struct Slot {
        std::atomic<std::uint32_t> begins{0};
        std::atomic<std::uint32_t> ends{0};
        std::atomic<double> value{0.0};
        std::atomic<std::uint32_t> valueSerial{0};
        // The taker's own.
        std::uint32_t sentBegins = 0;
        std::uint32_t sentEnds = 0;
        std::uint32_t sentSerial = 0;
    };
    static_assert(std::atomic<double>::is_always_lock_free);

    bool deliver(clap::Id id, Slot& slot, const clap::OutputEvents& out) noexcept;

    std::array<Slot, kClapParameterCount> slots_;
};

}  // namespace slicecast
