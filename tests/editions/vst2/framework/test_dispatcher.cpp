// Every dispatcher opcode as the Slicecast library answers it to a host.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <set>

#include "slicecast_plugin.h"

namespace {

constexpr VstIntPtr kAllOnes = -1;
// Bits beyond the low 32 exist only where pointer-sized integers are 64
// bits wide; a 32-bit build keeps the low 32 bits, here 0.
constexpr VstIntPtr kBeyond32Bits = static_cast<VstIntPtr>(std::uint64_t{1} << 32);

struct DispatchCase {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    VstIntPtr expected;
};

class Dispatcher : public ::testing::Test {
protected:
    testsupport::SlicecastSession session;
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f) {
        return session.plugin->dispatch(opcode, index, value, ptr, opt);
    }
};

}  // namespace

TEST_F(Dispatcher, AnswersEveryOpcodeThatNeedsNoBuffer) {
    const DispatchCase cases[] = {
        {effOpen, 0, 0, 0},
        {effGetProgram, 0, 0, 0},
        {effGetVu, 0, 0, 0},
        {effSetSampleRate, 0, 0, 0},
        {effSetBlockSize, 0, 256, 0},
        {effMainsChanged, 0, 0, 0},
        {effMainsChanged, 0, 1, 0},
        {effEditClose, 0, 0, 0},
        {effEditDraw, 0, 0, 0},
        {effEditMouse, 0, 0, 0},
        {effEditKey, 0, 0, 0},
        {effEditIdle, 0, 0, 0},
        {effEditTop, 0, 0, 0},
        {effEditSleep, 0, 0, 0},
        {effIdentify, 0, 0, 0x4E764566},
        {effProcessEvents, 0, 0, 0},
        {effCanBeAutomated, 0, 0, 1},
        {effCanBeAutomated, 5, 0, 1},
        {effCanBeAutomated, 6, 0, 1},
        {effCanBeAutomated, -1, 0, 1},
        {effCanBeAutomated, INT_MIN, 0, 1},
        {effGetPlugCategory, 0, 0, 0},
        {effOfflineNotify, -3, 2, 0},
        {effOfflinePrepare, 0, 0, 0},
        {effOfflineRun, 0, 0, 0},
        {effProcessVarIo, 0, 0, 0},
        {effSetSpeakerArrangement, 0, 0, 0},
        {effSetBlockSizeAndSampleRate, 4096, 4096, 0},
        {effSetBypass, 0, kBeyond32Bits, 0},
        {effGetVendorVersion, 0, 0, 0},
        {effVendorSpecific, 7, 7, 0},
        {effGetTailSize, 0, 0, 0},
        {effGetParameterProperties, 0, 0, 0},
        {effGetVstVersion, 0, 0, 2400},
        {effEditKeyDown, 'a', 1, 0},
        {effEditKeyUp, 'a', 1, 0},
        {effSetEditKnobMode, 0, 2, 0},
        {effGetMidiProgramName, 0, 0, 0},
        {effGetCurrentMidiProgram, 0, 0, kAllOnes},
        {effGetMidiProgramCategory, 0, 0, 0},
        {effHasMidiProgramsChanged, 0, 0, 0},
        {effGetMidiKeyName, 0, 0, 0},
        {effBeginSetProgram, 0, 0, 0},
        {effEndSetProgram, 0, 0, 0},
        {effShellGetNextPlugin, 0, 0, 0},
        {effStartProcess, 0, 0, 0},
        {effStopProcess, 0, 0, 0},
        {effSetTotalSampleToProcess, 0, 12345, 12345},
        {effSetTotalSampleToProcess, 0, kBeyond32Bits + 5, 5},
        {effSetTotalSampleToProcess, 0, kBeyond32Bits - 1, kAllOnes},
        {effSetPanLaw, 0, 1, 0},
        {effBeginLoadBank, 0, 0, 0},
        {effBeginLoadProgram, 0, 0, 0},
        {effSetProcessPrecision, 0, 1, 0},
        {effGetNumMidiInputChannels, 0, 0, 0},
        {effGetNumMidiOutputChannels, 0, 0, 0},
        // Values the extended dispatcher leaves to the core one, and beyond.
        {28, 0, 0, 0}, {30, 0, 0, 0}, {31, 0, 0, 0}, {32, 0, 0, 0}, {36, 0, 0, 0}, {37, 0, 0, 0},
        {46, 0, 0, 0}, {53, 0, 0, 0}, {54, 0, 0, 0}, {55, 0, 0, 0}, {57, 0, 0, 0}, {80, 0, 0, 0},
        {1000, 0, 0, 0}, {INT_MAX, 0, 0, 0}, {-1, 0, 0, 0}, {-25, 0, 0, 0}, {INT_MIN, 0, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dispatch(c.opcode, c.index, c.value), c.expected)
            << "opcode " << c.opcode << " index " << c.index << " value " << c.value;
    }
}

