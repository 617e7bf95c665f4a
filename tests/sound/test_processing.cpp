// The capture-and-repeat sound, checked sample by sample through the loaded
// library against the rules worked out by hand.
//
// Most cases feed a ramp (left[i] = i + 1, right[i] = -(i + 1)), so that
// every output sample tells which input sample it repeats.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "scripted_time_host.h"
#include "slicecast_plugin.h"

using testsupport::ramp;
using testsupport::ScriptedTimeHost;
using testsupport::SlicecastSession;
using pluginhost::StereoBuffer;

namespace {

struct Settings {
    int waveLength = 5;    // index into 1, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 64
    int updatePeriod = 3;  // index into 4/1, 2/1, 1/1, 1/2, 1/4 bars
    float rate = 0.7f;
    float fadeOut = 0.0f;
    float decayRate = 1.0f;
    float mix = 1.0f;
};

// Rate 1 and no decay: every pass plays the captured samples unshaped.
Settings plainRepeats(int waveLength, int updatePeriod) {
    return Settings{waveLength, updatePeriod, 1.0f, 0.0f, 1.0f, 1.0f};
}

void apply(vst2host::PluginInstance& plugin, const Settings& s) {
    // The middle of each band, so that quantisation gives the index wanted.
    plugin.setParameter(0, (static_cast<float>(s.waveLength) + 0.5f) / 11.0f);
    plugin.setParameter(1, (static_cast<float>(s.updatePeriod) + 0.5f) / 4.0f);
    plugin.setParameter(2, s.rate);
    plugin.setParameter(3, s.fadeOut);
    plugin.setParameter(4, s.decayRate);
    plugin.setParameter(5, s.mix);
}

StereoBuffer render(double sampleRate, double tempo, double start, const Settings& settings,
                    const StereoBuffer& input, std::int32_t blockSize) {
    SlicecastSession session(sampleRate, tempo, start, blockSize);
    apply(*session.plugin, settings);
    return session.render(input, blockSize);
}

float in(std::int64_t i) { return static_cast<float>(i + 1); }

}  // namespace

TEST(Processing, WorkedExampleOfOnePeriod) {
    // 44100 Hz, 120 BPM, 1/8 slices (11025 samples), a capture every half
    // bar (44100 samples), rate 0.7 (gate 7717), decay 0.5.
    Settings settings;
    settings.decayRate = 0.5f;
    const auto input = ramp(2 * 44100 + 200);
    const auto out = render(44100.0, 120.0, 0.0, settings, input, 4410);

    const struct {
        std::int64_t frame;
        float expected;
    } probes[] = {
        {0, 0.0f},                                  // every pass starts silent
        {1, (1.0f * in(1)) / 12.0f},                // fade-in
        {5, (5.0f * in(5)) / 12.0f},
        {11, (11.0f * in(11)) / 12.0f},
        {12, in(12)},                               // the live input itself
        {7717, in(7717)},                           // last sample before the gate
        {7718, (11.0f * in(7718)) / 12.0f},         // fade-out after the gate
        {7728, (1.0f * in(7728)) / 12.0f},
        {7729, 0.0f},                               // gated
        {11024, 0.0f},
        {11025, 0.0f},                              // first repeat starts silent
        {11025 + 100, in(100) * 0.5f},              // and plays the slice at half gain
        {22050 + 100, in(100) * 0.25f},
        {33075 + 100, in(100) * 0.125f},
        {33075 + 7729, 0.0f},
        {44100, 0.0f},                              // a new capture starts at the boundary
        {44100 + 100, in(44100 + 100)},
        {44100 + 11025 + 100, in(44100 + 100) * 0.5f},
    };
    for (const auto& p : probes) {
        EXPECT_EQ(out.left[p.frame], p.expected) << "frame " << p.frame;
        EXPECT_EQ(out.right[p.frame], -p.expected) << "frame " << p.frame;
    }
}

