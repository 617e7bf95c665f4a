#include "slicecast_effect.h"

#include <cstdlib>

#include "bounded_text.h"
#include "parameter_tables.h"
#include "parameter_values.h"
#include "slicecast_identity.h"
#include "vst_block_transport.h"
#include "vst_identity.h"

using namespace slicecast;

namespace {
bool isParameterIndex(VstInt32 index) {
    return static_cast<std::uint32_t>(index) < static_cast<std::uint32_t>(kParameterCount);
}
}  // namespace

AudioEffect* createEffect(audioMasterCallback host) noexcept { return new (std::nothrow) SlicecastVST(host); }

void* SlicecastVST::operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::calloc(1, size); }

void SlicecastVST::operator delete(void* storage) noexcept { std::free(storage); }

SlicecastVST::SlicecastVST(audioMasterCallback host) : AudioEffectX(host, kProgramCount, kParameterCount) {
    isSynth(false);
    canProcessReplacing(true);
    setNumInputs(kInputCount);
    setNumOutputs(kOutputCount);
    setUniqueID(kUniqueId);
}

void SlicecastVST::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    const BlockTransport transport = transportOf(getTimeInfo(kVstPpqPosValid | kVstTempoValid));
    // Parameters are read after the time query, so that a change the host
    // makes before or while answering it already applies to this block.
    const SoundParameters parameters{waveLengthIndex, updatePeriodIndex, {rate, fadeOut, decayRate, mix}};
    sound.process(transport, parameters, sampleRate, {inputs[0], inputs[1], outputs[0], outputs[1]}, sampleFrames);
}

void SlicecastVST::setParameter(VstInt32 index, float value) {
    switch (index) {
        case kWaveLength: waveLengthIndex = waveLengthIndexFor(value); break;
        case kUpdatePeriod: updatePeriodIndex = updatePeriodIndexFor(value); break;
        case kRate: rate = value; break;
        case kFadeOut: fadeOut = value; break;
        case kDecayRate: decayRate = value; break;
        case kMix: mix = value; break;
        default: break;
    }
}

float SlicecastVST::getParameter(VstInt32 index) {
    switch (index) {
        case kWaveLength: return waveLengthValueOf(waveLengthIndex);
        case kUpdatePeriod: return updatePeriodValueOf(updatePeriodIndex);
        case kRate: return rate;
        case kFadeOut: return fadeOut;
        case kDecayRate: return decayRate;
        case kMix: return mix;
        default: return 0.0f;
    }
}

void SlicecastVST::getParameterLabel(VstInt32 index, char* label) {
    const bool unitless = index == kWaveLength || index == kUpdatePeriod;
    copyBoundedText(label, unitless ? "" : "%", kParameterTextBound);
}

void SlicecastVST::getParameterDisplay(VstInt32 index, char* text) {
    switch (index) {
        case kWaveLength: writeWaveLengthDisplay(waveLengthIndex, text); break;
        case kUpdatePeriod: writeUpdatePeriodDisplay(updatePeriodIndex, text); break;
        case kRate: writePercentDisplay(rate, text); break;
        case kFadeOut: writePercentDisplay(fadeOut, text); break;
        case kDecayRate: writePercentDisplay(decayRate, text); break;
        case kMix: writePercentDisplay(mix, text); break;
        default: break;
    }
}

void SlicecastVST::getParameterName(VstInt32 index, char* text) {
    if (!isParameterIndex(index)) return;
    copyBoundedText(text, parameterTexts[static_cast<std::size_t>(index)].name, kParameterTextBound);
}

bool SlicecastVST::getEffectName(char* name) {
    copyBoundedText(name, kEffectName, kNameTextBound);
    return true;
}

bool SlicecastVST::getVendorString(char* text) {
    copyBoundedText(text, kVendorString, kNameTextBound);
    return true;
}

bool SlicecastVST::getProductString(char* text) {
    copyBoundedText(text, kProductString, kNameTextBound);
    return true;
}
