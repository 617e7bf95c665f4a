// Numeric hygiene: whatever the input was (noise, silence, impulses, DC,
// the smallest floats, infinities, NaN), once it has left the capture
// buffers it must leave no trace; and "Mix" 0 is the input itself.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include "reliability_support.h"
#include "slicecast_plugin.h"

namespace {

constexpr double kRate = 44100.0;
constexpr VstInt32 kBlock = 512;
constexpr std::size_t kSignalFrames = 2 * 88200;   // two bars at 120
constexpr std::size_t kSilentBlocks = 256;
// Every preset's update period is at most four bars but the ones used here
// are at most one (88200 frames); from one period after the signal ends on,
// only silence can still be in the capture buffers.
constexpr std::size_t kPlayedOut = kSignalFrames + 88200 + 1;

struct Signal {
    const char* name;
    std::function<float(std::size_t frame, int channel)> sample;
};

const std::vector<Signal>& signals() {
    constexpr float inf = std::numeric_limits<float>::infinity();
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    static const std::vector<Signal> all{
        {"noise", [](std::size_t i, int c) { return float((i * 2654435761u + c) % 2001) / 1000.0f - 1.0f; }},
        {"silence", [](std::size_t, int) { return 0.0f; }},
        {"negative zero", [](std::size_t, int) { return -0.0f; }},
        {"impulses", [](std::size_t i, int c) { return i % 7919 == 0 ? (c == 0 ? 1.0f : -1.0f) : 0.0f; }},
        {"DC", [](std::size_t, int c) { return c == 0 ? 0.5f : -0.25f; }},
        {"smallest normal", [](std::size_t i, int) { return (i % 2 ? -1.0f : 1.0f) * std::numeric_limits<float>::min(); }},
        {"subnormals", [](std::size_t i, int) { return float(i % 5) * std::numeric_limits<float>::denorm_min(); }},
        {"infinities", [](std::size_t i, int c) { return (i + c) % 3 == 0 ? inf : ((i + c) % 3 == 1 ? -inf : 0.5f); }},
        {"NaN", [](std::size_t i, int) { return i % 11 == 0 ? nan : 0.25f; }},
        {"huge", [](std::size_t i, int) { return i % 2 ? std::numeric_limits<float>::max() : -std::numeric_limits<float>::max(); }},
    };
    return all;
}

pluginhost::StereoBuffer signalThenSilence(const Signal& signal) {
    pluginhost::StereoBuffer buffer(kSignalFrames + kSilentBlocks * kBlock);
    for (std::size_t i = 0; i < kSignalFrames; ++i) {
        buffer.left[i] = signal.sample(i, 0);
        buffer.right[i] = signal.sample(i, 1);
    }
    return buffer;
}

// Presets with update periods of at most one bar.
const std::array<reliability::Preset, 3> kPresets{{
    {5.0f / 11.0f, 0.75f, 0.7f, 0.0f, 1.0f, 1.0f},
    {4.0f / 11.0f, 0.5f, 0.6f, 0.5f, 0.7f, 0.8f},
    {1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f},
}};

pluginhost::StereoBuffer render(const pluginhost::StereoBuffer& input, const reliability::Preset& preset) {
    vst2host::Host host;
    host.transport = pluginhost::Transport(kRate, 120.0, 0.0);
    auto instance = reliability::openInstance(host, static_cast<float>(kRate), preset, kBlock);
    pluginhost::StereoBuffer output;
    vst2host::renderInBlocks(*instance, host.transport, input, output, pluginhost::fixedBlocks(kBlock));
    return output;
}

TEST(NumericHygiene, SilenceAfterAnyInputGivesExactZerosOncePlayedOut) {
    for (const Signal& signal : signals()) {
        for (std::size_t p = 0; p < kPresets.size(); ++p) {
            const auto output = render(signalThenSilence(signal), kPresets[p]);
            EXPECT_LE(reliability::silentFrom(output), kPlayedOut)
                << signal.name << ", preset " << p << ": output not yet exactly silent at frame "
                << reliability::silentFrom(output) - 1;
        }
    }
}

TEST(NumericHygiene, FiniteInputGivesFiniteOutput) {
    for (const Signal& signal : signals()) {
        const auto input = signalThenSilence(signal);
        if (!reliability::allFinite(input) || signal.name == std::string("huge")) continue;
        for (std::size_t p = 0; p < kPresets.size(); ++p) {
            EXPECT_TRUE(reliability::allFinite(render(input, kPresets[p]))) << signal.name << ", preset " << p;
        }
    }
}

TEST(NumericHygiene, MixZeroGivesTheInputBackBitForBit) {
    for (const Signal& signal : signals()) {
        const auto input = signalThenSilence(signal);
        // With a non-finite wet signal, 0 x wet is NaN, which the mix
        // formula adds to the dry signal: only input whose processed signal
        // stays finite can come back. The largest floats overflow in the
        // fade-in (11 x FLT_MAX), so they belong with the infinities.
        if (!reliability::allFinite(input) || signal.name == std::string("huge")) continue;
        for (auto preset : kPresets) {
            preset[5] = 0.0f;
            const auto output = render(input, preset);
            if (signal.name == std::string("negative zero")) {
                // -0 + (+0 x 0) rounds to +0: equal in value, not in bits.
                EXPECT_EQ(reliability::silentFrom(output), 0u);
                continue;
            }
            if (signal.name == std::string("subnormals")) {
                // Flushing subnormals to zero (for speed) may turn them to 0
                // on their way through; anything else must come back as is.
                for (std::size_t i = 0; i < input.frames(); ++i) {
                    ASSERT_TRUE(output.left[i] == input.left[i] || output.left[i] == 0.0f) << "frame " << i;
                    ASSERT_TRUE(output.right[i] == input.right[i] || output.right[i] == 0.0f) << "frame " << i;
                }
                continue;
            }
            EXPECT_TRUE(reliability::bitIdentical(output, input))
                << signal.name << ": " << reliability::firstDifference(output, input);
        }
    }
}

bool isSubnormal(float value) { return std::fpclassify(value) == FP_SUBNORMAL; }

TEST(NumericHygiene, NoSubnormalOutput) {
    // Long decays drive the repeat gain through the subnormal range, where
    // arithmetic on many processors is a hundred times slower: processing
    // flushes them to zero.
    for (const Signal& signal : signals()) {
        const auto input = signalThenSilence(signal);
        if (!reliability::allFinite(input)) continue;
        const reliability::Preset longDecay{1.0f, 0.0f, 1.0f, 0.0f, 0.5f, 1.0f};
        const auto output = render(input, longDecay);
        for (std::size_t i = 0; i < output.frames(); ++i) {
            ASSERT_FALSE(isSubnormal(output.left[i]) || isSubnormal(output.right[i]))
                << signal.name << ": subnormal output at frame " << i;
        }
    }
}

}  // namespace
