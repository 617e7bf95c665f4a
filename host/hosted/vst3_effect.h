// A VST 3 effect hosted through the format-free interface: the first audio
// processor class of a bundle, with its controller, its parameters by index
// (the program-change parameter apart: as hosts do, it is offered as the
// preset list instead).
//
// Values are plain, as the controller converts them (the step numbers of a
// list, the percentages): the units a VST 3 host shows its users, and the
// ones the LV2 and CLAP editions are given in here, so that a number means
// the same to every edition of an effect that has them. What crosses the
// format is normalized, as it must: every value set is converted by the
// controller, which is also kept in step with it, as hosts keep it while
// they play automation. The transport goes in each block's process
// context; parameter changes go as a point at the first frame of the block
// they take effect in.
#pragma once

#include <string>
#include <vector>

#include "hosted_effect.h"
#include "parameter_changes.h"
#include "vst3_instance.h"
#include "vst3_module.h"

namespace pluginhost {

class Vst3Effect : public HostedEffect {
public:
    // Throws HostError when the bundle does not load, has no audio
    // processor class, or the instance refuses to be created.
    explicit Vst3Effect(const std::string& path);

    vst3host::Vst3Instance& instance() { return instance_; }

    PluginFormat format() const override { return PluginFormat::Vst3; }
    std::string identifier() override;
    std::string location() const override { return module_.path(); }
    std::string name() override { return instance_.processorClass().name; }
    std::vector<EffectFact> facts() override;
    std::int32_t inputCount() const override { return channels(vst3::kInput); }
    std::int32_t outputCount() const override { return channels(vst3::kOutput); }
    void requireRenderable(int channels) const override;
    // Asks for stereo buses, then sets up, activates and starts processing.
    void activate(double sampleRate, std::int32_t maxFrames) override;

    std::int32_t parameterCount() override { return static_cast<std::int32_t>(parameters_.size()); }
    std::string parameterName(std::int32_t index) override;
    // The parameter's units.
    std::string parameterLabel(std::int32_t index) override;
    std::string parameterDisplay(std::int32_t index) override;
    ParameterRange parameterRange(std::int32_t index) override;
    float parameter(std::int32_t index) override { return values_.at(static_cast<std::size_t>(index)); }
    void setParameter(std::int32_t index, float value) override;
    // getParamValueByString, as a plain value.
    std::optional<float> parameterFromText(std::int32_t index, std::string_view text) override;
    // The programs of the list the root unit selects among (IUnitInfo).
    std::vector<std::string> presetNames() override;
    // Through the program-change parameter: set on the controller and sent
    // to the processor with the next block, as hosts change programs; the
    // values are then read back from the controller.
    void loadPreset(std::int32_t index) override;

    void process(const BlockTime& time, float** inputs, float** outputs, std::int32_t frames) override;
    // The context carries the time in doubles, exactly.
    BlockTime told(const BlockTime& time) const override { return time; }
    std::string timeColumns() const override;
    std::string timeFields(const BlockTime& told) const override;

private:
    const vst3::ParameterInfo& info(std::int32_t index) const {
        return parameters_.at(static_cast<std::size_t>(index));
    }
    vst3::ParamValue normalizedOf(std::int32_t index, float plain) const;
    std::int32_t channels(vst3::BusDirection direction) const;

    // Declared in this order so that the instance goes before the module.
    vst3host::Vst3Module module_;
    vst3host::Vst3Instance instance_;
    std::vector<vst3::ParameterInfo> parameters_;
    // The plain values the host holds: read from the controller at first,
    // then as set.
    std::vector<float> values_;
    // Which values changed since the last block, and the changes that tell
    // the processor so.
    std::vector<bool> changed_;
    vst3host::Ref<vst3host::ParameterChanges> changes_;
    // The program-change parameter, where there is one, and the value to
    // send it with the next block.
    std::optional<vst3::ParameterInfo> program_;
    std::optional<vst3::ParamValue> programChange_;
};

}  // namespace pluginhost
