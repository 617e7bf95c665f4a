// A stand-in effect library for the render tool's tests, written straight
// against the binary interface. Built several times with different
// definitions to be each kind of effect the tool must cope with:
//   FIXTURE_ENTRY_NAME   the exported entry point's name (none if undefined)
//   FIXTURE_REFUSES      the entry point answers null
//   FIXTURE_FLAGS, FIXTURE_INPUTS, FIXTURE_OUTPUTS   what the record says
//   FIXTURE_PROBE        the sound tells how the host plays it (see probe())
//   FIXTURE_RECORDER     passes its input through and records every call
//                        (see record())
// Otherwise its sound is half the input, output channel c from input c.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "vst_abi.h"

#ifndef FIXTURE_FLAGS
#define FIXTURE_FLAGS effFlagsCanReplacing
#endif
#ifndef FIXTURE_INPUTS
#define FIXTURE_INPUTS 1
#endif
#ifndef FIXTURE_OUTPUTS
#define FIXTURE_OUTPUTS 1
#endif

namespace {

constexpr float kGain = 0.5f;
#ifdef FIXTURE_REFUSES
constexpr bool kRefuses = true;
#else
constexpr bool kRefuses = false;
#endif
#ifdef FIXTURE_PROBE
constexpr bool kProbes = true;
#else
constexpr bool kProbes = false;
#endif
#ifdef FIXTURE_RECORDER
constexpr bool kRecords = true;
#else
constexpr bool kRecords = false;
#endif
// The recorder's parameters: Level keeps any value, Steps keeps quarters.
constexpr const char* kParameterNames[] = {"Level", "Steps"};
constexpr VstInt32 kRecordedParameters = kRecords ? 2 : 0;
constexpr float kSteps = 4.0f;
// What the probe writes where the host broke the rules.
constexpr float kNotSwitchedOn = -1.0f;
constexpr float kNoPosition = -1000.0f;

struct Fixture {
    AEffect record{};
    audioMasterCallback host = nullptr;
    bool opened = false;
    bool on = false;
    float sampleRate = 0.0f;
    VstIntPtr blockSize = 0;
    float parameters[2] = {};
};

Fixture& fixtureOf(AEffect* effect) { return *static_cast<Fixture*>(effect->object); }

VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    Fixture& fixture = fixtureOf(effect);
    switch (opcode) {
        case effOpen: fixture.opened = true; return 0;
        case effClose: delete &fixture; return 1;
        case effSetSampleRate: fixture.sampleRate = opt; return 0;
        case effSetBlockSize: fixture.blockSize = value; return 0;
        case effMainsChanged: fixture.on = value != 0; return 0;
        case effGetEffectName: std::strcpy(static_cast<char*>(ptr), "Half"); return 1;
        case effGetParamName:
            if (index >= 0 && index < kRecordedParameters) std::strcpy(static_cast<char*>(ptr), kParameterNames[index]);
            return 0;
        default: return 0;
    }
}

// Every sample of a block tells, on the left, the block's length if the
// host switched the effect on first (effOpen, the sample rate of its time
// record, a block size at least this long, effMainsChanged 1), and on the
// right the block's musical position if the time record flags position
// and tempo.
void probe(Fixture& fixture, float** outputs, VstInt32 frames) {
    const auto* time = reinterpret_cast<const VstTimeInfo*>(
        fixture.host(&fixture.record, audioMasterGetTime, 0, kVstPpqPosValid | kVstTempoValid, nullptr, 0.0f));
    const bool switchedOn = fixture.opened && fixture.on && time != nullptr &&
                            fixture.sampleRate == static_cast<float>(time->sampleRate) && fixture.blockSize >= frames;
    const bool timed =
        time != nullptr && (time->flags & (kVstPpqPosValid | kVstTempoValid)) == (kVstPpqPosValid | kVstTempoValid);
    for (VstInt32 frame = 0; frame < frames; ++frame) {
        outputs[0][frame] = switchedOn ? static_cast<float>(frames) : kNotSwitchedOn;
        outputs[1][frame] = timed ? static_cast<float>(time->ppqPos) : kNoPosition;
    }
}

