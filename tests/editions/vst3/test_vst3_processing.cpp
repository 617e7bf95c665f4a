// What only VST 3 asks of processing: the buses and the arrangements
// refused, the flush call, activation starting the sound afresh, change
// points cutting the block, missing and shared buffers, the tail.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "slicecast_plugin.h"
#include "vst3_test_host.h"

namespace {

using vst3test::Instance;
using Changes = vst3host::Ref<vst3host::ParameterChanges>;
using vst3test::sameBits;

constexpr double kRate = 44100.0;
namespace arrangements = vst3::speaker_arrangements;

TEST(Vst3Processing, OneStereoBusEachWayAndEveryOtherArrangementRefused) {
    Instance instance;
    vst3::IComponent& component = *instance.component.get();
    EXPECT_EQ(component.getBusCount(vst3::kAudio, vst3::kInput), 1);
    EXPECT_EQ(component.getBusCount(vst3::kAudio, vst3::kOutput), 1);
    EXPECT_EQ(component.getBusCount(vst3::kEvent, vst3::kInput), 0);
    for (const vst3::BusDirection direction : {vst3::kInput, vst3::kOutput}) {
        vst3::BusInfo bus{};
        ASSERT_EQ(component.getBusInfo(vst3::kAudio, direction, 0, bus), vst3::kResultOk);
        EXPECT_EQ(bus.channelCount, 2);
        EXPECT_EQ(bus.busType, vst3::kMain);
        EXPECT_NE(bus.name[0], u'\0');
        EXPECT_EQ(component.getBusInfo(vst3::kAudio, direction, 1, bus), vst3::kInvalidArgument);
        EXPECT_EQ(component.getBusInfo(vst3::kEvent, direction, 0, bus), vst3::kInvalidArgument);
        EXPECT_EQ(component.activateBus(vst3::kAudio, direction, 0, 1), vst3::kResultOk);
        EXPECT_EQ(component.activateBus(vst3::kAudio, direction, 1, 1), vst3::kInvalidArgument);
    }

    using Arrangements = std::vector<vst3::SpeakerArrangement>;
    const struct {
        const char* name;
        Arrangements inputs;
        Arrangements outputs;
    } refused[] = {
        {"mono", {arrangements::kMono}, {arrangements::kMono}},
        {"mono in", {arrangements::kMono}, {arrangements::kStereo}},
        {"mono out", {arrangements::kStereo}, {arrangements::kMono}},
        {"left and right surround", {arrangements::kStereoSurround}, {arrangements::kStereoSurround}},
        {"5.0", {0x37}, {0x37}},
        {"a side chain", {arrangements::kStereo, arrangements::kStereo}, {arrangements::kStereo}},
        {"no output", {arrangements::kStereo}, {}},
        {"no bus", {}, {}},
    };
    for (auto row : refused) {
        EXPECT_EQ(instance.processor->setBusArrangements(row.inputs.data(), static_cast<vst3::int32>(row.inputs.size()),
                                                         row.outputs.data(),
                                                         static_cast<vst3::int32>(row.outputs.size())),
                  vst3::kResultFalse)
            << row.name;
        for (const vst3::BusDirection direction : {vst3::kInput, vst3::kOutput}) {
            vst3::SpeakerArrangement kept = 0;
            EXPECT_EQ(instance.processor->getBusArrangement(direction, 0, kept), vst3::kResultOk);
            EXPECT_EQ(kept, arrangements::kStereo) << row.name;
        }
    }
    vst3::SpeakerArrangement stereo[] = {arrangements::kStereo, arrangements::kStereo};
    EXPECT_EQ(instance.processor->setBusArrangements(&stereo[0], 1, &stereo[1], 1), vst3::kResultTrue);
    instance.activate(kRate);
    EXPECT_EQ(instance.processor->setBusArrangements(&stereo[0], 1, &stereo[1], 1), vst3::kResultFalse)
        << "arrangements are set while inactive only";
    instance.deactivate();
}

TEST(Vst3Processing, ThirtyTwoBitSamplesOnly) {
    Instance instance;
    vst3::ProcessSetup setup{vst3::kRealtime, vst3::kSample64, 512, kRate};
    EXPECT_EQ(instance.processor->setupProcessing(setup), vst3::kResultFalse);
    setup.symbolicSampleSize = vst3::kSample32;
    setup.sampleRate = 0.0;
    EXPECT_EQ(instance.processor->setupProcessing(setup), vst3::kInvalidArgument);
    EXPECT_EQ(instance.processor->getLatencySamples(), 0u);
}

// Plays input in blocks of blockFrames from position 0 at 120 BPM, with
// changes at the first block.
pluginhost::StereoBuffer play(Instance& instance, const pluginhost::StereoBuffer& input, vst3::int32 blockFrames,
                              vst3::IParameterChanges* firstChanges = nullptr) {
    pluginhost::StereoBuffer output(input.frames());
    for (std::size_t at = 0; at < input.frames(); at += static_cast<std::size_t>(blockFrames)) {
        vst3::ProcessContext context = vst3test::contextAt(static_cast<double>(at) * 2.0 / kRate, 120.0, kRate);
        EXPECT_EQ(instance.process(&input, output, at, blockFrames, &context, at == 0 ? firstChanges : nullptr),
                  vst3::kResultOk);
    }
    return output;
}

Changes someChanges(vst3::int32 offset = 0) {
    Changes changes = vst3test::changes();
    changes->add(0, offset, 0.9).add(1, offset, 1.0).add(2, offset, 0.35).add(4, offset, 0.6);
    return changes;
}

TEST(Vst3Processing, AFlushAppliesItsChangesAndTouchesNoAudio) {
    const auto input = testsupport::noise(8192, 3);
    Instance flushed;
    flushed.activate(kRate);
    // The three shapes hosts use: no buffers at all, buses without
    // channels, and full buffers with no frames.
    const Changes changes = someChanges();
    pluginhost::StereoBuffer untouched(16);
    untouched.left.assign(16, 0.5f);
    untouched.right.assign(16, -0.5f);
    const pluginhost::StereoBuffer before = untouched;
    vst3::ProcessData data{};
    data.symbolicSampleSize = vst3::kSample32;
    data.inputParameterChanges = changes.get();
    EXPECT_EQ(flushed.processor->process(data), vst3::kResultOk);
    vst3::AudioBusBuffers empty[2] = {};
    data.numInputs = data.numOutputs = 1;
    data.inputs = &empty[0];
    data.outputs = &empty[1];
    EXPECT_EQ(flushed.processor->process(data), vst3::kResultOk);
    EXPECT_EQ(flushed.process(&input, untouched, 0, 0, nullptr, changes.get()), vst3::kResultOk);
    EXPECT_TRUE(sameBits(untouched, before));

    Instance sentInBlock;
    sentInBlock.activate(kRate);
    const Changes atFirstFrame = someChanges();
    const auto expected = play(sentInBlock, input, 512, atFirstFrame.get());
    EXPECT_TRUE(sameBits(play(flushed, input, 512), expected));
    Instance unchanged;
    unchanged.activate(kRate);
    EXPECT_FALSE(sameBits(play(unchanged, input, 512), expected));
}

TEST(Vst3Processing, ActivationStartsTheSoundAfreshWithTheParametersKept) {
    const auto input = testsupport::noise(16384, 5);
    Instance reactivated;
    reactivated.activate(kRate);
    const Changes changes = someChanges();
    play(reactivated, input, 1024, changes.get());
    reactivated.deactivate();
    reactivated.activate(kRate);
    const auto again = play(reactivated, input, 1024);

    Instance fresh;
    fresh.activate(kRate);
    const Changes same = someChanges();
    EXPECT_TRUE(sameBits(play(fresh, input, 1024, same.get()), again));
    Instance defaults;
    defaults.activate(kRate);
    EXPECT_FALSE(sameBits(play(defaults, input, 1024), again)) << "the parameters were kept";
}

TEST(Vst3Processing, AChangePointAtKPlaysAsTheBlockCutAtK) {
    // One block with points at k (several parameters, one of them twice)
    // against the same block cut at k: the first piece with the block's
    // context, the second with the changes at its first frame and the tempo
    // alone, so that the sound counts on from where the first piece ended.
    const auto input = testsupport::noise(4096, 9);
    constexpr vst3::int32 kFrames = 4096;
    for (const vst3::int32 k : {1, 700, 2048, 4095}) {
        Instance whole;
        whole.activate(kRate);
        const Changes changes = someChanges(k);
        changes->add(5, k, 0.2).add(5, k, 0.8);
        vst3::ProcessContext context = vst3test::contextAt(3.25, 133.0, kRate);
        pluginhost::StereoBuffer played(kFrames);
        EXPECT_EQ(whole.process(&input, played, 0, kFrames, &context, changes.get()), vst3::kResultOk);

        Instance cut;
        cut.activate(kRate);
        pluginhost::StereoBuffer pieces(kFrames);
        EXPECT_EQ(cut.process(&input, pieces, 0, k, &context), vst3::kResultOk);
        const Changes atFirstFrame = someChanges(0);
        atFirstFrame->add(5, 0, 0.8);
        vst3::ProcessContext tempoOnly = context;
        tempoOnly.state = vst3::kTempoValid;
        EXPECT_EQ(cut.process(&input, pieces, static_cast<std::size_t>(k), kFrames - k, &tempoOnly, atFirstFrame.get()),
                  vst3::kResultOk);
        EXPECT_TRUE(sameBits(played, pieces)) << "k = " << k;

        Instance unchanged;
        unchanged.activate(kRate);
        pluginhost::StereoBuffer plain(kFrames);
        unchanged.process(&input, plain, 0, kFrames, &context);
        EXPECT_FALSE(sameBits(played, plain)) << "k = " << k << ": the change is heard";
    }
}

TEST(Vst3Processing, AMissingInputIsSilenceAndSharedBuffersAreReadBeforeWritten) {
    const auto input = testsupport::noise(2048, 11);
    const pluginhost::StereoBuffer silence(2048);
    const auto render = [&](const pluginhost::StereoBuffer* from) {
        Instance instance;
        instance.activate(kRate);
        pluginhost::StereoBuffer output(2048);
        output.left.assign(2048, 1.0f);
        instance.process(from, output, 0, 2048);
        return output;
    };
    EXPECT_TRUE(sameBits(render(nullptr), render(&silence)));

    Instance inPlace;
    inPlace.activate(kRate);
    pluginhost::StereoBuffer shared = input;
    EXPECT_EQ(inPlace.process(&shared, shared, 0, 2048), vst3::kResultOk);
    EXPECT_TRUE(sameBits(shared, render(&input)));
}

TEST(Vst3Processing, SilenceFlagsTellWhichOutputsHoldOnlyZeros) {
    // The first block plays the live pass at full level past its fade-in:
    // what sounds at a block's last frame is heard there. Lengths around the
    // runs of 16 the search goes in.
    const struct {
        const char* name;
        bool leftSounds;
        bool rightSounds;
        vst3::uint64 flags;
    } rows[] = {
        {"silence", false, false, 0b11},
        {"the right channel's last frame", false, true, 0b01},
        {"the left channel's last frame", true, false, 0b10},
        {"both", true, true, 0b00},
    };
    for (const vst3::int32 frames : {5, 16, 37, 512}) {
        for (const auto& row : rows) {
            pluginhost::StereoBuffer input(static_cast<std::size_t>(frames));
            if (row.leftSounds) input.left.back() = 0.5f;
            if (row.rightSounds) input.right.back() = -0.25f;
            Instance instance;
            instance.activate(kRate);
            pluginhost::StereoBuffer output(static_cast<std::size_t>(frames));
            vst3::uint64 flags = 0;
            ASSERT_EQ(instance.process(&input, output, 0, frames, nullptr, nullptr, &flags), vst3::kResultOk);
            EXPECT_EQ(flags, row.flags) << row.name << ", " << frames << " frames";
            EXPECT_EQ(output.left.back() != 0.0f, row.leftSounds) << row.name << ", " << frames << " frames";
        }
    }
}

TEST(Vst3Processing, TheTailIsOneUpdatePeriodAtTheTempoLastPlayed) {
    Instance instance;
    instance.activate(kRate);
    // 120 BPM before any block: a quarter is 22050 samples. UpdatePeriod's
    // steps are 4, 2, 1, 1/2 and 1/4 bars of four quarters.
    const double quarters[] = {16, 8, 4, 2, 1};
    for (vst3::int32 step = 0; step <= 4; ++step) {
        const Changes changes = vst3test::changes();
        changes->add(1, 0, step / 4.0);
        pluginhost::StereoBuffer none;
        instance.process(nullptr, none, 0, 0, nullptr, changes.get());
        EXPECT_EQ(instance.processor->getTailSamples(), static_cast<vst3::uint32>(quarters[step] * 22050.0))
            << "step " << step;
    }
    const auto input = testsupport::noise(64, 1);
    pluginhost::StereoBuffer output(64);
    vst3::ProcessContext context = vst3test::contextAt(0.0, 90.0, kRate);
    instance.process(&input, output, 0, 64, &context);
    EXPECT_EQ(instance.processor->getTailSamples(), static_cast<vst3::uint32>(std::ceil(44100.0 * 60.0 / 90.0)));
}

}  // namespace
