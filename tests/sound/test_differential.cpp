// The library's processing against the sample-by-sample reference
// (tests/support/reference_slice_repeater), bit for bit, over many seeded
// scenarios: sample rates, tempos, block sizes from 1 up, odd ones and
// changing ones, pre-roll, jumps, stopped transports, missing flags and
// records, hosts that never give a position or stop giving one, unusable
// tempos and sample rates, every parameter over its range and beyond,
// changed between blocks, in-place buffers, and inputs quiet enough to
// reach the subnormal range. The reference flushes subnormals as
// the library does.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "reference_slice_repeater.h"
#include "scripted_time_host.h"
#include "slicecast_plugin.h"

namespace {

// Equal bits; NaNs count as equal to each other, since which NaN a
// product of two different NaNs gives depends on the order of its operands.
bool sameSample(float a, float b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Whether the host's records flag a position: as the scenario draws it,
// never (an offline editor), or until a third of the way through.
enum class Positions { Drawn, Never, StopGiving };

class Scenario {
public:
    explicit Scenario(unsigned seed, Positions positions = Positions::Drawn)
        : seed_(seed), random_(seed), positions_(positions) {}

    // Plays the whole scenario through the library and the reference; on
    // the first difference reports where, and stops.
    void run();

private:
    bool chance(double p) { return std::bernoulli_distribution(p)(random_); }
    bool event(double p) { return chance(p * eventScale_); }
    double uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(random_); }
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    template <typename T, std::size_t N>
    T pick(const T (&choices)[N]) {
        return choices[static_cast<std::size_t>(between(0, static_cast<int>(N) - 1))];
    }

    float sampleRate();
    double tempo();
    float parameterValue(VstInt32 index);
    VstInt32 blockSize();
    void changeBetweenBlocks(vst2host::PluginInstance& plugin, testsupport::ReferenceSlicecast& reference);
    void fillInput(std::vector<float>& left, std::vector<float>& right);
    std::string where(std::int64_t frame) const;

    // The record's flags with the position withdrawn where the host gives none.
    VstInt32 flagsFor(VstInt32 flags, bool pastAThird) const;

    unsigned seed_;
    std::mt19937 random_;
    Positions positions_;
    VstTimeInfo record_{};
    bool answersRecord_ = true;
    bool playing_ = true;
    float sampleRate_ = 44100.0f;
    VstInt32 fixedBlockSize_ = 0;  // 0: every block draws its size
    double inputScale_ = 1.0;
    double eventScale_ = 1.0;  // how often the transport and parameters change
    std::ostringstream log_;
};

float Scenario::sampleRate() {
    // Mostly usable rates; now and then one that gives no musical time.
    if (chance(0.03)) return pick({0.0f, -48000.0f, std::numeric_limits<float>::quiet_NaN()});
    if (chance(0.5)) return pick({8000.0f, 22050.0f, 44100.0f, 48000.0f, 88200.0f, 96000.0f, 192000.0f});
    return static_cast<float>(uniform(4000.0, 200000.0));
}

double Scenario::tempo() {
    if (chance(0.03)) return pick({0.0, -90.0, std::numeric_limits<double>::infinity()});
    if (chance(0.1)) return pick({20.0, 1000.0, 5000.0});
    return uniform(40.0, 300.0);
}

float Scenario::parameterValue(VstInt32 index) {
    // The edges of the range and values just inside them, values across it,
    // and now and then one that no host should send.
    if (chance(0.05)) {
        return pick({-0.5f, 1.5f, std::numeric_limits<float>::quiet_NaN(), 1e-30f, std::numeric_limits<float>::max()});
    }
    if (chance(0.3)) return pick({0.0f, 1.0f, 0.99999994f, 0.5f, 1.0f / 11.0f, 0.25f});
    // Long decays reach the subnormal range.
    if (index == 4 && chance(0.3)) return pick({0.5f, 0.1f, 0.9f});
    return static_cast<float>(uniform(0.0, 1.0));
}

VstInt32 Scenario::blockSize() {
    if (fixedBlockSize_ != 0) return fixedBlockSize_;
    return chance(0.1) ? between(1, 13) : between(1, 3000);
}

void Scenario::changeBetweenBlocks(vst2host::PluginInstance& plugin, testsupport::ReferenceSlicecast& reference) {
    if (event(0.15)) {
        const VstInt32 index = between(0, 5);
        const float value = parameterValue(index);
        plugin.setParameter(index, value);
        reference.setParameter(index, value);
        log_ << " p" << index << "=" << value;
    }
    if (event(0.02)) {
        record_.ppqPos = uniform(-20.0, 300.0);
        log_ << " jump to " << record_.ppqPos;
    }
    if (event(0.01)) {
        playing_ = !playing_;
        log_ << (playing_ ? " play" : " stop");
    }
    if (event(0.01)) {
        record_.tempo = tempo();
        log_ << " tempo " << record_.tempo;
    }
    if (event(0.01)) {
        record_.flags = pick<VstInt32>({0, kVstPpqPosValid, kVstTempoValid, kVstPpqPosValid | kVstTempoValid});
        log_ << " flags " << record_.flags;
    }
    if (event(0.01)) {
        answersRecord_ = !answersRecord_;
        log_ << (answersRecord_ ? " record" : " no record");
    }
    if (event(0.005)) {
        sampleRate_ = sampleRate();
        plugin.dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate_);
        reference.setSampleRate(sampleRate_);
        log_ << " rate " << sampleRate_;
    }
}

