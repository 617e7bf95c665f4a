// A stereo signal held in memory, and how a host cuts it into blocks.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace pluginhost {

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

}  // namespace pluginhost
