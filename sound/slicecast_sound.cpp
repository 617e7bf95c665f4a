#include "slicecast_sound.h"

#include <cstring>

#include "scoped_no_denormals.h"

namespace slicecast {

double SlicecastSound::process(const BlockTransport& transport, const SoundParameters& parameters, float sampleRate,
                               const StereoIo& io, std::int32_t frames) noexcept {
    return processWith(transport, parameters, sampleRate, io, frames, nullptr, nullptr);
}

double SlicecastSound::process(const BlockTransport& transport, const SoundParameters& parameters, float sampleRate,
                               const StereoIo& io, std::int32_t frames, BlockSummariser& summary,
                               SummarySink& sink) noexcept {
    return processWith(transport, parameters, sampleRate, io, frames, &summary, &sink);
}

double SlicecastSound::processWith(const BlockTransport& transport, const SoundParameters& parameters,
                                   float sampleRate, const StereoIo& io, std::int32_t frames,
                                   BlockSummariser* summary, SummarySink* sink) noexcept {
    // Blocks that are not processed (no frames, or no usable sample rate)
    // leave the running position where it was.
    if (frames <= 0) return 0.0;
    const BlockPlan plan = planner_.plan(transport, repeater_.runningPosition(), sampleRate,
                                         parameters.waveLengthIndex, parameters.updatePeriodIndex);
    if (!plan.usable) {
        // No usable sample rate, no musical time: the block passes dry.
        const auto bytes = sizeof(float) * static_cast<std::size_t>(frames);
        if (io.outLeft != io.inLeft) std::memmove(io.outLeft, io.inLeft, bytes);
        if (io.outRight != io.inRight) std::memmove(io.outRight, io.inRight, bytes);
        return 0.0;
    }
    const ScopedNoDenormals noDenormals;
    if (summary == nullptr) {
        repeater_.process(plan, parameters.shape, io, frames);
        return plan.beatStep;
    }
    summary->begin(plan, tempoOf(transport), io, frames);
    BlockMarks marks = summary->marks();
    repeater_.process(plan, parameters.shape, io, frames, marks);
    summary->end(io, *sink);
    return plan.beatStep;
}

}  // namespace slicecast
