// What only CLAP has, in processing: events the effect must step over,
// flush against events, block lengths within the activated bounds, hostile
// transports, odd buffers, and the life cycle as real hosts walk it.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <random>

#include "clap_event_list.h"
#include "clap_pair.h"
#include "clap_transport.h"
#include "slicecast_clap_plugin.h"
#include "slicecast_plugin.h"

namespace {

using claptest::ClapRig;
using claptest::sameBits;

constexpr double kRate = 44100.0;

// Plays input through rig in blocks of blockFrames, handing events to the
// first block, with a playing transport from position 0 at 120 BPM (or
// none).
pluginhost::StereoBuffer play(ClapRig& rig, const pluginhost::StereoBuffer& input, std::uint32_t blockFrames,
                           const claphost::EventList& firstBlockEvents = {}, bool withTransport = true) {
    pluginhost::StereoBuffer output(input.frames());
    for (std::size_t at = 0; at < input.frames(); at += blockFrames) {
        const auto frames = static_cast<std::uint32_t>(std::min<std::size_t>(blockFrames, input.frames() - at));
        const clap::EventTransport transport =
            claphost::playingTransport(static_cast<double>(at) * 2.0 / kRate, 120.0);
        const claphost::EventList none;
        rig.plugin.process({&input.left[at], &input.right[at], &output.left[at], &output.right[at], frames,
                            withTransport ? &transport : nullptr, at == 0 ? &firstBlockEvents : &none,
                            static_cast<std::int64_t>(at)});
    }
    return output;
}

std::array<double, 6> valuesOf(const claphost::ClapInstance& plugin) {
    std::array<double, 6> values{};
    for (clap::Id id = 0; id < 6; ++id) values[id] = *plugin.parameterValue(id);
    return values;
}

claphost::EventList eventsOf(void (*add)(claphost::EventList&)) {
    claphost::EventList events;
    add(events);
    return events;
}

// An event of any type and size, its body filled with bytes that would
// read as a parameter change to Mix 0 (silence of the repeats) if taken
// for one.
template <std::size_t Size>
void addForeign(claphost::EventList& events, std::uint16_t space, std::uint16_t type) {
    struct {
        clap::EventParamValue change;
        std::uint8_t rest[Size > sizeof(clap::EventParamValue) ? Size - sizeof(clap::EventParamValue) : 1];
    } event{};
    event.change.header = {static_cast<std::uint32_t>(Size), 3, space, type, 0};
    event.change.paramId = 5;
    event.change.value = 0.0;
    events.addRaw(event.change.header);
}

TEST(ClapProcessing, EventsTheEffectDoesNotTakeAreSteppedOverByTheirSize) {
    const struct {
        const char* name;
        claphost::EventList events;
    } rows[] = {
        {"a parameter value in another space", eventsOf([](auto& e) { e.addParamValue(3, 5, 0.0, nullptr, 1); })},
        {"a parameter value in the last space",
         eventsOf([](auto& e) { e.addParamValue(3, 5, 0.0, nullptr, UINT16_MAX); })},
        {"a parameter value cut short", eventsOf([](auto& e) { addForeign<sizeof(clap::EventHeader)>(e, 0, 5); })},
        {"a parameter value one byte short",
         eventsOf([](auto& e) { addForeign<sizeof(clap::EventParamValue) - 1>(e, 0, 5); })},
        {"a modulation", eventsOf([](auto& e) { addForeign<sizeof(clap::EventParamValue)>(e, 0, 6); })},
        {"a gesture", eventsOf([](auto& e) { addForeign<24>(e, 0, 7); })},
        {"a note on", eventsOf([](auto& e) { addForeign<40>(e, 0, 0); })},
        {"a MIDI message", eventsOf([](auto& e) { addForeign<24>(e, 0, 10); })},
        {"an unknown type, long", eventsOf([](auto& e) { addForeign<4096>(e, 0, 4000); })},
        {"a transport in another space", eventsOf([](auto& e) { addForeign<sizeof(clap::EventTransport)>(e, 9, 9); })},
        {"a parameter id beyond the six", eventsOf([](auto& e) {
             e.addParamValue(3, 6, 0.0);
             e.addParamValue(3, clap::kInvalidId, 0.0);
         })},
    };
    const auto input = testsupport::noise(40000, 4);
    ClapRig plain(kRate);
    const auto expected = play(plain, input, 512);
    for (const auto& row : rows) {
        ClapRig rig(kRate);
        EXPECT_TRUE(sameBits(expected, play(rig, input, 512, row.events))) << row.name;
        EXPECT_EQ(valuesOf(rig.plugin), valuesOf(plain.plugin)) << row.name;
    }
    // The same body as a core parameter value is taken: the rows above
    // would have shown it.
    ClapRig rig(kRate);
    EXPECT_FALSE(sameBits(expected, play(rig, input, 512, eventsOf([](auto& e) {
                                               addForeign<sizeof(clap::EventParamValue)>(e, 0, 5);
                                           }))));
}

TEST(ClapProcessing, FlushSetsWhatTheSameEventsInABlockSet) {
    std::mt19937 random(12);
    claphost::EventList changes;
    for (clap::Id id = 0; id < 6; ++id) {
        const double maximum = id < 2 ? (id == 0 ? 11.0 : 4.0) : 100.0;
        // A cookie the host made up: the effect gives none and must not read it.
        changes.addParamValue(0, id, std::uniform_real_distribution<double>(0.0, maximum)(random),
                              reinterpret_cast<void*>(std::uintptr_t{0x5eed} + id));
    }
    const auto input = testsupport::noise(30000, 5);
    ClapRig byEvents(kRate);
    const auto expected = play(byEvents, input, 700, changes);

    const struct {
        const char* name;
        bool whileActive;
    } rows[] = {{"flush before activation", false}, {"flush while active, between blocks", true}};
    for (const auto& row : rows) {
        claphost::HostObject host;
        claphost::ClapInstance plugin(testsupport::slicecastClapLibrary(), host);
        if (!row.whileActive) plugin.flush(changes);
        ASSERT_TRUE(plugin.activate(kRate, 1, 8192));
        if (row.whileActive) plugin.flush(changes);
        ASSERT_TRUE(plugin.startProcessing());
        EXPECT_EQ(valuesOf(plugin), valuesOf(byEvents.plugin)) << row.name;
        pluginhost::StereoBuffer output(input.frames());
        for (std::size_t at = 0; at < input.frames(); at += 700) {
            const auto frames = static_cast<std::uint32_t>(std::min<std::size_t>(700, input.frames() - at));
            const clap::EventTransport transport = claphost::playingTransport(static_cast<double>(at) * 2.0 / kRate, 120.0);
            plugin.process({&input.left[at], &input.right[at], &output.left[at], &output.right[at], frames, &transport});
        }
        EXPECT_TRUE(sameBits(expected, output)) << row.name;
    }
}

TEST(ClapProcessing, ValuesFlushedBetweenBlocksAreHeardAsIfMappedAfresh) {
    // The edition maps the values again only when one changed, however
    // small the change in bits. The reference flushes a value none of the
    // rows uses and sends each value as an event at the block's first frame,
    // which forces the mapping to be made afresh before any frame plays; and
    // the first value kept throughout shows that the change is heard.
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        clap::Id id;
        std::vector<double> valuePerBlock;
    } rows[] = {
        {"WaveLength up and back", 0, {2.0, 7.0, 2.0, 7.0}},
        {"UpdatePeriod down and back", 1, {3.0, 0.0, 3.0, 0.0}},
        {"Rate to -0 and back", 2, {30.0, -0.0, 0.0, 30.0}},
        {"FadeOut to NaN and back", 3, {40.0, kNaN, 40.0, kNaN}},
        {"DecayRate to -0 and +0", 4, {50.0, -0.0, 0.0, 50.0}},
        {"Mix to -0 and +0", 5, {60.0, -0.0, 0.0, -0.0}},
    };
    constexpr std::uint32_t kBlock = 44100;
    const auto input = testsupport::noise(4 * kBlock, 6);
    for (const auto& row : rows) {
        const auto render = [&](const std::vector<double>& valuePerBlock, bool afresh) {
            ClapRig rig(kRate, kBlock);
            claphost::EventList busy;
            // Short slices in short periods, so that every change shows.
            busy.addParamValue(0, 0, 9.0);
            busy.addParamValue(0, 1, 1.0);
            rig.plugin.flush(busy);
            pluginhost::StereoBuffer output(input.frames());
            for (std::size_t block = 0; block < valuePerBlock.size(); ++block) {
                const std::size_t at = block * kBlock;
                const clap::EventTransport transport =
                    claphost::playingTransport(static_cast<double>(at) * 2.0 / kRate, 120.0);
                claphost::EventList change;
                change.addParamValue(0, row.id, afresh ? 1234.5 : valuePerBlock[block]);
                rig.plugin.flush(change);
                claphost::EventList atFirstFrame;
                if (afresh) atFirstFrame.addParamValue(0, row.id, valuePerBlock[block]);
                rig.plugin.process({&input.left[at], &input.right[at], &output.left[at], &output.right[at], kBlock,
                                    &transport, &atFirstFrame});
            }
            return output;
        };
        const auto played = render(row.valuePerBlock, false);
        EXPECT_TRUE(sameBits(render(row.valuePerBlock, true), played)) << row.name;
        const std::vector<double> unchanged(row.valuePerBlock.size(), row.valuePerBlock.front());
        EXPECT_FALSE(sameBits(render(unchanged, false), played)) << row.name;
    }
}

