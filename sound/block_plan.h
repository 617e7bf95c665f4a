// What one audio block needs to know about musical time: where it starts,
// how far each sample moves, and the slice and update-period lengths that
// follow from the sample rate, the tempo and the two index parameters.
#pragma once

#include <cstdint>

#include "block_transport.h"

namespace slicecast {

constexpr std::int32_t kCaptureCapacity = 480000;

struct BlockPlan {
    bool usable = false;          // false: the sample rate gives no musical time
    double origin = 0.0;          // position of the first sample, quarter notes
    double beatStep = 0.0;        // quarter notes per sample
    std::int32_t sliceLength = 1; // samples, always within 1..kCaptureCapacity
    std::int32_t periodLength = 0;
    double scale = 1.0;           // update periods per bar
};

// runningPosition is where the sound's own count of musical time stands:
// the origin of a block whose transport gives no usable position.
BlockPlan planBlock(const BlockTransport& transport, double runningPosition, float sampleRate,
                    std::int32_t waveLengthIndex, std::int32_t updatePeriodIndex) noexcept;

}  // namespace slicecast
