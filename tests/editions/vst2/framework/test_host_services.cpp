// The extended host services as the host sees them: every wrapper's callback
// call with its arguments and the conversion of the host's answer, the
// updaters of sample rate and block size, resume's event announcement and
// the flag setters.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "host.h"
#include "service_test_effect.h"

namespace {

using testsupport::ServiceTestEffect;

struct HostCall {
    AEffect* effect;
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    void* ptr;
    float opt;
};

bool operator==(const HostCall& a, const HostCall& b) {
    return a.effect == b.effect && a.opcode == b.opcode && a.index == b.index && a.value == b.value &&
           a.ptr == b.ptr && a.opt == b.opt;
}

void PrintTo(const HostCall& call, std::ostream* out) {
    *out << "{opcode " << call.opcode << ", index " << call.index << ", value " << call.value << ", ptr "
         << call.ptr << ", opt " << call.opt << "}";
}

// A host that logs every callback call and gives one scripted answer to all.
class RecordingHost : public vst2host::Host {
public:
    VstIntPtr answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                     float opt) override {
        calls.push_back({effect, opcode, index, value, ptr, opt});
        return reply;
    }

    std::vector<HostCall> calls;
    VstIntPtr reply = 0;
};

// An effect whose callback leads to the given recording host.
template <typename Effect = ServiceTestEffect>
struct Hosted {
    explicit Hosted(bool withCallback = true) : effect(withCallback ? &vst2host::Host::callback : nullptr) {
        effect.getAeffect()->resvd1 = reinterpret_cast<VstIntPtr>(&host);
    }

    VstIntPtr dispatch(VstInt32 opcode, VstIntPtr value = 0) {
        AEffect* record = effect.getAeffect();
        return record->dispatcher(record, opcode, 0, value, nullptr, 0.0f);
    }

    HostCall call(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                  float opt = 0.0f) {
        return {effect.getAeffect(), opcode, index, value, ptr, opt};
    }

    RecordingHost host;
    Effect effect;
};

// Answers with bits beyond the low 32 exist only where pointer-sized
// integers are 64 bits wide; a 32-bit build keeps their low 32 bits.
constexpr VstIntPtr kBit32 = static_cast<VstIntPtr>(std::uint64_t{1} << 32);
constexpr VstIntPtr kLargest = std::numeric_limits<VstIntPtr>::max();
constexpr VstIntPtr kSmallest = std::numeric_limits<VstIntPtr>::min();

// How a wrapper turns the host's answer into its result. Booleans and the
// int32 "1 if non-zero" both reach the table as 0 or 1.
enum class Answer { Dropped, AsIs, NonZero };

VstIntPtr converted(Answer form, VstIntPtr reply) { return form == Answer::AsIs ? reply : (reply != 0 ? 1 : 0); }

struct Expected {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    void* ptr;
    float opt;
};

struct WrapperCase {
    std::string name;
    std::function<VstIntPtr(AudioEffectX&)> call;
    Expected expected;
    Answer answer;
};

// Distinct addresses for the records and texts the wrappers pass through.
char vendorText[64];
char productText[64];
char capabilityText[] = "sendVstEvents";
alignas(16) char records[6][64];
template <typename Record>
Record* record(int which) {
    return reinterpret_cast<Record*>(records[which]);
}