TEST(ClapProcessing, AnyBlockLengthsWithinTheActivatedBoundsSoundTheSame) {
    // Without a transport the effect counts time itself, so how the host
    // cuts the signal must not be heard at all. At 32768 Hz and 120 BPM a
    // frame is exactly 2^-14 quarter notes: every count of time is exact,
    // whatever the cuts.
    constexpr double kExactRate = 32768.0;
    const struct {
        std::uint32_t minimum;
        std::uint32_t maximum;
    } bounds[] = {{1, 1}, {1, 2048}, {64, 4096}, {512, 1024}, {3000, 16384}};
    const auto input = testsupport::noise(60000, 6);
    ClapRig reference(kExactRate, 16384);
    const auto expected = play(reference, input, 16384, {}, false);
    for (const auto& bound : bounds) {
        ClapRig rig(kExactRate, bound.maximum);
        std::mt19937 random(bound.maximum);
        pluginhost::StereoBuffer output(input.frames());
        for (std::size_t at = 0; at < input.frames();) {
            const std::uint32_t wanted = std::uniform_int_distribution<std::uint32_t>(bound.minimum, bound.maximum)(random);
            // The last block may come out shorter than the minimum: the
            // rest is played in one further block of the minimum, padded.
            const auto frames = static_cast<std::uint32_t>(std::min<std::size_t>(wanted, input.frames() - at));
            if (frames < bound.minimum) {
                pluginhost::StereoBuffer tail(bound.minimum);
                std::copy_n(&input.left[at], frames, tail.left.begin());
                std::copy_n(&input.right[at], frames, tail.right.begin());
                rig.plugin.process({tail.left.data(), tail.right.data(), tail.left.data(), tail.right.data(),
                                    bound.minimum});
                std::copy_n(tail.left.begin(), frames, &output.left[at]);
                std::copy_n(tail.right.begin(), frames, &output.right[at]);
            } else {
                rig.plugin.process({&input.left[at], &input.right[at], &output.left[at], &output.right[at], frames});
            }
            at += frames;
        }
        EXPECT_TRUE(sameBits(expected, output))
            << bound.minimum << ".." << bound.maximum << ": " << claptest::firstDifference(expected, output);
    }
}

