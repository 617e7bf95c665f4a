// What the page's picture marks over a render, found by the render tool's
// own picture rules as the blocks are played: where Slicecast starts its
// update periods and its passes (PassTracker, with the LV2 edition's plain
// steps) and where the transport reaches each beat (addBeats).
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "beat_grid.h"
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

    const slicecastcli::PassMarks& passes() const noexcept { return passes_.marks(); }
    const std::vector<slicecastcli::BeatMark>& beats() const noexcept { return beats_; }

private:
    slicecastcli::PassTracker passes_;
    std::vector<slicecastcli::BeatMark> beats_;
    std::vector<std::pair<std::int32_t, float>> parametersSet_;
    std::int64_t outputFrame_ = 0;
};

}  // namespace slicecast
