#include "block_plan.h"

#include <algorithm>
#include <cmath>

#include "float_to_int.h"
#include "parameter_tables.h"

namespace slicecast {

namespace {

double originOf(const BlockTransport& transport, double runningPosition) noexcept {
    // Hosts without a timeline (offline editors, a stopped transport with
    // live input) give no position; counting on from where the last block
    // ended keeps the effect on the tempo grid instead of restarting every
    // block at 0, which would mute it for good after one update period.
    // A position flagged valid but not finite would poison every later
    // boundary test; it is treated like a position the host did not give.
    if (!transport.positionKnown || !std::isfinite(transport.position)) return runningPosition;
    return transport.position;
}

double tempoOf(const BlockTransport& transport) noexcept {
    // Zero, negative or non-finite tempos have no musical meaning and would
    // divide by zero or run time backwards: such a block plays at the
    // default tempo, as if the host had not given one.
    if (!transport.tempoKnown) return kDefaultTempo;
    const double tempo = transport.tempo;
    return (std::isfinite(tempo) && tempo > 0.0) ? tempo : kDefaultTempo;
}

}  // namespace

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

}  // namespace slicecast
