// One effect loaded and hosted, whatever its format: the format's host
// behind the common interface, closed when the session ends.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "stereo_blocks.h"
#include "hosted_effect.h"
#include "scripted_playback.h"

namespace slicecastcli {

class EffectSession {
public:
    // Loads the effect the plug-in argument names (see pluginPath) and
    // creates one instance; throws HostError when it cannot.
    explicit EffectSession(const std::string& plugin);

    pluginhost::HostedEffect& effect() { return *effect_; }
    std::string location() const { return effect_->location(); }

    // Throws unless this host can feed the effect a file of fileChannels
    // channels.
    void requireRenderable(int fileChannels) const { effect_->requireRenderable(fileChannels); }
    // Channels of the rendered sound: the effect's outputs.
    int outputChannels() const { return effect_->outputCount(); }

    // Places the transport at start (quarter notes) at tempo, then makes
    // the effect ready as hosts do before the first block.
    void switchOn(double sampleRate, double tempo, double start, std::int32_t blockSize);
    // Plays inputFrames frames of streams' input through the effect as the
    // script says, in blocks of the sizer's lengths (at most the block size
    // given to switchOn), telling streams of every processing call.
    void play(const pluginhost::PlaybackScript& script, const pluginhost::BlockSizer& sizer, std::int64_t inputFrames,
              pluginhost::PlaybackStreams& streams);

private:
    std::unique_ptr<pluginhost::HostedEffect> effect_;
    pluginhost::Transport transport_;
};

}  // namespace slicecastcli
