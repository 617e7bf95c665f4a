// What a host did in one processing call, kept so that a render can be
// told, drawn or replayed exactly afterwards.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "block_time.h"

namespace pluginhost {

// One processing call as the host played it.
struct PlayedBlock {
    // Count-in blocks are played but not written: their outputFrame is
    // kNotWritten, and they are fed silence (inputFrame is kNotWritten too).
    static constexpr std::int64_t kNotWritten = -1;

    std::int64_t outputFrame = 0;  // first frame of this block in the output
    std::int32_t frames = 0;
    BlockTime time;  // the transport as the effect was told it
    // Set just before it: index, value in the effect's own units.
    std::vector<std::pair<std::int32_t, float>> parametersSet;
    std::int64_t inputFrame = 0;  // first input frame fed to it (the input follows the transport)

    bool written() const { return outputFrame != kNotWritten; }
};

}  // namespace pluginhost
