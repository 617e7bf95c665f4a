// PLACEHOLDER (to be replaced before commit)
#include "base_effect.h"
void AudioEffect::dB2string(float, char* t, VstInt32) { t[0] = 0; }
void AudioEffect::Hz2string(float, char* t, VstInt32) { t[0] = 0; }
void AudioEffect::ms2string(float, char* t, VstInt32) { t[0] = 0; }
void AudioEffect::float2string(float, char* t, VstInt32) { t[0] = 0; }
void AudioEffect::int2string(VstInt32, char* t, VstInt32) { t[0] = 0; }
