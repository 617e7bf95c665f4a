// Hosts that give no musical position: offline editors that flag only the
// tempo, hosts that answer the time query with no record at all, and hosts
// that give positions for a while and then stop. The effect keeps time by
// itself there, so its output must be what a host that sends those very
// positions gets, with captures on the tempo grid and no silence after the
// first update period. A stopped transport that does flag its constant
// position still mutes once a period has run out.
//
// The plain-repeat settings (rate 1, no fade, no decay, mix 1) and a ramp
// input (left[i] = i + 1) make every output sample tell which input sample
// it repeats; only a muted sample is 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "scripted_time_host.h"
#include "slicecast_plugin.h"

using testsupport::ScriptedTimeHost;
using pluginhost::StereoBuffer;

namespace {

enum class TimeSource { TempoOnly, NoRecord, PositionsThenNone };

struct Case {
    const char* name;
    TimeSource source;
    double sampleRate;
    double tempo;
    double start;                // the first position, for hosts that give positions
    std::int64_t positionsUntil;  // first frame without a position, for PositionsThenNone
    int waveLength;               // index into 1, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 64
    int updatePeriod;             // index into 4/1, 2/1, 1/1, 1/2, 1/4 bars
    pluginhost::BlockSizer blocks;   // a pure function of the block's first frame
};

std::int64_t periodFrames(const Case& c) {
    const double scales[] = {0.25, 0.5, 1.0, 2.0, 4.0};
    const double samplesPerBar = c.sampleRate / (c.tempo / 60.0) * 4.0;
    return static_cast<std::int64_t>(static_cast<std::int64_t>(samplesPerBar) / scales[c.updatePeriod]);
}

std::int64_t sliceFrames(const Case& c) {
    const int divisors[] = {1, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 64};
    return static_cast<std::int64_t>(c.sampleRate / (c.tempo / 60.0) * 4.0) / divisors[c.waveLength];
}

// At 32768 Hz and 120 beats per minute a sample is exactly 2^-14 quarter
// notes: every position is exact, and captures start exactly every period.
bool exactGrid(const Case& c) { return c.sampleRate == 32768.0 && c.tempo == 120.0 && c.start == 0.0; }

pluginhost::BlockSizer varyingBlocks() {
    return [](std::int64_t first, std::int64_t) { return static_cast<std::int32_t>(1 + (first * 7919) % 3001); };
}

std::unique_ptr<vst2host::PluginInstance> plainRepeats(vst2host::Host& host, double sampleRate, int waveLength,
                                                      int updatePeriod) {
    auto plugin = std::make_unique<vst2host::PluginInstance>(host, testsupport::slicecastEntry());
    plugin->switchOn(static_cast<float>(sampleRate), 512);
    const float values[6] = {(static_cast<float>(waveLength) + 0.5f) / 11.0f,
                             (static_cast<float>(updatePeriod) + 0.5f) / 4.0f, 1.0f, 0.0f, 1.0f, 1.0f};
    for (VstInt32 index = 0; index < 6; ++index) plugin->setParameter(index, values[index]);
    return plugin;
}

struct Played {
    StereoBuffer output;
    // Per block, the position the host gave, if it gave one.
    std::vector<std::optional<double>> given;
};

Played playWithoutPositions(const Case& c, const StereoBuffer& input) {
    ScriptedTimeHost host;
    host.transport = pluginhost::Transport(c.sampleRate, c.tempo, c.start);
    if (c.source == TimeSource::TempoOnly) host.transport.setKnown(false, true);
    if (c.source == TimeSource::NoRecord) host.answerWith(nullptr);
    auto plugin = plainRepeats(host, c.sampleRate, c.waveLength, c.updatePeriod);
    Played played;
    vst2host::renderInBlocks(*plugin, host.transport, input, played.output, c.blocks, [&](std::int64_t first) {
        if (c.source == TimeSource::PositionsThenNone && first >= c.positionsUntil) {
            host.transport.setKnown(false, true);
        }
        const VstTimeInfo* record = host.answeredRecord();
        const bool valid = record != nullptr && (record->flags & kVstPpqPosValid) != 0;
        played.given.push_back(valid ? std::optional<double>(record->ppqPos) : std::nullopt);
    });
    return played;
}

// The same blocks from a host that sends every block a valid position: the
// one given where there was one, else the last one moved on by the frames
// since, one beat step per frame.
StereoBuffer playWithThosePositions(const Case& c, const Played& without, const StereoBuffer& input) {
    ScriptedTimeHost host;
    VstTimeInfo record{};
    record.sampleRate = c.sampleRate;
    record.tempo = c.tempo;
    record.flags = kVstPpqPosValid | kVstTempoValid | kVstTransportPlaying;
    host.answerWith(&record);
    auto plugin = plainRepeats(host, c.sampleRate, c.waveLength, c.updatePeriod);
    const double beatStep = 1.0 / (static_cast<double>(static_cast<float>(c.sampleRate)) / (c.tempo / 60.0));
    std::size_t block = 0;
    std::int64_t previousFirst = 0;
    StereoBuffer output;
    vst2host::renderInBlocks(*plugin, host.transport, input, output, c.blocks, [&](std::int64_t first) {
        const std::optional<double>& given = without.given.at(block++);
        record.ppqPos = given ? *given : record.ppqPos + static_cast<double>(first - previousFirst) * beatStep;
        previousFirst = first;
    });
    return output;
}

float in(std::int64_t i) { return static_cast<float>(i + 1); }

std::vector<Case> cases() {
    using pluginhost::fixedBlocks;
    return {
        {"tempo only, 1/4-bar periods", TimeSource::TempoOnly, 32768, 120, 0, 0, 5, 4, fixedBlocks(512)},
        {"tempo only, slice not dividing the period", TimeSource::TempoOnly, 32768, 120, 0, 0, 2, 2, fixedBlocks(4096)},
        {"tempo only, blocks of one frame", TimeSource::TempoOnly, 32768, 120, 0, 0, 11, 4, fixedBlocks(1)},
        {"tempo only, inexact steps", TimeSource::TempoOnly, 44100, 97, 0, 0, 5, 3, varyingBlocks()},
        {"no record, blocks across boundaries", TimeSource::NoRecord, 32768, 120, 0, 0, 5, 3, fixedBlocks(1000)},
        {"no record, inexact steps", TimeSource::NoRecord, 48000, 120, 0, 0, 8, 4, varyingBlocks()},
        {"positions, then none mid-period", TimeSource::PositionsThenNone, 32768, 120, 0, 40000, 5, 4, fixedBlocks(512)},
        {"positions, then none at a boundary", TimeSource::PositionsThenNone, 32768, 120, 0, 32768, 5, 4,
         fixedBlocks(4096)},
        {"positions from mid-bar, then none", TimeSource::PositionsThenNone, 44100, 133, 6.25, 100000, 3, 3,
         varyingBlocks()},
    };
}

TEST(HostsWithoutPositions, KeepTimeAsIfTheHostHadSentThePositions) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        const std::int64_t period = periodFrames(c);
        const auto input = testsupport::ramp(static_cast<std::size_t>(5 * period + 77));
        const Played played = playWithoutPositions(c, input);
        const StereoBuffer& out = played.output;