void Scenario::fillInput(std::vector<float>& left, std::vector<float>& right) {
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
    const auto scale = static_cast<float>(inputScale_);
    for (std::size_t i = 0; i < left.size(); ++i) {
        left[i] = sample(random_) * scale;
        right[i] = sample(random_) * scale;
    }
}

VstInt32 Scenario::flagsFor(VstInt32 flags, bool pastAThird) const {
    const bool withdrawn = positions_ == Positions::Never || (positions_ == Positions::StopGiving && pastAThird);
    return withdrawn ? flags & ~kVstPpqPosValid : flags;
}

std::string Scenario::where(std::int64_t frame) const {
    std::ostringstream text;
    text << "seed " << seed_ << ", frame " << frame << "; events:" << log_.str();
    return text.str();
}

void Scenario::run() {
    sampleRate_ = sampleRate();
    record_.ppqPos = chance(0.3) ? uniform(-8.0, 0.0) : uniform(0.0, 100.0);
    record_.tempo = tempo();
    record_.flags = chance(0.8) ? kVstPpqPosValid | kVstTempoValid : pick<VstInt32>({0, kVstPpqPosValid, kVstTempoValid});
    if (chance(0.3)) fixedBlockSize_ = pick({1, 2, 7, 64, 333, 512, 1021, 4096});
    // Inputs quiet enough that every sample, or every product, is subnormal.
    if (chance(0.15)) inputScale_ = pick({1e-36, 1e-39});
    const bool long_ = fixedBlockSize_ != 1 && chance(0.2);
    const std::int64_t totalFrames = long_ ? 1100000 : (fixedBlockSize_ == 1 ? 20000 : between(20000, 120000));
    if (long_) {
        // Calm runs at slow tempos, with one-bar slices and four-bar
        // periods: slices and periods longer than the capture buffers.
        sampleRate_ = pick({44100.0f, 48000.0f, 96000.0f});
        record_.tempo = uniform(10.0, 22.0);
        eventScale_ = 0.01;
    }
    log_ << " start at " << record_.ppqPos << ", tempo " << record_.tempo << ", rate " << sampleRate_;

    testsupport::ScriptedTimeHost host;
    vst2host::PluginInstance plugin(host, testsupport::slicecastEntry());
    plugin.switchOn(sampleRate_, 512);
    testsupport::ReferenceSlicecast reference;
    reference.setSampleRate(sampleRate_);
    for (VstInt32 index = 0; index < 6; ++index) {
        if (!long_ && !chance(0.7)) continue;
        // Long runs keep the whole slice audible ("Rate" 1).
        const float longRunValues[3] = {0.0f, 0.0f, 1.0f};
        const float value = long_ && index < 3 ? longRunValues[index] : parameterValue(index);
        plugin.setParameter(index, value);
        reference.setParameter(index, value);
        log_ << " p" << index << "=" << value;
    }

    std::vector<float> inLeft, inRight, outLeft, outRight, expectedLeft, expectedRight;
    for (std::int64_t frame = 0; frame < totalFrames;) {
        changeBetweenBlocks(plugin, reference);
        const auto frames = static_cast<VstInt32>(std::min<std::int64_t>(blockSize(), totalFrames - frame));
        for (auto* channel : {&inLeft, &inRight, &outLeft, &outRight, &expectedLeft, &expectedRight}) {
            channel->resize(static_cast<std::size_t>(frames));
        }
        fillInput(inLeft, inRight);

        VstTimeInfo answered = record_;
        answered.flags = flagsFor(record_.flags, frame * 3 >= totalFrames);
        host.answerWith(answersRecord_ ? &answered : nullptr);
        reference.process(host.answeredRecord(), inLeft.data(), inRight.data(), expectedLeft.data(), expectedRight.data(),
                          frames);
        if (chance(0.3)) {
            // In place: the host's input buffers become the output.
            outLeft = inLeft;
            outRight = inRight;
            float* channels[2] = {outLeft.data(), outRight.data()};
            plugin.processReplacing(channels, channels, frames);
        } else {
            float* inputs[2] = {inLeft.data(), inRight.data()};
            float* outputs[2] = {outLeft.data(), outRight.data()};
            plugin.processReplacing(inputs, outputs, frames);
        }

        for (VstInt32 i = 0; i < frames; ++i) {
            if (!sameSample(outLeft[i], expectedLeft[i]) || !sameSample(outRight[i], expectedRight[i])) {
                ADD_FAILURE() << "library (" << outLeft[i] << ", " << outRight[i] << ") but reference ("
                              << expectedLeft[i] << ", " << expectedRight[i] << ") at " << where(frame + i);
                return;
            }
        }
        if (playing_) record_.ppqPos += frames * (record_.tempo / 60.0) / sampleRate_;
        frame += frames;
    }
}

