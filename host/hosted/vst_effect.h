// A VST 2.4 effect hosted through the format-free interface: its library,
// a host that answers its callbacks with the time of the call under way,
// and one instance, closed (after being switched off) when this goes away.
#pragma once

#include <string>

#include "host.h"
#include "hosted_effect.h"
#include "plugin_instance.h"
#include "shared_library.h"

namespace pluginhost {

class VstEffect : public HostedEffect {
public:
    // Throws HostError when the library does not load, has no entry point
    // or the effect refuses.
    explicit VstEffect(const std::string& libraryPath);

    vst2host::PluginInstance& instance() { return instance_; }

    PluginFormat format() const override { return PluginFormat::Vst2; }
    std::string identifier() override;
    std::string location() const override { return library_.path(); }
    std::string name() override { return instance_.effectName(); }
    std::vector<EffectFact> facts() override;
    std::int32_t inputCount() const override { return instance_.effect()->numInputs; }
    std::int32_t outputCount() const override { return instance_.effect()->numOutputs; }
    void requireRenderable(int channels) const override;
    void activate(double sampleRate, std::int32_t maxFrames) override;

    std::int32_t parameterCount() override { return instance_.effect()->numParams; }
    std::string parameterName(std::int32_t index) override { return instance_.parameterName(index); }
    std::string parameterLabel(std::int32_t index) override { return instance_.parameterLabel(index); }
    std::string parameterDisplay(std::int32_t index) override { return instance_.parameterDisplay(index); }
    ParameterRange parameterRange(std::int32_t index) override;
    float parameter(std::int32_t index) override { return instance_.getParameter(index); }
    void setParameter(std::int32_t index, float value) override { instance_.setParameter(index, value); }
    // The format reads no texts: the render tool finds a text among the
    // displays of values from 0 to 1.
    std::optional<float> parameterFromText(std::int32_t, std::string_view) override { return std::nullopt; }
    // A VST 2.4 effect's programs are not offered as presets.
    std::vector<std::string> presetNames() override { return {}; }
    void loadPreset(std::int32_t) override { throw HostError("a VST 2.4 plug-in offers no presets to load here"); }

    void process(const BlockTime& time, float** inputs, float** outputs, std::int32_t frames) override;
    BlockTime told(const BlockTime& time) const override { return time; }
    std::string timeColumns() const override;
    std::string timeFields(const BlockTime& told) const override;

private:
    // Answers audioMasterGetTime with the record of the call under way.
    class TimeHost : public vst2host::Host {
    public:
        VstIntPtr answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                         float opt) override;
        VstTimeInfo record{};
    };

    // Declared in this order so that the instance is closed before the host
    // goes away, and both before the library is unloaded.
    SharedLibrary library_;
    TimeHost host_;
    vst2host::PluginInstance instance_;
};

}  // namespace pluginhost
