// The six parameters as a CLAP host sees them: ids 0..5 in the VST 2.4
// order and with its names, plain values (steps 0..11 and 0..4, percent
// 0..100), their display texts and the texts read back.
//
// Values are kept as the plain value the sound hears: a step rounded to the
// nearest and clamped, a percentage clamped (a NaN one gives the default).
// What get_value answers, what state saves and what the sound plays are
// therefore always the same thing. Each value is a relaxed atomic: the main
// thread (get_value, state) and the audio thread (events, flush) meet there
// without locks. A revision counts the values set, so that the audio thread
// learns from one load whether any value moved since it last looked.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>

#include "clap_abi.h"
#include "slicecast_sound.h"

namespace slicecast {

constexpr std::uint32_t kClapParameterCount = 6;

class ClapParameters {
public:
    ClapParameters() noexcept;

    static bool isId(clap::Id id) noexcept { return id < kClapParameterCount; }
    // The value the sound hears for plain, as it is kept and answered.
    static double settled(clap::Id id, double plain) noexcept;
    static bool info(std::uint32_t index, clap::ParamInfo& info) noexcept;
    // The display text with its unit ("1/8", "70 %"); false when it does not
    // fit capacity bytes with its NUL, or for an unknown id.
    static bool valueToText(clap::Id id, double plain, char* text, std::uint32_t capacity) noexcept;
    // Takes back what valueToText writes (the unit optional).
    static std::optional<double> textToValue(clap::Id id, const char* text) noexcept;

    void set(clap::Id id, double plain) noexcept;
    double get(clap::Id id) const noexcept;
    // Moves on with every set; values read after it are at least as new as
    // the sets it counts.
    std::uint32_t revision() const noexcept { return revision_.load(std::memory_order_acquire); }
    std::array<double, kClapParameterCount> all() const noexcept;
    void setAll(const std::array<double, kClapParameterCount>& plain) noexcept;

private:
    std::array<std::atomic<double>, kClapParameterCount> values_;
    std::atomic<std::uint32_t> revision_{0};
    static_assert(std::atomic<double>::is_always_lock_free);
    static_assert(std::atomic<std::uint32_t>::is_always_lock_free);
};

}  // namespace slicecast
