// Instances as a DAW juggles them: many at once, opened and closed in a
// loop, every opcode thrown at them, switched on and off around rate and
// block-size changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "heap_usage.h"
#include "reliability_support.h"
#include "slicecast_plugin.h"

using reliability::openInstance;
using reliability::presets;
using testsupport::noise;

namespace {

constexpr float kRate = 44100.0f;

// Opcodes that write through ptr, and how many bytes they may write. The
// text opcodes write their bound plus the terminating NUL; the speaker
// arrangement query writes a null pointer into the place it is given.
std::size_t bytesWrittenThroughPtr(VstInt32 opcode) {
    switch (opcode) {
        case effGetProgramName:
        case effGetParamLabel:
        case effGetParamDisplay:
        case effGetParamName: return 17;
        case effGetEffectName:
        case effGetVendorString:
        case effGetProductString: return 25;
        case effGetSpeakerArrangement: return sizeof(void*);
        default: return 0;
    }
}

bool writesThroughPtr(VstInt32 opcode) { return bytesWrittenThroughPtr(opcode) > 0; }

TEST(Lifecycle, ManyInstancesInterleavedMatchTheSameInstancesRunAlone) {
    constexpr int kInstances = 12;
    constexpr std::size_t kFrames = 3 * 44100;
    constexpr VstInt32 kBlock = 733;

    std::vector<std::unique_ptr<vst2host::Host>> hosts;
    std::vector<std::unique_ptr<vst2host::PluginInstance>> instances;
    std::vector<pluginhost::StereoBuffer> inputs;
    std::vector<pluginhost::StereoBuffer> outputs;
    for (int n = 0; n < kInstances; ++n) {
        // Each instance gets its own tempo, start, preset and signal, so
        // that any sharing of state between them shows in the output.
        hosts.push_back(std::make_unique<vst2host::Host>());
        hosts.back()->transport = pluginhost::Transport(kRate, 90.0 + 10.0 * n, 0.5 * n);
        instances.push_back(openInstance(*hosts.back(), kRate, presets()[n % presets().size()]));
        inputs.push_back(noise(kFrames, static_cast<unsigned>(100 + n)));
        outputs.emplace_back(kFrames);
    }
    // Block-major: every instance processes block b before any processes b + 1.
    for (std::size_t frame = 0; frame < kFrames; frame += kBlock) {
        const auto frames = static_cast<VstInt32>(std::min<std::size_t>(kBlock, kFrames - frame));
        for (int n = 0; n < kInstances; ++n) {
            reliability::processBlock(*instances[n], inputs[n].left.data() + frame, inputs[n].right.data() + frame,
                                      outputs[n].left.data() + frame, outputs[n].right.data() + frame, frames);
            hosts[n]->transport.advance(frames);
        }
    }
    for (int n = 0; n < kInstances; ++n) {
        vst2host::Host alone;
        alone.transport = pluginhost::Transport(kRate, 90.0 + 10.0 * n, 0.5 * n);
        auto instance = openInstance(alone, kRate, presets()[n % presets().size()]);
        pluginhost::StereoBuffer expected;
        vst2host::renderInBlocks(*instance, alone.transport, inputs[n], expected, pluginhost::fixedBlocks(kBlock));
        EXPECT_TRUE(reliability::bitIdentical(outputs[n], expected))
            << "instance " << n << ": " << reliability::firstDifference(outputs[n], expected);
    }
}

TEST(Lifecycle, OpeningAndClosingInALoopReturnsEveryByte) {
    const auto input = noise(2048);
    pluginhost::StereoBuffer output(2048);
    auto openAndClose = [&] {
        vst2host::Host host;
        vst2host::PluginInstance instance(host, testsupport::slicecastEntry());
        instance.switchOn(kRate, 2048);
        reliability::processBlock(instance, input.left.data(), input.right.data(), output.left.data(),
                                  output.right.data(), 2048);
        EXPECT_EQ(instance.close(), 1);
    };
    openAndClose();  // first use settles the host side's one-time allocations
    const std::size_t before = reliability::heapInUse();
    for (int round = 0; round < 300; ++round) openAndClose();
    // Under the sanitizers the C library's heap knows nothing of their heap; there the
    // leak checker at exit does this job.
#if !defined(SLICECAST_SANITIZED)
    EXPECT_EQ(reliability::heapInUse(), before) << "300 open/close rounds left heap bytes behind";
#else
    (void)before;
#endif
}

struct SweepCall {
    VstInt32 index;
    VstIntPtr value;
    float opt;
};

TEST(Lifecycle, EveryOpcodeFromMinus1000To1000IsSafeAndUnknownOnesAnswerZero) {
    // Arguments a host might send, benign and hostile; value is never used
    // as a pointer except by the speaker arrangement opcodes, handled below.
    const std::array<SweepCall, 4> calls{{{0, 0, 0.0f}, {5, 1, 48000.0f}, {-1, -1, -1.0f}, {1000, 1 << 20, 1e30f}}};
    vst2host::Host host;
    auto instance = openInstance(host, kRate, presets()[1]);

    for (VstInt32 opcode = -1000; opcode <= 1000; ++opcode) {
        if (opcode == effClose) continue;  // covered by the open/close loop
        for (const SweepCall& call : calls) {
            // A real buffer, filled with a pattern so that writes show.
            std::array<unsigned char, 256> buffer{};
            buffer.fill(0xA5);
            VstIntPtr value = call.value;
            void* slot = nullptr;
            if (opcode == effGetSpeakerArrangement || opcode == effSetSpeakerArrangement) value = reinterpret_cast<VstIntPtr>(&slot);

            const VstIntPtr answer = instance->dispatch(opcode, call.index, value, buffer.data(), call.opt);
            if (opcode < 0 || opcode > effGetNumMidiOutputChannels) {
                EXPECT_EQ(answer, 0) << "opcode " << opcode;
            }
            const std::size_t allowed = bytesWrittenThroughPtr(opcode);
            const bool untouchedPastAllowed =
                std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(allowed), buffer.end(),
                            [](unsigned char byte) { return byte == 0xA5; });
            EXPECT_TRUE(untouchedPastAllowed) << "opcode " << opcode << " wrote past " << allowed << " bytes";

            if (!writesThroughPtr(opcode)) {
                instance->dispatch(opcode, call.index, value, nullptr, call.opt);
            }
        }
    }

