// The state a VST 3 host saves with its project: the processor's six
// values in the CLAP edition's format with the program chosen last, read
// back by a processor and by its controller through streams that give one
// byte at a time (states saved before the edition had programs too), and
// refused whole, with the values kept, when it is not a state of this
// effect.
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <optional>
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

TEST(Vst3State, TheProcessorSavesItsValuesInTheClapEditionsFormatWithTheProgram) {
    const claphost::HostObject host;
    claphost::ClapInstance clap(testsupport::slicecastClapLibrary(), host);
    claphost::EventList events;
    for (clap::Id id = 0; id < 6; ++id) events.addParamValue(0, id, kPlain[id]);
    clap.flush(events);
    const auto clapState = clap.saveState();
    ASSERT_TRUE(clapState);

    // The CLAP edition's values, as version 2 with the program (the first).
    Bytes expected = *clapState;
    expected.at(4) = 2;
    expected.insert(expected.end(), {0, 0, 0, 0});
    EXPECT_EQ(testsupport::savedStateOf(kPlain, 0), expected);

    Instance instance;
    EXPECT_NE(instance.savedState(), expected) << "a fresh instance saves its defaults";
    send(instance, kNormalized);
    EXPECT_EQ(instance.savedState(), expected);
    const auto byteByByte = vst3test::stream({}, 1);
    EXPECT_EQ(instance.component->getState(byteByByte.get()), vst3::kResultOk);
    EXPECT_EQ(byteByByte->bytes(), expected) << "written through a stream that takes one byte per call";
}

TEST(Vst3State, StatesWithAndWithoutTheProgramLoadTheirValuesAndNameTheProgramAgain) {
    // Version 1 is what the edition saved before it had programs: it loads
    // as it always did, showing the first program. A saved program is only
    // named again, over values that were edited after it was chosen.
    const struct {
        const char* name;
        Bytes state;
        std::int32_t program;
    } rows[] = {
        {"saved before programs", testsupport::savedStateOf(kPlain), 0},
        {"saved with a program", testsupport::savedStateOf(kPlain, 7), 7},
    };
    for (const auto& row : rows) {
        Instance loaded;
        const auto forProcessor = vst3test::stream(row.state, 1);
        const auto forController = vst3test::stream(row.state, 1);
        EXPECT_EQ(loaded.component->setState(forProcessor.get()), vst3::kResultOk) << row.name;
        EXPECT_EQ(loaded.controller->setComponentState(forController.get()), vst3::kResultOk) << row.name;
        EXPECT_EQ(controllerValues(loaded), kNormalized) << row.name;
        EXPECT_EQ(loaded.controller->getParamNormalized(vst3test::kProgramId), row.program / 13.0) << row.name;
        EXPECT_EQ(loaded.savedState(), testsupport::savedStateOf(kPlain, static_cast<std::uint32_t>(row.program)))
            << row.name;
        // The host sends the program it shows back: nothing changes.
        const auto same = vst3test::changes();
        same->add(vst3test::kProgramId, 0, row.program / 13.0);
        pluginhost::StereoBuffer none;
        EXPECT_EQ(loaded.process(nullptr, none, 0, 0, nullptr, same.get()), vst3::kResultOk);
        EXPECT_EQ(loaded.controller->setParamNormalized(vst3test::kProgramId, row.program / 13.0), vst3::kResultOk);
        EXPECT_EQ(controllerValues(loaded), kNormalized) << row.name;
        EXPECT_EQ(loaded.savedState(), testsupport::savedStateOf(kPlain, static_cast<std::uint32_t>(row.program)))
            << row.name;
    }
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
    // smallest double was the fuzzer's. States of both versions.
    struct Row {
        std::array<double, 6> plain;
        std::optional<std::uint32_t> program;
    };
    const std::vector<Row> rows{
        {{0.0, 0.0, 0.007, 0.014, 0.028, 0.051}, std::nullopt},
        {{11.0, 4.0, 100.0, std::numeric_limits<double>::denorm_min(), 50.000000000000007, 0.056}, 5},
    };
    for (const auto& [plain, program] : rows) {
        const Bytes state = testsupport::savedStateOf(plain, program.value_or(0));
        const Bytes given = program ? state : testsupport::savedStateOf(plain);
        Instance instance;
        const auto stream = vst3test::stream(given, 1);
        ASSERT_EQ(instance.component->setState(stream.get()), vst3::kResultOk);
        EXPECT_EQ(instance.savedState(), state) << plain[2] << ", " << plain[3];

        // A change from the host replaces the loaded value.
        send(instance, kNormalized);
        EXPECT_EQ(instance.savedState(), testsupport::savedStateOf(kPlain, program.value_or(0)));
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
