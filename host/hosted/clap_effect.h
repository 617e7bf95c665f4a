// A CLAP plug-in hosted through the format-free interface: the first
// plug-in of a .clap file, its parameters by index with their plain values.
// The transport goes in each block's process->transport with the position
// in the format's fixed point; parameter changes go as PARAM_VALUE events at
// the first frame of the block they take effect in.
#pragma once

#include <string>
#include <vector>

#include "clap_event_list.h"
#include "clap_host_object.h"
#include "clap_instance.h"
#include "clap_library.h"
#include "clap_preset_index.h"
#include "hosted_effect.h"

namespace pluginhost {

class ClapEffect : public HostedEffect {
public:
    // Throws HostError when the file does not load, has no plug-in, or the
    // plug-in refuses to be created.
    explicit ClapEffect(const std::string& path);

    PluginFormat format() const override { return PluginFormat::Clap; }
    std::string identifier() override { return instance_.descriptor().id; }
    std::string location() const override { return library_.path(); }
    std::string name() override { return instance_.descriptor().name; }
    std::vector<EffectFact> facts() override;
    std::int32_t inputCount() const override { return channels(true); }
    std::int32_t outputCount() const override { return channels(false); }
    void requireRenderable(int channels) const override;
    // Activates with blocks of 1 to maxFrames frames and starts processing.
    void activate(double sampleRate, std::int32_t maxFrames) override;

    std::int32_t parameterCount() override { return static_cast<std::int32_t>(parameters_.size()); }
    std::string parameterName(std::int32_t index) override { return info(index).name; }
    // value_to_text gives the unit where a format wants one with the text.
    std::string parameterLabel(std::int32_t) override { return {}; }
    std::string parameterDisplay(std::int32_t index) override;
    ParameterRange parameterRange(std::int32_t index) override;
    float parameter(std::int32_t index) override { return values_.at(static_cast<std::size_t>(index)); }
    void setParameter(std::int32_t index, float value) override;
    // text_to_value.
    std::optional<float> parameterFromText(std::int32_t index, std::string_view text) override;
    // The presets its preset-discovery factory declares for this plug-in.
    std::vector<std::string> presetNames() override;
    // Through the plug-in's preset-load extension, by the preset's location
    // and load key; the values are then read back from the plug-in.
    void loadPreset(std::int32_t index) override;

    void process(const BlockTime& time, float** inputs, float** outputs, std::int32_t frames) override;
    // The position as the fixed point carries it.
    BlockTime told(const BlockTime& time) const override;
    std::string timeColumns() const override;
    std::string timeFields(const BlockTime& told) const override;

private:
    const clap::ParamInfo& info(std::int32_t index) const { return parameters_.at(static_cast<std::size_t>(index)); }
    std::int32_t channels(bool input) const;

    // Declared in this order so that the instance goes before the host
    // object, and both before the library.
    claphost::ClapLibrary library_;
    claphost::HostObject host_;
    claphost::ClapInstance instance_;
    std::vector<clap::ParamInfo> parameters_;
    // The values the host holds: read from the plug-in at first, then as set.
    std::vector<float> values_;
    // Which values changed since the last block, and the events that tell
    // the plug-in so.
    std::vector<bool> changed_;
    claphost::EventList events_;
    // Crawled when first asked for.
    std::optional<std::vector<claphost::IndexedPreset>> presets_;
};

// The transport record a CLAP host hands over for time: the beats timeline
// and tempo where they are known, the position rounded to the fixed point.
clap::EventTransport transportOf(const BlockTime& time);

}  // namespace pluginhost