TEST_F(Dispatcher, ProgramNumberFollowsTheSignedUpperBoundTest) {
    struct ProgramCase {
        VstIntPtr set;
        VstIntPtr readBack;
    };
    // One program: 0 and every negative number are taken, 1 or more ignored;
    // the number read back is the stored 32 bits widened with their sign.
    const ProgramCase cases[] = {
        {0, 0}, {1, 0}, {-1, -1}, {kBeyond32Bits, kBeyond32Bits != 0 ? -1 : 0}, {-kBeyond32Bits - 2, -2}, {0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dispatch(effSetProgram, 0, c.set), 0);
        EXPECT_EQ(dispatch(effGetProgram), c.readBack) << "after setting " << c.set;
    }
}

TEST_F(Dispatcher, NameOpcodesFillTwentyFiveBytesAndAnswerOne) {
    const struct {
        VstInt32 opcode;
        const char* text;
    } cases[] = {
        {effGetEffectName, "J'x Slicecast"},
        {effGetVendorString, "J'x Tiv-nar"},
        {effGetProductString, "J'x Slicecast"},
    };
    for (const auto& c : cases) {
        char buffer[64];
        std::memset(buffer, '#', sizeof(buffer));
        EXPECT_EQ(dispatch(c.opcode, 0, 0, buffer), 1);
        EXPECT_STREQ(buffer, c.text);
        for (std::size_t i = std::strlen(c.text); i <= 24; ++i) EXPECT_EQ(buffer[i], '\0') << i;
        for (std::size_t i = 25; i < sizeof(buffer); ++i) EXPECT_EQ(buffer[i], '#') << i;
    }
}

TEST_F(Dispatcher, ProgramNameIsEmpty) {
    char buffer[32];
    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(dispatch(effGetProgramName, 0, 0, buffer), 0);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[1], '#');
    EXPECT_EQ(dispatch(effSetProgramName, 0, 0, buffer), 0);
}

TEST_F(Dispatcher, CanDoAnswersZeroForEveryText) {
    for (const char* text : {"receiveVstMidiEvent", "receiveVstTimeInfo", "sendVstEvents", "bypass", ""}) {
        EXPECT_EQ(dispatch(effCanDo, 0, 0, const_cast<char*>(text)), 0) << text;
    }
}

TEST_F(Dispatcher, ChunksAreNotOfferedAndThePointerIsLeftAlone) {
    int marker = 0;
    void* chunk = &marker;
    EXPECT_EQ(dispatch(effGetChunk, 0, 0, &chunk), 0);
    EXPECT_EQ(dispatch(effGetChunk, 1, 0, &chunk), 0);
    EXPECT_EQ(chunk, &marker);
    EXPECT_EQ(dispatch(effSetChunk, 0, 16, &marker), 0);
}

TEST_F(Dispatcher, EditorOpcodesWriteNothingWithoutAnEditor) {
    auto* const sentinel = reinterpret_cast<ERect*>(0x1234);
    ERect* rect = sentinel;
    EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(rect, sentinel);
    char window[16] = {};
    EXPECT_EQ(dispatch(effEditOpen, 0, 0, window), 0);
}

TEST_F(Dispatcher, SpeakerArrangementQueryWritesNullIntoBothPlaces) {
    auto* const sentinel = reinterpret_cast<VstSpeakerArrangement*>(0x1234);
    VstSpeakerArrangement* input = sentinel;
    VstSpeakerArrangement* output = sentinel;
    EXPECT_EQ(dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output), 0);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);
    // A host that passes no places gets the same answer and no crash.
    EXPECT_EQ(dispatch(effGetSpeakerArrangement, 0, 0, nullptr), 0);
}

TEST_F(Dispatcher, BlockSizeAndSampleRateOpcodeChangesNothing) {
    // Opcode 43 is ignored: processing still runs at the rate set by
    // effSetSampleRate, so the output is that of an untouched instance.
    testsupport::SlicecastSession reference;
    dispatch(effSetBlockSizeAndSampleRate, 64, 64, nullptr, 8000.0f);
    const auto input = testsupport::noise(30000);
    EXPECT_EQ(session.render(input).left, reference.render(input).left);
}

TEST_F(Dispatcher, SampleRateComesFromOptAndIgnoresValue) {
    // A 22050 Hz instance plays one eighth-note slice of 5512 samples at
    // 120 BPM; the value argument must not matter.
    testsupport::SlicecastSession reference(22050.0);
    dispatch(effSetSampleRate, 0, 96000, nullptr, 22050.0f);
    session.host.transport = pluginhost::Transport(22050.0, 120.0, 0.0);
    const auto input = testsupport::noise(30000);
    EXPECT_EQ(session.render(input).left, reference.render(input).left);
}
