#include "host_call_script.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "byte_reader.h"
#include "fuzz_checks.h"
#include "host.h"
#include "plugin_instance.h"

namespace slicecastfuzz {

namespace {

constexpr std::int32_t kMaxFrames = 4096;
constexpr std::size_t kTextBytes = 256;

// A host whose time record the script writes, or withholds.
class ScriptedHost : public vst2host::Host {
public:
    ScriptedHost() {
        record.tempo = 120.0;
        record.sampleRate = 44100.0;
        record.flags = kVstPpqPosValid | kVstTempoValid | kVstTransportPlaying;
    }

    VstIntPtr answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                     float opt) override {
        if (opcode == audioMasterGetTime) return withRecord ? reinterpret_cast<VstIntPtr>(&record) : 0;
        return Host::answer(effect, opcode, index, value, ptr, opt);
    }

    // Moves the position on as a playing host would, at 44.1 kHz.
    void advance(std::int32_t frames) {
        if (frames > 0 && (record.flags & kVstTransportPlaying) != 0) {
            record.ppqPos += frames * (record.tempo / 60.0) / record.sampleRate;
        }
    }

    VstTimeInfo record{};
    bool withRecord = true;
};

// Opcodes that write through ptr; they never get a null one.
bool writesThroughPtr(VstInt32 opcode) {
    switch (opcode) {
        case effGetProgramName:
        case effGetParamLabel:
        case effGetParamDisplay:
        case effGetParamName:
        case effGetEffectName:
        case effGetVendorString:
        case effGetProductString:
        case effGetChunk:
        case effGetSpeakerArrangement: return true;
        default: return false;
    }
}

// Opcodes that take value as the address of a speaker-arrangement place.
bool takesPointerInValue(VstInt32 opcode) {
    return opcode == effSetSpeakerArrangement || opcode == effGetSpeakerArrangement;
}

struct Session {
    ByteReader& input;
    ScriptedHost& host;
    vst2host::PluginInstance& instance;
    std::vector<float> channels[4] = {std::vector<float>(kMaxFrames), std::vector<float>(kMaxFrames),
                                      std::vector<float>(kMaxFrames), std::vector<float>(kMaxFrames)};
    std::vector<float> inputCopy[2] = {std::vector<float>(kMaxFrames), std::vector<float>(kMaxFrames)};

    void dispatch() {
        auto opcode = input.integer<VstInt32>(-1000, 1000);
        // Closing is the session's end, not a call in the middle of it.
        if (opcode == effClose) opcode = effOpen;
        const auto index = input.anyInteger<VstInt32>();
        VstIntPtr value = input.anyInteger<VstIntPtr>();
        void* place = nullptr;
        if (takesPointerInValue(opcode)) value = reinterpret_cast<VstIntPtr>(&place);
        std::array<char, kTextBytes> text{};
        const std::string given = input.text(kTextBytes - 1);
        std::memcpy(text.data(), given.data(), given.size());
        const bool nullPtr = !writesThroughPtr(opcode) && input.flag();
        const float opt = input.anyFloat();
        instance.dispatch(opcode, index, value, nullPtr ? nullptr : text.data(), opt);
    }

    void setParameter() {
        const auto index = input.integer<VstInt32>(-2, 8);
        instance.setParameter(index, input.anyFloat());
    }

    void changeTime() {
        host.withRecord = input.flag();
        if (input.flag()) host.record.ppqPos = input.anyDouble();
        if (input.flag()) host.record.tempo = input.anyDouble();
        if (input.flag()) host.record.flags = input.anyInteger<VstInt32>();
    }

    void processBlock() {
        const auto frames = input.integer<std::int32_t>(-8, kMaxFrames);
        const bool inPlace = input.flag();
        // Audio from the script where it lasts, any bits at all.
        for (int channel = 0; channel < 2; ++channel) {
            const std::vector<std::uint8_t> bytes = input.bytes(kMaxFrames * sizeof(float));
            std::copy(bytes.begin(), bytes.end(), reinterpret_cast<std::uint8_t*>(channels[channel].data()));
            std::copy(channels[channel].begin(), channels[channel].end(), inputCopy[channel].begin());
        }
        float* inputs[2] = {channels[0].data(), channels[1].data()};
        float* outputs[2] = {inPlace ? channels[0].data() : channels[2].data(),
                             inPlace ? channels[1].data() : channels[3].data()};
        instance.processReplacing(inputs, outputs, frames);
        if (!inPlace) {
            // Out of place, the inputs are the host's and stay as they were.
            for (int channel = 0; channel < 2; ++channel) {
                requireSameBits(channels[channel].data(), inputCopy[channel].data(), kMaxFrames, "an input written");
            }
        }
        host.advance(frames);
    }
};

}  // namespace

void playHostCalls(VstPluginMainProc entry, const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    ScriptedHost host;
    vst2host::PluginInstance instance(host, entry);
    instance.switchOn(44100.0f, kMaxFrames);
    Session session{input, host, instance};
    while (!input.empty()) {
        switch (input.integer(0, 4)) {
            case 0: session.dispatch(); break;
            case 1: session.setParameter(); break;
            case 2: (void)instance.getParameter(input.anyInteger<VstInt32>()); break;
            case 3: session.changeTime(); break;
            default: session.processBlock(); break;
        }
    }
}

}  // namespace slicecastfuzz
