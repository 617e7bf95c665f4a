// Plays a stereo signal through an effect block by block, as a DAW's
// transport does: each block gets the transport's current position, then
// the transport moves on by the block's length.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "plugin_instance.h"
#include "transport.h"

namespace vsthost {

struct StereoBuffer {
    std::vector<float> left;
    std::vector<float> right;

    StereoBuffer() = default;
    explicit StereoBuffer(std::size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    std::size_t frames() const { return left.size(); }
};

// Gives the length of the next block, asked with the block's first frame
// and the frames left; answers are cut to what is left.
using BlockSizer = std::function<std::int32_t(std::int64_t firstFrame, std::int64_t framesLeft)>;

BlockSizer fixedBlocks(std::int32_t blockSize);

// Renders input into output (same length) through the instance. Called
// before each block with the block's first frame, so that a caller can move
// the transport or set parameters between blocks.
void renderInBlocks(PluginInstance& instance, Transport& transport, const StereoBuffer& input,
                    StereoBuffer& output, const BlockSizer& sizer,
                    const std::function<void(std::int64_t firstFrame)>& beforeBlock = {});

}  // namespace vsthost
