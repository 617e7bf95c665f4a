// The state a CLAP host saves with its project: the six values, read back
// through streams that move any number of bytes, refused whole when it is
// not a state of this effect.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "clap_event_list.h"
#include "clap_instance.h"
#include "clap_pair.h"
#include "clap_transport.h"
#include "saved_state_cases.h"
#include "slicecast_clap_plugin.h"
#include "slicecast_plugin.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Values = std::array<double, 6>;

struct Instance {
    claphost::HostObject host;
    claphost::ClapInstance plugin{testsupport::slicecastClapLibrary(), host};

    void set(const Values& values) {
        claphost::EventList events;
        for (clap::Id id = 0; id < 6; ++id) events.addParamValue(0, id, values[id]);
        plugin.flush(events);
    }
    Values values() const {
        Values values{};
        for (clap::Id id = 0; id < 6; ++id) values[id] = *plugin.parameterValue(id);
        return values;
    }
};

constexpr Values kSome{9, 0, 12.5, 99, 0.25, 3};

// The saved form of kSome, written out by hand from the format.
Bytes savedSome() { return testsupport::savedStateOf(kSome); }

TEST(ClapState, ValuesGoThroughStreamsOfAnyStrideAndComeBackTheSame) {
    for (const std::uint64_t stride : {std::uint64_t{1}, std::uint64_t{3}, std::uint64_t{7}, UINT64_MAX}) {
        Instance saved;
        saved.set(kSome);
        const auto bytes = saved.plugin.saveState(stride);
        ASSERT_TRUE(bytes) << stride;
        EXPECT_EQ(*bytes, savedSome()) << "the documented form, stride " << stride;

        Instance loaded;
        EXPECT_TRUE(loaded.plugin.loadState(*bytes, stride)) << stride;
        EXPECT_EQ(loaded.values(), kSome) << stride;
        EXPECT_EQ(loaded.plugin.saveState(), bytes) << "saving again gives the same bytes, stride " << stride;
        EXPECT_EQ(loaded.host.paramsCalls(), 0)
            << "the host asked for the load: telling it of the values would mark its session modified";
    }
}

TEST(ClapState, AFreshInstanceSavesItsDefaults) {
    Instance fresh;
    Instance loaded;
    loaded.set(kSome);
    ASSERT_TRUE(loaded.plugin.loadState(*fresh.plugin.saveState(), 1));
    EXPECT_EQ(loaded.values(), (Values{5, 3, 70, 0, 100, 100}));
}

TEST(ClapState, WhatIsNotAWholeStateOfThisEffectIsRefusedAndChangesNothing) {
    for (const auto& row : testsupport::refusedStates(savedSome())) {
        for (const std::uint64_t stride : {std::uint64_t{1}, UINT64_MAX}) {
            Instance instance;
            const Values before{2, 4, 1, 2, 3, 4};
            instance.set(before);
            EXPECT_FALSE(instance.plugin.loadState(row.bytes, stride)) << row.name << ", stride " << stride;
            EXPECT_EQ(instance.values(), before) << row.name << ", stride " << stride;
            EXPECT_EQ(instance.host.paramsCalls(), 0) << row.name;
        }
    }
}

TEST(ClapState, AStateLoadedBetweenBlocksIsHeardFromTheNextBlockAsTheSameValuesSentAsEvents) {
    // A host loads a state on its main thread while the audio thread plays
    // on: the edition maps the values again only when they moved, and must
    // hear the load from the next block to the bit, as if the same values
    // came as events at that block's first frame. Playing on without the
    // load shows that the load is heard.
    constexpr double kRate = 44100.0;
    constexpr std::uint32_t kBlock = 4096;
    constexpr std::size_t kLoadBefore = 2;
    const auto input = testsupport::noise(4 * kBlock, 7);
    enum class Change { None, StateLoaded, SentAsEvents };
    const auto render = [&](Change change) {
        Instance instance;
        EXPECT_TRUE(instance.plugin.activate(kRate, 1, kBlock));
        EXPECT_TRUE(instance.plugin.startProcessing());
        pluginhost::StereoBuffer output(input.frames());
        for (std::size_t block = 0; block < 4; ++block) {
            const std::size_t at = block * kBlock;
            claphost::EventList events;
            if (block == kLoadBefore && change == Change::StateLoaded) {
                EXPECT_TRUE(instance.plugin.loadState(savedSome()));
            }
            if (block == kLoadBefore && change == Change::SentAsEvents) {
                for (clap::Id id = 0; id < 6; ++id) events.addParamValue(0, id, kSome[id]);
            }
            const clap::EventTransport transport =
                claphost::playingTransport(static_cast<double>(at) * 2.0 / kRate, 120.0);
            instance.plugin.process(
                {&input.left[at], &input.right[at], &output.left[at], &output.right[at], kBlock, &transport, &events});
        }
        return output;
    };
    const auto loaded = render(Change::StateLoaded);
    EXPECT_TRUE(claptest::sameBits(render(Change::SentAsEvents), loaded));
    EXPECT_FALSE(claptest::sameBits(render(Change::None), loaded));
}

TEST(ClapState, AHostWithoutExtensionsGetsTheStateLoadedAllTheSame) {
    // A scanner's host answers no extension: nothing to tell of the load.
    const claphost::HostObject bareHost(false);
    claphost::ClapInstance plugin(testsupport::slicecastClapLibrary(), bareHost);
    ASSERT_TRUE(plugin.loadState(savedSome(), 1));
    for (clap::Id id = 0; id < 6; ++id) EXPECT_EQ(plugin.parameterValue(id), kSome[id]);
    EXPECT_EQ(bareHost.paramsCalls(), 0);
}

TEST(ClapState, AStreamThatFailsIsRefused) {
    // A host stream that reports an error part way through.
    struct Failing {
        static std::int64_t SLICECAST_CLAP_CALL read(const clap::InputStream* stream, void* buffer, std::uint64_t size) {
            auto& left = *static_cast<std::size_t*>(stream->ctx);
            if (left == 0 || size == 0) return -1;
            std::memset(buffer, 'S', 1);
            --left;
            return 1;
        }
        static std::int64_t SLICECAST_CLAP_CALL write(const clap::OutputStream*, const void*, std::uint64_t) { return -1; }
    };
    Instance instance;
    const auto* state = static_cast<const clap::PluginState*>(instance.plugin.extension(clap::kExtState));
    ASSERT_NE(state, nullptr);
    std::size_t left = 30;
    const clap::InputStream input{&left, &Failing::read};
    EXPECT_FALSE(state->load(&instance.plugin.plugin(), &input));
    const clap::OutputStream output{nullptr, &Failing::write};
    EXPECT_FALSE(state->save(&instance.plugin.plugin(), &output));
    EXPECT_EQ(instance.values(), (Values{5, 3, 70, 0, 100, 100}));
}

}  // namespace
