// What the page's picture marks over a render, found by the picture
// library as the blocks are played: where Slicecast starts its update
// periods and its passes and where the transport reaches each beat.
#pragma once

#include <cstdint>
#include <vector>

#include "beat_marks.h"
#include "block_time.h"
#include "pass_marks.h"

namespace slicecast {

class WebPicture {
public:
    // waveLength and updatePeriod: the two steps' plain values before the
    // first block.
    WebPicture(float sampleRate, float waveLength, float updatePeriod);

    // A parameter set before the next block.
    void parameterSet(std::int32_t index, float plain);
    // The next block, frames long, played with the transport at time.
    void played(const pluginhost::BlockTime& time, std::int32_t frames);

    const picture::PassMarks& passes() const noexcept { return passes_.marks(); }
    const std::vector<picture::BeatMark>& beats() const noexcept { return beats_; }

private:
    picture::PassTracker passes_;
    std::vector<picture::BeatMark> beats_;
    std::int64_t outputFrame_ = 0;
};

}  // namespace slicecast
