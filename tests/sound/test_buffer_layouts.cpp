// Hosts hand the effect separate buffers or process in place; a few lay
// their channels out so that an output shares memory with another input,
// or trails its own input by a frame. Whatever the layout, every frame's
// input pair is read before the frame's output pair is written, so the
// library must give the bits of the sample-by-sample reference run on the
// same layout.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "reference_slice_repeater.h"
#include "scripted_time_host.h"
#include "slicecast_plugin.h"

namespace {

constexpr VstInt32 kFrames = 700;
constexpr int kBlocks = 12;

// Where the four channels start in one shared piece of memory, in frames.
struct Layout {
    const char* what;
    std::size_t inLeft;
    std::size_t inRight;
    std::size_t outLeft;
    std::size_t outRight;
};

struct Channels {
    float* inputs[2];
    float* outputs[2];
};

Channels channelsOf(std::vector<float>& memory, const Layout& layout) {
    float* const base = memory.data();
    return {{base + layout.inLeft, base + layout.inRight}, {base + layout.outLeft, base + layout.outRight}};
}

TEST(BufferLayouts, EveryLayoutMatchesTheReferenceOnTheSameLayout) {
    const Layout layouts[] = {
        {"separate buffers", 0, 1000, 2000, 3000},
        {"in place", 0, 1000, 0, 1000},
        {"one input for both channels", 0, 0, 2000, 3000},
        {"each output one frame behind its input", 0, 1000, 1, 1001},
        {"each output one frame ahead of its input", 1, 1001, 0, 1000},
        {"channels swapped in place", 0, 1000, 1000, 0},
        {"left output over the right input", 0, 1000, 1000, 2000},
        {"in place, channels overlapping", 0, 300, 0, 300},
    };
    // Short slices and quarter-bar periods, shaped and decaying: a block
    // holds captures, pass edges, gates and fades.
    const float settings[6] = {1.0f, 1.0f, 0.6f, 0.5f, 0.7f, 0.8f};
    for (const Layout& layout : layouts) {
        testsupport::ScriptedTimeHost host;
        vst2host::PluginInstance plugin(host, testsupport::slicecastEntry());
        plugin.switchOn(48000.0f, kFrames);
        testsupport::ReferenceSlicecast reference;
        reference.setSampleRate(48000.0f);
        for (VstInt32 index = 0; index < 6; ++index) {
            plugin.setParameter(index, settings[index]);
            reference.setParameter(index, settings[index]);
        }
        VstTimeInfo record{};
        record.tempo = 125.0;
        record.flags = kVstPpqPosValid | kVstTempoValid;
        host.answerWith(&record);

        std::vector<float> library(4000);
        std::vector<float> expected(4000);
        const pluginhost::StereoBuffer noise = testsupport::noise(kFrames * kBlocks, 3);
        for (int block = 0; block < kBlocks; ++block) {
            // The host's fresh input goes where its input channels start.
            for (std::vector<float>* memory : {&library, &expected}) {
                const Channels channels = channelsOf(*memory, layout);
                const auto offset = static_cast<std::size_t>(block) * kFrames;
                std::memcpy(channels.inputs[0], noise.left.data() + offset, sizeof(float) * kFrames);
                if (layout.inRight != layout.inLeft) {
                    std::memcpy(channels.inputs[1], noise.right.data() + offset, sizeof(float) * kFrames);
                }
            }
            Channels channels = channelsOf(library, layout);
            plugin.processReplacing(channels.inputs, channels.outputs, kFrames);
            const Channels referenceChannels = channelsOf(expected, layout);
            reference.process(&record, referenceChannels.inputs[0], referenceChannels.inputs[1],
                              referenceChannels.outputs[0], referenceChannels.outputs[1], kFrames);
            record.ppqPos += kFrames * (125.0 / 60.0) / 48000.0;
            ASSERT_EQ(0, std::memcmp(library.data(), expected.data(), library.size() * sizeof(float)))
                << layout.what << ", block " << block;
        }
    }
}

}  // namespace
