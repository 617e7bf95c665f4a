#include "slice_repeater.h"

#include <algorithm>

#include "period_boundaries.h"

namespace slicecast {

void SliceRepeater::process(const BlockPlan& plan, const ShapeParameters& parameters, const StereoIo& io,
                            std::int32_t frames) noexcept {
    const PassShape shape(parameters, plan.sliceLength, loops_);
    const PeriodBoundaries boundaries(plan, lastPosition_, frames);
    const BufferLayout layout = layoutOf(io, frames);
    const auto sliceLength = static_cast<std::uint32_t>(plan.sliceLength);
    const auto periodLength = static_cast<std::uint32_t>(plan.periodLength);

    std::int32_t boundary = boundaries.first();
    // The slice length may have changed since the last block: the one
    // remainder a block needs. From here on the read index follows the
    // counter stretch by stretch.
    std::uint32_t readIndex = sampleCounter_ < sliceLength ? sampleCounter_ : sampleCounter_ % sliceLength;
    for (std::int32_t frame = 0; frame < frames;) {
        if (frame == boundary) {
            sampleCounter_ = 0;
            readIndex = 0;
            repeatGain_ = 1.0f;
            boundary = boundaries.after(frame);
        }
        if (sampleCounter_ >= periodLength) {
            // The period ran out before a boundary came: muted, and the
            // capture starts over at position 0.
            sampleCounter_ = 0;
            readIndex = 0;
            repeatGain_ = 0.0f;
        }
        if (readIndex == 0 && sampleCounter_ != 0) repeatGain_ = parameters.decayRate * repeatGain_;

        const std::int32_t stretch = stretchLength(plan, shape, readIndex, boundary - frame);
        renderStretch(shape, layout, {captureLeft_, captureRight_}, repeatGain_, {readIndex, sampleCounter_},
                      io.from(frame), stretch);
        sampleCounter_ += static_cast<std::uint32_t>(stretch);
        readIndex += static_cast<std::uint32_t>(stretch);
        if (readIndex == sliceLength) readIndex = 0;
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

std::int32_t SliceRepeater::stretchLength(const BlockPlan& plan, const PassShape& shape, std::uint32_t readIndex,
                                          std::int32_t framesToBoundary) const noexcept {
    const std::int64_t k = readIndex;
    const std::int64_t toPassEnd = plan.sliceLength - k;
    // The frame at hand has passed the period test already; the later ones
    // must stay below the period length.
    const std::int64_t toPeriodEnd = std::max<std::int64_t>(1, std::int64_t{plan.periodLength} - sampleCounter_);
    // Where the capture fills up, storing stops.
    const std::int64_t toCapacity = std::int64_t{kCaptureCapacity} - sampleCounter_;
    const std::int64_t toRuleChange = shape.nextRuleChange(k) - k;
    std::int64_t length = std::min({std::int64_t{framesToBoundary}, toPassEnd, toPeriodEnd, toRuleChange});
    if (toCapacity > 0) length = std::min(length, toCapacity);
    return static_cast<std::int32_t>(length);
}

}  // namespace slicecast