bool finiteAndNormal(const pluginhost::StereoBuffer& output) {
    for (const auto* channel : {&output.left, &output.right}) {
        for (const float sample : *channel) {
            if (!std::isfinite(sample) || (sample != 0.0f && std::fabs(sample) < FLT_MIN)) return false;
        }
    }
    return true;
}

clap::EventTransport randomTransport(std::mt19937_64& random) {
    const double tempi[] = {0.0, -120.0, 1e-300, 1e300, std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::infinity(), 0.5, 999.0, 120.0};
    clap::EventTransport transport{};
    transport.header = {sizeof transport, 0, 0, clap::kEventTransport, 0};
    transport.flags = static_cast<std::uint32_t>(random());
    transport.songPosBeats = static_cast<std::int64_t>(random());
    transport.songPosSeconds = static_cast<std::int64_t>(random());
    transport.tempo = tempi[random() % std::size(tempi)];
    transport.tempoInc = static_cast<double>(static_cast<std::int64_t>(random())) * 1e-9;
    transport.barNumber = static_cast<std::int32_t>(random());
    transport.tsigDenom = static_cast<std::uint16_t>(random());
    return transport;
}

TEST(ClapProcessing, GarbageTransportsAtBlockStartsAndInsideBlocksGiveFiniteNormalOutput) {
    // As a validator fuzzes: a random record every block, and random
    // transport events every 1, 100 or 1000 frames.
    const auto input = testsupport::noise(1024, 7);
    for (const std::uint32_t every : {0u, 1u, 100u, 1000u}) {
        std::mt19937_64 random(every);
        ClapRig rig(kRate, 1024);
        for (int block = 0; block < 200; ++block) {
            const clap::EventTransport transport = randomTransport(random);
            claphost::EventList events;
            for (std::uint32_t frame = every; every > 0 && frame < 1024; frame += every)
                events.addTransport(frame, randomTransport(random));
            pluginhost::StereoBuffer output(1024);
            rig.plugin.process({input.left.data(), input.right.data(), output.left.data(), output.right.data(), 1024,
                                block % 5 == 0 ? nullptr : &transport, &events});
            ASSERT_TRUE(finiteAndNormal(output)) << "events every " << every << " frames, block " << block;
        }
    }
}

