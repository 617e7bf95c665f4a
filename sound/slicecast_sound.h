// The whole sound of Slicecast for one block: the block's musical plan from
// the host's transport, the sample rate and the two length steps, then the
// slice repeat itself, or the dry input when the sample rate gives no
// musical time. Every plug-in format's edition hands its blocks to this;
// it knows of no host.
#pragma once

#include <cstdint>

#include "block_summariser.h"
#include "block_transport.h"
#include "slice_repeater.h"

namespace slicecast {

// The six parameters in the sound's terms: the two length steps as table
// indices (0..11 and 0..4), the four shaping values as fractions.
struct SoundParameters {
    std::int32_t waveLengthIndex = 5;
    std::int32_t updatePeriodIndex = 3;
    ShapeParameters shape;
};

class SlicecastSound {
public:
    // Processes frames frames (none when frames is not above 0) and answers
    // the quarter notes per sample the block moved by: 0 when nothing was
    // processed or the block passed dry. Subnormal results are flushed while
    // it runs and the caller's floating-point state is restored after.
    double process(const BlockTransport& transport, const SoundParameters& parameters, float sampleRate,
                   const StereoIo& io, std::int32_t frames) noexcept;
    // The same, summing the block up for an editor into summary's records
    // for sink (none for a block that passed dry). The output is the same
    // to the bit.
    double process(const BlockTransport& transport, const SoundParameters& parameters, float sampleRate,
                   const StereoIo& io, std::int32_t frames, BlockSummariser& summary, SummarySink& sink) noexcept;

    // Where the sound's own count of musical time stands (see SliceRepeater).
    double runningPosition() const noexcept { return repeater_.runningPosition(); }

    // Back to the state of a new instance: silent capture, no period under
    // way, the running position at 0.
    void reset() noexcept { repeater_.reset(); }

private:
    // With summary null, the plain processing.
    double processWith(const BlockTransport& transport, const SoundParameters& parameters, float sampleRate,
                       const StereoIo& io, std::int32_t frames, BlockSummariser* summary, SummarySink* sink) noexcept;

    BlockPlanner planner_;
    SliceRepeater repeater_;
};

}  // namespace slicecast
