// Where Slicecast starts its update periods and its passes over the slice
// in a render's output, found with the effect's own timing rules from the
// blocks as the host played them: each block's time record, the sample
// rate, and the two length parameters in force (set before the render and
// automated during it).
#pragma once

#include <cstdint>
#include <vector>

#include "played_block.h"

namespace slicecastcli {

struct PassMarks {
    // Output frames where a new capture begins (its live pass too).
    std::vector<std::int64_t> periodStarts;
    // Output frames where a repeat of the slice begins; none while the
    // effect is muted because its period ran out before a boundary came.
    std::vector<std::int64_t> passStarts;
};

// waveLength and updatePeriod are the parameters' values (0..1) before the
// first block; a block's parametersSet changes them from that block on.
PassMarks slicecastPassMarks(const std::vector<vsthost::PlayedBlock>& blocks, float sampleRate, float waveLength,
                             float updatePeriod);

}  // namespace slicecastcli
