// The render tool's demo drum loop, made by the same code in the module, so
// that the page offers the very loop `slicecast demo` renders without
// shipping a sound file.
#include <cstdint>

#include "drum_loop.h"
#include "web_interface.h"

namespace {

const slicecastcli::DrumLoop& demoLoop() {
    static const slicecastcli::DrumLoop loop = slicecastcli::makeDrumLoop();
    return loop;
}

}  // namespace

extern "C" {

std::int32_t slicecast_demo_frames() { return static_cast<std::int32_t>(demoLoop().sound.frames()); }

std::int32_t slicecast_demo_sample_rate() { return demoLoop().sampleRate; }

double slicecast_demo_tempo() { return demoLoop().tempo; }

// 0 the left channel, 1 the right.
const float* slicecast_demo_channel(std::int32_t channel) {
    return (channel == 0 ? demoLoop().sound.left : demoLoop().sound.right).data();
}

}  // extern "C"