TEST(Differential, LibraryMatchesTheReferenceSampleForSample) {
    for (unsigned seed = 1; seed <= 60; ++seed) Scenario(seed).run();
}

TEST(Differential, HostsWithoutPositionsMatchTheReference) {
    for (unsigned seed = 101; seed <= 130; ++seed) {
        Scenario(seed, Positions::Never).run();
        Scenario(seed, Positions::StopGiving).run();
    }
}

// A parameter the host changes before the block that starts at atFrame.
struct ParameterChange {
    std::size_t atFrame;
    VstInt32 index;
    float value;
};

// How the host's transport goes while expectTheReferenceBits plays.
struct Playback {
    std::size_t frames = 8000;
    bool rolling = true;  // stopped: the same position block after block
    std::vector<ParameterChange> changes;
};

// Noise through the library and the reference at 48 kHz and 137 BPM, in
// blocks of blockSize, with the six parameters at settings: the same bits.
void expectTheReferenceBits(const std::array<float, 6>& settings, VstInt32 blockSize, const std::string& label,
                            const Playback& playback = {}) {
    testsupport::ScriptedTimeHost host;
    vst2host::PluginInstance plugin(host, testsupport::slicecastEntry());
    plugin.switchOn(48000.0f, blockSize);
    testsupport::ReferenceSlicecast reference;
    reference.setSampleRate(48000.0f);
    for (VstInt32 index = 0; index < 6; ++index) {
        plugin.setParameter(index, settings[static_cast<std::size_t>(index)]);
        reference.setParameter(index, settings[static_cast<std::size_t>(index)]);
    }
    VstTimeInfo record{};
    record.tempo = 137.0;
    record.flags = kVstPpqPosValid | kVstTempoValid;
    host.answerWith(&record);
    const auto input = testsupport::noise(playback.frames, static_cast<unsigned>(blockSize));
    pluginhost::StereoBuffer output(input.frames()), expected(input.frames());
    for (std::size_t frame = 0; frame < input.frames(); frame += static_cast<std::size_t>(blockSize)) {
        for (const ParameterChange& change : playback.changes) {
            if (change.atFrame != frame) continue;
            plugin.setParameter(change.index, change.value);
            reference.setParameter(change.index, change.value);
        }
        const auto frames = static_cast<VstInt32>(std::min<std::size_t>(blockSize, input.frames() - frame));
        float* inputs[2] = {const_cast<float*>(input.left.data() + frame), const_cast<float*>(input.right.data() + frame)};
        float* outputs[2] = {output.left.data() + frame, output.right.data() + frame};
        plugin.processReplacing(inputs, outputs, frames);
        reference.process(&record, inputs[0], inputs[1], expected.left.data() + frame, expected.right.data() + frame,
                          frames);
        if (playback.rolling) record.ppqPos += frames * (137.0 / 60.0) / 48000.0;
    }
    for (std::size_t i = 0; i < input.frames(); ++i) {
        if (!sameSample(output.left[i], expected.left[i]) || !sameSample(output.right[i], expected.right[i])) {
            ADD_FAILURE() << label << ": library (" << output.left[i] << ", " << output.right[i] << ") but reference ("
                          << expected.left[i] << ", " << expected.right[i] << ") at frame " << i;
            return;
        }
    }
}

