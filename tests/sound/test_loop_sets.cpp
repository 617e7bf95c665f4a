// The sample loops exist in a baseline and an AVX2 version, one of which an
// instance picks when it is created. Both must give the same bits for every
// shaping rule: the platform decides the speed, never the sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "pass_shaping.h"
#include "processor_features.h"

namespace {

using slicecast::LoopSet;

struct Stereo {
    std::vector<float> left;
    std::vector<float> right;
};

Stereo randomSignal(std::size_t frames, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
    Stereo signal{std::vector<float>(frames), std::vector<float>(frames)};
    for (std::size_t i = 0; i < frames; ++i) {
        signal.left[i] = sample(random);
        signal.right[i] = sample(random);
    }
    return signal;
}

// Where a rendered stretch stands in its capture.
struct PassCase {
    const char* what;
    std::uint32_t readIndex;
    std::uint32_t writeIndex;
};

// The capture as a pass finds it: its slice filled, the rest silent.
struct CaptureBuffers {
    std::vector<float> left = std::vector<float>(slicecast::kCaptureCapacity);
    std::vector<float> right = std::vector<float>(slicecast::kCaptureCapacity);
};

// frames frames of one pass, rendered with the loop set stretch by stretch
// (each ends where a rule changes or the capture fills up), into separate
// output buffers or in place; the capture afterwards
// holds what the stretches stored. A tangled layout is told to the loops for
// separate buffers, which takes them frame by frame.
Stereo renderWith(LoopSet loops, const slicecast::ShapeParameters& parameters, std::int32_t sliceLength, float gain,
                  PassCase position, CaptureBuffers& capture, const Stereo& input,
                  slicecast::BufferLayout layout = slicecast::BufferLayout::separate) {
    const slicecast::PassShape shape(parameters, sliceLength, loops);
    const auto frames = static_cast<std::int32_t>(input.left.size());
    const bool inPlace = layout == slicecast::BufferLayout::inPlace;
    Stereo output = inPlace ? input : Stereo{std::vector<float>(input.left.size()), std::vector<float>(input.left.size())};
    const slicecast::StereoIo io{inPlace ? output.left.data() : input.left.data(),
                                 inPlace ? output.right.data() : input.right.data(), output.left.data(),
                                 output.right.data()};
    for (std::int32_t done = 0; done < frames;) {
        const slicecast::PassPosition at{position.readIndex + static_cast<std::uint32_t>(done),
                                         position.writeIndex + static_cast<std::uint32_t>(done)};
        const slicecast::StretchLoop loop = slicecast::stretchLoopAt(shape, layout, at);
        const auto stretch = static_cast<std::int32_t>(std::min<std::int64_t>(loop.reach, frames - done));
        loop.kernel(shape, gain, static_cast<std::int32_t>(at.readIndex),
                    slicecast::stretchIoAt(io, done, {capture.left.data(), capture.right.data()}, at), stretch);
        done += stretch;
    }
    return output;
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
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
    // gate, the dry mix) over a slice of odd length, so that the vector
    // loops have remainders to finish by scalar code; read live, from the
    // capture, and past the capacity, where nothing more is stored.
    const slicecast::ShapeParameters shapes[] = {
        {0.7f, 0.0f, 1.0f, 1.0f}, {0.33f, 0.9f, 0.5f, 0.6f}, {1.0f, 1.0f, 0.9f, 0.25f}, {0.0f, 0.5f, 1.0f, 1.0f},
    };
    const std::int32_t sliceLength = 1003;
    const auto capacity = static_cast<std::uint32_t>(slicecast::kCaptureCapacity);
    const PassCase positions[] = {
        {"live pass", 0, 0},
        {"first repeat", 0, 1003},
        {"repeat ending at the capacity", 0, capacity - 1003},
        {"repeat across the capacity", 0, capacity - 500},
        {"repeat past the capacity", 0, capacity + 7},
    };
    const Stereo slice = randomSignal(sliceLength, 1);
    const Stereo input = randomSignal(sliceLength, 2);
    for (const auto& parameters : shapes) {
        for (const float gain : {1.0f, 0.37f, 1e-37f}) {
            for (const PassCase& position : positions) {
                CaptureBuffers baselineCapture, avx2Capture;
                for (CaptureBuffers* capture : {&baselineCapture, &avx2Capture}) {
                    std::copy(slice.left.begin(), slice.left.end(), capture->left.begin());
                    std::copy(slice.right.begin(), slice.right.end(), capture->right.begin());
                }
                const Stereo baseline =
                    renderWith(LoopSet::baseline, parameters, sliceLength, gain, position, baselineCapture, input);
                const Stereo avx2 = renderWith(LoopSet::avx2, parameters, sliceLength, gain, position, avx2Capture, input);
                EXPECT_TRUE(sameBits(baseline.left, avx2.left) && sameBits(baseline.right, avx2.right) &&
                            sameBits(baselineCapture.left, avx2Capture.left) &&
                            sameBits(baselineCapture.right, avx2Capture.right))
                    << position.what << ": rate " << parameters.rate << ", fade " << parameters.fadeOut << ", mix "
                    << parameters.mix << ", gain " << gain;
            }
        }
    }
#endif
}

TEST(LoopSets, TheLivePassSoundsLikeARepeatOfTheSameInput) {
    // The live pass takes its wet signal straight from the input it stores;
    // a repeat reads it back from the capture. Both must sound the same, at
    // every rule of a pass.
    const slicecast::ShapeParameters shapes[] = {
        {0.7f, 0.0f, 1.0f, 1.0f}, {0.33f, 0.9f, 0.5f, 0.6f}, {1.0f, 1.0f, 0.9f, 0.25f}, {0.0f, 0.5f, 1.0f, 1.0f},
    };
    const std::int32_t sliceLength = 1003;
    const Stereo input = randomSignal(sliceLength, 3);
    const LoopSet loops = slicecast::loopSetForThisProcessor();
    for (const auto& parameters : shapes) {
        CaptureBuffers liveCapture, repeatCapture;
        std::copy(input.left.begin(), input.left.end(), repeatCapture.left.begin());
        std::copy(input.right.begin(), input.right.end(), repeatCapture.right.begin());
        const Stereo live = renderWith(loops, parameters, sliceLength, 0.5f, {"live", 0, 0}, liveCapture, input);
        const Stereo repeat =
            renderWith(loops, parameters, sliceLength, 0.5f, {"repeat", 0, 5000}, repeatCapture, input);
        EXPECT_TRUE(sameBits(live.left, repeat.left) && sameBits(live.right, repeat.right))
            << "rate " << parameters.rate << ", fade " << parameters.fadeOut << ", mix " << parameters.mix;
    }
}

TEST(LoopSets, AStretchStoresItsInputUpToTheCapacity) {
    // Where the sample counter stands, the input goes into the capture, as
    // far as the capacity reaches; the slice being read stays as it was.
    const auto capacity = static_cast<std::uint32_t>(slicecast::kCaptureCapacity);
    const std::int32_t sliceLength = 1003;
    const PassCase positions[] = {
        {"live pass", 0, 0},
        {"repeat", 17, 2020},
        {"repeat ending at the capacity", 0, capacity - 1003},
        {"repeat across the capacity", 0, capacity - 500},
        {"repeat past the capacity", 0, capacity + 7},
    };
    const Stereo slice = randomSignal(sliceLength, 4);
    const Stereo input = randomSignal(sliceLength - 17, 5);
    for (const PassCase& position : positions) {
        CaptureBuffers capture;
        std::copy(slice.left.begin(), slice.left.end(), capture.left.begin());
        std::copy(slice.right.begin(), slice.right.end(), capture.right.begin());
        renderWith(slicecast::loopSetForThisProcessor(), {0.6f, 0.5f, 0.7f, 0.8f}, sliceLength, 1.0f, position, capture,
                   input);
        CaptureBuffers expected;
        std::copy(slice.left.begin(), slice.left.end(), expected.left.begin());
        std::copy(slice.right.begin(), slice.right.end(), expected.right.begin());
        for (std::size_t i = 0; i < input.left.size() && position.writeIndex + i < capacity; ++i) {
            expected.left[position.writeIndex + i] = input.left[i];
            expected.right[position.writeIndex + i] = input.right[i];
        }
        EXPECT_TRUE(sameBits(capture.left, expected.left) && sameBits(capture.right, expected.right)) << position.what;
    }
}

TEST(LoopSets, EveryBufferLayoutGivesTheSameBits) {
    // Separate buffers and in place each have loops of their own; tangled
    // buffers take the frame-by-frame loop. All three must sound the same
    // and store the same capture, at every rule of a pass.
    using slicecast::BufferLayout;
    const slicecast::ShapeParameters shapes[] = {
        {0.7f, 0.0f, 1.0f, 1.0f}, {0.33f, 0.9f, 0.5f, 0.6f}, {1.0f, 1.0f, 0.9f, 0.25f}, {0.0f, 0.5f, 1.0f, 1.0f},
    };
    const auto capacity = static_cast<std::uint32_t>(slicecast::kCaptureCapacity);
    const PassCase positions[] = {{"live pass", 0, 0}, {"repeat", 0, 2020}, {"repeat across the capacity", 0, capacity - 500}};
    const std::int32_t sliceLength = 1003;
    const Stereo slice = randomSignal(sliceLength, 6);
    const Stereo input = randomSignal(sliceLength, 7);
    const LoopSet loops = slicecast::loopSetForThisProcessor();
    for (const auto& parameters : shapes) {
        for (const PassCase& position : positions) {
            Stereo outputs[3];
            CaptureBuffers captures[3];
            const BufferLayout layouts[3] = {BufferLayout::separate, BufferLayout::inPlace, BufferLayout::tangled};
            for (int i = 0; i < 3; ++i) {
                std::copy(slice.left.begin(), slice.left.end(), captures[i].left.begin());
                std::copy(slice.right.begin(), slice.right.end(), captures[i].right.begin());
                outputs[i] = renderWith(loops, parameters, sliceLength, 0.37f, position, captures[i], input, layouts[i]);
            }
            for (int i = 1; i < 3; ++i) {
                EXPECT_TRUE(sameBits(outputs[0].left, outputs[i].left) && sameBits(outputs[0].right, outputs[i].right) &&
                            sameBits(captures[0].left, captures[i].left) &&
                            sameBits(captures[0].right, captures[i].right))
                    << (i == 1 ? "in place" : "tangled") << ", " << position.what << ": rate " << parameters.rate
                    << ", fade " << parameters.fadeOut << ", mix " << parameters.mix;
            }
        }
    }
}

TEST(BufferLayouts, TellSeparateInPlaceAndTangledBuffersApart) {
    using slicecast::BufferLayout;
    std::vector<float> memory(64);
    float* const m = memory.data();
    struct LayoutCase {
        const char* what;
        slicecast::StereoIo io;
        std::int32_t frames;
        BufferLayout expected;
    };
    const LayoutCase cases[] = {
        {"four buffers apart", {m, m + 8, m + 16, m + 24}, 8, BufferLayout::separate},
        {"both channels read from one buffer", {m, m, m + 16, m + 24}, 8, BufferLayout::separate},
        {"buffers touching end to start", {m + 8, m + 24, m, m + 16}, 8, BufferLayout::separate},
        {"each output its own input", {m, m + 8, m, m + 8}, 8, BufferLayout::inPlace},
        {"in place, channels overlapping", {m, m + 4, m, m + 4}, 8, BufferLayout::tangled},
        {"output one frame behind its input", {m, m + 16, m + 1, m + 17}, 8, BufferLayout::tangled},
        {"left output over the right input", {m, m + 8, m + 8, m + 16}, 8, BufferLayout::tangled},
        {"two outputs overlapping", {m, m + 8, m + 16, m + 20}, 8, BufferLayout::tangled},
        {"left in place, right output over the left", {m, m + 8, m, m + 4}, 8, BufferLayout::tangled},
        {"only the left channel in place", {m, m + 8, m, m + 16}, 8, BufferLayout::tangled},
    };
    for (const LayoutCase& layoutCase : cases) {
        EXPECT_EQ(slicecast::layoutOf(layoutCase.io, layoutCase.frames), layoutCase.expected) << layoutCase.what;
    }
}
