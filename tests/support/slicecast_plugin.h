// The built Slicecast library, loaded once per test process the way a host
// loads it, and small helpers for the tests that drive it.
#pragma once

#include <memory>
#include <string>

#include "block_renderer.h"
#include "host.h"
#include "plugin_instance.h"
#include "shared_library.h"

namespace testsupport {

const std::string& slicecastPath();
pluginhost::SharedLibrary& slicecastLibrary();
VstPluginMainProc slicecastEntry();

// A host with a transport and one Slicecast instance, switched on.
struct SlicecastSession {
    explicit SlicecastSession(double sampleRate = 44100.0, double tempo = 120.0, double start = 0.0,
                              std::int32_t blockSize = 512);

    // Renders input in blocks from the transport's current position.
    pluginhost::StereoBuffer render(const pluginhost::StereoBuffer& input, const pluginhost::BlockSizer& sizer);
    pluginhost::StereoBuffer render(const pluginhost::StereoBuffer& input, std::int32_t blockSize = 512);

    vst2host::Host host;
    std::unique_ptr<vst2host::PluginInstance> plugin;
};

// Deterministic test signals.
pluginhost::StereoBuffer noise(std::size_t frames, unsigned seed = 1);
// left[i] = i + 1, right[i] = -(i + 1): every sample tells where it came from.
pluginhost::StereoBuffer ramp(std::size_t frames);

}  // namespace testsupport
