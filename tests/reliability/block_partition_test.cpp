// The output must not depend on how the host cuts the signal into blocks.
// At 32768 Hz and 120 beats per minute a sample is exactly 2^-14 quarter
// notes, so every position is an exact binary fraction whatever the block
// boundaries, and the renders must agree to the bit. That holds as well for
// a host that gives no position, where the effect counts the time itself.
#include <gtest/gtest.h>

#include <random>

#include "reliability_support.h"
#include "slicecast_plugin.h"

namespace {

constexpr double kRate = 32768.0;
constexpr double kTempo = 120.0;
constexpr std::size_t kFrames = 6 * 32768;  // three bars

struct Partition {
    const char* name;
    pluginhost::BlockSizer sizer;
};

pluginhost::BlockSizer randomBlocks(unsigned seed) {
    auto generator = std::make_shared<std::mt19937>(seed);
    return [generator](std::int64_t, std::int64_t) {
        return std::uniform_int_distribution<std::int32_t>(1, 5000)(*generator);
    };
}

// Where the transport starts, and whether the host tells its position.
struct Timeline {
    double start;
    bool positioned;
};

pluginhost::StereoBuffer render(const reliability::Preset& preset, Timeline timeline, const pluginhost::BlockSizer& sizer,
                             bool withEmptyCalls) {
    vst2host::Host host;
    host.transport = pluginhost::Transport(kRate, kTempo, timeline.start);
    host.transport.setKnown(timeline.positioned, true);
    auto instance = reliability::openInstance(host, static_cast<float>(kRate), preset, 8192);
    const auto input = testsupport::noise(kFrames, 3);
    pluginhost::StereoBuffer output;
    float silent[1] = {0.0f};
    float scratch[1] = {0.0f};
    vst2host::renderInBlocks(*instance, host.transport, input, output, sizer, [&](std::int64_t) {
        // Calls of zero (or fewer) frames between blocks must change nothing.
        if (!withEmptyCalls) return;
        reliability::processBlock(*instance, silent, silent, scratch, scratch, 0);
        reliability::processBlock(*instance, silent, silent, scratch, scratch, -5);
    });
    return output;
}

TEST(BlockPartition, EveryPartitionGivesTheSameOutputToTheBit) {
    const std::vector<Partition> partitions{
        {"1", pluginhost::fixedBlocks(1)},       {"17", pluginhost::fixedBlocks(17)},
        {"2027", pluginhost::fixedBlocks(2027)}, {"random a", randomBlocks(11)},
        {"random b", randomBlocks(12)},
    };
    for (const Timeline timeline :
         {Timeline{0.0, true}, Timeline{-4.0, true}, Timeline{7.5, true}, Timeline{0.0, false}}) {
        for (std::size_t p = 0; p < reliability::presets().size(); ++p) {
            const auto& preset = reliability::presets()[p];
            const auto reference = render(preset, timeline, pluginhost::fixedBlocks(4096), false);
            EXPECT_TRUE(reliability::allFinite(reference));
            for (const Partition& partition : partitions) {
                const auto output = render(preset, timeline, partition.sizer, partition.name[0] == 'r');
                EXPECT_TRUE(reliability::bitIdentical(output, reference))
                    << "blocks " << partition.name << ", preset " << p << ", start " << timeline.start << ", positioned "
                    << timeline.positioned << ": "
                    << reliability::firstDifference(output, reference);
            }
        }
    }
}

}  // namespace