TEST(Differential, BlockSizesDoNotChangeTheSound) {
    // The same transport and settings in blocks of every size from 1 to 40,
    // where stretches of frames begin and end at every offset: 1/64-bar
    // slices, a capture every quarter bar, shaped and decaying.
    for (VstInt32 blockSize = 1; blockSize <= 40; ++blockSize) {
        expectTheReferenceBits({1.0f, 1.0f, 0.6f, 0.5f, 0.7f, 0.8f}, blockSize, "blocks of " + std::to_string(blockSize));
    }
}

TEST(Differential, ChangesBetweenBlocksTakeHoldInTheMiddleOfAPass) {
    // A stopped transport brings no boundary, so only the period's length
    // ends the capture: one-bar slices played whole, in four-bar periods
    // shortened to a quarter bar, and then lengthened again, while a pass
    // is under way. Then the shaping changed in the middle of a pass.
    const Playback shortened{40000, false, {{10240, 1, 1.0f}, {25600, 1, 0.0f}}};
    expectTheReferenceBits({0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f}, 512, "period shortened", shortened);
    const Playback reshaped{40000, true, {{3072, 2, 0.3f}, {6144, 3, 0.8f}, {9216, 5, 0.4f}}};
    expectTheReferenceBits({0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f}, 512, "shaping changed", reshaped);
}

TEST(Differential, ValuesNoHostShouldSendMatchTheReference) {
    // Shaping values far beyond their range: a gate length that saturates
    // at the largest int, fades and mixes that overflow to infinities.
    constexpr float kHuge = std::numeric_limits<float>::max();
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    const struct {
        const char* label;
        std::array<float, 6> settings;
    } cases[] = {
        {"Rate huge, faded", {0.5f, 1.0f, kHuge, 0.5f, 0.7f, 0.8f}},
        {"Rate infinite", {1.0f, 0.75f, kInfinity, 0.0f, 1.0f, 1.0f}},
        {"Rate huge negative", {0.5f, 1.0f, -kHuge, 0.5f, 0.7f, 0.8f}},
        {"Rate 1e9, faded", {0.2f, 0.5f, 1e9f, 0.9f, 0.5f, 0.6f}},
        {"FadeOut huge", {0.5f, 1.0f, 0.6f, kHuge, 0.7f, 0.8f}},
        {"DecayRate huge", {1.0f, 1.0f, 0.8f, 0.0f, kHuge, 1.0f}},
        {"Mix huge negative", {0.5f, 1.0f, 0.6f, 0.5f, 0.7f, -kHuge}},
    };
    for (const auto& row : cases) expectTheReferenceBits(row.settings, 512, row.label);
}

}  // namespace
