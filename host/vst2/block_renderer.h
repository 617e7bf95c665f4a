// Plays a stereo signal through a VST 2.4 effect block by block, as a DAW's
// transport does: each block gets the transport's current position, then
// the transport moves on by the block's length.
#pragma once

#include <cstdint>
#include <functional>

#include "plugin_instance.h"
#include "stereo_blocks.h"
#include "transport.h"

namespace vst2host {

// Renders input into output (same length) through the instance. Called
// before each block with the block's first frame, so that a caller can move
// the transport or set parameters between blocks.
void renderInBlocks(PluginInstance& instance, pluginhost::Transport& transport, const pluginhost::StereoBuffer& input,
                    pluginhost::StereoBuffer& output, const pluginhost::BlockSizer& sizer,
                    const std::function<void(std::int64_t firstFrame)>& beforeBlock = {});

}  // namespace vst2host