TEST(ClapProcessing, BuffersThatAreNotAStereoPairAreServedSafely) {
    ClapRig rig(kRate);
    const auto input = testsupport::noise(256, 8);
    pluginhost::StereoBuffer output(256);
    float* in[2] = {const_cast<float*>(input.left.data()), const_cast<float*>(input.right.data())};
    float* out[2] = {output.left.data(), output.right.data()};
    float* missing[2] = {nullptr, nullptr};
    const struct {
        const char* name;
        clap::AudioBuffer input;
        std::uint32_t inputs;
        clap::AudioBuffer output;
        std::uint32_t outputs;
        clap::ProcessStatus status;
    } rows[] = {
        {"no output port", {in, nullptr, 2, 0, 0}, 1, {out, nullptr, 2, 0, 0}, 0, clap::kProcessError},
        {"a mono output", {in, nullptr, 2, 0, 0}, 1, {out, nullptr, 1, 0, 0}, 1, clap::kProcessError},
        {"null output channels", {in, nullptr, 2, 0, 0}, 1, {missing, nullptr, 2, 0, 0}, 1, clap::kProcessError},
        {"64-bit buffers only", {nullptr, nullptr, 2, 0, 0}, 1, {nullptr, nullptr, 2, 0, 0}, 1, clap::kProcessError},
        {"no input port", {in, nullptr, 2, 0, 0}, 0, {out, nullptr, 2, 0, 0}, 1, clap::kProcessContinue},
        {"null input channels", {missing, nullptr, 2, 0, 0}, 1, {out, nullptr, 2, 0, 0}, 1, clap::kProcessContinue},
    };
    const auto* plugin = &rig.plugin.plugin();
    const claphost::EventList none;
    for (const auto& row : rows) {
        std::fill(output.left.begin(), output.left.end(), 0.5f);
        const clap::Process call{-1, 256, nullptr, &row.input, const_cast<clap::AudioBuffer*>(&row.output),
                                 row.inputs, row.outputs, none.inputEvents(), nullptr};
        EXPECT_EQ(plugin->process(plugin, &call), row.status) << row.name;
        // Without an input the effect hears silence, and so plays it.
        if (row.status == clap::kProcessContinue) {
            EXPECT_TRUE(std::all_of(output.left.begin(), output.left.end(), [](float s) { return s == 0.0f; }))
                << row.name;
        }
    }
    EXPECT_EQ(plugin->process(plugin, nullptr), clap::kProcessError);
}

