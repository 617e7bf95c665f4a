// PLACEHOLDER (to be replaced before commit)
#include "extended_effect.h"
bool AudioEffectX::allocateArrangement(VstSpeakerArrangement**, VstInt32) { return false; }
bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement**) { return true; }
bool AudioEffectX::copySpeaker(VstSpeakerProperties*, VstSpeakerProperties*) { return false; }
bool AudioEffectX::matchArrangement(VstSpeakerArrangement**, VstSpeakerArrangement*) { return false; }
