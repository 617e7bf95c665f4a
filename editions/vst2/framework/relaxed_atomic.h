// A 32-bit value that one thread writes while another reads it, such as a
// parameter set from the host's user-interface thread and read by the audio
// thread. Every access is a relaxed atomic load or store: on x86-64 that is
// the same single plain load or store the value would get anyway, but it is
// not a data race, and the compiler may not fuse or hoist the accesses.
#pragma once

#include <atomic>

template <typename T>
class RelaxedAtomic {
public:
    constexpr RelaxedAtomic(T initial = T{}) noexcept : value_(initial) {}
    RelaxedAtomic(const RelaxedAtomic&) = delete;
    RelaxedAtomic& operator=(const RelaxedAtomic&) = delete;

    RelaxedAtomic& operator=(T value) noexcept {
        value_.store(value, std::memory_order_relaxed);
        return *this;
    }
    operator T() const noexcept { return value_.load(std::memory_order_relaxed); }

private:
    static_assert(std::atomic<T>::is_always_lock_free);
    std::atomic<T> value_;
};
