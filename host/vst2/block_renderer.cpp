#include "block_renderer.h"

#include <algorithm>

namespace vst2host {

void renderInBlocks(PluginInstance& instance, pluginhost::Transport& transport, const pluginhost::StereoBuffer& input,
                    pluginhost::StereoBuffer& output, const pluginhost::BlockSizer& sizer,
                    const std::function<void(std::int64_t firstFrame)>& beforeBlock) {
    const auto total = static_cast<std::int64_t>(input.frames());
    output.left.resize(input.frames());
    output.right.resize(input.frames());
    std::int64_t frame = 0;
    while (frame < total) {
        const std::int64_t left = total - frame;
        const auto frames = static_cast<std::int32_t>(std::clamp<std::int64_t>(sizer(frame, left), 1, left));
        if (beforeBlock) beforeBlock(frame);
        // The effect must not write its inputs, so hand it read-only data
        // through the interface's non-const pointers.
        float* inputs[2] = {const_cast<float*>(input.left.data() + frame),
                            const_cast<float*>(input.right.data() + frame)};
        float* outputs[2] = {output.left.data() + frame, output.right.data() + frame};
        instance.processReplacing(inputs, outputs, frames);
        transport.advance(frames);
        frame += frames;
    }
}

}  // namespace vst2host
