// A CLAP plug-in for the real-host stage: it passes its stereo input
// through and records every activation, reset and processing call (the
// frames, the transport, the input audio) into a file in the folder named by
// SLICECAST_RECORDS, so that what a host gave an effect next to it, and
// what the effect made of it, can be replayed. Not real-time safe (it
// writes a file from the audio thread): a test tool for a dummy audio
// server, never shipped.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "clap_abi.h"
#include "clap_record_format.h"

namespace {

const char* const kFeatures[] = {"audio-effect", "utility", "stereo", nullptr};

const clap::PluginDescriptor kDescriptors[] = {
    {clap::kVersion, recording::kBeforeId, "Slicecast test recorder (before)", "", "", "", "", "1.0.0", "", kFeatures},
    {clap::kVersion, recording::kAfterId, "Slicecast test recorder (after)", "", "", "", "", "1.0.0", "", kFeatures},
};

struct Recorder {
    clap::Plugin plugin;
    std::string file;
    std::FILE* out = nullptr;

    void write(const void* data, std::size_t size) {
        if (out != nullptr) std::fwrite(data, 1, size, out);
    }
    void tag(char tag) { write(&tag, 1); }
};

Recorder& of(const clap::Plugin* plugin) { return *static_cast<Recorder*>(plugin->pluginData); }

bool SLICECAST_CLAP_CALL init(const clap::Plugin*) { return true; }

void SLICECAST_CLAP_CALL destroy(const clap::Plugin* plugin) {
    Recorder* recorder = &of(plugin);
    if (recorder->out != nullptr) std::fclose(recorder->out);
    delete recorder;
}

bool SLICECAST_CLAP_CALL activate(const clap::Plugin* plugin, double rate, std::uint32_t minFrames,
                                  std::uint32_t maxFrames) {
    Recorder& recorder = of(plugin);
    // Opened at the first activation: a host's probe instances leave no file.
    if (recorder.out == nullptr) recorder.out = std::fopen(recorder.file.c_str(), "ab");
    recorder.tag(recording::kActivate);
    recorder.write(&rate, sizeof rate);
    recorder.write(&minFrames, sizeof minFrames);
    recorder.write(&maxFrames, sizeof maxFrames);
    std::fflush(recorder.out);
    return recorder.out != nullptr;
}

void SLICECAST_CLAP_CALL deactivate(const clap::Plugin* plugin) {
    if (of(plugin).out != nullptr) std::fflush(of(plugin).out);
}

bool SLICECAST_CLAP_CALL startProcessing(const clap::Plugin*) { return true; }

void SLICECAST_CLAP_CALL stopProcessing(const clap::Plugin* plugin) {
    if (of(plugin).out != nullptr) std::fflush(of(plugin).out);
}

void SLICECAST_CLAP_CALL reset(const clap::Plugin* plugin) { of(plugin).tag(recording::kReset); }

clap::ProcessStatus SLICECAST_CLAP_CALL process(const clap::Plugin* plugin, const clap::Process* call) {
    Recorder& recorder = of(plugin);
    if (call->audioInputsCount < 1 || call->audioOutputsCount < 1) return clap::kProcessError;
    const clap::AudioBuffer& input = call->audioInputs[0];
    const clap::AudioBuffer& output = call->audioOutputs[0];
    if (input.channelCount < 2 || output.channelCount < 2 || input.data32 == nullptr || output.data32 == nullptr)
        return clap::kProcessError;
    const std::uint32_t frames = call->framesCount;
    recorder.tag(recording::kProcess);
    recorder.write(&frames, sizeof frames);
    const std::uint8_t hasTransport = call->transport != nullptr ? 1 : 0;
    clap::EventTransport transport{};
    if (hasTransport != 0) transport = *call->transport;
    recorder.write(&hasTransport, 1);
    recorder.write(&transport, sizeof transport);
    const std::uint32_t events = call->inEvents != nullptr ? call->inEvents->size(call->inEvents) : 0;
    recorder.write(&events, sizeof events);
    for (std::uint32_t channel = 0; channel < 2; ++channel) {
        recorder.write(input.data32[channel], frames * sizeof(float));
        if (output.data32[channel] != input.data32[channel])
            std::memcpy(output.data32[channel], input.data32[channel], frames * sizeof(float));
    }
    return clap::kProcessContinue;
}

std::uint32_t SLICECAST_CLAP_CALL portCount(const clap::Plugin*, bool) { return 1; }

bool SLICECAST_CLAP_CALL portInfo(const clap::Plugin*, std::uint32_t index, bool, clap::AudioPortInfo* info) {
    if (index != 0) return false;
    std::memset(info, 0, sizeof *info);
    std::strcpy(info->name, "Stereo");
    info->flags = clap::kAudioPortIsMain;
    info->channelCount = 2;
    info->portType = clap::kPortStereo;
    info->inPlacePair = 0;
    return true;
}

const clap::PluginAudioPorts kPorts{&portCount, &portInfo};

const void* SLICECAST_CLAP_CALL getExtension(const clap::Plugin*, const char* id) {
    return id != nullptr && std::strcmp(id, clap::kExtAudioPorts) == 0 ? &kPorts : nullptr;
}

void SLICECAST_CLAP_CALL onMainThread(const clap::Plugin*) {}

std::uint32_t SLICECAST_CLAP_CALL count(const clap::PluginFactory*) { return 2; }

const clap::PluginDescriptor* SLICECAST_CLAP_CALL descriptor(const clap::PluginFactory*, std::uint32_t index) {
    return index < 2 ? &kDescriptors[index] : nullptr;
}

const clap::Plugin* SLICECAST_CLAP_CALL create(const clap::PluginFactory*, const clap::Host*, const char* id) {
    const char* folder = std::getenv("SLICECAST_RECORDS");
    if (folder == nullptr || id == nullptr) return nullptr;
    for (const clap::PluginDescriptor& known : kDescriptors) {
        if (std::strcmp(id, known.id) != 0) continue;
        auto* recorder = new Recorder{{&known, nullptr, &init, &destroy, &activate, &deactivate, &startProcessing,
                                       &stopProcessing, &reset, &process, &getExtension, &onMainThread},
                                      std::string(folder) + "/" +
                                          (&known == &kDescriptors[0] ? recording::kBeforeFile : recording::kAfterFile),
                                      nullptr};
        recorder->plugin.pluginData = recorder;
        return &recorder->plugin;
    }
    return nullptr;
}

const clap::PluginFactory kFactory{&count, &descriptor, &create};

bool SLICECAST_CLAP_CALL entryInit(const char*) { return true; }
void SLICECAST_CLAP_CALL entryDeinit() {}
const void* SLICECAST_CLAP_CALL entryFactory(const char* id) {
    return id != nullptr && std::strcmp(id, clap::kPluginFactoryId) == 0 ? &kFactory : nullptr;
}

}  // namespace

extern "C" SLICECAST_CLAP_EXPORT const clap::PluginEntry clap_entry{clap::kVersion, &entryInit, &entryDeinit,
                                                                    &entryFactory};
