#include "block_plan.h"

#include <algorithm>

#include "float_to_int.h"
#include "parameter_tables.h"

namespace slicecast {

BlockPlan planBlock(const BlockTransport& transport, double runningPosition, float sampleRate,
                    std::int32_t waveLengthIndex, std::int32_t updatePeriodIndex) noexcept {
    BlockPlan plan;
    plan.origin = originOf(transport, runningPosition);
    const double tempo = tempoOf(transport);

    // Without a positive, finite sample rate there is no time to lock to;
    // the caller then passes the input through untouched.
    plan.usable = std::isfinite(sampleRate) && sampleRate > 0.0f;
    if (!plan.usable) return plan;

    const double samplesPerBeat = static_cast<double>(sampleRate) / (tempo / 60.0);
    plan.beatStep = 1.0 / samplesPerBeat;
    const std::int32_t samplesPerBar = truncateToInt32(samplesPerBeat * 4.0);
    const std::int32_t divisor = sliceDivisors[static_cast<std::size_t>(waveLengthIndex)];
    // The slice must be at least one sample (the read index is a remainder)
    // and fit the capture buffers; beyond them only its first
    // kCaptureCapacity samples repeat.
    plan.sliceLength = std::clamp(samplesPerBar / divisor, 1, kCaptureCapacity);
    plan.scale = updatePeriodScales[static_cast<std::size_t>(updatePeriodIndex)];
    plan.periodLength = truncateToInt32(static_cast<double>(samplesPerBar) / plan.scale);
    return plan;
}

void BlockPlanner::relearn(const LengthsKey& key, const BlockTransport& transport, float sampleRate) noexcept {
    lengths_ = planBlock(transport, 0.0, sampleRate, key.waveLengthIndex, key.updatePeriodIndex);
    key_ = key;
    known_ = true;
}

}  // namespace slicecast