        const StereoBuffer expected = playWithThosePositions(c, played, input);
        EXPECT_EQ(out.left, expected.left);
        EXPECT_EQ(out.right, expected.right);

        // Muted samples are the only zeros. Where a period is not a whole
        // number of frames, one sample may be muted just before its
        // boundary; two in a row mean the effect fell silent.
        const float zeros[2] = {0.0f, 0.0f};
        const auto silence = std::search(out.left.begin(), out.left.end(), zeros, zeros + 2);
        EXPECT_EQ(silence, out.left.end()) << "silent from frame " << (silence - out.left.begin());

        if (!exactGrid(c)) continue;
        // A capture starts at every multiple of the period, where the
        // running position crosses into the next period.
        const std::int64_t slice = sliceFrames(c);
        for (std::int64_t i = 0; i < static_cast<std::int64_t>(out.frames()); ++i) {
            const std::int64_t captureStart = i / period * period;
            const float want = in(captureStart + (i - captureStart) % slice);
            if (out.left[static_cast<std::size_t>(i)] != want) {
                ADD_FAILURE() << "frame " << i << ": " << out.left[static_cast<std::size_t>(i)] << ", want " << want;
                break;
            }
        }
    }
}

TEST(HostsWithoutPositions, AStoppedTransportWithAValidPositionStillMutesAfterOnePeriod) {
    // One-bar slices, half-bar periods (44100 frames) at 44.1 kHz and 120.
    const auto input = testsupport::ramp(100000);
    for (const double position : {0.0, 1.0, 5.5}) {
        for (const std::int32_t blockSize : {64, 512, 4096}) {
            SCOPED_TRACE(testing::Message() << "position " << position << ", blocks of " << blockSize);
            vst2host::Host host;
            host.transport = pluginhost::Transport(44100.0, 120.0, position);
            host.transport.setPlaying(false);
            auto plugin = plainRepeats(host, 44100.0, 0, 3);
            StereoBuffer out;
            vst2host::renderInBlocks(*plugin, host.transport, input, out, pluginhost::fixedBlocks(blockSize));
            EXPECT_EQ(out.left[44099], in(44099));
            EXPECT_EQ(out.left[44100], 0.0f);
            EXPECT_EQ(std::count(out.left.begin() + 44100, out.left.end(), 0.0f), 100000 - 44100);
        }
    }
}

