// Sample rates from telephone to eight-times studio rate, tempos from 20 to
// 999 with ramps, and transports that misbehave every way hosts do: no time
// record, missing flags, stopped, pre-roll, seeks, loop jumps and garbage.
// Nothing may crash, read or write out of bounds (the sanitizer builds
// watch that) or produce anything but finite output from finite input.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "reliability_support.h"
#include "scripted_time_host.h"
#include "slicecast_plugin.h"

namespace {

using testsupport::ScriptedTimeHost;

constexpr std::array<double, 14> kSampleRates{8000.0,  11025.0, 16000.0, 22050.0,  44100.0,  48000.0,   88200.0,
                                              96000.0, 192000.0, 384000.0, 768000.0, 44100.5, 47999.99, 8000.25};

TEST(SampleRatesAndTempos, EveryRateWithTempoRampsStaysFinite) {
    std::mt19937 generator(5);
    for (const double rate : kSampleRates) {
        for (std::size_t p = 0; p < reliability::presets().size(); ++p) {
            // Half a second of ramps, up from 20 and down from 999, in
            // blocks of varying size, with the tempo changing every block.
            const auto frames = static_cast<std::size_t>(rate / 2.0);
            for (const auto& [from, to] : {std::pair{20.0, 999.0}, std::pair{999.0, 20.0}}) {
                vst2host::Host host;
                host.transport = pluginhost::Transport(rate, from, -1.0);
                auto instance = reliability::openInstance(host, static_cast<float>(rate), reliability::presets()[p]);
                pluginhost::StereoBuffer output;
                const auto sizer = [&generator](std::int64_t, std::int64_t) {
                    return std::uniform_int_distribution<std::int32_t>(1, 4096)(generator);
                };
                vst2host::renderInBlocks(*instance, host.transport, testsupport::noise(frames, 9), output, sizer,
                                        [&](std::int64_t first) {
                                            const double progress = static_cast<double>(first) / frames;
                                            host.transport.setTempo(from + (to - from) * progress);
                                        });
                EXPECT_TRUE(reliability::allFinite(output)) << rate << " Hz, preset " << p << ", " << from << " -> " << to;
            }
        }
    }
}

// One block's worth of transport misbehaviour.
enum class Mischief {
    Playing,
    NoRecord,
    NoFlags,
    PositionOnly,
    TempoOnly,
    Stopped,
    PreRoll,
    SeekBackward,
    SeekForward,
    LoopJump,
    Garbage,
    kCount
};

// Values a broken host might put into its record's position and tempo.
double garbage(std::mt19937& generator) {
    constexpr std::array<double, 12> values{std::numeric_limits<double>::quiet_NaN(),
                                            std::numeric_limits<double>::infinity(),
                                            -std::numeric_limits<double>::infinity(),
                                            0.0,
                                            -0.0,
                                            -120.0,
                                            1e300,
                                            -1e300,
                                            std::numeric_limits<double>::denorm_min(),
                                            std::numeric_limits<double>::max(),
                                            1e-300,
                                            2147483648.0 * 4.0};
    return values[std::uniform_int_distribution<std::size_t>(0, values.size() - 1)(generator)];
}

TEST(TransportFuzz, MisbehavingTransportsNeverCrashOrPoisonTheOutput) {
    constexpr VstInt32 kMaxBlock = 2048;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 generator(seed);
        const double rate = kSampleRates[seed % kSampleRates.size()];
        ScriptedTimeHost host;
        host.transport = pluginhost::Transport(rate, 120.0, 0.0);
        auto instance =
            reliability::openInstance(host, static_cast<float>(rate), reliability::presets()[seed % 4], kMaxBlock);
        VstTimeInfo record{};
        const auto input = testsupport::noise(kMaxBlock, seed);
        pluginhost::StereoBuffer output(kMaxBlock);
        double loopStart = 8.0;

        for (int block = 0; block < 400; ++block) {
            const auto frames = std::uniform_int_distribution<VstInt32>(0, kMaxBlock)(generator);
            auto& transport = host.transport;
            host.answerWithTransport();
            transport.setPlaying(true);
            transport.setKnown(true, true);
            record = *host.timeInfo();
            switch (static_cast<Mischief>(std::uniform_int_distribution<int>(0, int(Mischief::kCount) - 1)(generator))) {
                case Mischief::Playing: break;
                case Mischief::NoRecord: host.answerWith(nullptr); break;
                case Mischief::NoFlags: transport.setKnown(false, false); break;
                case Mischief::PositionOnly: transport.setKnown(true, false); break;
                case Mischief::TempoOnly: transport.setKnown(false, true); break;
                case Mischief::Stopped: transport.setPlaying(false); break;
                case Mischief::PreRoll: transport.locate(-std::uniform_real_distribution<double>(0.0, 8.0)(generator)); break;
                case Mischief::SeekBackward: transport.locate(transport.position() - std::uniform_real_distribution<double>(0.0, 20.0)(generator)); break;
                case Mischief::SeekForward: transport.locate(transport.position() + std::uniform_real_distribution<double>(0.0, 20.0)(generator)); break;
                case Mischief::LoopJump:
                    if (transport.position() > loopStart + 4.0) transport.locate(loopStart);
                    break;
                case Mischief::Garbage:
                    record.ppqPos = garbage(generator);
                    record.tempo = garbage(generator);
                    record.flags = std::uniform_int_distribution<VstInt32>()(generator);
                    host.answerWith(&record);
                    break;
                case Mischief::kCount: break;
            }
            const int queriesBefore = host.timeQueries;
            reliability::processBlock(*instance, input.left.data(), input.right.data(), output.left.data(),
                                      output.right.data(), frames);
            ASSERT_EQ(host.timeQueries, queriesBefore + 1) << "one time query per block, seed " << seed;
            for (VstInt32 i = 0; i < frames; ++i) {
                ASSERT_TRUE(std::isfinite(output.left[i]) && std::isfinite(output.right[i]))
                    << "seed " << seed << ", block " << block << ", frame " << i;
            }
            transport.advance(frames);
        }
    }
}

TEST(TransportFuzz, UnusableSampleRatesPassTheBlockDry) {
    const auto input = testsupport::noise(1024, 4);
    for (const float rate : {0.0f, -0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(),
                             std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()}) {
        vst2host::Host host;
        auto instance = reliability::openInstance(host, 44100.0f, reliability::presets()[1]);
        pluginhost::StereoBuffer output(1024);
        reliability::processBlock(*instance, input.left.data(), input.right.data(), output.left.data(),
                                  output.right.data(), 1024);
        host.transport.advance(1024);
        instance->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        reliability::processBlock(*instance, input.left.data(), input.right.data(), output.left.data(),
                                  output.right.data(), 1024);
        EXPECT_TRUE(reliability::bitIdentical(output, input)) << "rate " << rate;
        // In place as well.
        pluginhost::StereoBuffer inPlace = input;
        reliability::processBlock(*instance, inPlace.left.data(), inPlace.right.data(), inPlace.left.data(),
                                  inPlace.right.data(), 1024);
        EXPECT_TRUE(reliability::bitIdentical(inPlace, input)) << "rate " << rate << ", in place";
    }
}

}  // namespace
