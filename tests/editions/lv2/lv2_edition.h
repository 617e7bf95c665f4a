// The built LV2 bundle as a host finds it, and the two sides the LV2 tests
// compare: the LV2 edition run block by block with the events a test
// chooses, and the VST 2.4 edition run with the time records that say what
// those events should amount to.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "stereo_blocks.h"
#include "lv2_instance.h"
#include "lv2_plugin.h"
#include "plugin_instance.h"
#include "scripted_time_host.h"

namespace lv2tests {

// Low, so that a few blocks span several update periods.
constexpr double kSampleRate = 8000.0;

const std::string& bundlePath();
const lv2host::Lv2Plugin& slicecastLv2();

// One call of an edition: frames frames, and for LV2 the events of its
// control port.
struct Block {
    std::uint32_t frames;
    std::vector<lv2host::TimePosition> events;
};

// Plays input through the instance, block after block, from frame 0 on.
pluginhost::StereoBuffer renderLv2(lv2host::Lv2Instance& instance, const pluginhost::StereoBuffer& input,
                                const std::vector<Block>& blocks);

// What a VST 2.4 host says of one block: a position and a tempo, or none.
struct VstBlock {
    std::int32_t frames;
    std::optional<double> position;
    std::optional<double> tempo;
};

// The VST 2.4 edition at kSampleRate, its time query answered per block.
class VstReference {
public:
    VstReference();
    void setParameter(std::int32_t index, float value) { plugin_.setParameter(index, value); }
    pluginhost::StereoBuffer render(const pluginhost::StereoBuffer& input, const std::vector<VstBlock>& blocks);

private:
    testsupport::ScriptedTimeHost host_;
    vst2host::PluginInstance plugin_;
};

// time:Position events with the keys a test gives, as Double.
lv2host::TimePosition positionEvent(std::int64_t offset, double quarterNotes, double tempo);

// The index of the first sample whose bits differ, or -1 when none does
// (the buffers must be of the same length).
std::int64_t firstDifference(const pluginhost::StereoBuffer& a, const pluginhost::StereoBuffer& b);

}  // namespace lv2tests