TEST(HostsWithoutPositions, CallsThatProcessNothingLeaveTheRunningPosition) {
    // Between blocks 10 and 11 of a host that flags only the tempo: each of
    // these must leave the effect's count of time where it was, so the
    // processed blocks come out as if nothing had happened in between.
    using Interruption = std::function<void(vst2host::PluginInstance&, const StereoBuffer&)>;
    const std::vector<std::pair<const char*, Interruption>> interruptions{
        {"empty and negative blocks",
         [](vst2host::PluginInstance& plugin, const StereoBuffer&) {
             float sample[1] = {0.5f};
             float* channels[2] = {sample, sample};
             plugin.processReplacing(channels, channels, 0);
             plugin.processReplacing(channels, channels, -7);
         }},
        {"a block passed dry at sample rate 0",
         [](vst2host::PluginInstance& plugin, const StereoBuffer& input) {
             StereoBuffer dry(4096);
             float* inputs[2] = {const_cast<float*>(input.left.data()), const_cast<float*>(input.right.data())};
             float* outputs[2] = {dry.left.data(), dry.right.data()};
             plugin.dispatch(effSetSampleRate, 0, 0, nullptr, 0.0f);
             plugin.processReplacing(inputs, outputs, 4096);
             plugin.dispatch(effSetSampleRate, 0, 0, nullptr, 32768.0f);
             EXPECT_TRUE(std::equal(dry.left.begin(), dry.left.end(), input.left.begin()));
         }},
        {"suspend and resume",
         [](vst2host::PluginInstance& plugin, const StereoBuffer&) {
             plugin.dispatch(effMainsChanged, 0, 0);
             plugin.dispatch(effMainsChanged, 0, 1);
         }},
    };
    const Case c{"interrupted", TimeSource::TempoOnly, 32768, 120, 0, 0, 5, 4, pluginhost::fixedBlocks(1500)};
    const auto input = testsupport::ramp(5 * 16384);
    const StereoBuffer uninterrupted = playWithoutPositions(c, input).output;
    for (const auto& [name, interrupt] : interruptions) {
        SCOPED_TRACE(name);
        vst2host::Host host;
        host.transport = pluginhost::Transport(c.sampleRate, c.tempo, 0.0);
        host.transport.setKnown(false, true);
        auto plugin = plainRepeats(host, c.sampleRate, c.waveLength, c.updatePeriod);
        StereoBuffer out;
        vst2host::renderInBlocks(*plugin, host.transport, input, out, c.blocks, [&](std::int64_t first) {
            if (first == 10 * 1500) interrupt(*plugin, input);
        });
        EXPECT_EQ(out.left, uninterrupted.left);
    }
}

TEST(HostsWithoutPositions, AnAbsurdTempoDoesNotStopTheCountForGood) {
    // A tempo near the largest double at a tiny sample rate makes a beat
    // step of infinity. The blocks after it, at sane settings, must still
    // find boundaries instead of staying at an infinite position, muted.
    ScriptedTimeHost host;
    VstTimeInfo record{};
    record.flags = kVstTempoValid | kVstTransportPlaying;
    record.tempo = 1e308;
    host.answerWith(&record);
    auto plugin = plainRepeats(host, 1e-30, 5, 4);
    StereoBuffer out;
    vst2host::renderInBlocks(*plugin, host.transport, testsupport::ramp(64), out, pluginhost::fixedBlocks(64));

    plugin->dispatch(effSetSampleRate, 0, 0, nullptr, 32768.0f);
    record.tempo = 120.0;
    vst2host::renderInBlocks(*plugin, host.transport, testsupport::ramp(5 * 16384), out, pluginhost::fixedBlocks(512));
    const float zeros[2] = {0.0f, 0.0f};
    const auto silence = std::search(out.left.begin(), out.left.end(), zeros, zeros + 2);
    EXPECT_EQ(silence, out.left.end()) << "silent from frame " << (silence - out.left.begin());
}

}  // namespace
