#include "pass_marks.h"

#include <algorithm>

#include "block_plan.h"
#include "period_boundaries.h"

namespace picture {

namespace {

// What the sound knows of the block's time.
slicecast::BlockTransport transportOf(const BlockTiming& time) {
    return {time.positionValid, time.position, time.tempoValid, time.tempo};
}

}  // namespace

PassTracker::PassTracker(float sampleRate, std::int32_t waveLengthStep, std::int32_t updatePeriodStep)
    : sampleRate_(sampleRate), waveLengthIndex_(waveLengthStep), updatePeriodIndex_(updatePeriodStep) {}

void PassTracker::play(const PictureBlock& block) {
    const slicecast::BlockPlan plan =
        slicecast::planBlock(transportOf(block.time), runningPosition_, sampleRate_, waveLengthIndex_,
                             updatePeriodIndex_);
    // Without musical time the sound passes the block through and
    // keeps its state.
    if (!plan.usable || block.frames <= 0) return;
    const slicecast::PeriodBoundaries boundaries(plan, lastPosition_, block.frames);
    const auto sliceLength = static_cast<std::uint32_t>(plan.sliceLength);
    const auto periodLength = static_cast<std::uint32_t>(plan.periodLength);
    // Count-in blocks move the state on but are not in the output.
    const auto mark = [&block](std::vector<std::int64_t>& list, std::int32_t frame) {
        if (block.written()) list.push_back(block.outputFrame + frame);
    };

    std::int32_t boundary = boundaries.first();
    for (std::int32_t frame = 0; frame < block.frames;) {
        if (frame == boundary) {
            counter_ = 0;
            muted_ = false;
            mark(marks_.periodStarts, frame);
            boundary = boundaries.after(frame);
        }
        if (counter_ >= periodLength) {
            counter_ = 0;
            muted_ = true;
        }
        const std::uint32_t readIndex = counter_ % sliceLength;
        if (readIndex == 0 && counter_ != 0 && !muted_) mark(marks_.passStarts, frame);
        // On to the next frame where something can begin.
        const std::int64_t step = std::min({static_cast<std::int64_t>(boundary - frame),
                                            static_cast<std::int64_t>(sliceLength - readIndex),
                                            std::max<std::int64_t>(1, std::int64_t{periodLength} - counter_)});
        counter_ += static_cast<std::uint32_t>(step);
        frame += static_cast<std::int32_t>(step);
    }
    lastPosition_ = boundaries.positionOf(block.frames - 1);
    runningPosition_ = boundaries.positionAfter();
}

}  // namespace picture
