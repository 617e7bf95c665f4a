#include "vst3_scenario_player.h"

#include "parameter_tables.h"
#include "parameter_values.h"
#include "process_context.h"

namespace platforms {

double vst3NormalizedOf(VstInt32 index, float value) {
    if (index == 0) {
        return static_cast<double>(slicecast::waveLengthIndexFor(value)) / slicecast::kMaxWaveLengthIndex;
    }
    if (index == 1) {
        return static_cast<double>(slicecast::updatePeriodIndexFor(value)) / slicecast::kMaxUpdatePeriodIndex;
    }
    return value;
}

Vst3ScenarioPlayer::Vst3ScenarioPlayer(const vst3host::Vst3Module& module)
    : effect_(module), pending_(vst3host::makeHostObject<vst3host::ParameterChanges>()) {}

void Vst3ScenarioPlayer::start(float sampleRate) { effect_.start(sampleRate, kLongestScenarioBlock); }

void Vst3ScenarioPlayer::setParameter(VstInt32 index, float value) {
    pending_->add(static_cast<vst3::ParamID>(index), 0, vst3NormalizedOf(index, value));
}

void Vst3ScenarioPlayer::process(const pluginhost::BlockTime& time, const float* inLeft, const float* inRight,
                                 float* outLeft, float* outRight, std::int32_t frames) {
    const vst3::ProcessContext context = vst3host::processContextOf(time);
    float* inputs[2] = {const_cast<float*>(inLeft), const_cast<float*>(inRight)};
    float* outputs[2] = {outLeft, outRight};
    if (effect_.process({inputs, outputs, frames, &context, pending_.get()}) != vst3::kResultOk)
        throw vst3host::HostError("the VST 3 edition failed to process a scenario's block");
    pending_->clear();
}

}  // namespace platforms
