// The settings every edition's processing benchmarks measure, in the host's
// normalised parameter values, and the block sizes they are measured at.
#pragma once

#include "bench_session.h"
#include "parameter_indices.h"

namespace bench {

inline const Settings kDefaults{};
// 1/64-bar slices in 4-bar periods, halving at every repeat: the most
// passes per block, and repeats that decay into the subnormal range.
inline const Settings kShortestSlice{{kWaveLength, 1.0f}, {kUpdatePeriod, 0.0f}, {kDecayRate, 0.5f}};
// Every shaping stage at work besides the defaults' gate: the linear fade
// and a dry/wet blend.
inline const Settings kFullyShaped{{kFadeOut, 0.5f}, {kRate, 0.6f}, {kMix, 0.7f}};
// Quarter-bar periods: the most summary columns per frame (an editor's
// picture spans one period).
inline const Settings kShortestPeriod{{kUpdatePeriod, 1.0f}};

// Input so quiet that every sample is subnormal.
constexpr float kSubnormalScale = 1e-39f;

inline void blockSizes(benchmark::internal::Benchmark* benchmark) { benchmark->Arg(64)->Arg(512)->Arg(4096); }

}  // namespace bench
