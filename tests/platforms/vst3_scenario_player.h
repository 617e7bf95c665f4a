// The scenarios played through a VST 3 edition: the VST 2.4 terms they are
// written in turned into VST 3's. A parameter value becomes the normalized
// value the VST 3 edition plays as the VST 2.4 edition plays the value (a
// step k as k / N, a percentage as it is), sent as a change point at the
// next block's first frame; a time record becomes the block's process
// context.
#pragma once

#include "parameter_changes.h"
#include "render_scenarios.h"
#include "vst3_instance.h"
#include "vst3_module.h"

namespace platforms {

double vst3NormalizedOf(VstInt32 index, float value);

class Vst3ScenarioPlayer final : public ScenarioPlayer {
public:
    explicit Vst3ScenarioPlayer(const vst3host::Vst3Module& module);

    void start(float sampleRate) override;
    void setParameter(VstInt32 index, float value) override;
    void process(const pluginhost::BlockTime& time, const float* inLeft, const float* inRight, float* outLeft,
                 float* outRight, std::int32_t frames) override;

private:
    vst3host::Vst3Instance effect_;
    vst3host::Ref<vst3host::ParameterChanges> pending_;
};

}  // namespace platforms
