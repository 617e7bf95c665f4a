// The factory presets: starting points a musician picks by name, the same
// fourteen in the same order wherever a host lists presets. Each has a name
// to show, a key that never changes (hosts keep it in their sessions and
// preset indexes, so it is not the name, which may be reworded), and the
// six values in plain terms: the two lengths as step numbers, the other
// four in percent, in parameter order, as plain_parameters.h reads them.
//
// The lengths are written as the texts the parameters show ("1/16", "2/1"),
// found in the step tables while compiling: a text no step shows does not
// compile.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "parameter_tables.h"
#include "plain_parameters.h"

namespace slicecast {

struct FactoryPreset {
    const char* name;
    const char* key;
    std::array<double, 6> plain;
};

namespace preset_table {

// Reached only while compiling a row whose text no step shows: a call that
// is no constant expression, so that the row does not compile (the page's
// build has no exceptions to throw).
inline double noStepShows(std::string_view) { return -1.0; }

// The step whose slice is "1/divisor" of a bar.
consteval double waveLengthStep(std::string_view text) {
    if (!text.starts_with("1/")) return noStepShows(text);
    std::int32_t divisor = 0;
    for (const char digit : text.substr(2)) divisor = divisor * 10 + (digit - '0');
    for (std::size_t step = 0; step < sliceDivisors.size(); ++step) {
        if (sliceDivisors[step] == divisor) return static_cast<double>(step);
    }
    return noStepShows(text);
}

consteval double updatePeriodStep(std::string_view text) {
    for (std::size_t step = 0; step < updatePeriodLabels.size(); ++step) {
        if (text == updatePeriodLabels[step]) return static_cast<double>(step);
    }
    return noStepShows(text);
}

consteval FactoryPreset preset(const char* name, const char* key, std::string_view waveLength,
                               std::string_view updatePeriod, double rate, double fadeOut, double decayRate,
                               double mix) {
    return {name, key, {waveLengthStep(waveLength), updatePeriodStep(updatePeriod), rate, fadeOut, decayRate, mix}};
}

}  // namespace preset_table

constexpr std::array<FactoryPreset, 14> factoryPresets{{
    preset_table::preset("Default", "default", "1/8", "1/2", 70, 0, 100, 100),
    preset_table::preset("Sixteenth Stutter", "sixteenth-stutter", "1/16", "1/2", 100, 0, 100, 100),
    preset_table::preset("Triplet Roll", "triplet-roll", "1/12", "1/1", 85, 0, 100, 100),
    preset_table::preset("Thirty-second Build", "thirty-second-build", "1/32", "1/1", 100, 0, 95, 100),
    preset_table::preset("Sixty-fourth Buzz", "sixty-fourth-buzz", "1/64", "1/4", 100, 0, 100, 100),
    preset_table::preset("Quarter Echo", "quarter-echo", "1/4", "1/1", 100, 0, 60, 100),
    preset_table::preset("Gated Chops", "gated-chops", "1/16", "1/4", 40, 0, 100, 100),
    preset_table::preset("Fading Eighths", "fading-eighths", "1/8", "1/1", 80, 50, 85, 100),
    preset_table::preset("Half-bar Freeze", "half-bar-freeze", "1/2", "2/1", 100, 0, 100, 100),
    preset_table::preset("Bar Loop", "bar-loop", "1/1", "4/1", 100, 0, 100, 100),
    preset_table::preset("Dusty Repeats", "dusty-repeats", "1/6", "1/1", 90, 30, 70, 60),
    preset_table::preset("Subtle Blend", "subtle-blend", "1/8", "1/2", 70, 0, 80, 35),
    preset_table::preset("Tight Triplets", "tight-triplets", "1/24", "1/2", 60, 20, 100, 100),
    preset_table::preset("Decay Sweep", "decay-sweep", "1/48", "2/1", 100, 0, 97, 100),
}};

constexpr std::int32_t kFactoryPresetCount = static_cast<std::int32_t>(factoryPresets.size());

// The first preset is where every instance starts.
static_assert(factoryPresets[0].plain == kDefaultPlainValues);

// The index of the preset with this key; -1 for none.
constexpr std::int32_t factoryPresetOfKey(std::string_view key) noexcept {
    for (std::int32_t index = 0; index < kFactoryPresetCount; ++index) {
        if (key == factoryPresets[static_cast<std::size_t>(index)].key) return index;
    }
    return -1;
}

}  // namespace slicecast
