// A host's control thread sets parameters and reads their texts while its
// audio thread processes blocks. Nothing is locked; the ThreadSanitizer
// stage runs this test to show that the fields are shared without a race.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <random>
#include <thread>

#include "clap_event_list.h"
#include "clap_instance.h"
#include "clap_transport.h"
#include "reliability_support.h"
#include "slicecast_clap_plugin.h"
#include "slicecast_plugin.h"

namespace {

constexpr VstInt32 kBlock = 256;
constexpr int kBlocks = 3000;
constexpr int kMaxBlocks = 20'000'000;
constexpr long kOverlapRounds = 2000;

TEST(Concurrency, ParametersAndDisplaysChangeWhileBlocksAreProcessed) {
    vst2host::Host host;
    host.transport = pluginhost::Transport(44100.0, 120.0, 0.0);
    auto instance = reliability::openInstance(host, 44100.0f, reliability::presets()[1], kBlock);
    const auto input = testsupport::noise(kBlock, 6);

    std::atomic<bool> audioRunning{true};
    std::atomic<long> controlRounds{0};
    std::atomic<bool> textsWellFormed{true};
    std::thread control([&] {
        std::mt19937 generator(8);
        std::uniform_real_distribution<float> value(0.0f, 1.0f);
        while (audioRunning.load()) {
            const auto index = static_cast<VstInt32>(controlRounds.load() % 6);
            instance->setParameter(index, value(generator));
            (void)instance->getParameter(index);
            for (VstInt32 opcode : {effGetParamDisplay, effGetParamName, effGetParamLabel}) {
                char text[256];
                std::memset(text, 0x7F, sizeof(text));
                instance->dispatch(opcode, index, 0, text);
                // Every text ends within its bound of 16 characters.
                if (std::memchr(text, '\0', 17) == nullptr) textsWellFormed = false;
            }
            // The sample rate is a dispatcher call the host may make from
            // this thread too; it takes effect at the next block.
            if (controlRounds.load() % 64 == 0) {
                instance->dispatch(effSetSampleRate, 0, 0, nullptr, controlRounds.load() % 128 ? 48000.0f : 44100.0f);
            }
            controlRounds.fetch_add(1);
        }
    });
    while (controlRounds.load() == 0) std::this_thread::yield();

    pluginhost::StereoBuffer output(kBlock);
    bool finite = true;
    const long roundsAtStart = controlRounds.load();
    // At least kBlocks blocks, and on until the control thread has made
    // kOverlapRounds rounds while blocks were being processed; a control
    // thread that never gets to run shows as a failure, not as a hang.
    int block = 0;
    for (; block < kMaxBlocks && (block < kBlocks || controlRounds.load() - roundsAtStart < kOverlapRounds); ++block) {
        reliability::processBlock(*instance, input.left.data(), input.right.data(), output.left.data(),
                                  output.right.data(), kBlock);
        host.transport.advance(kBlock);
        finite = finite && reliability::allFinite(output);
    }
    audioRunning = false;
    control.join();

    EXPECT_LT(block, kMaxBlocks) << "the control thread did not run alongside the audio thread";
    EXPECT_TRUE(finite);
    EXPECT_TRUE(textsWellFormed);
    // Once both threads are done, a value set reads back exactly.
    instance->setParameter(3, 0.375f);
    EXPECT_EQ(instance->getParameter(3), 0.375f);
}

TEST(Concurrency, ClapValuesTextsAndStateOnTheMainThreadWhileBlocksWithEventsAreProcessed) {
    // The CLAP edition's main thread reads values and texts, saves and
    // loads state, while its audio thread processes blocks whose parameter
    // events change the same values.
    claphost::HostObject host;
    claphost::ClapInstance plugin(testsupport::slicecastClapLibrary(), host);
    ASSERT_TRUE(plugin.activate(44100.0, 1, kBlock));
    ASSERT_TRUE(plugin.startProcessing());
    const auto input = testsupport::noise(kBlock, 6);
    const std::vector<std::uint8_t> defaults = *plugin.saveState();

    std::atomic<bool> audioRunning{true};
    std::atomic<long> controlRounds{0};
    std::atomic<bool> valuesWellFormed{true};
    std::thread control([&] {
        while (audioRunning.load()) {
            const auto id = static_cast<clap::Id>(controlRounds.load() % 6);
            const double value = *plugin.parameterValue(id);
            const double maximum = id == 0 ? 11.0 : (id == 1 ? 4.0 : 100.0);
            // A value is always one the parameter can take, never torn.
            if (!(value >= 0.0 && value <= maximum) || (id < 2 && value != static_cast<int>(value)))
                valuesWellFormed = false;
            if (!plugin.valueToText(id, value)) valuesWellFormed = false;
            const auto saved = plugin.saveState();
            if (!saved || !plugin.loadState(controlRounds.load() % 2 == 0 ? *saved : defaults))
                valuesWellFormed = false;
            controlRounds.fetch_add(1);
        }
    });
    while (controlRounds.load() == 0) std::this_thread::yield();

    pluginhost::StereoBuffer output(kBlock);
    bool finite = true;
    const long roundsAtStart = controlRounds.load();
    std::mt19937 generator(9);
    int block = 0;
    for (; block < kMaxBlocks && (block < kBlocks || controlRounds.load() - roundsAtStart < kOverlapRounds); ++block) {
        claphost::EventList events;
        const auto id = static_cast<clap::Id>(block % 6);
        events.addParamValue(static_cast<std::uint32_t>(block % kBlock), id,
                             std::uniform_real_distribution<double>(0.0, id < 2 ? 4.0 : 100.0)(generator));
        const clap::EventTransport transport = claphost::playingTransport(block * 0.01, 120.0);
        plugin.process({input.left.data(), input.right.data(), output.left.data(), output.right.data(), kBlock,
                        &transport, &events});
        finite = finite && reliability::allFinite(output);
    }
    audioRunning = false;
    control.join();

    EXPECT_LT(block, kMaxBlocks) << "the main thread did not run alongside the audio thread";
    EXPECT_TRUE(finite);
    EXPECT_TRUE(valuesWellFormed);
}

}  // namespace
