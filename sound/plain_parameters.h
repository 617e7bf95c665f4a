// The six parameters as formats with plain values present them (LV2 ports,
// CLAP parameters): the two lengths as step numbers, 0..11 and 0..4, the four
// shaping values in percent, 0..100. Hosts may send anything; these turn
// whatever comes into the sound's terms.
#pragma once

#include <array>
#include <cstdint>

#include "parameter_tables.h"
#include "slicecast_sound.h"

namespace slicecast {

struct PlainRange {
    double minimum;
    double maximum;
    double defaultValue;
    bool stepped;
};

// In parameter order; the defaults are the sound's own (step 5 = 1/8, step
// 3 = 1/2, 70 %, 0 %, 100 %, 100 %).
constexpr std::array<PlainRange, 6> plainRanges{{
    {0.0, static_cast<double>(kMaxWaveLengthIndex), 5.0, true},
    {0.0, static_cast<double>(kMaxUpdatePeriodIndex), 3.0, true},
    {0.0, 100.0, 70.0, false},
    {0.0, 100.0, 0.0, false},
    {0.0, 100.0, 100.0, false},
    {0.0, 100.0, 100.0, false},
}};

// The six defaults as plain values, in parameter order.
constexpr std::array<double, 6> kDefaultPlainValues = [] {
    std::array<double, 6> plain{};
    for (std::size_t index = 0; index < plain.size(); ++index) plain[index] = plainRanges[index].defaultValue;
    return plain;
}();

// The nearest step, halves rounded up, clamped to 0..maxStep; a value that
// is not a number gives step 0.
std::int32_t stepFromPlain(double value, std::int32_t maxStep) noexcept;

// percent clamped to 0..100 (a value that is not a number gives
// defaultPercent), then divided by 100 in single precision.
float fractionFromPercent(double percent, double defaultPercent) noexcept;

// All six plain values, in parameter order, in the sound's terms.
SoundParameters soundParametersFromPlain(const std::array<double, 6>& plain) noexcept;

// soundParametersFromPlain for an edition's audio thread, done again only
// when a plain value changed since the last block. Values are compared bit
// for bit, not as numbers: -0 and +0 are equal numbers and NaN equals
// nothing, so a numeric compare would either miss a change or never settle.
// Starts at the defaults.
class PlainParameterMapping {
public:
    PlainParameterMapping() noexcept;

    const SoundParameters& update(const std::array<double, 6>& plain) noexcept;
    // update with one value alone changed, the others as the last update
    // left them: an edition that knows which value changed maps only that
    // one, to the same bits.
    const SoundParameters& updateOne(ParameterIndex index, double plain) noexcept;
    // What the last update gave (the defaults' mapping before any).
    const SoundParameters& mapped() const noexcept { return mapped_; }

private:
    std::array<double, 6> plain_;
    SoundParameters mapped_;
};

}  // namespace slicecast
