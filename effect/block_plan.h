// What one audio block needs to know about musical time: where it starts,
// how far each sample moves, and the slice and update-period lengths that
// follow from the sample rate, the tempo and the two index parameters.
#pragma once

#include <cstdint>

#include "vst_abi.h"

namespace slicecast {

constexpr std::int32_t kCaptureCapacity = 480000;
constexpr double kDefaultTempo = 120.0;

struct BlockPlan {
    bool usable = false;          // false: the sample rate gives no musical time
    double origin = 0.0;          // position of the first sample, quarter notes
    double beatStep = 0.0;        // quarter notes per sample
    std::int32_t sliceLength = 1; // samples, always within 1..kCaptureCapacity
    std::int32_t periodLength = 0;
    double scale = 1.0;           // update periods per bar
};

// time may be null (a host without a transport record): it counts as a
// record with no valid fields. runningPosition is where the effect's own
// count of musical time stands: the origin of a block whose record gives no
// usable position.
BlockPlan planBlock(const VstTimeInfo* time, double runningPosition, float sampleRate,
                    std::int32_t waveLengthIndex, std::int32_t updatePeriodIndex) noexcept;

}  // namespace slicecast