TEST(Processing, SliceAndPeriodLengthsFollowSampleRateTempoAndIndices) {
    // Plain repeats: the first sample that plays the capture's first sample
    // again marks the slice length; a muted sample marks the period length
    // running out before the next boundary.
    const struct {
        double sampleRate;
        double tempo;
        int waveLength;
        int updatePeriod;
        std::int64_t sliceLength;
        std::int64_t periodLength;
        std::int64_t nextBoundary;  // first sample at or past the next period's position
    } cases[] = {
        {48000.0, 140.0, 2, 4, 27428, 20571, 20572},
        {48000.0, 140.0, 11, 4, 1285, 20571, 20572},
        {48000.0, 140.0, 11, 2, 1285, 82285, 82286},
        {44100.0, 120.0, 0, 4, 88200, 22050, 22050},
    };
    for (const auto& c : cases) {
        const auto input = ramp(static_cast<std::size_t>(c.nextBoundary + 2000));
        const auto out = render(c.sampleRate, c.tempo, 0.0, plainRepeats(c.waveLength, c.updatePeriod), input, 512);
        SCOPED_TRACE(testing::Message() << c.sampleRate << " Hz " << c.tempo << " BPM wave " << c.waveLength
                                        << " period " << c.updatePeriod);
        const std::int64_t lastLive = std::min(c.sliceLength, c.periodLength) - 1;
        EXPECT_EQ(out.left[lastLive], in(lastLive));
        if (c.sliceLength < c.periodLength) {
            EXPECT_EQ(out.left[c.sliceLength], in(0));
            EXPECT_EQ(out.left[c.sliceLength + 7], in(7));
        }
        for (std::int64_t frame = c.periodLength; frame < c.nextBoundary; ++frame) {
            EXPECT_EQ(out.left[frame], 0.0f) << "muted frame " << frame;
        }
        EXPECT_EQ(out.left[c.nextBoundary], in(c.nextBoundary));
        EXPECT_EQ(out.left[c.nextBoundary + 1], in(c.nextBoundary + 1));
    }
}

TEST(Processing, LongPeriodsRunPastTheCaptureCapacity) {
    // 44.1 kHz at 60 BPM: one-bar slices of 176400 samples, a capture every
    // four bars (705600 samples), far beyond the 480000 captured.
    const auto input = ramp(705600 + 10);
    const auto out = render(44100.0, 60.0, 0.0, plainRepeats(0, 0), input, 4096);
    for (std::int64_t frame : {176399, 176400 + 5, 480000 + 3, 600000, 705599}) {
        EXPECT_EQ(out.left[frame], in(frame % 176400)) << frame;
    }
    EXPECT_EQ(out.left[705600], in(705600));
}

TEST(Processing, SlicesLongerThanTheCaptureRepeatItsFirstPart) {
    // 192 kHz at 90 BPM makes a one-bar slice of 512000 samples, more than
    // the 480000 that fit: the repeat starts once the buffer is full.
    const auto input = ramp(480000 + 100);
    const auto out = render(192000.0, 90.0, 0.0, plainRepeats(0, 2), input, 4096);
    EXPECT_EQ(out.left[479999], in(479999));
    EXPECT_EQ(out.left[480000], in(0));
    EXPECT_EQ(out.left[480050], in(50));
}

TEST(Processing, ShapingAtTheEdgesOfTheParameterRanges) {
    const auto input = ramp(44100 * 2);
    const float S = 11025.0f;
    struct Probe {
        std::int64_t frame;
        float expected;
    };
    const struct {
        const char* what;
        Settings settings;
        std::vector<Probe> probes;
    } cases[] = {
        {"rate 1: no fade-in and no gate, fade-out 1 falls linearly",
         {5, 3, 1.0f, 1.0f, 1.0f, 1.0f},
         {{0, in(0)}, {1, in(1) * (1.0f - 1.0f / S)}, {5000, in(5000) * (1.0f - 5000.0f / S)},
          {11025 + 3, in(3) * (1.0f - 3.0f / S)}}},
        {"rate 0: only the eleven samples of the fade-in edges sound",
         {5, 3, 0.0f, 0.0f, 1.0f, 1.0f},
         {{0, 0.0f}, {1, (11.0f * ((1.0f * in(1)) / 12.0f)) / 12.0f}, {12, 0.0f}, {500, 0.0f}}},
        {"decay 0: every repeat is silent",
         {5, 3, 1.0f, 0.0f, 0.0f, 1.0f},
         {{11024, in(11024)}, {11025, 0.0f}, {30000, 0.0f}}},
        {"decay 1: every repeat at the live pass's gain",
         {5, 3, 1.0f, 0.0f, 1.0f, 1.0f},
         {{11025 + 9, in(9)}, {33075 + 9, in(9)}}},
        {"mix 1/4: a quarter of the processed signal, three quarters dry",
         {5, 3, 1.0f, 0.0f, 1.0f, 0.25f},
         {{11025 + 9, 0.75f * in(11025 + 9) + 0.25f * in(9)}}},
        {"fade 0.5 at the gate of rate 0.7",
         {5, 3, 0.7f, 0.5f, 1.0f, 1.0f},
         {{7717, in(7717) * (1.0f - (7717.0f * 0.5f) / (S * 0.7f))}}},
        {"period shorter than the slice: no repeat is heard",
         {0, 4, 1.0f, 0.0f, 1.0f, 1.0f},
         {{22049, in(22049)}, {22050, in(22050)}, {22051, in(22051)}, {44100 + 17, in(44100 + 17)}}},
        {"slice not dividing the period: one repeat, cut by the boundary",
         {2, 3, 1.0f, 0.0f, 1.0f, 1.0f},
         {{29399, in(29399)}, {29400, in(0)}, {44099, in(14699)}, {44100, in(44100)}}},
    };
    for (const auto& c : cases) {
        const auto out = render(44100.0, 120.0, 0.0, c.settings, input, 4410);
        for (const auto& p : c.probes) EXPECT_EQ(out.left[p.frame], p.expected) << c.what << ", frame " << p.frame;
    }
}

