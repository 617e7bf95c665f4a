#include "pass_marks.h"

#include <algorithm>

#include "block_plan.h"
#include "parameter_tables.h"
#include "parameter_values.h"
#include "period_boundaries.h"

namespace slicecastcli {

namespace {

// The effect's state that decides where periods and passes begin.
class PassTracker {
public:
    PassTracker(float waveLength, float updatePeriod)
        : waveLengthIndex_(slicecast::waveLengthIndexFor(waveLength)),
          updatePeriodIndex_(slicecast::updatePeriodIndexFor(updatePeriod)) {}

    void play(const vsthost::PlayedBlock& block, float sampleRate, PassMarks& marks) {
        for (const auto& [index, value] : block.parametersSet) {
            if (index == slicecast::kWaveLength) waveLengthIndex_ = slicecast::waveLengthIndexFor(value);
            if (index == slicecast::kUpdatePeriod) updatePeriodIndex_ = slicecast::updatePeriodIndexFor(value);
        }
        const slicecast::BlockPlan plan = slicecast::planBlock(&block.time, sampleRate, waveLengthIndex_,
                                                               updatePeriodIndex_);
        // Without musical time the effect passes the block through and
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
                mark(marks.periodStarts, frame);
                boundary = boundaries.after(frame);
            }
            if (counter_ >= periodLength) {
                counter_ = 0;
                muted_ = true;
            }
            const std::uint32_t readIndex = counter_ % sliceLength;
            if (readIndex == 0 && counter_ != 0 && !muted_) mark(marks.passStarts, frame);
            // On to the next frame where something can begin.
            const std::int64_t step = std::min({static_cast<std::int64_t>(boundary - frame),
                                                static_cast<std::int64_t>(sliceLength - readIndex),
                                                std::max<std::int64_t>(1, std::int64_t{periodLength} - counter_)});
            counter_ += static_cast<std::uint32_t>(step);
            frame += static_cast<std::int32_t>(step);
        }
        lastPosition_ = boundaries.positionOf(block.frames - 1);
    }

private:
    std::int32_t waveLengthIndex_;
    std::int32_t updatePeriodIndex_;
    std::uint32_t counter_ = 0;
    // A new instance starts muted until its first boundary.
    bool muted_ = true;
    double lastPosition_ = -500.0;
};

}  // namespace

PassMarks slicecastPassMarks(const std::vector<vsthost::PlayedBlock>& blocks, float sampleRate, float waveLength,
                             float updatePeriod) {
    PassMarks marks;
    PassTracker tracker(waveLength, updatePeriod);
    for (const vsthost::PlayedBlock& block : blocks) tracker.play(block, sampleRate, marks);
    return marks;
}

}  // namespace slicecastcli
