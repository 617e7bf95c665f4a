// A fixed set of seeded scenarios that every platform's build of the effect
// plays, so that their outputs can be compared bit for bit: sample rates
// from 8 kHz to 192 kHz, tempos with fractions, blocks of 1, 17, 512 and
// random lengths, jumps, loops, a stopped transport, pre-roll, parameter
// changes between blocks, and repeats decaying through the subnormal range.
//
// Everything here is computed with integer and basic floating-point
// arithmetic only (no library maths, whose last bits differ between C
// libraries), so the inputs are the same bits everywhere.
#pragma once

#include <string>
#include <vector>

#include "block_renderer.h"
#include "vst_abi.h"

namespace platforms {

struct Scenario {
    std::string name;
    float sampleRate;
    double tempo;
    double startPosition;  // quarter notes; negative for pre-roll
    std::size_t frames;
};

const std::vector<Scenario>& renderScenarios();

// Plays the scenario through a new instance made by entryPoint.
vsthost::StereoBuffer renderScenario(const Scenario& scenario, VstPluginMainProc entryPoint);

// The raw form written and compared: 32-bit little-endian floats, left and
// right interleaved frame by frame.
std::vector<char> interleavedBytes(const vsthost::StereoBuffer& output);

}  // namespace platforms
