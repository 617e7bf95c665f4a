// No setting a host can send makes the effect louder than its input: with
// every repeat at full level (DecayRate 1) and the wet signal alone (Mix 1),
// every shaping rule can only lower the level, down to the smallest Rate a
// float holds, where the 11 samples past the gate lie far beyond it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "slicecast_plugin.h"

namespace {

// The largest magnitude in a buffer; infinity if any sample is not a number.
float peakOf(const pluginhost::StereoBuffer& buffer) {
    float peak = 0.0f;
    for (std::size_t i = 0; i < buffer.frames(); ++i) {
        for (const float sample : {buffer.left[i], buffer.right[i]}) {
            if (std::isnan(sample)) return std::numeric_limits<float>::infinity();
            peak = std::max(peak, std::fabs(sample));
        }
    }
    return peak;
}

// Rate from 1 down by factors of 16 to the smallest positive float, the
// values a host's automation passes on its way to 0, and 0 itself.
std::vector<float> ratesDownToZero() {
    std::vector<float> rates;
    for (float rate = 1.0f; rate > 0.0f; rate /= 16.0f) rates.push_back(rate);
    rates.insert(rates.end(), {0.7f, 5e-5f, 1e-5f, 1e-6f, 1e-9f, std::numeric_limits<float>::denorm_min(), 0.0f});
    return rates;
}

}  // namespace

TEST(OutputBounds, NoRateOrFadeOutMakesTheOutputLouderThanTheInput) {
    // 44100 Hz at 240 BPM: a bar of 44100 samples, a capture every bar, and
    // a little of the next period; the block size changes from case to case.
    constexpr double kSampleRate = 44100.0;
    constexpr double kTempo = 240.0;
    constexpr std::int32_t kBlockSizes[] = {512, 1, 441, 4096, 64};
    constexpr float kFadeOuts[] = {0.0f, 0.25f, 0.53f, 1.0f};
    const auto input = testsupport::noise(44100 + 2000, 7);
    const float inputPeak = peakOf(input);

    std::size_t cases = 0;
    for (const float rate : ratesDownToZero()) {
        for (const float fadeOut : kFadeOuts) {
            for (int waveLength = 0; waveLength < 12; ++waveLength, ++cases) {
                const std::int32_t blockSize = kBlockSizes[cases % std::size(kBlockSizes)];
                testsupport::SlicecastSession session(kSampleRate, kTempo, 0.0, blockSize);
                session.plugin->setParameter(0, (static_cast<float>(waveLength) + 0.5f) / 11.0f);
                session.plugin->setParameter(1, 2.5f / 4.0f);
                session.plugin->setParameter(2, rate);
                session.plugin->setParameter(3, fadeOut);
                session.plugin->setParameter(4, 1.0f);
                session.plugin->setParameter(5, 1.0f);
                const float outputPeak = peakOf(session.render(input, blockSize));
                EXPECT_LE(outputPeak, inputPeak) << "Rate " << rate << ", FadeOut " << fadeOut << ", WaveLength index "
                                                 << waveLength << ", blocks of " << blockSize;
            }
        }
    }
}
