// The count of references a host holds on one of the plug-in's objects: a
// new object starts with the one its creator hands out. Counted atomically,
// since hosts may hand the pointers to other threads.
#pragma once

#include <atomic>
#include <cstdint>

namespace slicecast {

class ReferenceCount {
public:
    // Both answer the count after the change.
    std::uint32_t add() noexcept { return count_.fetch_add(1, std::memory_order_relaxed) + 1; }
    std::uint32_t drop() noexcept { return count_.fetch_sub(1, std::memory_order_acq_rel) - 1; }

private:
    std::atomic<std::uint32_t> count_{1};
};

}  // namespace slicecast
