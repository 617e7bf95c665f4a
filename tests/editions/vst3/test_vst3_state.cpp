// The state a VST 3 host saves with its project: the processor's six
// values in the CLAP edition's format, read back by a processor and by its
// controller through streams that give one byte at a time, and refused
// whole, with the values kept, when it is not a state of this effect.
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <vector>

#include "clap_event_list.h"
#include "clap_instance.h"
#include "slicecast_clap_plugin.h"
#include "saved_state_cases.h"
#include "slicecast_plugin.h"
#include "vst3_test_host.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using vst3test::Instance;

// Values whose percentages are exact in both forms (plain = normalized x
// 100), steps 9 of 0..11 and 2 of 0..4.
constexpr std::array<double, 6> kNormalized{9.0 / 11.0, 0.5, 0.125, 0.75, 0.25, 0.375};
constexpr std::array<double, 6> kPlain{9.0, 2.0, 12.5, 75.0, 25.0, 37.5};

// The values sent as a host sends them outside playback: a call without
// frames that brings one point per parameter.
void send(Instance& instance, const std::array<double, 6>& normalized) {
    const auto changes = vst3test::changes();
    for (vst3::ParamID id = 0; id < 6; ++id) changes->add(id, 0, normalized[id]);
    pluginhost::StereoBuffer none;
    EXPECT_EQ(instance.process(nullptr, none, 0, 0, nullptr, changes.get()), vst3::kResultOk);
}

std::array<double, 6> controllerValues(Instance& instance) {
    std::array<double, 6> values{};
    for (vst3::ParamID id = 0; id < 6; ++id) values[id] = instance.controller->getParamNormalized(id);
    return values;
}

Bytes savedSome() {
    Instance instance;
    send(instance, kNormalized);
    return instance.savedState();
}

TEST(Vst3State, TheProcessorSavesItsValuesInTheClapEditionsFormat) {
    const claphost::HostObject host;
    claphost::ClapInstance clap(testsupport::slicecastClapLibrary(), host);
    claphost::EventList events;
    for (clap::Id id = 0; id < 6; ++id) events.addParamValue(0, id, kPlain[id]);
    clap.flush(events);
    const auto clapState = clap.saveState();
    ASSERT_TRUE(clapState);

    Instance instance;
    EXPECT_NE(instance.savedState(), *clapState) << "a fresh instance saves its defaults";
    send(instance, kNormalized);
    EXPECT_EQ(instance.savedState(), *clapState);
    const auto byteByByte = vst3test::stream({}, 1);
    EXPECT_EQ(instance.component->getState(byteByByte.get()), vst3::kResultOk);
    EXPECT_EQ(byteByByte->bytes(), *clapState) << "written through a stream that takes one byte per call";
}

TEST(Vst3State, ProcessorAndControllerLoadTheStateFromStreamsOfOneByte) {
    const Bytes saved = savedSome();
    Instance loaded;
    const auto forProcessor = vst3test::stream(saved, 1);
    const auto forController = vst3test::stream(saved, 1);
    EXPECT_EQ(loaded.component->setState(forProcessor.get()), vst3::kResultOk);
    EXPECT_EQ(loaded.controller->setComponentState(forController.get()), vst3::kResultOk);
    EXPECT_EQ(loaded.savedState(), saved);
    EXPECT_EQ(controllerValues(loaded), kNormalized);

    // The controller has no state of its own: it says so when asked to
    // save one (a host that stores both would keep only one of them), writes
    // nothing, and takes whatever it is given.
    const auto own = vst3test::stream();
    EXPECT_EQ(loaded.controller->getState(own.get()), vst3::kNotImplemented);
    EXPECT_TRUE(own->bytes().empty());
    EXPECT_EQ(loaded.controller->setState(own.get()), vst3::kResultOk);
}

TEST(Vst3State, ALoadedStateSavesBackTheValuesItHeld) {
    // Percentages whose normalized value (p / 100) does not give p back when
    // multiplied by 100 again, as a saved session may hold them; the
    // smallest double was the fuzzer's.
    const std::vector<std::array<double, 6>> rows{
        {0.0, 0.0, 0.007, 0.014, 0.028, 0.051},
        {11.0, 4.0, 100.0, std::numeric_limits<double>::denorm_min(), 50.000000000000007, 0.056},
    };
    for (const auto& plain : rows) {
        const Bytes state = testsupport::savedStateOf(plain);
        Instance instance;
        const auto stream = vst3test::stream(state, 1);
        ASSERT_EQ(instance.component->setState(stream.get()), vst3::kResultOk);
        EXPECT_EQ(instance.savedState(), state) << plain[2] << ", " << plain[3];

        // A change from the host replaces the loaded value.
        send(instance, kNormalized);
        EXPECT_EQ(instance.savedState(), savedSome());
    }
}

