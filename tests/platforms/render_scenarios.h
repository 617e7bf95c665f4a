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
#include <memory>
#include <string>
#include <vector>

#include "block_time.h"
#include "stereo_blocks.h"
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

// The longest block any scenario plays.
constexpr std::int32_t kLongestScenarioBlock = 3000;

// What a scenario plays through: one plug-in format's edition behind a host
// of that format. Parameters come in the VST 2.4 edition's terms, time in
// the host library's; each player turns them into its format's.
class ScenarioPlayer {
public:
    virtual ~ScenarioPlayer() = default;
    // Once, before the first block.
    virtual void start(float sampleRate) = 0;
    // A parameter value in 0..1, for the blocks from the next one on.
    virtual void setParameter(VstInt32 index, float value) = 0;
    // One block, with the transport at its first frame.
    virtual void process(const pluginhost::BlockTime& time, const float* inLeft, const float* inRight, float* outLeft,
                         float* outRight, std::int32_t frames) = 0;
};

// A VST 2.4 host of a new instance made by entryPoint, answering each
// block's time record as given.
std::unique_ptr<ScenarioPlayer> vstScenarioPlayer(VstPluginMainProc entryPoint);

// Plays the scenario through a new instance made by entryPoint.
pluginhost::StereoBuffer renderScenario(const Scenario& scenario, VstPluginMainProc entryPoint);
// Plays the scenario through the player's new instance.
pluginhost::StereoBuffer renderScenario(const Scenario& scenario, ScenarioPlayer& player);

// The raw form written and compared: 32-bit little-endian floats, left and
// right interleaved frame by frame.
std::vector<char> interleavedBytes(const pluginhost::StereoBuffer& output);

}  // namespace platforms