TEST(Processing, MixZeroGivesTheInputBackBitForBit) {
    Settings settings;
    settings.mix = 0.0f;
    const auto input = testsupport::noise(50000, 3);
    const auto out = render(48000.0, 133.0, 1.37, settings, input, 333);
    EXPECT_EQ(out.left, input.left);
    EXPECT_EQ(out.right, input.right);
}

TEST(Processing, PreRollFormsOnePeriodAroundZero) {
    // One-bar periods and slices from -5 quarter notes: positions between
    // -4 and +4 (both exclusive) are one period, so no capture starts at 0.
    const auto input = ramp(9 * 22050 + 100);
    const auto out = render(44100.0, 120.0, -5.0, plainRepeats(0, 2), input, 2205);
    // A capture starts at the first sample, and again just after -4 (22050).
    EXPECT_EQ(out.left[22050], in(22050));
    EXPECT_EQ(out.left[22051], in(22051));
    // Had the capture from the first sample gone on, it would mute at 88200.
    EXPECT_EQ(out.left[88200], in(88200));
    // One bar after the second capture started (position just after 0) the
    // period has run out: muted until the boundary at +4.
    EXPECT_EQ(out.left[110250], in(110250));
    EXPECT_EQ(out.left[110251], 0.0f);
    EXPECT_EQ(out.left[198449], 0.0f);
    EXPECT_EQ(out.left[198450], in(198450));
}

TEST(Processing, JumpsStartACaptureOnlyInAnotherPeriod) {
    // Half-bar periods (2 quarter notes, 44100 samples) at 44.1 kHz, 120
    // BPM, 512-sample blocks; the transport jumps back to 0.1 before block
    // 20 and on to 7.5 before block 95.
    const auto input = ramp(100 * 512);
    SlicecastSession session(44100.0, 120.0, 0.0, 512);
    apply(*session.plugin, plainRepeats(0, 3));
    pluginhost::StereoBuffer out;
    vst2host::renderInBlocks(*session.plugin, session.host.transport, input, out, pluginhost::fixedBlocks(512),
                            [&](std::int64_t frame) {
                                if (frame == 20 * 512) session.host.transport.locate(0.1);
                                if (frame == 95 * 512) session.host.transport.locate(7.5);
                            });
    // Backward within period 0: the capture from frame 0 runs on, and its
    // period runs out at frame 44100 (the transport is then only at 1.64).
    EXPECT_EQ(out.left[20 * 512], in(20 * 512));
    EXPECT_EQ(out.left[44099], in(44099));
    EXPECT_EQ(out.left[44100], 0.0f);
    EXPECT_EQ(out.left[95 * 512 - 1], 0.0f);
    // Into period 3: a new capture at the first sample after the jump.
    EXPECT_EQ(out.left[95 * 512], in(95 * 512));
    EXPECT_EQ(out.left[95 * 512 + 300], in(95 * 512 + 300));
}

TEST(Processing, AsksForTheTimeOncePerBlockEvenForEmptyBlocks) {
    ScriptedTimeHost host;
    vst2host::PluginInstance plugin(host, testsupport::slicecastEntry());
    plugin.switchOn(44100.0f, 512);
    float left[4] = {1, 2, 3, 4};
    float right[4] = {1, 2, 3, 4};
    float* channels[2] = {left, right};
    for (VstInt32 frames : {0, -1, std::numeric_limits<VstInt32>::min()}) {
        const int before = host.timeQueries;
        plugin.processReplacing(channels, channels, frames);
        EXPECT_EQ(host.timeQueries, before + 1) << frames;
        EXPECT_EQ(host.lastTimeFilter, kVstPpqPosValid | kVstTempoValid);
    }
    EXPECT_EQ(left[0], 1.0f);  // nothing written
    plugin.processReplacing(channels, channels, 4);
    EXPECT_EQ(host.timeQueries, 4);
    // Empty blocks changed no state: the first real block starts a capture.
    EXPECT_EQ(left[0], 0.0f);
    EXPECT_EQ(left[1], (1.0f * 2.0f) / 12.0f);
}

