#include "clap_effect.h"


#include "clap_transport.h"
#include "exact_text.h"

namespace pluginhost {

namespace {

std::string text(const char* maybe) { return maybe != nullptr ? maybe : ""; }

std::string featuresOf(const clap::PluginDescriptor& descriptor) {
    std::string list;
    for (const char* const* feature = descriptor.features; feature != nullptr && *feature != nullptr; ++feature) {
        list += (list.empty() ? "" : ", ") + std::string(*feature);
    }
    return list.empty() ? "none" : list;
}

std::string flagsOf(std::uint32_t flags) {
    std::string names;
    const std::pair<std::uint32_t, const char*> known[] = {
        {clap::kParamIsStepped, "stepped"},         {clap::kParamIsPeriodic, "periodic"},
        {clap::kParamIsHidden, "hidden"},           {clap::kParamIsReadonly, "read-only"},
        {clap::kParamIsBypass, "bypass"},           {clap::kParamIsAutomatable, "automatable"},
        {clap::kParamIsModulatable, "modulatable"}, {clap::kParamRequiresProcess, "requires process"},
        {clap::kParamIsEnum, "enum"},
    };
    for (const auto& [bit, name] : known) {
        if ((flags & bit) != 0) names += (names.empty() ? "" : ", ") + std::string(name);
    }
    return names.empty() ? "no flags" : names;
}

}  // namespace

clap::EventTransport transportOf(const BlockTime& time) {
    clap::EventTransport transport{};
    transport.header = {sizeof transport, 0, clap::kCoreEventSpace, clap::kEventTransport, 0};
    transport.flags = clap::kTransportHasTimeSignature | (time.playing ? clap::kTransportIsPlaying : 0u) |
                      (time.positionValid ? clap::kTransportHasBeatsTimeline : 0u) |
                      (time.tempoValid ? clap::kTransportHasTempo : 0u);
    transport.songPosBeats = time.positionValid ? claphost::beatTimeOf(time.position) : 0;
    transport.tempo = time.tempoValid ? time.tempo : 0.0;
    transport.tsigNum = static_cast<std::uint16_t>(time.beatsPerBar);
    transport.tsigDenom = static_cast<std::uint16_t>(time.beatUnit);
    return transport;
}

ClapEffect::ClapEffect(const std::string& path) : library_(path), instance_(library_, host_) {
    for (std::uint32_t index = 0; index < instance_.parameterCount(); ++index) {
        const auto parameter = instance_.parameterInfo(index);
        if (!parameter) throw HostError("the CLAP plug-in gives no facts of its parameter " + std::to_string(index));
        parameters_.push_back(*parameter);
        values_.push_back(static_cast<float>(instance_.parameterValue(parameter->id).value_or(parameter->defaultValue)));
        changed_.push_back(false);
    }
}

std::int32_t ClapEffect::channels(bool input) const {
    std::int32_t count = 0;
    for (const clap::AudioPortInfo& port : instance_.audioPorts(input)) count += static_cast<std::int32_t>(port.channelCount);
    return count;
}

std::vector<EffectFact> ClapEffect::facts() {
    const clap::PluginDescriptor& descriptor = instance_.descriptor();
    std::vector<EffectFact> facts{
        {"Id", text(descriptor.id)},
        {"Name", text(descriptor.name)},
        {"Vendor", text(descriptor.vendor)},
        {"Version", text(descriptor.version)},
        {"Description", text(descriptor.description)},
        {"URL", text(descriptor.url)},
        {"Features", featuresOf(descriptor)},
        {"CLAP version", std::to_string(descriptor.clapVersion.major) + "." +
                             std::to_string(descriptor.clapVersion.minor) + "." +
                             std::to_string(descriptor.clapVersion.revision)},
    };
    for (const bool input : {true, false}) {
        const std::vector<clap::AudioPortInfo> ports = instance_.audioPorts(input);
        for (std::size_t i = 0; i < ports.size(); ++i) {
            facts.push_back({std::string(input ? "Audio in " : "Audio out ") + std::to_string(i),
                             std::string(ports[i].name) + ", " + std::to_string(ports[i].channelCount) +
                                 " channels, id " + std::to_string(ports[i].id)});
        }
    }
    for (const clap::ParamInfo& parameter : parameters_) {
        facts.push_back({"Parameter id " + std::to_string(parameter.id),
                         std::string(parameter.name) + ", " + exactText(parameter.minValue) + " to " +
                             exactText(parameter.maxValue) + ", default " + exactText(parameter.defaultValue) + ", " +
                             flagsOf(parameter.flags)});
    }
    return facts;
}

void ClapEffect::requireRenderable(int channels) const {
    const std::vector<clap::AudioPortInfo> inputs = instance_.audioPorts(true);
    const std::vector<clap::AudioPortInfo> outputs = instance_.audioPorts(false);
    const auto stereo = [](const std::vector<clap::AudioPortInfo>& ports) {
        return ports.size() == 1 && ports.front().channelCount == 2;
    };
    if (!stereo(inputs) || !stereo(outputs) || channels < 1 || channels > 2) {
        throw HostError("the CLAP plug-in has " + std::to_string(inputCount()) + " input and " +
                        std::to_string(outputCount()) +
                        " output channels; this host feeds CLAP effects one stereo port each way");
    }
}

void ClapEffect::activate(double sampleRate, std::int32_t maxFrames) {
    if (!instance_.activate(sampleRate, 1, static_cast<std::uint32_t>(maxFrames))) {
        throw HostError("the CLAP plug-in refused to activate at " + exactText(sampleRate) + " Hz");
    }
    if (!instance_.startProcessing()) throw HostError("the CLAP plug-in refused to start processing");
}

std::string ClapEffect::parameterDisplay(std::int32_t index) {
    const float value = parameter(index);
    return instance_.valueToText(info(index).id, value).value_or(exactText(value));
}

ParameterRange ClapEffect::parameterRange(std::int32_t index) {
    const clap::ParamInfo& parameter = info(index);
    const bool stepped = (parameter.flags & clap::kParamIsStepped) != 0;
    return {static_cast<float>(parameter.minValue), static_cast<float>(parameter.maxValue), stepped, stepped};
}

void ClapEffect::setParameter(std::int32_t index, float value) {
    values_.at(static_cast<std::size_t>(index)) = value;
    // The last value set before a block is the one it gets.
    changed_.at(static_cast<std::size_t>(index)) = true;
}

std::optional<float> ClapEffect::parameterFromText(std::int32_t index, std::string_view text) {
    const auto value = instance_.textToValue(info(index).id, std::string(text));
    if (!value) return std::nullopt;
    return static_cast<float>(*value);
}

void ClapEffect::process(const BlockTime& time, float** inputs, float** outputs, std::int32_t frames) {
    const clap::EventTransport transport = transportOf(time);
    events_.clear();
    for (std::size_t i = 0; i < parameters_.size(); ++i) {
        if (changed_[i]) events_.addParamValue(0, parameters_[i].id, values_[i], parameters_[i].cookie);
        changed_[i] = false;
    }
    claphost::StereoBlock block;
    block.inLeft = inputs[0];
    block.inRight = inputs[1];
    block.outLeft = outputs[0];
    block.outRight = outputs[1];
    block.frames = static_cast<std::uint32_t>(frames);
    block.transport = &transport;
    block.events = &events_;
    if (instance_.process(block) == clap::kProcessError) throw HostError("the CLAP plug-in failed to process a block");
}

BlockTime ClapEffect::told(const BlockTime& time) const {
    BlockTime told = time;
    if (time.positionValid) told.position = claphost::positionOfBeatTime(claphost::beatTimeOf(time.position));
    return told;
}

std::string ClapEffect::timeColumns() const { return "transport_flags,song_pos_beats,tempo"; }

std::string ClapEffect::timeFields(const BlockTime& told) const {
    const clap::EventTransport transport = transportOf(told);
    return std::to_string(transport.flags) + ',' + std::to_string(transport.songPosBeats) + ',' +
           exactText(transport.tempo);
}

std::vector<std::string> ClapEffect::presetNames() {
    if (!presets_) presets_ = claphost::indexPresets(library_, instance_.descriptor().id);
    std::vector<std::string> names;
    for (const claphost::IndexedPreset& preset : *presets_) names.push_back(preset.name);
    return names;
}

void ClapEffect::loadPreset(std::int32_t index) {
    presetNames();
    const claphost::IndexedPreset& preset = presets_->at(static_cast<std::size_t>(index));
    const void* found = instance_.extension(clap::kExtPresetLoad);
    if (found == nullptr) found = instance_.extension(clap::kExtPresetLoadDraft);
    const auto* presetLoad = static_cast<const clap::PluginPresetLoad*>(found);
    if (presetLoad == nullptr || presetLoad->fromLocation == nullptr)
        throw HostError("the CLAP plug-in lists presets but cannot load them (no preset-load extension)");
    const char* location = preset.location ? preset.location->c_str() : nullptr;
    if (!presetLoad->fromLocation(&instance_.plugin(), preset.locationKind, location, preset.loadKey.c_str()))
        throw HostError("the CLAP plug-in refused to load the preset '" + preset.name + "'");
    // The plug-in holds the preset's values now: they replace what was
    // waiting to be sent.
    for (std::size_t i = 0; i < parameters_.size(); ++i) {
        values_[i] = static_cast<float>(instance_.parameterValue(parameters_[i].id).value_or(values_[i]));
        changed_[i] = false;
    }
}

}  // namespace pluginhost
