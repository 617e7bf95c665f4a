// The extended host services that concern processing: event input, the
// sample rate and block size, and what the host says about itself. Each
// wrapper is one guarded callback call: without a callback callHost answers
// 0, which is also every wrapper's default here.
#include "extended_effect.h"

// Switching on tells the host that this effect wants events, if it is a
// synth or says it can receive MIDI events. canDo and wantEvents are virtual,
// so a derived effect's answers take part.
void AudioEffectX::resume() {
    char midiInput[] = "receiveVstMidiEvent";
    if ((cEffect.flags & effFlagsIsSynth) != 0 || canDo(midiInput) == 1) wantEvents(1);
}

void AudioEffectX::wantEvents(VstInt32 filter) { callHost(audioMasterWantMidi, 0, filter); }

// The whole pointer-sized answer is tested: a rate must be positive to be
// taken. The field is written directly, past any setSampleRate override.
double AudioEffectX::updateSampleRate() {
    const VstIntPtr answer = callHost(audioMasterGetSampleRate);
    if (answer > 0) sampleRate = static_cast<float>(answer);
    return sampleRate;
}

// Only the low 32 bits of the answer count, as for every 32-bit answer.
VstInt32 AudioEffectX::updateBlockSize() {
    const auto answer = static_cast<VstInt32>(callHost(audioMasterGetBlockSize));
    if (answer > 0) blockSize = answer;
    return blockSize;
}

bool AudioEffectX::ioChanged() { return callHost(audioMasterIOChanged) != 0; }

VstIntPtr AudioEffectX::tempoAt(VstInt32 position) { return callHost(audioMasterTempoAt, 0, position); }

VstIntPtr AudioEffectX::getNumAutomatableParameters() { return callHost(audioMasterGetNumAutomatableParameters); }

VstIntPtr AudioEffectX::getParameterQuantization() { return callHost(audioMasterGetParameterQuantization); }

VstIntPtr AudioEffectX::getInputLatency() { return callHost(audioMasterGetInputLatency); }

VstIntPtr AudioEffectX::getOutputLatency() { return callHost(audioMasterGetOutputLatency); }

VstIntPtr AudioEffectX::getPreviousPlug() { return callHost(audioMasterGetPreviousPlug); }

VstIntPtr AudioEffectX::getNextPlug() { return callHost(audioMasterGetNextPlug); }

VstIntPtr AudioEffectX::willProcessReplacing() { return callHost(audioMasterWillReplaceOrAccumulate); }

VstIntPtr AudioEffectX::getCurrentProcessLevel() { return callHost(audioMasterGetCurrentProcessLevel); }

VstIntPtr AudioEffectX::getAutomationState() { return callHost(audioMasterGetAutomationState); }

VstIntPtr AudioEffectX::setOutputSamplerate(float rate) {
    return callHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, rate);
}

VstIntPtr AudioEffectX::getInputSpeakerArrangement() { return callHost(audioMasterGetInputSpeakerArrangement); }

VstIntPtr AudioEffectX::getOutputSpeakerArrangement() { return callHost(audioMasterGetOutputSpeakerArrangement); }

bool AudioEffectX::getHostVendorString(char* text) {
    return callHost(audioMasterGetVendorString, 0, 0, text) != 0;
}

bool AudioEffectX::getHostProductString(char* text) {
    return callHost(audioMasterGetProductString, 0, 0, text) != 0;
}

VstIntPtr AudioEffectX::getHostVendorVersion() { return callHost(audioMasterGetVendorVersion); }

VstIntPtr AudioEffectX::hostVendorSpecific(VstInt32 arg1, VstIntPtr arg2, void* ptrArg, float floatArg) {
    return callHost(audioMasterVendorSpecific, arg1, arg2, ptrArg, floatArg);
}

// Hosts answer capability queries with 1, 0 or -1; any non-zero answer is
// reported as 1.
VstInt32 AudioEffectX::canHostDo(char* text) { return callHost(audioMasterCanDo, 0, 0, text) != 0 ? 1 : 0; }

VstIntPtr AudioEffectX::getHostLanguage() { return callHost(audioMasterGetLanguage); }

VstIntPtr AudioEffectX::getDirectory() { return callHost(audioMasterGetDirectory); }
