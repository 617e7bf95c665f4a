// A host's control thread sets parameters and reads their texts while its
// audio thread processes blocks. Nothing is locked; the ThreadSanitizer
// stage runs this test to show that the fields are shared without a race.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <random>
#include <thread>

#include "reliability_support.h"
#include "slicecast_plugin.h"

namespace {

constexpr VstInt32 kBlock = 256;
constexpr int kBlocks = 3000;
constexpr int kMaxBlocks = 20'000'000;
constexpr long kOverlapRounds = 2000;

TEST(Concurrency, ParametersAndDisplaysChangeWhileBlocksAreProcessed) {
    vsthost::Host host;
    host.transport = vsthost::Transport(44100.0, 120.0, 0.0);
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

    vsthost::StereoBuffer output(kBlock);
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

}  // namespace
