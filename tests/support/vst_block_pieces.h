// The VST 2.4 edition as the reference for editions whose hosts send events
// inside a block (CLAP, VST 3): one block played in pieces cut where the
// events fall, each piece a call of its own. The pieces after the first are
// answered the block's time without its position, so the effect counts on
// from where the last piece ended with the tempo kept, as the other
// editions do when they cut a block.
#pragma once

#include <cstddef>
#include <optional>

#include "plugin_instance.h"
#include "scripted_time_host.h"
#include "stereo_blocks.h"

namespace testsupport {

class VstBlockPieces {
public:
    // The block from frame first of input and output; time is what the
    // host answers for it (none: no time record).
    VstBlockPieces(vst2host::PluginInstance& plugin, ScriptedTimeHost& host, std::optional<VstTimeInfo> time,
                   const pluginhost::StereoBuffer& input, pluginhost::StereoBuffer& output, std::size_t first);

    // Plays the frames from the last cut up to cut (nothing when cut is not
    // past it).
    void playUntil(std::size_t cut);
    // The time answered from the next piece on.
    void setTime(std::optional<VstTimeInfo> time) { time_ = time; }

private:
    vst2host::PluginInstance& plugin_;
    ScriptedTimeHost& host_;
    std::optional<VstTimeInfo> time_;
    const pluginhost::StereoBuffer& input_;
    pluginhost::StereoBuffer& output_;
    std::size_t first_;
    std::size_t done_ = 0;
};

}  // namespace testsupport
