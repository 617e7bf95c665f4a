// The sample loops exist in a baseline and an AVX2 version, one of which an
// instance picks when it is created. Both must give the same bits for every
// shaping rule: the platform decides the speed, never the sound.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "pass_shaping.h"
#include "processor_features.h"

// The helpers serve only processors with an AVX2 loop set.
namespace {

using slicecast::LoopSet;

struct Stereo {
    std::vector<float> left;
    std::vector<float> right;
};

[[maybe_unused]] Stereo randomSignal(std::size_t frames, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
    Stereo signal{std::vector<float>(frames), std::vector<float>(frames)};
    for (std::size_t i = 0; i < frames; ++i) {
        signal.left[i] = sample(random);
        signal.right[i] = sample(random);
    }
    return signal;
}

// One whole pass and a bit, read from index 0, rendered with the loop set.
[[maybe_unused]] Stereo renderWith(LoopSet loops, const slicecast::ShapeParameters& parameters, std::int32_t sliceLength,
                  float gain, const Stereo& capture, const Stereo& input) {
    const slicecast::PassShape shape(parameters, sliceLength, loops);
    Stereo output{std::vector<float>(input.left.size()), std::vector<float>(input.left.size())};
    const slicecast::StereoIo io{input.left.data(), input.right.data(), output.left.data(), output.right.data()};
    slicecast::renderPass(shape, {capture.left.data(), capture.right.data()}, gain, 0, io,
                          static_cast<std::int32_t>(sliceLength));
    return output;
}

[[maybe_unused]] bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

}  // namespace

TEST(LoopSets, AnInstancePicksWhatTheProcessorRuns) {
    const LoopSet picked = slicecast::loopSetForThisProcessor();
#if defined(SLICECAST_AVX2_LOOPS)
    __builtin_cpu_init();
    EXPECT_EQ(picked == LoopSet::avx2, __builtin_cpu_supports("avx2") != 0);
#else
    EXPECT_EQ(picked, LoopSet::baseline);
#endif
}

TEST(LoopSets, BaselineAndAvx2GiveTheSameBits) {
#if !defined(SLICECAST_AVX2_LOOPS)
    GTEST_SKIP() << "this processor family has the baseline loops only";
#else
    if (slicecast::loopSetForThisProcessor() != LoopSet::avx2) GTEST_SKIP() << "this processor has no AVX2";
    // Every rule of a pass (fade-in, fade, gate fade-out, silence after the
    // gate, the dry mix) over slices of odd lengths, so that the vector
    // loops have remainders to finish by scalar code.
    const slicecast::ShapeParameters shapes[] = {
        {0.7f, 0.0f, 1.0f, 1.0f}, {0.33f, 0.9f, 0.5f, 0.6f}, {1.0f, 1.0f, 0.9f, 0.25f}, {0.0f, 0.5f, 1.0f, 1.0f},
    };
    const std::int32_t sliceLength = 1003;
    const Stereo capture = randomSignal(sliceLength, 1);
    const Stereo input = randomSignal(sliceLength, 2);
    for (const auto& parameters : shapes) {
        for (const float gain : {1.0f, 0.37f, 1e-37f}) {
            const Stereo baseline = renderWith(LoopSet::baseline, parameters, sliceLength, gain, capture, input);
            const Stereo avx2 = renderWith(LoopSet::avx2, parameters, sliceLength, gain, capture, input);
            EXPECT_TRUE(sameBits(baseline.left, avx2.left) && sameBits(baseline.right, avx2.right))
                << "rate " << parameters.rate << ", fade " << parameters.fadeOut << ", mix " << parameters.mix
                << ", gain " << gain;
        }
    }
#endif
}
