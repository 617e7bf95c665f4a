// PLACEHOLDER (to be replaced by the real wrappers before commit)
#include "extended_effect.h"
void AudioEffectX::resume() {}
bool AudioEffectX::beginEdit(VstInt32) { return false; }
bool AudioEffectX::endEdit(VstInt32) { return false; }
bool AudioEffectX::ioChanged() { return false; }
double AudioEffectX::updateSampleRate() { return sampleRate; }
VstInt32 AudioEffectX::updateBlockSize() { return blockSize; }
VstIntPtr AudioEffectX::getInputLatency() { return 0; }
VstIntPtr AudioEffectX::getOutputLatency() { return 0; }
VstIntPtr AudioEffectX::getCurrentProcessLevel() { return 0; }
VstIntPtr AudioEffectX::getAutomationState() { return 0; }
bool AudioEffectX::getHostVendorString(char*) { return false; }
bool AudioEffectX::getHostProductString(char*) { return false; }
VstIntPtr AudioEffectX::getHostVendorVersion() { return 0; }
VstIntPtr AudioEffectX::hostVendorSpecific(VstInt32, VstIntPtr, void*, float) { return 0; }
VstInt32 AudioEffectX::canHostDo(char*) { return 0; }
VstIntPtr AudioEffectX::getHostLanguage() { return 0; }
VstIntPtr AudioEffectX::getDirectory() { return 0; }
bool AudioEffectX::updateDisplay() { return false; }
bool AudioEffectX::sizeWindow(VstInt32, VstInt32) { return false; }
bool AudioEffectX::openFileSelector(VstFileSelect*) { return false; }
bool AudioEffectX::closeFileSelector(VstFileSelect*) { return false; }
bool AudioEffectX::offlineRead(VstOfflineTask*, VstInt32, bool) { return false; }
bool AudioEffectX::offlineWrite(VstOfflineTask*, VstInt32) { return false; }
bool AudioEffectX::offlineStart(VstAudioFile*, VstInt32, VstInt32) { return false; }
VstInt32 AudioEffectX::offlineGetCurrentPass() { return 0; }
VstInt32 AudioEffectX::offlineGetCurrentMetaPass() { return 0; }
void AudioEffectX::wantEvents(VstInt32) {}
VstIntPtr AudioEffectX::tempoAt(VstInt32) { return 0; }
VstIntPtr AudioEffectX::getNumAutomatableParameters() { return 0; }
VstIntPtr AudioEffectX::getParameterQuantization() { return 0; }
bool AudioEffectX::needIdle() { return false; }
VstIntPtr AudioEffectX::getPreviousPlug() { return 0; }
VstIntPtr AudioEffectX::getNextPlug() { return 0; }
VstIntPtr AudioEffectX::willProcessReplacing() { return 0; }
VstIntPtr AudioEffectX::setOutputSamplerate(float) { return 0; }
VstIntPtr AudioEffectX::getInputSpeakerArrangement() { return 0; }
VstIntPtr AudioEffectX::getOutputSpeakerArrangement() { return 0; }
VstIntPtr AudioEffectX::openWindow(VstWindow*) { return 0; }
bool AudioEffectX::closeWindow(VstWindow*) { return false; }
bool AudioEffectX::getChunkFile(void*) { return false; }
