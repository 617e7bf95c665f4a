#include "slicecast_plugin.h"
#include "vst_entry_point.h"

#include <random>

namespace testsupport {

const std::string& slicecastPath() {
    static const std::string path = SLICECAST_PLUGIN_PATH;
    return path;
}

pluginhost::SharedLibrary& slicecastLibrary() {
    static pluginhost::SharedLibrary library(slicecastPath());
    return library;
}

VstPluginMainProc slicecastEntry() { return vst2host::entryPointOf(slicecastLibrary()); }

SlicecastSession::SlicecastSession(double sampleRate, double tempo, double start, std::int32_t blockSize) {
    host.transport = pluginhost::Transport(sampleRate, tempo, start);
    host.blockSize = blockSize;
    plugin = std::make_unique<vst2host::PluginInstance>(host, slicecastEntry());
    plugin->switchOn(static_cast<float>(sampleRate), blockSize);
}

pluginhost::StereoBuffer SlicecastSession::render(const pluginhost::StereoBuffer& input, const pluginhost::BlockSizer& sizer) {
    pluginhost::StereoBuffer output;
    vst2host::renderInBlocks(*plugin, host.transport, input, output, sizer);
    return output;
}

pluginhost::StereoBuffer SlicecastSession::render(const pluginhost::StereoBuffer& input, std::int32_t blockSize) {
    return render(input, pluginhost::fixedBlocks(blockSize));
}

pluginhost::StereoBuffer noise(std::size_t frames, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
    pluginhost::StereoBuffer buffer(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        buffer.left[i] = sample(generator);
        buffer.right[i] = sample(generator);
    }
    return buffer;
}

pluginhost::StereoBuffer ramp(std::size_t frames) {
    pluginhost::StereoBuffer buffer(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        buffer.left[i] = static_cast<float>(i + 1);
        buffer.right[i] = -static_cast<float>(i + 1);
    }
    return buffer;
}

}  // namespace testsupport
