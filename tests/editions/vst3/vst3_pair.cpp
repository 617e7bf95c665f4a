#include "vst3_pair.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "parameter_changes.h"
#include "plugin_instance.h"
#include "scripted_time_host.h"
#include "slicecast_plugin.h"
#include "slicecast_vst3_plugin.h"
#include "vst_block_pieces.h"

namespace vst3test {

std::optional<VstTimeInfo> vstTimeOf(const vst3::ProcessContext* context) {
    if (context == nullptr) return std::nullopt;
    VstTimeInfo time{};
    if ((context->state & vst3::kProjectTimeMusicValid) != 0) {
        time.flags |= kVstPpqPosValid;
        time.ppqPos = context->projectTimeMusic;
    }
    if ((context->state & vst3::kTempoValid) != 0) {
        time.flags |= kVstTempoValid;
        time.tempo = context->tempo;
    }
    return time;
}

float vstValueOf(vst3::ParamID id, double normalized) {
    // VST 3's step k of N is k / N, and a value v is step
    // min(N, floor(v x (N + 1))); VST 2.4's step k covers [k / N, (k + 1) / N).
    if (id == 0 || id == 1) {
        const double steps = id == 0 ? 11.0 : 4.0;
        const double step = std::min(steps, std::floor(std::clamp(normalized, 0.0, 1.0) * (steps + 1.0)));
        return static_cast<float>((step + 0.5) / steps);
    }
    return static_cast<float>(normalized);
}

vst3::ProcessContext playingContext(double position, double tempo) {
    vst3::ProcessContext context{};
    context.state = vst3::kPlaying | vst3::kProjectTimeMusicValid | vst3::kTempoValid | vst3::kTimeSigValid;
    context.projectTimeMusic = position;
    context.tempo = tempo;
    context.timeSigNumerator = 4;
    context.timeSigDenominator = 4;
    return context;
}

std::vector<ScriptedBlock> rollingBlocks(const std::vector<vst3::int32>& lengths, double sampleRate, double tempo,
                                         double start) {
    std::vector<ScriptedBlock> script;
    std::int64_t frame = 0;
    for (const vst3::int32 length : lengths) {
        const double position = start + static_cast<double>(frame) * tempo / 60.0 / sampleRate;
        script.push_back({length, playingContext(position, tempo), {}});
        frame += length;
    }
    return script;
}

std::size_t framesOf(const std::vector<ScriptedBlock>& script) {
    std::size_t frames = 0;
    for (const ScriptedBlock& block : script) frames += static_cast<std::size_t>(block.frames);
    return frames;
}

Vst3Rig::Vst3Rig(double sampleRate, vst3::int32 maxFrames) : effect(testsupport::slicecastVst3Module()) {
    effect.start(sampleRate, maxFrames);
}

pluginhost::StereoBuffer playThroughVst3(Vst3Rig& rig, const std::vector<ScriptedBlock>& script,
                                         const pluginhost::StereoBuffer& input, bool inPlace) {
    pluginhost::StereoBuffer output = inPlace ? input : pluginhost::StereoBuffer(input.frames());
    const auto changes = vst3host::makeHostObject<vst3host::ParameterChanges>();
    std::size_t at = 0;
    for (const ScriptedBlock& block : script) {
        changes->clear();
        for (const ChangePoint& change : block.changes) changes->add(change.id, change.offset, change.normalized);
        const pluginhost::StereoBuffer& source = inPlace ? output : input;
        float* inputs[2] = {const_cast<float*>(&source.left[at]), const_cast<float*>(&source.right[at])};
        float* outputs[2] = {&output.left[at], &output.right[at]};
        const vst3::tresult result = rig.effect.process(
            {inputs, outputs, block.frames, block.context ? &*block.context : nullptr, changes.get()});
        if (result != vst3::kResultOk) throw vst3host::HostError("the VST 3 edition refused a block");
        at += static_cast<std::size_t>(block.frames);
    }
    return output;
}

pluginhost::StereoBuffer playThroughVst3(double sampleRate, const std::vector<ScriptedBlock>& script,
                                         const pluginhost::StereoBuffer& input, bool inPlace) {
    Vst3Rig rig(sampleRate);
    return playThroughVst3(rig, script, input, inPlace);
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
        const std::optional<VstTimeInfo> time = timeOf(block.context ? &*block.context : nullptr);
        // Every change point cuts the block; points past its end apply after
        // it, and points at one offset in the order of their parameters.
        std::map<vst3::int32, std::vector<ChangePoint>> cuts;
        for (const ChangePoint& change : block.changes)
            cuts[std::clamp(change.offset, 0, block.frames)].push_back(change);
        cuts[block.frames];
        testsupport::VstBlockPieces pieces(plugin, host, time, input, output, at);
        for (auto& [cut, changes] : cuts) {
            pieces.playUntil(static_cast<std::size_t>(cut));
            std::stable_sort(changes.begin(), changes.end(),
                             [](const ChangePoint& a, const ChangePoint& b) { return a.id < b.id; });
            for (const ChangePoint& change : changes)
                plugin.setParameter(static_cast<VstInt32>(change.id), vstValueOf(change.id, change.normalized));
        }
        at += static_cast<std::size_t>(block.frames);
    }
    return output;
}

}  // namespace vst3test
