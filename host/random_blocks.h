// Block lengths that vary from call to call, as some hosts send them.
#pragma once

#include <cstdint>

#include "stereo_blocks.h"

namespace pluginhost {

// Lengths drawn evenly from minFrames..maxFrames (both included) by a
// seeded SplitMix64 sequence, the same on every machine and compiler. Each
// copy of the sizer starts the sequence afresh.
BlockSizer randomBlocks(std::int32_t minFrames, std::int32_t maxFrames, std::uint64_t seed);

}  // namespace pluginhost
