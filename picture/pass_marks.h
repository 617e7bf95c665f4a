// Where Slicecast starts its update periods and its passes over the slice
// in the output, found with the sound's own timing rules (its block plan and
// period boundaries) from the blocks as they were played: each block's time
// as the sound was told it, the sample rate, and the two length steps in
// force.
#pragma once

#include <cstdint>
#include <vector>

#include "picture_block.h"

namespace picture {

struct PassMarks {
    // Output frames where a new capture begins (its live pass too).
    std::vector<std::int64_t> periodStarts;
    // Output frames where a repeat of the slice begins; none while the
    // sound is muted because its period ran out before a boundary came.
    std::vector<std::int64_t> passStarts;
};

// The sound's state that decides where periods and passes begin, moved on
// block by block as they were played.
class PassTracker {
public:
    // The step numbers of WaveLength and UpdatePeriod before the first block.
    PassTracker(float sampleRate, std::int32_t waveLengthStep, std::int32_t updatePeriodStep);

    // A step changed before the next block.
    void setWaveLength(std::int32_t step) { waveLengthIndex_ = step; }
    void setUpdatePeriod(std::int32_t step) { updatePeriodIndex_ = step; }

    void play(const PictureBlock& block);
    const PassMarks& marks() const { return marks_; }

private:
    float sampleRate_;
    std::int32_t waveLengthIndex_;
    std::int32_t updatePeriodIndex_;
    std::uint32_t counter_ = 0;
    // A new instance starts muted until its first boundary.
    bool muted_ = true;
    double lastPosition_ = -500.0;
    // Where the sound counts on from when a block brings no position.
    double runningPosition_ = 0.0;
    PassMarks marks_;
};

}  // namespace picture