std::vector<WrapperCase> wrapperTable() {
    return {
        {"wantEvents", [](AudioEffectX& e) { e.wantEvents(-2); return VstIntPtr{0}; },
         {audioMasterWantMidi, 0, -2, nullptr, 0.0f}, Answer::Dropped},
        {"getTimeInfo", [](AudioEffectX& e) { return reinterpret_cast<VstIntPtr>(e.getTimeInfo(-0x600)); },
         {audioMasterGetTime, 0, -0x600, nullptr, 0.0f}, Answer::AsIs},
        {"tempoAt", [](AudioEffectX& e) { return e.tempoAt(-7); },
         {audioMasterTempoAt, 0, -7, nullptr, 0.0f}, Answer::AsIs},
        {"getNumAutomatableParameters", [](AudioEffectX& e) { return e.getNumAutomatableParameters(); },
         {audioMasterGetNumAutomatableParameters, 0, 0, nullptr, 0.0f}, Answer::AsIs},
        {"getParameterQuantization", [](AudioEffectX& e) { return e.getParameterQuantization(); },
         {audioMasterGetParameterQuantization, 0, 0, nullptr, 0.0f}, Answer::AsIs},
        {"ioChanged", [](AudioEffectX& e) { return VstIntPtr{e.ioChanged()}; },
         {audioMasterIOChanged, 0, 0, nullptr, 0.0f}, Answer::NonZero},
        {"needIdle", [](AudioEffectX& e) { return VstIntPtr{e.needIdle()}; },
         {audioMasterNeedIdle, 0, 0, nullptr, 0.0f}, Answer::NonZero},
        {"sizeWindow", [](AudioEffectX& e) { return VstIntPtr{e.sizeWindow(640, -480)}; },
         {audioMasterSizeWindow, 640, -480, nullptr, 0.0f}, Answer::NonZero},
        {"getInputLatency", [](AudioEffectX& e) { return e.getInputLatency(); },
         {audioMasterGetInputLatency, 0, 0, nullptr, 0.0f}, Answer::AsIs},
        {"getOutputLatency", [](AudioEffectX& e) { return e.getOutputLatency(); },
         {audioMasterGetOutputLatency, 0, 0, nullptr, 0.0f}, Answer::AsIs},
        {"getPreviousPlug", [](AudioEffectX& e) { return e.getPreviousPlug(); },
         {audioMasterGetPreviousPlug, 0, 0, nullptr, 0.0f}, Answer::AsIs},
        {"getNextPlug", [](AudioEffectX& e) { return e.getNextPlug(); },
         {audioMasterGetNextPlug, 0, 0, nullptr, 0.0f}, Answer::AsIs},
        {"willProcessReplacing", [](AudioEffectX& e) { return e.willProcessReplacing(); },
         {audioMasterWillReplaceOrAccumulate, 0, 0, nullptr, 0.0f}, Answer::AsIs},
        {"getCurrentProcessLevel", [](AudioEffectX& e) { return e.getCurrentProcessLevel(); },
         {audioMasterGetCurrentProcessLevel, 0, 0, nullptr, 0.0f}, Answer::AsIs},
        {"getAutomationState", [](AudioEffectX& e) { return e.getAutomationState(); },
         {audioMasterGetAutomationState, 0, 0, nullptr, 0.0f}, Answer::AsIs},
        {"offlineStart",
         [](AudioEffectX& e) { return VstIntPtr{e.offlineStart(record<VstAudioFile>(0), -3, 5)}; },
         {audioMasterOfflineStart, 5, -3, records[0], 0.0f}, Answer::NonZero},
        {"offlineRead reading the source",
         [](AudioEffectX& e) { return VstIntPtr{e.offlineRead(record<VstOfflineTask>(1), -9, true)}; },
         {audioMasterOfflineRead, 1, -9, records[1], 0.0f}, Answer::NonZero},
        {"offlineRead not reading the source",
         [](AudioEffectX& e) { return VstIntPtr{e.offlineRead(record<VstOfflineTask>(1), 4, false)}; },
         {audioMasterOfflineRead, 0, 4, records[1], 0.0f}, Answer::NonZero},
        {"offlineWrite", [](AudioEffectX& e) { return VstIntPtr{e.offlineWrite(record<VstOfflineTask>(2), -5)}; },
         {audioMasterOfflineWrite, 0, -5, records[2], 0.0f}, Answer::NonZero},
        {"offlineGetCurrentPass", [](AudioEffectX& e) { return VstIntPtr{e.offlineGetCurrentPass()}; },
         {audioMasterOfflineGetCurrentPass, 0, 0, nullptr, 0.0f}, Answer::NonZero},
        {"offlineGetCurrentMetaPass", [](AudioEffectX& e) { return VstIntPtr{e.offlineGetCurrentMetaPass()}; },
         {audioMasterOfflineGetCurrentMetaPass, 0, 0, nullptr, 0.0f}, Answer::NonZero},
        {"setOutputSamplerate", [](AudioEffectX& e) { return e.setOutputSamplerate(48000.5f); },
         {audioMasterSetOutputSampleRate, 0, 0, nullptr, 48000.5f}, Answer::AsIs},
        {"getOutputSpeakerArrangement", [](AudioEffectX& e) { return e.getOutputSpeakerArrangement(); },
         {audioMasterGetOutputSpeakerArrangement, 0, 0, nullptr, 0.0f}, Answer::AsIs},
        {"getHostVendorString", [](AudioEffectX& e) { return VstIntPtr{e.getHostVendorString(vendorText)}; },
         {audioMasterGetVendorString, 0, 0, vendorText, 0.0f}, Answer::NonZero},
        {"getHostProductString", [](AudioEffectX& e) { return VstIntPtr{e.getHostProductString(productText)}; },
         {audioMasterGetProductString, 0, 0, productText, 0.0f}, Answer::NonZero},
        {"getHostVendorVersion", [](AudioEffectX& e) { return e.getHostVendorVersion(); },
         {audioMasterGetVendorVersion, 0, 0, nullptr, 0.0f}, Answer::AsIs},
        {"hostVendorSpecific", [](AudioEffectX& e) { return e.hostVendorSpecific(-11, kBit32 + 3, records[3], -2.5f); },
         {audioMasterVendorSpecific, -11, kBit32 + 3, records[3], -2.5f}, Answer::AsIs},
        {"canHostDo", [](AudioEffectX& e) { return VstIntPtr{e.canHostDo(capabilityText)}; },
         {audioMasterCanDo, 0, 0, capabilityText, 0.0f}, Answer::NonZero},
        {"getHostLanguage", [](AudioEffectX& e) { return e.getHostLanguage(); },
         {audioMasterGetLanguage, 0, 0, nullptr, 0.0f}, Answer::AsIs},
        {"openWindow", [](AudioEffectX& e) { return e.openWindow(record<VstWindow>(4)); },
         {audioMasterOpenWindow, 0, 0, records[4], 0.0f}, Answer::AsIs},
        {"closeWindow", [](AudioEffectX& e) { return VstIntPtr{e.closeWindow(record<VstWindow>(4))}; },
         {audioMasterCloseWindow, 0, 0, records[4], 0.0f}, Answer::NonZero},
        {"getDirectory", [](AudioEffectX& e) { return e.getDirectory(); },
         {audioMasterGetDirectory, 0, 0, nullptr, 0.0f}, Answer::AsIs},
        {"updateDisplay", [](AudioEffectX& e) { return VstIntPtr{e.updateDisplay()}; },
         {audioMasterUpdateDisplay, 0, 0, nullptr, 0.0f}, Answer::NonZero},
        {"beginEdit", [](AudioEffectX& e) { return VstIntPtr{e.beginEdit(-3)}; },
         {audioMasterBeginEdit, -3, 0, nullptr, 0.0f}, Answer::NonZero},
        {"endEdit", [](AudioEffectX& e) { return VstIntPtr{e.endEdit(70000)}; },
         {audioMasterEndEdit, 70000, 0, nullptr, 0.0f}, Answer::NonZero},
        {"openFileSelector", [](AudioEffectX& e) { return VstIntPtr{e.openFileSelector(record<VstFileSelect>(5))}; },
         {audioMasterOpenFileSelector, 0, 0, records[5], 0.0f}, Answer::NonZero},
        {"closeFileSelector",
         [](AudioEffectX& e) { return VstIntPtr{e.closeFileSelector(record<VstFileSelect>(5))}; },
         {audioMasterCloseFileSelector, 0, 0, records[5], 0.0f}, Answer::NonZero},
        {"getChunkFile", [](AudioEffectX& e) { return VstIntPtr{e.getChunkFile(records[3])}; },
         {audioMasterGetChunkFile, 0, 0, records[3], 0.0f}, Answer::NonZero},
        {"getInputSpeakerArrangement", [](AudioEffectX& e) { return e.getInputSpeakerArrangement(); },
         {audioMasterGetInputSpeakerArrangement, 0, 0, nullptr, 0.0f}, Answer::AsIs},
    };
}