template <typename Number>
std::string exact(Number number) {
    char text[64];
    return std::string(text, std::to_chars(text, text + sizeof(text), number).ptr);
}

// Appends one line per call to the file named by FIXTURE_RECORDER_LOG:
// the frames, the time record's position, tempo, flags, sample rate and
// position in samples (or "none" when the host answers no record), and the
// two parameters' values;
// every number in the shortest form that reads back to the same bits. The
// sound is the input, unchanged.
void record(Fixture& fixture, float** inputs, float** outputs, VstInt32 frames) {
    const auto* time = reinterpret_cast<const VstTimeInfo*>(
        fixture.host(&fixture.record, audioMasterGetTime, 0, kVstPpqPosValid | kVstTempoValid, nullptr, 0.0f));
    std::string line = std::to_string(frames);
    line += time == nullptr ? " none" : " " + exact(time->ppqPos) + " " + exact(time->tempo) + " " +
                                            std::to_string(time->flags) + " " + exact(time->sampleRate) + " " +
                                            exact(time->samplePos);
    line += " " + exact(fixture.parameters[0]) + " " + exact(fixture.parameters[1]) + "\n";
    if (const char* path = std::getenv("FIXTURE_RECORDER_LOG")) {
        if (std::FILE* log = std::fopen(path, "a")) {
            std::fputs(line.c_str(), log);
            std::fclose(log);
        }
    }
    for (int channel = 0; channel < FIXTURE_OUTPUTS; ++channel) {
        const float* input = inputs[channel % FIXTURE_INPUTS];
        std::memmove(outputs[channel], input, sizeof(float) * static_cast<std::size_t>(frames));
    }
}

void processReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
    if (kProbes) {
        probe(fixtureOf(effect), outputs, frames);
        return;
    }
    if (kRecords) {
        record(fixtureOf(effect), inputs, outputs, frames);
        return;
    }
    for (int channel = 0; channel < FIXTURE_OUTPUTS; ++channel) {
        for (VstInt32 frame = 0; frame < frames; ++frame) {
            outputs[channel][frame] = kGain * inputs[channel % FIXTURE_INPUTS][frame];
        }
    }
}

void setParameter(AEffect* effect, VstInt32 index, float value) {
    if (index == 0) fixtureOf(effect).parameters[0] = value;
    if (index == 1) fixtureOf(effect).parameters[1] = std::round(value * kSteps) / kSteps;
}

float getParameter(AEffect* effect, VstInt32 index) {
    return index >= 0 && index < kRecordedParameters ? fixtureOf(effect).parameters[index] : 0.0f;
}

[[maybe_unused]] AEffect* create(audioMasterCallback host) {
    if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0 || kRefuses) return nullptr;
    auto* fixture = new Fixture;
    fixture->host = host;
    AEffect& effect = fixture->record;
    effect.magic = kEffectMagic;
    effect.dispatcher = dispatch;
    effect.setParameter = setParameter;
    effect.getParameter = getParameter;
    effect.processReplacing = processReplacing;
    effect.numPrograms = 1;
    effect.numParams = kRecordedParameters;
    effect.numInputs = FIXTURE_INPUTS;
    effect.numOutputs = FIXTURE_OUTPUTS;
    effect.flags = FIXTURE_FLAGS;
    effect.object = fixture;
    effect.uniqueID = fourCharCode("half");
    effect.version = 1;
    effect.ioRatio = 1.0f;
    return &effect;
}

}  // namespace

#ifdef FIXTURE_ENTRY_NAME
extern "C" __attribute__((visibility("default"))) AEffect* fixtureEntry(audioMasterCallback host) __asm__(
    FIXTURE_ENTRY_NAME);
AEffect* fixtureEntry(audioMasterCallback host) { return create(host); }
#endif
