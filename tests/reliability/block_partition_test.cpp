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
    vsthost::BlockSizer sizer;
};

vsthost::BlockSizer randomBlocks(unsigned seed) {
    auto generator = std::make_shared<std::mt19937>(seed);
    return [generator](std::int64_t, std::int64_t) {
        return std::uniform_int_distribution<std::int32_t>(1, 5000)(*generator);
    };
}

// Where the transport starts, and which fields its records flag.
struct Timeline {
    double start;
    VstInt32 flags;
};

vsthost::StereoBuffer render(const reliability::Preset& preset, Timeline timeline, const vsthost::BlockSizer& sizer,
                             bool withEmptyCalls) {
    vsthost::Host host;
    host.transport = vsthost::Transport(kRate, kTempo, timeline.start);
    host.transport.setValidFlags(timeline.flags);
    auto instance = reliability::openInstance(host, static_cast<float>(kRate), preset, 8192);
    const auto input = testsupport::noise(kFrames, 3);
    vsthost::StereoBuffer output;
    float silent[1] = {0.0f};
    float scratch[1] = {0.0f};
    vsthost::renderInBlocks(*instance, host.transport, input, output, sizer, [&](std::int64_t) {
        // Calls of zero (or fewer) frames between blocks must change nothing.
        if (!withEmptyCalls) return;
        reliability::processBlock(*instance, silent, silent, scratch, scratch, 0);
        reliability::processBlock(*instance, silent, silent, scratch, scratch, -5);
    });
    return output;
}

TEST(BlockPartition, EveryPartitionGivesTheSameOutputToTheBit) {
    const std::vector<Partition> partitions{
        {"1", vsthost::fixedBlocks(1)},       {"17", vsthost::fixedBlocks(17)},
        {"2027", vsthost::fixedBlocks(2027)}, {"random a", randomBlocks(11)},
        {"random b", randomBlocks(12)},
    };
    constexpr VstInt32 kPositioned = kVstPpqPosValid | kVstTempoValid;
    for (const Timeline timeline : {Timeline{0.0, kPositioned}, Timeline{-4.0, kPositioned}, Timeline{7.5, kPositioned},
                                    Timeline{0.0, kVstTempoValid}}) {
        for (std::size_t p = 0; p < reliability::presets().size(); ++p) {
            const auto& preset = reliability::presets()[p];
            const auto reference = render(preset, timeline, vsthost::fixedBlocks(4096), false);
            EXPECT_TRUE(reliability::allFinite(reference));
            for (const Partition& partition : partitions) {
                const auto output = render(preset, timeline, partition.sizer, partition.name[0] == 'r');
                EXPECT_TRUE(reliability::bitIdentical(output, reference))
                    << "blocks " << partition.name << ", preset " << p << ", start " << timeline.start << ", flags "
                    << timeline.flags << ": "
                    << reliability::firstDifference(output, reference);
            }
        }
    }
}

}  // namespace
