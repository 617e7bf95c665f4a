// Subnormal floats: processing flushes them to zero for the length of each
// call and gives the host its floating-point state back. The output then
// differs from the plain arithmetic only where that arithmetic gives a
// subnormal.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "reference_slice_repeater.h"
#include "slicecast_plugin.h"

#include "scoped_no_denormals.h"

namespace {

using testsupport::ReferenceSlicecast;

bool isSubnormal(float value) { return std::fpclassify(value) == FP_SUBNORMAL; }

// 48 kHz, 120 BPM, 1/64-bar slices, a capture every 4 bars: 256 repeats per
// period, each at half the gain of the one before, so the gain passes below
// the smallest normal float after about 126 of them.
constexpr float kSampleRate = 48000.0f;
constexpr std::size_t kPeriodFrames = 4 * 4 * 24000;
constexpr float kDecayIntoSubnormals[6] = {1.0f, 0.0f, 0.7f, 0.0f, 0.5f, 1.0f};

struct Render {
    pluginhost::StereoBuffer library;
    pluginhost::StereoBuffer plain;  // the reference, subnormals kept
};

Render renderBoth(const pluginhost::StereoBuffer& input, const float (&settings)[6]) {
    testsupport::SlicecastSession session(kSampleRate, 120.0, 0.0, 512);
    ReferenceSlicecast reference(ReferenceSlicecast::Subnormals::Kept);
    reference.setSampleRate(kSampleRate);
    for (VstInt32 index = 0; index < 6; ++index) {
        session.plugin->setParameter(index, settings[index]);
        reference.setParameter(index, settings[index]);
    }
    Render render;
    render.plain = pluginhost::StereoBuffer(input.frames());
    vst2host::renderInBlocks(*session.plugin, session.host.transport, input, render.library, pluginhost::fixedBlocks(512),
                            [&](std::int64_t frame) {
                                const auto start = static_cast<std::size_t>(frame);
                                const auto frames = static_cast<VstInt32>(std::min<std::size_t>(512, input.frames() - start));
                                reference.process(session.host.timeInfo(), input.left.data() + start,
                                                  input.right.data() + start, render.plain.left.data() + start,
                                                  render.plain.right.data() + start, frames);
                            });
    return render;
}

// Every output sample is the plain arithmetic's, bit for bit, except where
// that is subnormal: there the library gives zero. Answers how many
// subnormals the plain arithmetic gave.
std::size_t expectFlushedOnlyWhereSubnormal(const Render& render) {
    std::size_t subnormals = 0;
    for (const auto& [library, plain] : {std::pair{&render.library.left, &render.plain.left},
                                         std::pair{&render.library.right, &render.plain.right}}) {
        for (std::size_t i = 0; i < plain->size(); ++i) {
            const float got = (*library)[i];
            const float expected = (*plain)[i];
            EXPECT_FALSE(isSubnormal(got)) << "frame " << i;
            if (isSubnormal(expected)) {
                ++subnormals;
                EXPECT_EQ(got, 0.0f) << "frame " << i;
            } else {
                EXPECT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << "frame " << i << ": " << got << " vs " << expected;
            }
            if (testing::Test::HasFailure()) return subnormals;
        }
    }
    return subnormals;
}

TEST(FloatingPoint, DecayIntoTheSubnormalRangeFlushesOnlyWhatWouldBeSubnormal) {
    const auto input = testsupport::noise(kPeriodFrames + 4096, 31);
    const auto render = renderBoth(input, kDecayIntoSubnormals);
    EXPECT_GT(expectFlushedOnlyWhereSubnormal(render), 1000u) << "the scenario no longer reaches the subnormal range";
}

TEST(FloatingPoint, SubnormalInputCountsAsZero) {
    auto input = testsupport::noise(20000, 32);
    for (auto* channel : {&input.left, &input.right}) {
        for (float& sample : *channel) sample *= 1e-39f;
    }
    // Half dry, half processed.
    const float halfMix[6] = {5.0f / 11.0f, 0.75f, 0.7f, 0.0f, 1.0f, 0.5f};
    const auto render = renderBoth(input, halfMix);
    EXPECT_GT(expectFlushedOnlyWhereSubnormal(render), 1000u);
}

#ifdef SLICECAST_FLOAT_CONTROL

using slicecast::FloatControl;
using slicecast::readFloatControl;
using slicecast::writeFloatControl;

// Records the floating-point control state the host sees while answering
// the time query.
struct ControlRecordingHost : vst2host::Host {
    FloatControl seenDuringTimeQuery = 0;
    VstIntPtr answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                     float opt) override {
        if (opcode == audioMasterGetTime) seenDuringTimeQuery = readFloatControl();
        return Host::answer(effect, opcode, index, value, ptr, opt);
    }
};

// The states a host may call with: its register's usual value, already
// flushing, rounding toward zero, and (x86) flushing results only.
#if defined(__aarch64__)
// FPCR: FZ is bit 24, the rounding mode bits 22 and 23 (3: toward zero).
// The register holds no exception flags.
constexpr FloatControl kControlBits = ~FloatControl{0};
const struct {
    const char* what;
    FloatControl state;
} kCallers[] = {
    {"the default state", 0},
    {"flushing already", FloatControl{1} << 24},
    {"rounding toward zero", FloatControl{3} << 22},
    {"flushing and rounding toward zero", (FloatControl{1} << 24) | (FloatControl{3} << 22)},
};
#else
// MXCSR without its six exception flags, which any arithmetic may raise.
constexpr FloatControl kControlBits = ~0x3Fu;
const struct {
    const char* what;
    FloatControl state;
} kCallers[] = {
    {"the default state", 0x1F80},
    {"flushing already", 0x1F80 | 0x8040},
    {"rounding toward zero", 0x7F80},
    {"flush to zero only", 0x9F80},
};
#endif

TEST(FloatingPoint, TheCallersFloatingPointControlIsRestored) {
    const FloatControl original = readFloatControl();
    const auto input = testsupport::noise(512, 33);
    pluginhost::StereoBuffer output(512);
    for (const auto& caller : kCallers) {
        ControlRecordingHost host;
        host.transport = pluginhost::Transport(kSampleRate, 120.0, 0.0);
        vst2host::PluginInstance plugin(host, testsupport::slicecastEntry());
        plugin.switchOn(kSampleRate, 512);
        for (VstInt32 index = 0; index < 6; ++index) plugin.setParameter(index, kDecayIntoSubnormals[index]);
        for (int block = 0; block < 800; ++block) {
            float* inputs[2] = {const_cast<float*>(input.left.data()), const_cast<float*>(input.right.data())};
            float* outputs[2] = {output.left.data(), output.right.data()};
            writeFloatControl(caller.state);
            plugin.processReplacing(inputs, outputs, 512);
            const FloatControl after = readFloatControl();
            writeFloatControl(original);
            ASSERT_EQ(after & kControlBits, caller.state & kControlBits) << caller.what << ", block " << block;
            ASSERT_EQ(host.seenDuringTimeQuery & kControlBits, caller.state & kControlBits)
                << caller.what << ": the host was called with another state";
            host.transport.advance(512);
        }
    }
}

#endif

}  // namespace