TEST(ClapLifecycle, AnActivationStartsAsANewInstanceWithItsValuesKept) {
    // Every rate in single precision, as the VST 2.4 edition holds it: a
    // rate that differs from 48000 beyond float's precision plays as 48000.
    const struct {
        double rate;
        double plays;
    } rows[] = {{1000.0, 1000.0},         {22050.0, 22050.0}, {44100.5, 44100.5},
                {48000.000001, 48000.0},  {768000.0, 768000.0}};
    const auto input = testsupport::noise(20000, 9);
    claphost::EventList mix;
    mix.addParamValue(0, 5, 60.0);
    mix.addParamValue(0, 0, 10.0);
    for (const auto& row : rows) {
        ClapRig fresh(row.plays);
        const auto expected = play(fresh, input, 1000, mix);

        ClapRig reactivated(48000.0);
        play(reactivated, input, 1000, mix);
        reactivated.plugin.stopProcessing();
        reactivated.plugin.deactivate();
        ASSERT_TRUE(reactivated.plugin.activate(row.rate, 1, 8192));
        ASSERT_TRUE(reactivated.plugin.startProcessing());
        EXPECT_EQ(valuesOf(reactivated.plugin), valuesOf(fresh.plugin));
        EXPECT_TRUE(sameBits(expected, play(reactivated, input, 1000))) << row.rate;
    }
}

TEST(ClapLifecycle, ResetPlaysAsANewInstanceWithItsValuesKept) {
    const auto input = testsupport::noise(30000, 10);
    claphost::EventList changes;
    changes.addParamValue(0, 0, 11.0);
    changes.addParamValue(0, 3, 40.0);
    ClapRig fresh(kRate);
    const auto expected = play(fresh, input, 512, changes);
    ClapRig used(kRate);
    const auto first = play(used, input, 512, changes);
    used.plugin.reset();
    EXPECT_TRUE(sameBits(expected, play(used, input, 512)));
    // Without the reset the second pass would differ: the test can tell.
    const auto second = play(used, input, 512);
    EXPECT_FALSE(sameBits(expected, second));
}

TEST(ClapLifecycle, AHostThatDeactivatesWithoutStoppingIsServed) {
    // As Qtractor does: process, then deactivate without stop_processing,
    // and activate again later.
    const auto input = testsupport::noise(4096, 11);
    const claphost::HostObject host;
    const clap::PluginFactory& factory = testsupport::slicecastClapLibrary().factory();
    const clap::Plugin* plugin = factory.createPlugin(&factory, host.host(), "example.tiv-nar.slicecast");
    ASSERT_NE(plugin, nullptr);
    ASSERT_TRUE(plugin->init(plugin));
    pluginhost::StereoBuffer outputs[2] = {pluginhost::StereoBuffer(4096), pluginhost::StereoBuffer(4096)};
    for (auto& output : outputs) {
        ASSERT_TRUE(plugin->activate(plugin, 48000.0, 1024, 4096));
        ASSERT_TRUE(plugin->startProcessing(plugin));
        float* in[2] = {const_cast<float*>(input.left.data()), const_cast<float*>(input.right.data())};
        float* out[2] = {output.left.data(), output.right.data()};
        const clap::AudioBuffer inputBuffer{in, nullptr, 2, 0, 0};
        clap::AudioBuffer outputBuffer{out, nullptr, 2, 0, 0};
        const clap::EventTransport zero{};
        const claphost::EventList none;
        const clap::Process call{0, 4096, &zero, &inputBuffer, &outputBuffer, 1, 1, none.inputEvents(), nullptr};
        EXPECT_EQ(plugin->process(plugin, &call), clap::kProcessContinue);
        plugin->deactivate(plugin);
    }
    plugin->destroy(plugin);
    EXPECT_TRUE(sameBits(outputs[0], outputs[1])) << "the second activation must start as the first did";
}

}  // namespace
