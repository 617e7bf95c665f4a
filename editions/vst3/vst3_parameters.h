// The six parameters as a VST 3 host sees them: ids 0..5 in the VST 2.4
// order and with its names as titles, normalized values 0..1, and what
// turns them into steps, percentages, display texts and the sound's terms.
//
// WaveLength and UpdatePeriod are lists of 12 and 5 steps (step counts 11
// and 4). They follow the format's own rule, so that a host that draws the
// steps lands on the step it draws: a normalized value v is step
// min(N, floor(v x (N + 1))), and step k is k / N, which maps back to k
// exactly. Rate, FadeOut, DecayRate and Mix are continuous percentages; the
// sound hears the normalized value itself in single precision.
//
// Values from a host are settled before they are kept: clamped to 0..1, a
// value that is not a number giving the parameter's default. What is kept,
// shown, saved and heard is therefore always the same value.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "saved_state.h"
#include "slicecast_sound.h"
#include "vst3_abi.h"

namespace slicecast {

constexpr std::int32_t kVst3ParameterCount = 6;
using NormalizedValues = std::array<double, kVst3ParameterCount>;

inline bool isVst3ParameterId(vst3::ParamID id) noexcept { return id < kVst3ParameterCount; }

// The info of the parameter at index (its id is its index); false past the
// last.
bool vst3ParameterInfo(std::int32_t index, vst3::ParameterInfo& info) noexcept;

// The six defaults, as hosts and the sound start.
NormalizedValues defaultNormalizedValues() noexcept;

// What is kept of a host's normalized value for parameter id.
double settledNormalized(vst3::ParamID id, double normalized) noexcept;

// Plain values are steps (0..11, 0..4) and percentages (0..100), as the
// display shows them and the saved state keeps them. Unknown ids map a
// value to itself.
double plainOfNormalized(vst3::ParamID id, double normalized) noexcept;
double normalizedOfPlain(vst3::ParamID id, double plain) noexcept;

// The VST 2.4 edition's display text ("1/8", "70"); the unit is the info's.
// false for an unknown id.
bool writeDisplayText(vst3::ParamID id, double normalized, vst3::String128 text) noexcept;
// Takes back what writeDisplayText writes (a percentage may carry its unit
// and decimals); nothing for a text it does not read or an unknown id.
std::optional<double> normalizedOfText(vst3::ParamID id, const vst3::TChar* text) noexcept;

// One settled value into its own field of the sound's parameters.
void mapInto(SoundParameters& parameters, vst3::ParamID id, double normalized) noexcept;
SoundParameters soundParametersOf(const NormalizedValues& normalized) noexcept;

// Between the values as kept and as the saved state holds them.
PlainValues plainValuesOf(const NormalizedValues& normalized) noexcept;
NormalizedValues normalizedValuesOf(const PlainValues& plain) noexcept;

}  // namespace slicecast
