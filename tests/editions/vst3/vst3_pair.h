// The pair: one script of blocks played through the VST 3 edition as a VST 3
// host plays it (a process context per block, parameter change points
// inside blocks), and through the VST 2.4 edition as that format allows
// (the block cut at every change point, the parameters set between the
// pieces). Played with the same positions, tempi and values, the two must
// agree to the bit.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "stereo_blocks.h"
#include "vst3_abi.h"
#include "vst3_instance.h"
#include "vst_abi.h"

namespace vst3test {

struct ChangePoint {
    vst3::int32 offset;
    vst3::ParamID id;
    double normalized;
};

struct ScriptedBlock {
    vst3::int32 frames;
    // The block's context; none is a null pointer.
    std::optional<vst3::ProcessContext> context;
    std::vector<ChangePoint> changes;
};

// The time record a VST 2.4 host gives for what a VST 3 host sends: the
// position where projectTimeMusic is flagged, the tempo where it is
// flagged; no record for no context. Bars, cycles, the time signature and
// the playing flag are left out: the effect hears none of them.
std::optional<VstTimeInfo> vstTimeOf(const vst3::ProcessContext* context);
using TimeRule = std::optional<VstTimeInfo> (*)(const vst3::ProcessContext* context);

// The VST 2.4 value that plays as the normalized value does: the same step
// (in the middle of its VST 2.4 band), the same percentage.
float vstValueOf(vst3::ParamID id, double normalized);

// A playing context in 4/4 at position (quarter notes) and tempo.
vst3::ProcessContext playingContext(double position, double tempo);
// Blocks of the given lengths, each with a playing context at the position
// the previous blocks reached at tempo.
std::vector<ScriptedBlock> rollingBlocks(const std::vector<vst3::int32>& lengths, double sampleRate, double tempo,
                                         double start);
std::size_t framesOf(const std::vector<ScriptedBlock>& script);

// An instance of the VST 3 edition at sampleRate, processing, with blocks
// of up to maxFrames.
struct Vst3Rig {
    explicit Vst3Rig(double sampleRate, vst3::int32 maxFrames = 8192);
    vst3host::Vst3Instance effect;
};

pluginhost::StereoBuffer playThroughVst3(Vst3Rig& rig, const std::vector<ScriptedBlock>& script,
                                         const pluginhost::StereoBuffer& input, bool inPlace = false);
pluginhost::StereoBuffer playThroughVst3(double sampleRate, const std::vector<ScriptedBlock>& script,
                                         const pluginhost::StereoBuffer& input, bool inPlace = false);
pluginhost::StereoBuffer playThroughVst(double sampleRate, const std::vector<ScriptedBlock>& script,
                                        const pluginhost::StereoBuffer& input, TimeRule timeOf = &vstTimeOf);

}  // namespace vst3test