// Answers that tell a full-width test from a 32-bit one, and a sign-keeping
// pass from a cut.
const VstIntPtr kReplies[] = {0, 1, -1, 2, static_cast<VstIntPtr>(0x80000000u), kBit32, kBit32 + 5, kLargest, kSmallest};

}  // namespace

TEST(HostServiceWrappers, CallTheHostWithTheirArgumentsAndConvertItsAnswer) {
    for (const WrapperCase& wrapper : wrapperTable()) {
        for (const VstIntPtr reply : kReplies) {
            SCOPED_TRACE(wrapper.name + " answered " + std::to_string(reply));
            Hosted<> hosted;
            hosted.host.reply = reply;
            const VstIntPtr result = wrapper.call(hosted.effect);
            const Expected& e = wrapper.expected;
            EXPECT_EQ(hosted.host.calls, std::vector<HostCall>{hosted.call(e.opcode, e.index, e.value, e.ptr, e.opt)});
            if (wrapper.answer != Answer::Dropped) {
                EXPECT_EQ(result, converted(wrapper.answer, reply));
            }
        }
    }
}

TEST(HostServiceWrappers, WithoutACallbackGiveTheirDefaults) {
    for (const WrapperCase& wrapper : wrapperTable()) {
        SCOPED_TRACE(wrapper.name);
        Hosted<> hosted(false);
        EXPECT_EQ(wrapper.call(hosted.effect), 0);
    }
}

