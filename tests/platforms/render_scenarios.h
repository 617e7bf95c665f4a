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

#include <cstdint>
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

// A new instance of either edition as a scenario plays it: parameters as the
// VST 2.4 edition takes them (0..1), each block with the transport's time
// record as it stands. Each edition turns these into its own terms.
class ScenarioEffect {
public:
    virtual ~ScenarioEffect() = default;
    virtual void setParameter(std::int32_t index, float value) = 0;
    // frames frames of input from frame first on into output.
    virtual void process(const VstTimeInfo& time, const vsthost::StereoBuffer& input, vsthost::StereoBuffer& output,
                         std::size_t first, std::int32_t frames) = 0;
};

vsthost::StereoBuffer renderScenario(const Scenario& scenario, ScenarioEffect& effect);
// Plays the scenario through a new VST 2.4 instance made by entryPoint.
vsthost::StereoBuffer renderScenario(const Scenario& scenario, VstPluginMainProc entryPoint);

// The raw form written and compared: 32-bit little-endian floats, left and
// right interleaved frame by frame.
std::vector<char> interleavedBytes(const vsthost::StereoBuffer& output);

}  // namespace platforms
