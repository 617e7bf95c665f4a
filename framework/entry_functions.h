// The free functions stored in the effect record. Each takes the object from
// the record and calls the matching virtual operation on it.
#pragma once

#include "vst_abi.h"

VstIntPtr dispatcherEntry(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                          float opt);
void processEntry(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames);
void processReplacingEntry(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames);
void processDoubleReplacingEntry(AEffect* effect, double** inputs, double** outputs, VstInt32 sampleFrames);
void setParameterEntry(AEffect* effect, VstInt32 index, float value);
float getParameterEntry(AEffect* effect, VstInt32 index);
