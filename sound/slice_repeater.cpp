#include "slice_repeater.h"

#include <algorithm>

#include "period_boundaries.h"

namespace slicecast {

void SliceRepeater::process(const BlockPlan& plan, const ShapeParameters& parameters, const StereoIo& io,
                            std::int32_t frames) noexcept {
    const PassShape shape(parameters, plan.sliceLength, loops_);
    const PeriodBoundaries boundaries(plan, lastPosition_, frames);
    const auto sliceLength = static_cast<std::uint32_t>(plan.sliceLength);
    const auto periodLength = static_cast<std::uint32_t>(plan.periodLength);

    std::int32_t boundary = boundaries.first();
    for (std::int32_t frame = 0; frame < frames;) {
        if (frame == boundary) {
            sampleCounter_ = 0;
            repeatGain_ = 1.0f;
            boundary = boundaries.after(frame);
        }
        if (sampleCounter_ >= periodLength) {
            // The period ran out before a boundary came: muted, and the
            // capture starts over at position 0.
            sampleCounter_ = 0;
            repeatGain_ = 0.0f;
        }
        const std::uint32_t readIndex = sampleCounter_ % sliceLength;
        if (readIndex == 0 && sampleCounter_ != 0) repeatGain_ = parameters.decayRate * repeatGain_;

        const std::int32_t stretch = stretchLength(plan, readIndex, boundary - frame);
        renderPass(shape, {captureLeft_, captureRight_}, repeatGain_, {readIndex, sampleCounter_}, io.from(frame),
                   stretch);
        sampleCounter_ += static_cast<std::uint32_t>(stretch);
        frame += stretch;
    }
    lastPosition_ = boundaries.positionOf(frames - 1);
    runningPosition_ = boundaries.positionAfter();
}

void SliceRepeater::reset() noexcept {
    sampleCounter_ = 0;
    repeatGain_ = 0.0f;
    lastPosition_ = kNoLastPosition;
    runningPosition_ = 0.0;
    std::fill_n(captureLeft_, kCaptureCapacity, 0.0f);
    std::fill_n(captureRight_, kCaptureCapacity, 0.0f);
}

std::int32_t SliceRepeater::stretchLength(const BlockPlan& plan, std::uint32_t readIndex,
                                          std::int32_t framesToBoundary) const noexcept {
    const std::int64_t toPassEnd = static_cast<std::int64_t>(plan.sliceLength) - readIndex;
    // The frame at hand has passed the period test already; the later ones
    // must stay below the period length.
    const std::int64_t toPeriodEnd =
        std::max<std::int64_t>(1, static_cast<std::int64_t>(plan.periodLength) - sampleCounter_);
    return static_cast<std::int32_t>(std::min({static_cast<std::int64_t>(framesToBoundary), toPassEnd, toPeriodEnd}));
}

}  // namespace slicecast
