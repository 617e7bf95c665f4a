// Where Slicecast starts its update periods and its passes over the slice
// in a render's output, found with the effect's own timing rules from the
// blocks as the host played them: each block's time as the effect was told
// it, the sample rate, and the two length parameters in force (set before
// the render and automated during it).
#pragma once

#include <cstdint>
#include <vector>

#include "played_block.h"
#include "slicecast_steps.h"

namespace slicecastcli {

struct PassMarks {
    // Output frames where a new capture begins (its live pass too).
    std::vector<std::int64_t> periodStarts;
    // Output frames where a repeat of the slice begins; none while the
    // effect is muted because its period ran out before a boundary came.
    std::vector<std::int64_t> passStarts;
};

// The effect's state that decides where periods and passes begin, moved on
// block by block as the host played them.
class PassTracker {
public:
    // waveLength and updatePeriod are the parameters' values before the
    // first block, in the edition's units that steps reads; a block's
    // parametersSet changes them from that block on.
    PassTracker(float sampleRate, SlicecastSteps steps, float waveLength, float updatePeriod);

    void play(const pluginhost::PlayedBlock& block);
    const PassMarks& marks() const { return marks_; }

private:
    float sampleRate_;
    SlicecastSteps steps_;
    std::int32_t waveLengthIndex_;
    std::int32_t updatePeriodIndex_;
    std::uint32_t counter_ = 0;
    // A new instance starts muted until its first boundary.
    bool muted_ = true;
    double lastPosition_ = -500.0;
    // Where the effect counts on from when a block brings no position.
    double runningPosition_ = 0.0;
    PassMarks marks_;
};

}  // namespace slicecastcli
