// The plug-in's parameter indices, as a host knows them.
#pragma once

#include "vst_abi.h"

namespace bench {

constexpr VstInt32 kWaveLength = 0;    // 1.0: slices of 1/64 bar
constexpr VstInt32 kUpdatePeriod = 1;  // 0.0: a new capture every 4 bars
constexpr VstInt32 kRate = 2;
constexpr VstInt32 kFadeOut = 3;
constexpr VstInt32 kDecayRate = 4;
constexpr VstInt32 kMix = 5;

}  // namespace bench
