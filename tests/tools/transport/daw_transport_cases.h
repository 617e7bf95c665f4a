// The render tool's DAW transport cases: tempo maps, loops, count-ins and
// automation played through the recorder effect, each with the block list
// worked out by hand. The same options play Slicecast's editions of every
// format alike (tests/tools/formats).
//
// At 8192 Hz and 120 BPM a quarter note is 4096 frames, so every position
// below is an exact binary fraction (and exact in CLAP's fixed point too).
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "block_list.h"

namespace tooltest {

constexpr int kDawRate = 8192;
constexpr double kDawQuarter = 4096.0;

struct TransportCase {
    const char* name;
    std::size_t frames;
    std::vector<std::string> options;
    // As the recorder's block list has them.
    std::vector<BlockRow> expected;
    // Whether the options name the recorder's own parameters (Level, Steps).
    bool namesRecorderParameters = false;
};

void PrintTo(const TransportCase& test, std::ostream* out);

const std::vector<TransportCase>& dawTransportCases();

}  // namespace tooltest
