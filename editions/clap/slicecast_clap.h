// SlicecastClap: the tempo-locked stereo slice-repeat effect as a CLAP
// plug-in. A thin adapter: it answers the plug-in object's calls and the
// audio-ports, params, state and preset-load extensions, turns the host's
// transport and parameter events into the sound's terms, and cuts each
// block where an event falls so that the frames before it play with the
// values before it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "clap_abi.h"
#include "clap_parameters.h"
#include "plain_parameters.h"
#include "slicecast_sound.h"

namespace slicecast {

class SlicecastClap {
public:
    // A new instance in zero-filled heap storage (the sound's capture
    // buffers are part of it), or null when no storage can be had. The host
    // is told of values only when a preset it asked for set them.
    static const clap::Plugin* create(const clap::PluginDescriptor* descriptor, const clap::Host* host) noexcept;

    static const clap::PluginAudioPorts audioPorts;
    static const clap::PluginParams params;
    static const clap::PluginState state;
    static const clap::PluginPresetLoad presetLoad;

private:
    SlicecastClap(const clap::PluginDescriptor* descriptor, const clap::Host* host) noexcept;
    static SlicecastClap& of(const clap::Plugin* plugin) noexcept;

    static bool SLICECAST_CLAP_CALL init(const clap::Plugin* plugin);
    static void SLICECAST_CLAP_CALL destroy(const clap::Plugin* plugin);
    static bool SLICECAST_CLAP_CALL activate(const clap::Plugin* plugin, double sampleRate, std::uint32_t minFrames,
                                             std::uint32_t maxFrames);
    static void SLICECAST_CLAP_CALL deactivate(const clap::Plugin* plugin);
    static bool SLICECAST_CLAP_CALL startProcessing(const clap::Plugin* plugin);
    static void SLICECAST_CLAP_CALL stopProcessing(const clap::Plugin* plugin);
    static void SLICECAST_CLAP_CALL reset(const clap::Plugin* plugin);
    static clap::ProcessStatus SLICECAST_CLAP_CALL process(const clap::Plugin* plugin, const clap::Process* process);
    static const void* SLICECAST_CLAP_CALL getExtension(const clap::Plugin* plugin, const char* id);
    static void SLICECAST_CLAP_CALL onMainThread(const clap::Plugin* plugin);

    static std::uint32_t SLICECAST_CLAP_CALL portCount(const clap::Plugin* plugin, bool isInput);
    static bool SLICECAST_CLAP_CALL portInfo(const clap::Plugin* plugin, std::uint32_t index, bool isInput,
                                             clap::AudioPortInfo* info);

    static std::uint32_t SLICECAST_CLAP_CALL parameterCount(const clap::Plugin* plugin);
    static bool SLICECAST_CLAP_CALL parameterInfo(const clap::Plugin* plugin, std::uint32_t index,
                                                  clap::ParamInfo* info);
    static bool SLICECAST_CLAP_CALL parameterValue(const clap::Plugin* plugin, clap::Id id, double* value);
    static bool SLICECAST_CLAP_CALL valueToText(const clap::Plugin* plugin, clap::Id id, double value, char* text,
                                                std::uint32_t capacity);
    static bool SLICECAST_CLAP_CALL textToValue(const clap::Plugin* plugin, clap::Id id, const char* text,
                                                double* value);
    static void SLICECAST_CLAP_CALL flush(const clap::Plugin* plugin, const clap::InputEvents* in,
                                          const clap::OutputEvents* out);

    static bool SLICECAST_CLAP_CALL saveState(const clap::Plugin* plugin, const clap::OutputStream* stream);
    static bool SLICECAST_CLAP_CALL loadState(const clap::Plugin* plugin, const clap::InputStream* stream);

    // Sets the six values to a factory preset's; they reach the sound at
    // the next block's start, as values read from a state do.
    static bool SLICECAST_CLAP_CALL loadPreset(const clap::Plugin* plugin, std::uint32_t locationKind,
                                               const char* location, const char* loadKey);
    // The host's extension of that id, or null.
    template <typename Extension>
    const Extension* hostExtension(const char* id, const char* draftId) const noexcept;

    clap::ProcessStatus processBlock(const clap::Process& call) noexcept;
    // The values in the sound's terms, mapped again only when the
    // parameters' revision moved since the last look.
    const SoundParameters& currentParameters() noexcept;
    // The same, just after the processing thread set the value changed.
    const SoundParameters& currentParameters(clap::Id changed) noexcept;

    clap::Plugin plugin_;
    const clap::Host* host_;
    ClapParameters parameters_;
    // Held in single precision, as the sound takes it.
    float sampleRate_ = 0.0f;
    // The values in the sound's terms, mapped again only when one changed,
    // and the parameters' revision they were last looked at in; touched by
    // processing alone.
    PlainParameterMapping mapping_;
    std::uint32_t mappedRevision_ = 0;
    // Touched only by processing, reset and activate.
    SlicecastSound sound_;
};

}  // namespace slicecast
