// An LV2 plug-in hosted through the format-free interface. The parameters
// are its control inputs in port order, with their plain values; the
// transport goes to its atom input as one time:Position event at the start
// of each block, or none for a host without a position.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "hosted_effect.h"
#include "lv2_instance.h"
#include "lv2_plugin.h"

namespace pluginhost {

class Lv2Effect : public HostedEffect {
public:
    // bundleOrUri as Lv2Plugin takes it; throws lv2host::Lv2HostError when
    // there is no such plug-in.
    explicit Lv2Effect(const std::string& bundleOrUri);

    PluginFormat format() const override { return PluginFormat::Lv2; }
    std::string identifier() override { return plugin_.uri(); }
    std::string location() const override { return location_; }
    std::string name() override { return plugin_.name(); }
    std::vector<EffectFact> facts() override;
    std::int32_t inputCount() const override { return audioPorts(lv2host::PortInfo::Kind::AudioInput); }
    std::int32_t outputCount() const override { return audioPorts(lv2host::PortInfo::Kind::AudioOutput); }
    void requireRenderable(int channels) const override;
    // Instantiates the plug-in at this rate (LV2 fixes the rate at
    // instantiation) with the control values set so far, and activates it.
    void activate(double sampleRate, std::int32_t maxFrames) override;

    std::int32_t parameterCount() override { return static_cast<std::int32_t>(controls_.size()); }
    std::string parameterName(std::int32_t index) override { return port(index).name; }
    // Ports tell no unit to this host.
    std::string parameterLabel(std::int32_t) override { return {}; }
    // The label of the scale point at the value, else the number.
    std::string parameterDisplay(std::int32_t index) override;
    ParameterRange parameterRange(std::int32_t index) override;
    float parameter(std::int32_t index) override { return values_.at(static_cast<std::size_t>(index)); }
    void setParameter(std::int32_t index, float value) override;
    // A scale point's label (any case).
    std::optional<float> parameterFromText(std::int32_t index, std::string_view text) override;
    std::vector<std::string> presetNames() override;
    // Sets the control inputs the preset's state names, as hosts load one.
    void loadPreset(std::int32_t index) override;

    void process(const BlockTime& time, float** inputs, float** outputs, std::int32_t frames) override;
    // Without a position nothing is sent, so the plug-in knows neither
    // position nor tempo.
    BlockTime told(const BlockTime& time) const override;
    std::string timeColumns() const override;
    std::string timeFields(const BlockTime& told) const override;

private:
    const lv2host::PortInfo& port(std::int32_t index) const;
    std::int32_t audioPorts(lv2host::PortInfo::Kind kind) const;

    std::string location_;
    lv2host::Lv2Plugin plugin_;
    // Port indices of the control inputs, and the values the host holds
    // for them (their defaults at first).
    std::vector<std::uint32_t> controls_;
    std::vector<float> values_;
    std::unique_ptr<lv2host::Lv2Instance> instance_;
    // The next block's events, kept to spare an allocation per block.
    std::vector<lv2host::TimePosition> events_;
};

}  // namespace pluginhost
