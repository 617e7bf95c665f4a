// One effect loaded from its library and hosted: the library, the host
// that answers the effect's callbacks with a playing transport, and the
// instance, closed (after being switched off) when the session ends.
#pragma once

#include <cstdint>
#include <string>

#include "block_renderer.h"
#include "host.h"
#include "plugin_instance.h"
#include "plugin_library.h"
#include "scripted_playback.h"

namespace slicecastcli {

class EffectSession {
public:
    // Loads the library and creates one instance; throws HostError when the
    // library does not load, has no entry point or the effect refuses.
    explicit EffectSession(const std::string& libraryPath);

    vsthost::PluginInstance& instance() { return instance_; }
    const std::string& libraryPath() const { return library_.path(); }

    // Throws unless this host can feed the effect a file of fileChannels
    // channels: it calls processReplacing only, hands over one or two
    // inputs and takes one or two outputs.
    void requireRenderable(int fileChannels) const;
    // Channels of the rendered sound: the effect's outputs.
    int outputChannels() const { return instance_.effect()->numOutputs; }

    // Places the transport at start (quarter notes) at tempo, then switches
    // the effect on as hosts do before the first block.
    void switchOn(double sampleRate, double tempo, double start, std::int32_t blockSize);
    // Plays inputFrames frames of streams' input through the effect as the
    // script says, in blocks of the sizer's lengths (at most the block size
    // given to switchOn), telling streams of every processing call.
    void play(const vsthost::PlaybackScript& script, const vsthost::BlockSizer& sizer,
                                           std::int64_t inputFrames, vsthost::PlaybackStreams& streams);

private:
    // Declared in this order so that the instance is closed before the host
    // goes away, and both before the library is unloaded.
    vsthost::PluginLibrary library_;
    vsthost::Host host_;
    vsthost::PluginInstance instance_;
};

}  // namespace slicecastcli
