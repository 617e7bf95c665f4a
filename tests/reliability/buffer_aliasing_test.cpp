// Hosts hand the effect separate or shared memory for inputs and outputs;
// the output must not depend on which, and out of place the effect must
// leave its inputs, and everything around the buffers, untouched.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "reliability_support.h"
#include "slicecast_plugin.h"

namespace {

constexpr double kRate = 48000.0;
constexpr std::size_t kFrames = 5 * 48000;
constexpr std::size_t kGuard = 64;
constexpr float kGuardValue = 1234.5f;

// A channel with a guard zone on each side, to catch writes past the frames
// the host handed over.
struct GuardedChannel {
    std::vector<float> storage;
    explicit GuardedChannel(std::size_t frames) : storage(frames + 2 * kGuard, kGuardValue) {}
    float* data() { return storage.data() + kGuard; }
    bool guardsIntact() const {
        auto intact = [](auto first, auto last) { return std::all_of(first, last, [](float v) { return v == kGuardValue; }); };
        return intact(storage.begin(), storage.begin() + kGuard) && intact(storage.end() - kGuard, storage.end());
    }
};

enum class Layout { OutOfPlace, InPlace, SharedInput };

pluginhost::StereoBuffer render(Layout layout, const reliability::Preset& preset, unsigned seed) {
    vst2host::Host host;
    host.transport = pluginhost::Transport(kRate, 133.0, -2.0);
    auto instance = reliability::openInstance(host, static_cast<float>(kRate), preset);
    // A shared input means both channels carry the left signal.
    auto input = testsupport::noise(kFrames, 21);
    if (layout == Layout::SharedInput) input.right = input.left;
    const auto pristine = input;
    pluginhost::StereoBuffer result(kFrames);
    std::mt19937 generator(seed);

    for (std::size_t frame = 0; frame < kFrames;) {
        const auto frames = static_cast<VstInt32>(
            std::min<std::size_t>(std::uniform_int_distribution<std::size_t>(1, 3000)(generator), kFrames - frame));
        GuardedChannel inLeft(frames), inRight(frames), outLeft(frames), outRight(frames);
        std::copy_n(input.left.begin() + frame, frames, inLeft.data());
        std::copy_n(input.right.begin() + frame, frames, inRight.data());
        switch (layout) {
            case Layout::OutOfPlace:
                reliability::processBlock(*instance, inLeft.data(), inRight.data(), outLeft.data(), outRight.data(), frames);
                EXPECT_TRUE(std::equal(inLeft.data(), inLeft.data() + frames, pristine.left.begin() + frame) &&
                            std::equal(inRight.data(), inRight.data() + frames, pristine.right.begin() + frame))
                    << "the effect wrote its inputs";
                break;
            case Layout::InPlace:
                reliability::processBlock(*instance, inLeft.data(), inRight.data(), inLeft.data(), inRight.data(), frames);
                std::copy_n(inLeft.data(), frames, outLeft.data());
                std::copy_n(inRight.data(), frames, outRight.data());
                break;
            case Layout::SharedInput:
                reliability::processBlock(*instance, inLeft.data(), inLeft.data(), outLeft.data(), outRight.data(), frames);
                break;
        }
        EXPECT_TRUE(inLeft.guardsIntact() && inRight.guardsIntact() && outLeft.guardsIntact() && outRight.guardsIntact())
            << "write outside the block at frame " << frame;
        std::copy_n(outLeft.data(), frames, result.left.begin() + frame);
        std::copy_n(outRight.data(), frames, result.right.begin() + frame);
        host.transport.advance(frames);
        frame += static_cast<std::size_t>(frames);
    }
    return result;
}

TEST(BufferAliasing, InPlaceAndOutOfPlaceGiveTheSameOutput) {
    for (std::size_t p = 0; p < reliability::presets().size(); ++p) {
        const auto outOfPlace = render(Layout::OutOfPlace, reliability::presets()[p], 1);
        const auto inPlace = render(Layout::InPlace, reliability::presets()[p], 1);
        EXPECT_TRUE(reliability::bitIdentical(inPlace, outOfPlace))
            << "preset " << p << ": " << reliability::firstDifference(inPlace, outOfPlace);
    }
}

TEST(BufferAliasing, BothChannelsMayReadOneInputBuffer) {
    for (std::size_t p = 0; p < reliability::presets().size(); ++p) {
        const auto shared = render(Layout::SharedInput, reliability::presets()[p], 2);
        EXPECT_TRUE(std::equal(shared.left.begin(), shared.left.end(), shared.right.begin()))
            << "preset " << p << ": the same input gave different channels";
        EXPECT_NE(reliability::silentFrom(shared), 0u);
    }
}

}  // namespace