    // The instance survived everything and still works once the host sets a
    // usable rate again.
    instance->dispatch(effSetSampleRate, 0, 0, nullptr, kRate);
    instance->dispatch(effMainsChanged, 0, 1);
    EXPECT_EQ(instance->effectName(), "J'x Slicecast");
    const auto input = noise(4096);
    pluginhost::StereoBuffer output(4096);
    reliability::processBlock(*instance, input.left.data(), input.right.data(), output.left.data(),
                              output.right.data(), 4096);
    EXPECT_TRUE(reliability::allFinite(output));
}

TEST(Lifecycle, CapabilityQueriesAnswerZeroAndReadNothingBeyondTheText) {
    // The effect claims no capability: it neither takes MIDI nor offers any
    // of the optional interfaces, and must say so to any text a host tries.
    const std::array<const char*, 16> capabilities{
        "sendVstEvents",   "sendVstMidiEvent", "receiveVstEvents",   "receiveVstMidiEvent", "receiveVstTimeInfo",
        "offline",         "midiProgramNames", "bypass",             "1in1out",             "2in2out",
        "plugAsChannelInsert", "plugAsSend",   "mixDryWet",          "noRealTime",          "",
        "hasCockosExtensions"};
    vst2host::Host host;
    auto instance = openInstance(host, kRate, presets()[0]);
    for (const char* capability : capabilities) {
        std::array<char, 256> text{};
        std::strncpy(text.data(), capability, text.size() - 1);
        EXPECT_EQ(instance->dispatch(effCanDo, 0, 0, text.data()), 0) << '"' << capability << '"';
        EXPECT_STREQ(text.data(), capability) << "the query changed its text";
    }
    std::array<char, 256> longText{};
    longText.fill('x');
    longText.back() = '\0';
    EXPECT_EQ(instance->dispatch(effCanDo, 0, 0, longText.data()), 0);
}

// How the host delivers a new rate and block size to an instance that is
// already processing.
enum class RateChange { WhileSwitchedOn, WhileSwitchedOff };

pluginhost::StereoBuffer renderAcrossRateChange(RateChange how, float newRate, VstInt32 newBlock) {
    constexpr std::size_t kBefore = 70000;
    constexpr std::size_t kAfter = 4 * 96000;
    vst2host::Host host;
    host.transport = pluginhost::Transport(kRate, 120.0, 0.0);
    auto instance = openInstance(host, kRate, presets()[1], 512);
    pluginhost::StereoBuffer first;
    vst2host::renderInBlocks(*instance, host.transport, noise(kBefore, 7), first, pluginhost::fixedBlocks(512));

    if (how == RateChange::WhileSwitchedOff) instance->dispatch(effMainsChanged, 0, 0);
    instance->dispatch(effSetSampleRate, 0, 0, nullptr, newRate);
    instance->dispatch(effSetBlockSize, 0, newBlock);
    if (how == RateChange::WhileSwitchedOff) instance->dispatch(effMainsChanged, 0, 1);
    host.transport.setSampleRate(newRate);

    pluginhost::StereoBuffer second;
    vst2host::renderInBlocks(*instance, host.transport, noise(kAfter, 8), second, pluginhost::fixedBlocks(newBlock));
    return second;
}

TEST(Lifecycle, RateAndBlockSizeChangesTakeEffectTheSameWayOnAndOff) {
    for (const auto& [newRate, newBlock] : {std::pair{96000.0f, 64}, std::pair{22050.0f, 4096}, std::pair{44100.0f, 1}}) {
        const auto whileOn = renderAcrossRateChange(RateChange::WhileSwitchedOn, newRate, newBlock);
        const auto whileOff = renderAcrossRateChange(RateChange::WhileSwitchedOff, newRate, newBlock);
        EXPECT_TRUE(reliability::bitIdentical(whileOn, whileOff))
            << newRate << " Hz: " << reliability::firstDifference(whileOn, whileOff);
        EXPECT_TRUE(reliability::allFinite(whileOn));

        // From the first update-period boundary after the change on, the
        // old rate's capture is forgotten: the output is what an instance
        // opened at the new rate, at the same position, plays.
        vst2host::Host fresh;
        fresh.transport = pluginhost::Transport(newRate, 120.0, 70000.0 * 2.0 / kRate);
        auto instance = openInstance(fresh, newRate, presets()[1], newBlock);
        pluginhost::StereoBuffer expected;
        vst2host::renderInBlocks(*instance, fresh.transport, noise(whileOn.frames(), 8), expected,
                                pluginhost::fixedBlocks(newBlock));
        // Preset 1 has 1/1-bar update periods: the next boundary is at most
        // one bar (two seconds at 120) away.
        const auto boundaryBound = static_cast<std::size_t>(2.0f * newRate) + 1;
        for (std::size_t i = boundaryBound; i < whileOn.frames(); ++i) {
            ASSERT_EQ(whileOn.left[i], expected.left[i]) << newRate << " Hz, frame " << i;
            ASSERT_EQ(whileOn.right[i], expected.right[i]) << newRate << " Hz, frame " << i;
        }
    }
}

}  // namespace
