#include "clap_pair.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "clap_event_list.h"
#include "clap_transport.h"
#include "plugin_instance.h"
#include "scripted_time_host.h"
#include "slicecast_clap_plugin.h"
#include "slicecast_plugin.h"
#include "vst_block_pieces.h"

namespace claptest {

std::optional<VstTimeInfo> vstTimeOf(const clap::EventTransport* transport) {
    if (transport == nullptr) return std::nullopt;
    VstTimeInfo time{};
    if ((transport->flags & clap::kTransportHasBeatsTimeline) != 0) {
        time.flags |= kVstPpqPosValid;
        time.ppqPos = claphost::positionOfBeatTime(transport->songPosBeats);
    }
    if ((transport->flags & clap::kTransportHasTempo) != 0) {
        time.flags |= kVstTempoValid;
        time.tempo = transport->tempo;
    }
    return time;
}

float vstValueOf(clap::Id id, double plain) {
    // Steps sit in the middle of their band of 0..1, away from the edges
    // where truncation could tip them over.
    if (id == 0) return static_cast<float>((std::clamp(plain, 0.0, 11.0) + 0.5) / 11.0);
    if (id == 1) return static_cast<float>((std::clamp(plain, 0.0, 4.0) + 0.5) / 4.0);
    return static_cast<float>(plain) / 100.0f;
}

ClapRig::ClapRig(double sampleRate, std::uint32_t maxFrames) : plugin(testsupport::slicecastClapLibrary(), host) {
    if (!plugin.activate(sampleRate, 1, maxFrames) || !plugin.startProcessing())
        throw claphost::HostError("the CLAP edition did not start");
}

pluginhost::StereoBuffer playThroughClap(ClapRig& rig, const std::vector<ScriptedBlock>& script,
                                      const pluginhost::StereoBuffer& input, bool inPlace) {
    pluginhost::StereoBuffer output = inPlace ? input : pluginhost::StereoBuffer(input.frames());
    std::size_t at = 0;
    for (const ScriptedBlock& block : script) {
        claphost::EventList events;
        for (const ParameterChange& change : block.parameters) events.addParamValue(change.frame, change.id, change.plain);
        for (const TransportChange& change : block.transports) events.addTransport(change.frame, change.transport);
        const float* inLeft = inPlace ? &output.left[at] : &input.left[at];
        const float* inRight = inPlace ? &output.right[at] : &input.right[at];
        rig.plugin.process({inLeft, inRight, &output.left[at], &output.right[at], block.frames,
                            block.transport ? &*block.transport : nullptr, &events, static_cast<std::int64_t>(at)});
        at += block.frames;
    }
    return output;
}

pluginhost::StereoBuffer playThroughClap(double sampleRate, const std::vector<ScriptedBlock>& script,
                                      const pluginhost::StereoBuffer& input, bool inPlace) {
    ClapRig rig(sampleRate);
    return playThroughClap(rig, script, input, inPlace);
}

pluginhost::StereoBuffer playThroughVst(double sampleRate, const std::vector<ScriptedBlock>& script,
                                     const pluginhost::StereoBuffer& input, TimeRule timeOf) {
    testsupport::ScriptedTimeHost host;
    host.transport = pluginhost::Transport(sampleRate);
    vst2host::PluginInstance plugin(host, testsupport::slicecastEntry());
    plugin.switchOn(static_cast<float>(sampleRate), 8192);
    pluginhost::StereoBuffer output(input.frames());
    std::size_t at = 0;
    for (const ScriptedBlock& block : script) {
        const std::optional<VstTimeInfo> time = timeOf(block.transport ? &*block.transport : nullptr);
        // What changes where: every event cuts the block.
        std::map<std::uint32_t, std::vector<const ParameterChange*>> parameterCuts;
        std::map<std::uint32_t, const TransportChange*> transportCuts;
        for (const ParameterChange& change : block.parameters) parameterCuts[change.frame].push_back(&change);
        for (const TransportChange& change : block.transports) transportCuts[change.frame] = &change;
        std::vector<std::uint32_t> cuts{block.frames};
        for (const auto& [frame, changes] : parameterCuts) cuts.push_back(frame);
        for (const auto& [frame, change] : transportCuts) cuts.push_back(frame);
        std::sort(cuts.begin(), cuts.end());
        testsupport::VstBlockPieces pieces(plugin, host, time, input, output, at);
        for (const std::uint32_t cut : cuts) {
            pieces.playUntil(cut);
            if (const auto found = parameterCuts.find(cut); found != parameterCuts.end()) {
                for (const ParameterChange* change : found->second)
                    plugin.setParameter(static_cast<VstInt32>(change->id), vstValueOf(change->id, change->plain));
                parameterCuts.erase(found);
            }
            if (const auto found = transportCuts.find(cut); found != transportCuts.end()) {
                pieces.setTime(timeOf(&found->second->transport));
                transportCuts.erase(found);
            }
        }
        at += block.frames;
    }
    return output;
}

bool sameBits(const pluginhost::StereoBuffer& a, const pluginhost::StereoBuffer& b) {
    return a.left.size() == b.left.size() && a.right.size() == b.right.size() &&
           std::memcmp(a.left.data(), b.left.data(), a.left.size() * sizeof(float)) == 0 &&
           std::memcmp(a.right.data(), b.right.data(), a.right.size() * sizeof(float)) == 0;
}

std::string firstDifference(const pluginhost::StereoBuffer& expected, const pluginhost::StereoBuffer& got) {
    for (std::size_t i = 0; i < std::min(expected.frames(), got.frames()); ++i) {
        if (std::memcmp(&expected.left[i], &got.left[i], sizeof(float)) != 0 ||
            std::memcmp(&expected.right[i], &got.right[i], sizeof(float)) != 0)
            return "frame " + std::to_string(i) + ": expected " + std::to_string(expected.left[i]) + " / " +
                   std::to_string(expected.right[i]) + ", got " + std::to_string(got.left[i]) + " / " +
                   std::to_string(got.right[i]);
    }
    return "lengths " + std::to_string(expected.frames()) + " and " + std::to_string(got.frames());
}

std::size_t framesOf(const std::vector<ScriptedBlock>& script) {
    std::size_t frames = 0;
    for (const ScriptedBlock& block : script) frames += block.frames;
    return frames;
}

std::vector<ScriptedBlock> rollingBlocks(const std::vector<std::uint32_t>& lengths, double sampleRate, double tempo,
                                         double start) {
    std::vector<ScriptedBlock> script;
    std::uint64_t frame = 0;
    for (const std::uint32_t length : lengths) {
        const double position = start + static_cast<double>(frame) * tempo / 60.0 / sampleRate;
        script.push_back({length, claphost::playingTransport(position, tempo), {}, {}});
        frame += length;
    }
    return script;
}

}  // namespace claptest