TEST(Vst3State, TheStateIsReadAndWrittenWhereTheStreamStands) {
    // A preset file holds its own header before the effect's state.
    const Bytes header{'h', 'e', 'a', 'd'};
    Instance saving;
    send(saving, kNormalized);
    const auto file = vst3test::stream(header);
    vst3::int64 at = 0;
    file->seek(0, vst3::kIBSeekEnd, &at);
    ASSERT_EQ(saving.component->getState(file.get()), vst3::kResultOk);
    EXPECT_EQ(Bytes(file->bytes().begin(), file->bytes().begin() + 4), header);

    Instance loading;
    file->seek(static_cast<vst3::int64>(header.size()), vst3::kIBSeekSet, nullptr);
    EXPECT_EQ(loading.component->setState(file.get()), vst3::kResultOk);
    EXPECT_EQ(loading.savedState(), saving.savedState());
}

TEST(Vst3State, WhatIsNotAWholeStateOfThisEffectIsRefusedAndChangesNothing) {
    for (const auto& row : testsupport::refusedStates(savedSome())) {
        for (const vst3::int32 stride : {1, INT32_MAX}) {
            Instance instance;
            const std::array<double, 6> before{0.0, 1.0, 0.5, 0.25, 0.125, 1.0};
            send(instance, before);
            const Bytes kept = instance.savedState();
            const auto forProcessor = vst3test::stream(row.bytes, stride);
            const auto forController = vst3test::stream(row.bytes, stride);
            EXPECT_EQ(instance.component->setState(forProcessor.get()), vst3::kResultFalse)
                << row.name << ", " << stride;
            EXPECT_EQ(instance.savedState(), kept) << row.name << ", " << stride;
            const std::array<double, 6> shown = controllerValues(instance);
            EXPECT_EQ(instance.controller->setComponentState(forController.get()), vst3::kResultFalse)
                << row.name << ", " << stride;
            EXPECT_EQ(controllerValues(instance), shown) << row.name << ", " << stride;
        }
    }
    Instance instance;
    EXPECT_EQ(instance.component->setState(nullptr), vst3::kInvalidArgument);
    EXPECT_EQ(instance.controller->setComponentState(nullptr), vst3::kInvalidArgument);
}

TEST(Vst3State, AStateLoadedWhileActiveIsHeardFromTheNextBlockAsTheSameValuesSentAsChanges) {
    // A host loads a state on its main thread while blocks are processed:
    // the next block must play the loaded values to the bit, as if they had
    // come as changes at its first frame. Playing on without the load shows
    // that the load is heard.
    constexpr double kRate = 44100.0;
    constexpr vst3::int32 kBlock = 4096;
    const auto input = testsupport::noise(4 * kBlock, 7);
    const Bytes saved = savedSome();
    enum class Change { None, StateLoaded, SentAsChanges };
    const auto render = [&](Change change) {
        Instance instance;
        instance.activate(kRate);
        pluginhost::StereoBuffer output(input.frames());
        for (std::size_t block = 0; block < 4; ++block) {
            const std::size_t at = block * kBlock;
            const auto changes = vst3test::changes();
            if (block == 2 && change == Change::StateLoaded) {
                const auto stream = vst3test::stream(saved, 1);
                EXPECT_EQ(instance.component->setState(stream.get()), vst3::kResultOk);
            }
            if (block == 2 && change == Change::SentAsChanges)
                for (vst3::ParamID id = 0; id < 6; ++id) changes->add(id, 0, kNormalized[id]);
            vst3::ProcessContext context = vst3test::contextAt(static_cast<double>(at) * 2.0 / kRate, 120.0, kRate);
            instance.process(&input, output, at, kBlock, &context, changes.get());
        }
        return output;
    };
    const auto loaded = render(Change::StateLoaded);
    EXPECT_TRUE(vst3test::sameBits(render(Change::SentAsChanges), loaded));
    EXPECT_FALSE(vst3test::sameBits(render(Change::None), loaded));
}

}  // namespace
