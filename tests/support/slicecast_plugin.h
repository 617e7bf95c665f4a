// The built Slicecast library, loaded once per test process the way a host
// loads it, and small helpers for the tests that drive it.
#pragma once

#include <memory>
#include <string>

#include "block_renderer.h"
#include "host.h"
#include "plugin_instance.h"
#include "plugin_library.h"

namespace testsupport {

const std::string& slicecastPath();
vsthost::PluginLibrary& slicecastLibrary();
VstPluginMainProc slicecastEntry();

// A host with a transport and one Slicecast instance, switched on.
struct SlicecastSession {
    explicit SlicecastSession(double sampleRate = 44100.0, double tempo = 120.0, double start = 0.0,
                              std::int32_t blockSize = 512);

    // Renders input in blocks from the transport's current position.
    vsthost::StereoBuffer render(const vsthost::StereoBuffer& input, const vsthost::BlockSizer& sizer);
    vsthost::StereoBuffer render(const vsthost::StereoBuffer& input, std::int32_t blockSize = 512);

    vsthost::Host host;
    std::unique_ptr<vsthost::PluginInstance> plugin;
};

// Deterministic test signals.
vsthost::StereoBuffer noise(std::size_t frames, unsigned seed = 1);
// left[i] = i + 1, right[i] = -(i + 1): every sample tells where it came from.
vsthost::StereoBuffer ramp(std::size_t frames);

}  // namespace testsupport
