// The constant tables that give the two index parameters their musical
// meaning, and the name and label of every parameter.
#pragma once

#include <array>
#include <cstdint>

namespace slicecast {

enum ParameterIndex : std::int32_t {
    kWaveLength = 0,
    kUpdatePeriod = 1,
    kRate = 2,
    kFadeOut = 3,
    kDecayRate = 4,
    kMix = 5,
};

// "WaveLength" index -> the slice is one bar divided by this.
constexpr std::array<std::int32_t, 12> sliceDivisors{1, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 64};

// "UpdatePeriod" index -> update periods per bar, and its display text.
constexpr std::array<double, 5> updatePeriodScales{0.25, 0.5, 1.0, 2.0, 4.0};
constexpr std::array<const char*, 5> updatePeriodLabels{"4/1", "2/1", "1/1", "1/2", "1/4"};

constexpr std::int32_t kMaxWaveLengthIndex = static_cast<std::int32_t>(sliceDivisors.size()) - 1;
constexpr std::int32_t kMaxUpdatePeriodIndex = static_cast<std::int32_t>(updatePeriodScales.size()) - 1;

struct ParameterText {
    const char* name;
    const char* label;
};

constexpr std::array<ParameterText, 6> parameterTexts{{
    {"WaveLength", ""},
    {"UpdatePeriod", ""},
    {"Rate", "%"},
    {"FadeOut", "%"},
    {"DecayRate", "%"},
    {"Mix", "%"},
}};

}  // namespace slicecast
