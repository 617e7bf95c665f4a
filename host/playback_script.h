// How a DAW plays a track through an effect, from the first processing
// call to the last: where and how fast its transport runs, whether it loops
// or counts in, which parameters it automates, and what its time record
// tells.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "parameter_automation.h"
#include "tempo_map.h"

namespace pluginhost {

// Reaching end, the transport jumps back to start, count times; the block
// that reaches end is cut there, so the jump falls on the exact frame.
struct LoopRange {
    double start = 0.0;  // quarter notes, before end
    double end = 0.0;
    std::int32_t count = 1;
};

struct PlaybackScript {
    TempoMap tempo;
    // Position of the first input frame, in quarter notes.
    double start = 0.0;
    std::optional<LoopRange> loop;
    // Blocks played with the transport stopped at start before it rolls:
    // fed silence, their output dropped.
    std::int32_t countInBlocks = 0;
    // False for hosts that give tempo and the playing flag but never a
    // valid position (offline editors).
    bool reportsPosition = true;
    // Set once, just before the first block.
    std::vector<std::pair<std::int32_t, float>> settings;
    // At most one per parameter.
    std::vector<ParameterAutomation> automation;
};

}  // namespace pluginhost
