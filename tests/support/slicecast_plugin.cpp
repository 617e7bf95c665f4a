#include "slicecast_plugin.h"

#include <random>

namespace testsupport {

const std::string& slicecastPath() {
    static const std::string path = SLICECAST_PLUGIN_PATH;
    return path;
}

vsthost::PluginLibrary& slicecastLibrary() {
    static vsthost::PluginLibrary library(slicecastPath());
    return library;
}

VstPluginMainProc slicecastEntry() { return slicecastLibrary().entryPoint(); }

SlicecastSession::SlicecastSession(double sampleRate, double tempo, double start, std::int32_t blockSize) {
    host.transport = vsthost::Transport(sampleRate, tempo, start);
    host.blockSize = blockSize;
    plugin = std::make_unique<vsthost::PluginInstance>(host, slicecastEntry());
    plugin->switchOn(static_cast<float>(sampleRate), blockSize);
}

vsthost::StereoBuffer SlicecastSession::render(const vsthost::StereoBuffer& input, const vsthost::BlockSizer& sizer) {
    vsthost::StereoBuffer output;
    vsthost::renderInBlocks(*plugin, host.transport, input, output, sizer);
    return output;
}

vsthost::StereoBuffer SlicecastSession::render(const vsthost::StereoBuffer& input, std::int32_t blockSize) {
    return render(input, vsthost::fixedBlocks(blockSize));
}

vsthost::StereoBuffer noise(std::size_t frames, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
    vsthost::StereoBuffer buffer(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        buffer.left[i] = sample(generator);
        buffer.right[i] = sample(generator);
    }
    return buffer;
}

vsthost::StereoBuffer ramp(std::size_t frames) {
    vsthost::StereoBuffer buffer(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        buffer.left[i] = static_cast<float>(i + 1);
        buffer.right[i] = -static_cast<float>(i + 1);
    }
    return buffer;
}

}  // namespace testsupport
