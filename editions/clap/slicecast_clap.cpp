#include "slicecast_clap.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "block_pieces.h"
#include "bounded_text.h"
#include "clap_block_transport.h"
#include "clap_presets.h"
#include "clap_state.h"
#include "factory_presets.h"

namespace slicecast {

namespace {

// The stereo channels of a port's buffer, or null when it is not one.
float* const* stereoChannels(const clap::AudioBuffer* buffers, std::uint32_t count) noexcept {
    if (buffers == nullptr || count < 1) return nullptr;
    const clap::AudioBuffer& buffer = buffers[0];
    if (buffer.channelCount < 2 || buffer.data32 == nullptr) return nullptr;
    if (buffer.data32[0] == nullptr || buffer.data32[1] == nullptr) return nullptr;
    return buffer.data32;
}

// The event of that type in the core space, copied out (hosts need not
// align events); false for any other event, or one too short to be it.
template <typename Event>
bool readEvent(const clap::EventHeader& header, std::uint16_t type, Event& event) noexcept {
    if (header.spaceId != clap::kCoreEventSpace || header.type != type || header.size < sizeof(Event)) return false;
    std::memcpy(&event, &header, sizeof event);
    return true;
}

}  // namespace

const clap::PluginAudioPorts SlicecastClap::audioPorts{&portCount, &portInfo};
const clap::PluginParams SlicecastClap::params{&parameterCount, &parameterInfo, &parameterValue,
                                               &valueToText,    &textToValue,   &flush};
const clap::PluginState SlicecastClap::state{&saveState, &loadState};
const clap::PluginPresetLoad SlicecastClap::presetLoad{&loadPreset};

const clap::Plugin* SlicecastClap::create(const clap::PluginDescriptor* descriptor, const clap::Host* host) noexcept {
    void* storage = std::calloc(1, sizeof(SlicecastClap));
    if (storage == nullptr) return nullptr;
    return &(new (storage) SlicecastClap(descriptor, host))->plugin_;
}

SlicecastClap::SlicecastClap(const clap::PluginDescriptor* descriptor, const clap::Host* host) noexcept
    : plugin_{descriptor,  this,   &init,    &destroy, &activate,     &deactivate,
              &startProcessing, &stopProcessing, &reset, &process, &getExtension, &onMainThread},
      host_(host) {}

SlicecastClap& SlicecastClap::of(const clap::Plugin* plugin) noexcept {
    return *static_cast<SlicecastClap*>(plugin->pluginData);
}

bool SlicecastClap::init(const clap::Plugin*) { return true; }

void SlicecastClap::destroy(const clap::Plugin* plugin) {
    SlicecastClap* self = &of(plugin);
    self->~SlicecastClap();
    std::free(self);
}

bool SlicecastClap::activate(const clap::Plugin* plugin, double sampleRate, std::uint32_t, std::uint32_t) {
    // Every block length the host may send is fine for the sound, so the
    // bounds need no storage. An activation starts as a new instance does
    // (parameters kept): what was captured at another rate would replay at
    // the wrong speed.
    SlicecastClap& self = of(plugin);
    self.sampleRate_ = static_cast<float>(sampleRate);
    self.sound_.reset();
    return true;
}

void SlicecastClap::deactivate(const clap::Plugin*) {}

bool SlicecastClap::startProcessing(const clap::Plugin*) { return true; }

void SlicecastClap::stopProcessing(const clap::Plugin*) {}

void SlicecastClap::reset(const clap::Plugin* plugin) { of(plugin).sound_.reset(); }

clap::ProcessStatus SlicecastClap::process(const clap::Plugin* plugin, const clap::Process* process) {
    if (process == nullptr) return clap::kProcessError;
    return of(plugin).processBlock(*process);
}

clap::ProcessStatus SlicecastClap::processBlock(const clap::Process& call) noexcept {
    float* const* outputs = stereoChannels(call.audioOutputs, call.audioOutputsCount);
    if (outputs == nullptr) return clap::kProcessError;
    BlockPieces pieces(sound_, sampleRate_, transportOf(call.transport),
                       stereoChannels(call.audioInputs, call.audioInputsCount), outputs,
                       static_cast<std::int32_t>(call.framesCount));
    const SoundParameters* parameters = &currentParameters();

    const clap::InputEvents* events = call.inEvents;
    const std::uint32_t eventCount = events != nullptr && events->size != nullptr ? events->size(events) : 0;
    for (std::uint32_t i = 0; i < eventCount; ++i) {
        const clap::EventHeader* event = events->get(events, i);
        if (event == nullptr) continue;
        // Events out of order or past the end apply at the earliest frame
        // still to come, or after the block.
        clap::EventTransport moved;
        if (readEvent(*event, clap::kEventTransport, moved)) {
            pieces.playUntil(event->time, *parameters);
            pieces.setTransport(transportOf(&moved));
        } else if (clap::EventParamValue change; readEvent(*event, clap::kEventParamValue, change) &&
                                                 ClapParameters::isId(change.paramId)) {
            pieces.playUntil(event->time, *parameters);
            parameters_.set(change.paramId, change.value);
            parameters = &currentParameters(change.paramId);
        }
    }
    pieces.finish(*parameters);
    return clap::kProcessContinue;
}

const SoundParameters& SlicecastClap::currentParameters() noexcept {
    const std::uint32_t revision = parameters_.revision();
    if (revision == mappedRevision_) return mapping_.mapped();
    mappedRevision_ = revision;
    return mapping_.update(parameters_.all());
}

const SoundParameters& SlicecastClap::currentParameters(clap::Id changed) noexcept {
    // The revision moved by one since the last look: the set just made was
    // the only one, so that value alone needs mapping.
    const std::uint32_t revision = parameters_.revision();
    if (revision != mappedRevision_ + 1) return currentParameters();
    mappedRevision_ = revision;
    return mapping_.updateOne(static_cast<ParameterIndex>(changed), parameters_.get(changed));
}

const void* SlicecastClap::getExtension(const clap::Plugin*, const char* id) {
    if (id == nullptr) return nullptr;
    if (std::strcmp(id, clap::kExtAudioPorts) == 0) return &audioPorts;
    if (std::strcmp(id, clap::kExtParams) == 0) return &params;
    if (std::strcmp(id, clap::kExtState) == 0) return &state;
    if (std::strcmp(id, clap::kExtPresetLoad) == 0 || std::strcmp(id, clap::kExtPresetLoadDraft) == 0)
        return &presetLoad;
    return nullptr;
}

void SlicecastClap::onMainThread(const clap::Plugin*) {}

std::uint32_t SlicecastClap::portCount(const clap::Plugin*, bool) { return 1; }

bool SlicecastClap::portInfo(const clap::Plugin*, std::uint32_t index, bool isInput, clap::AudioPortInfo* info) {
    if (index != 0 || info == nullptr) return false;
    std::memset(info, 0, sizeof *info);
    // One id for both directions: each port names the other as its
    // in-place partner.
    info->id = 0;
    copyBoundedText(info->name, isInput ? "Stereo In" : "Stereo Out", clap::kNameSize - 1);
    info->flags = clap::kAudioPortIsMain;
    info->channelCount = 2;
    info->portType = clap::kPortStereo;
    info->inPlacePair = 0;
    return true;
}

std::uint32_t SlicecastClap::parameterCount(const clap::Plugin*) { return kClapParameterCount; }

bool SlicecastClap::parameterInfo(const clap::Plugin*, std::uint32_t index, clap::ParamInfo* info) {
    return info != nullptr && ClapParameters::info(index, *info);
}

bool SlicecastClap::parameterValue(const clap::Plugin* plugin, clap::Id id, double* value) {
    if (value == nullptr || !ClapParameters::isId(id)) return false;
    *value = of(plugin).parameters_.get(id);
    return true;
}

bool SlicecastClap::valueToText(const clap::Plugin*, clap::Id id, double value, char* text, std::uint32_t capacity) {
    return ClapParameters::valueToText(id, value, text, capacity);
}

bool SlicecastClap::textToValue(const clap::Plugin*, clap::Id id, const char* text, double* value) {
    if (value == nullptr) return false;
    const std::optional<double> read = ClapParameters::textToValue(id, text);
    if (!read) return false;
    *value = *read;
    return true;
}

void SlicecastClap::flush(const clap::Plugin* plugin, const clap::InputEvents* in, const clap::OutputEvents*) {
    if (in == nullptr || in->size == nullptr) return;
    SlicecastClap& self = of(plugin);
    const std::uint32_t count = in->size(in);
    for (std::uint32_t i = 0; i < count; ++i) {
        const clap::EventHeader* event = in->get(in, i);
        clap::EventParamValue change;
        if (event != nullptr && readEvent(*event, clap::kEventParamValue, change))
            self.parameters_.set(change.paramId, change.value);
    }
}

bool SlicecastClap::saveState(const clap::Plugin* plugin, const clap::OutputStream* stream) {
    return stream != nullptr && stream->write != nullptr && writeState(*stream, of(plugin).parameters_.all());
}

bool SlicecastClap::loadState(const clap::Plugin* plugin, const clap::InputStream* stream) {
    if (stream == nullptr || stream->read == nullptr) return false;
    const std::optional<PlainValues> values = readState(*stream);
    if (!values) return false;
    // The host asked for the load and reads the values again itself; telling
    // it through params.rescan would count as an edit of its session (a
    // host that opens a saved project would then hold it as modified).
    of(plugin).parameters_.setAll(*values);
    return true;
}

template <typename Extension>
const Extension* SlicecastClap::hostExtension(const char* id, const char* draftId) const noexcept {
    if (host_ == nullptr || host_->getExtension == nullptr) return nullptr;
    const void* found = host_->getExtension(host_, id);
    if (found == nullptr && draftId != nullptr) found = host_->getExtension(host_, draftId);
    return static_cast<const Extension*>(found);
}

bool SlicecastClap::loadPreset(const clap::Plugin* plugin, std::uint32_t locationKind, const char* location,
                               const char* loadKey) {
    SlicecastClap& self = of(plugin);
    const auto* host = self.hostExtension<clap::HostPresetLoad>(clap::kExtPresetLoad, clap::kExtPresetLoadDraft);
    const std::int32_t preset = presetOfLocation(locationKind, location, loadKey);
    if (preset < 0) {
        if (host != nullptr && host->onError != nullptr)
            host->onError(self.host_, locationKind, location, loadKey, 0, "no factory preset has this key");
        return false;
    }
    self.parameters_.setAll(factoryPresets[static_cast<std::size_t>(preset)].plain);
    // Unlike a state the host loads, a preset is a change the host did not
    // make itself: it reads the values again, and records the preset.
    const auto* params = self.hostExtension<clap::HostParams>(clap::kExtParams, nullptr);
    if (params != nullptr && params->rescan != nullptr) params->rescan(self.host_, clap::kParamRescanValues);
    if (host != nullptr && host->loaded != nullptr) host->loaded(self.host_, locationKind, location, loadKey);
    return true;
}

}  // namespace slicecast