TEST(HostServiceWrappers, NeverHandTheHostANullRecordToReadThrough) {
    const std::function<bool(AudioEffectX&)> calls[] = {
        [](AudioEffectX& e) { return e.openFileSelector(nullptr); },
        [](AudioEffectX& e) { return e.closeFileSelector(nullptr); },
        [](AudioEffectX& e) { return e.getChunkFile(nullptr); },
    };
    for (const auto& call : calls) {
        Hosted<> hosted;
        hosted.host.reply = 1;
        EXPECT_FALSE(call(hosted.effect));
        EXPECT_TRUE(hosted.host.calls.empty());
    }
}

namespace {

// Counts the setters that the updaters must pass by.
class SetterCountingEffect : public ServiceTestEffect {
public:
    using ServiceTestEffect::ServiceTestEffect;
    void setSampleRate(float rate) override {
        ++setterCalls;
        ServiceTestEffect::setSampleRate(rate);
    }
    void setBlockSize(VstInt32 size) override {
        ++setterCalls;
        ServiceTestEffect::setBlockSize(size);
    }
    int setterCalls = 0;
};

}  // namespace

TEST(HostServiceUpdaters, TakeAPositiveSampleRateTestedOverTheWholeAnswer) {
    struct Case {
        VstIntPtr reply;
        double expected;
    } const cases[] = {
        {48000, 48000.0},
        {0, 44100.0},
        {-1, 44100.0},
        {kSmallest, 44100.0},
        {kBit32, 4294967296.0},
        {static_cast<VstIntPtr>((std::uint64_t{1} << 53) + 1), 9007199254740992.0},
        {16777217, 16777216.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        Hosted<SetterCountingEffect> hosted;
        hosted.host.reply = c.reply;
        EXPECT_EQ(hosted.effect.updateSampleRate(), c.expected);
        EXPECT_EQ(hosted.effect.getSampleRate(), static_cast<float>(c.expected));
        EXPECT_EQ(hosted.host.calls, std::vector<HostCall>{hosted.call(audioMasterGetSampleRate)});
        EXPECT_EQ(hosted.effect.setterCalls, 0);
    }
}

TEST(HostServiceUpdaters, TakeAPositiveBlockSizeFromTheLow32BitsOfTheAnswer) {
    struct Case {
        VstIntPtr reply;
        VstInt32 expected;
    } const cases[] = {
        {256, 256}, {kBit32 + 256, 256}, {kBit32, 1024}, {-1, 1024},
        {0, 1024}, {static_cast<VstIntPtr>(0xFFFFFFFFu), 1024}, {0x7FFFFFFF, 0x7FFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        Hosted<SetterCountingEffect> hosted;
        hosted.host.reply = c.reply;
        EXPECT_EQ(hosted.effect.updateBlockSize(), c.expected);
        EXPECT_EQ(hosted.effect.getBlockSize(), c.expected);
        EXPECT_EQ(hosted.host.calls, std::vector<HostCall>{hosted.call(audioMasterGetBlockSize)});
        EXPECT_EQ(hosted.effect.setterCalls, 0);
    }
}

TEST(HostServiceUpdaters, WithoutACallbackAnswerTheStoredValues) {
    Hosted<SetterCountingEffect> hosted(false);
    EXPECT_EQ(hosted.effect.updateSampleRate(), 44100.0);
    EXPECT_EQ(hosted.effect.updateBlockSize(), 1024);

    hosted.effect.setBlockSizeAndSampleRate(-64, 22050.5f);
    EXPECT_EQ(hosted.effect.setterCalls, 0);
    EXPECT_EQ(hosted.effect.updateSampleRate(), 22050.5);
    EXPECT_EQ(hosted.effect.updateBlockSize(), -64);
}

namespace {

// Answers a scripted number to every capability query and keeps the texts.
class MidiAskingEffect : public ServiceTestEffect {
public:
    using ServiceTestEffect::ServiceTestEffect;
    VstInt32 canDo(char* text) override {
        asked.emplace_back(text);
        return capability;
    }
    VstInt32 capability = 0;
    std::vector<std::string> asked;
};

}  // namespace

TEST(Resume, AnnouncesNoEventInputForAPlainEffect) {
    Hosted<> hosted;
    hosted.host.reply = 1;
    EXPECT_EQ(hosted.dispatch(effMainsChanged, 1), 0);
    EXPECT_EQ(hosted.dispatch(effMainsChanged, kBit32), 0);
    EXPECT_TRUE(hosted.host.calls.empty());
}

TEST(Resume, AnnouncesEventInputForASynthWithoutAskingCanDo) {
    Hosted<MidiAskingEffect> hosted;
    hosted.effect.isSynth(true);
    hosted.dispatch(effMainsChanged, 0);
    EXPECT_TRUE(hosted.host.calls.empty());

    hosted.dispatch(effMainsChanged, 1);
    EXPECT_EQ(hosted.host.calls, std::vector<HostCall>{hosted.call(audioMasterWantMidi, 0, 1)});
    EXPECT_TRUE(hosted.effect.asked.empty());
}

TEST(Resume, AnnouncesEventInputOnlyWhenCanDoAnswersExactlyOne) {
    struct Case {
        VstInt32 capability;
        bool announces;
    } const cases[] = {{1, true}, {0, false}, {-1, false}, {2, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.capability);
        Hosted<MidiAskingEffect> hosted;
        hosted.effect.capability = c.capability;
        hosted.dispatch(effMainsChanged, 1);
        EXPECT_EQ(hosted.effect.asked, std::vector<std::string>{"receiveVstMidiEvent"});
        const std::vector<HostCall> expected =
            c.announces ? std::vector<HostCall>{hosted.call(audioMasterWantMidi, 0, 1)} : std::vector<HostCall>{};
        EXPECT_EQ(hosted.host.calls, expected);
    }
}

TEST(FlagSetters, MoveOnlyTheirOwnBitAndCategoryFollowsTheSynthBit) {
    struct Case {
        const char* name;
        void (AudioEffectX::*setter)(bool);
        VstInt32 bit;
    } const cases[] = {
        {"isSynth", &AudioEffectX::isSynth, 0x100},
        {"noTail", &AudioEffectX::noTail, 0x200},
        {"wantAsyncOperation", &AudioEffectX::wantAsyncOperation, 0x400},
        {"hasExternalBuffer", &AudioEffectX::hasExternalBuffer, 0x800},
    };
    const VstInt32 startingFlags[] = {0, ~0, 0x5A5A5A5A, static_cast<VstInt32>(0xA5A5A5A5)};
    for (const Case& c : cases) {
        for (const VstInt32 flags : startingFlags) {
            SCOPED_TRACE(std::string(c.name) + " from " + std::to_string(flags));
            Hosted<> hosted;
            AEffect* record = hosted.effect.getAeffect();
            record->flags = flags;
            (hosted.effect.*c.setter)(true);
            EXPECT_EQ(record->flags, flags | c.bit);
            EXPECT_EQ(hosted.dispatch(effGetPlugCategory), (record->flags & 0x100) != 0 ? 2 : 0);
            (hosted.effect.*c.setter)(false);
            EXPECT_EQ(record->flags, flags & ~c.bit);
            EXPECT_EQ(hosted.dispatch(effGetPlugCategory), (record->flags & 0x100) != 0 ? 2 : 0);
            EXPECT_TRUE(hosted.host.calls.empty());
        }
    }
}

TEST(FlagSetters, IsSynthSwitchesThePlugCategory) {
    Hosted<> hosted;
    EXPECT_EQ(hosted.dispatch(effGetPlugCategory), 0);
    hosted.effect.isSynth(true);
    EXPECT_EQ(hosted.dispatch(effGetPlugCategory), 2);
    hosted.effect.isSynth(false);
    EXPECT_EQ(hosted.dispatch(effGetPlugCategory), 0);
}