TEST(Processing, NoTimeRecordCountsAsNoValidFields) {
    const auto input = testsupport::noise(50000, 9);
    ScriptedTimeHost nullHost;
    nullHost.answerWith(nullptr);
    vst2host::PluginInstance plugin(nullHost, testsupport::slicecastEntry());
    plugin.switchOn(44100.0f, 512);
    pluginhost::StereoBuffer fromNull;
    vst2host::renderInBlocks(plugin, nullHost.transport, input, fromNull, pluginhost::fixedBlocks(512));

    SlicecastSession noFlags(44100.0, 97.0, 3.0, 512);
    noFlags.host.transport.setKnown(false, false);
    EXPECT_EQ(fromNull.left, noFlags.render(input, 512).left);
}

TEST(Processing, UnusableTemposPlayAtTheDefaultTempo) {
    // The transport moves at 120 BPM but reports an unusable tempo.
    const auto input = testsupport::noise(50000, 4);
    const auto reference = render(44100.0, 120.0, 0.0, Settings{}, input, 512);
    for (double tempo : {0.0, -120.0, std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::quiet_NaN()}) {
        ScriptedTimeHost host;
        host.transport = pluginhost::Transport(44100.0, 120.0, 0.0);
        vst2host::PluginInstance plugin(host, testsupport::slicecastEntry());
        plugin.switchOn(44100.0f, 512);
        apply(plugin, Settings{});
        VstTimeInfo reported{};
        pluginhost::StereoBuffer out;
        vst2host::renderInBlocks(plugin, host.transport, input, out, pluginhost::fixedBlocks(512), [&](std::int64_t) {
            reported = *host.timeInfo();
            reported.tempo = tempo;
            host.answerWith(&reported);
        });
        EXPECT_EQ(out.left, reference.left) << tempo;
    }
}

TEST(Processing, UnusableSampleRatesPassTheInputThrough) {
    const auto input = testsupport::noise(4096, 5);
    for (float rate : {0.0f, -44100.0f, std::numeric_limits<float>::infinity(),
                       std::numeric_limits<float>::quiet_NaN()}) {
        SlicecastSession session;
        session.plugin->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        const auto out = session.render(input, 512);
        EXPECT_EQ(out.left, input.left) << rate;
        EXPECT_EQ(out.right, input.right) << rate;
    }
}

TEST(Processing, ExtremeButValidRatesAndTemposStayInsideTheBuffers) {
    const auto input = testsupport::noise(20000, 6);
    const struct {
        float sampleRate;
        double tempo;
    } cases[] = {{1e-30f, 120.0}, {1.0f, 999999.0}, {3e38f, 120.0}, {44100.0f, 1e-9}, {44100.0f, 1e12}};
    for (const auto& c : cases) {
        SlicecastSession session(c.sampleRate, c.tempo, 0.0, 512);
        apply(*session.plugin, plainRepeats(11, 4));
        const auto out = session.render(input, 512);
        for (float sample : out.left) ASSERT_TRUE(std::isfinite(sample)) << c.sampleRate << " " << c.tempo;
    }
}

TEST(Processing, InPlaceEqualsOutOfPlace) {
    const auto input = testsupport::noise(30000, 8);
    const auto outOfPlace = render(48000.0, 140.0, 0.5, Settings{}, input, 700);

    SlicecastSession session(48000.0, 140.0, 0.5, 700);
    apply(*session.plugin, Settings{});
    auto buffer = input;
    for (std::size_t start = 0; start < buffer.frames(); start += 700) {
        const auto frames = static_cast<VstInt32>(std::min<std::size_t>(700, buffer.frames() - start));
        float* channels[2] = {buffer.left.data() + start, buffer.right.data() + start};
        session.plugin->processReplacing(channels, channels, frames);
        session.host.transport.advance(frames);
    }
    EXPECT_EQ(buffer.left, outOfPlace.left);
    EXPECT_EQ(buffer.right, outOfPlace.right);
}

TEST(Processing, ParameterChangesTakeEffectAtTheNextBlock) {
    const auto input = ramp(44100);
    SlicecastSession session(44100.0, 120.0, 0.0, 4410);
    apply(*session.plugin, plainRepeats(5, 3));
    pluginhost::StereoBuffer out;
    vst2host::renderInBlocks(*session.plugin, session.host.transport, input, out, pluginhost::fixedBlocks(4410),
                            [&](std::int64_t frame) {
                                if (frame == 4410) session.plugin->setParameter(5, 0.0f);  // dry
                                if (frame == 8820) session.plugin->setParameter(5, 1.0f);
                                // 1/16 slices (5512) from the block at 13230 on.
                                if (frame == 13230) session.plugin->setParameter(0, 7.5f / 11.0f);
                            });
    EXPECT_EQ(out.left[4409], in(4409));
    EXPECT_EQ(out.left[4410], in(4410));  // dry equals the live pass here
    EXPECT_EQ(out.left[11025], in(0));    // 1/8 slice still
    EXPECT_EQ(out.left[13230], in(13230 % 5512));
}
