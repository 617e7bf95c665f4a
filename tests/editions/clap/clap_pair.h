// The pair: one script of blocks played through the CLAP edition as a CLAP
// host plays it (a transport per block, parameter and transport events
// inside blocks), and through the VST 2.4 edition as that format allows
// (the block cut at every event, the parameter set or the time record
// changed between the pieces). Played with the same positions, tempi and
// values, the two must agree to the bit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "stereo_blocks.h"
#include "clap_abi.h"
#include "clap_instance.h"
#include "vst_abi.h"

namespace claptest {

struct ParameterChange {
    std::uint32_t frame;
    clap::Id id;
    double plain;
};

struct TransportChange {
    std::uint32_t frame;
    clap::EventTransport transport;
};

struct ScriptedBlock {
    std::uint32_t frames;
    // The block's transport record; none is a null pointer.
    std::optional<clap::EventTransport> transport;
    std::vector<ParameterChange> parameters;
    std::vector<TransportChange> transports;
};

// The time record a VST 2.4 host gives for what a CLAP host sends: the
// position where the beats timeline is flagged, in quarter notes from fixed
// point, and the tempo where it is flagged; no record for none. Bars, loops,
// seconds and the playing flag are left out: the effect hears none of them.
std::optional<VstTimeInfo> vstTimeOf(const clap::EventTransport* transport);

// The VST 2.4 value that plays as the CLAP plain value does.
float vstValueOf(clap::Id id, double plain);

// An instance of the CLAP edition at sampleRate, processing, with blocks of
// 1..maxFrames.
struct ClapRig {
    explicit ClapRig(double sampleRate, std::uint32_t maxFrames = 8192);
    claphost::HostObject host;
    claphost::ClapInstance plugin;
};

pluginhost::StereoBuffer playThroughClap(ClapRig& rig, const std::vector<ScriptedBlock>& script,
                                      const pluginhost::StereoBuffer& input, bool inPlace = false);
pluginhost::StereoBuffer playThroughClap(double sampleRate, const std::vector<ScriptedBlock>& script,
                                      const pluginhost::StereoBuffer& input, bool inPlace = false);
// timeOf gives the record each CLAP transport stands for.
using TimeRule = std::optional<VstTimeInfo> (*)(const clap::EventTransport* transport);
pluginhost::StereoBuffer playThroughVst(double sampleRate, const std::vector<ScriptedBlock>& script,
                                     const pluginhost::StereoBuffer& input, TimeRule timeOf = &vstTimeOf);

// Whether two renders agree to the bit, and where they first do not.
bool sameBits(const pluginhost::StereoBuffer& a, const pluginhost::StereoBuffer& b);
std::string firstDifference(const pluginhost::StereoBuffer& expected, const pluginhost::StereoBuffer& got);

// The number of frames in the script.
std::size_t framesOf(const std::vector<ScriptedBlock>& script);

// Blocks of the given lengths, each with a playing transport at the
// position the previous blocks reached at tempo (in fixed point).
std::vector<ScriptedBlock> rollingBlocks(const std::vector<std::uint32_t>& lengths, double sampleRate, double tempo,
                                         double start);

}  // namespace claptest
