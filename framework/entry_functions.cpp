#include "entry_functions.h"

#include "base_effect.h"

namespace {
AudioEffect* objectOf(AEffect* effect) { return static_cast<AudioEffect*>(effect->object); }
}  // namespace

VstIntPtr dispatcherEntry(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                          float opt) {
    AudioEffect* object = objectOf(effect);
    const VstIntPtr answer = object->dispatcher(opcode, index, value, ptr, opt);
    if (opcode == effClose) {
        delete object;
        return 1;
    }
    return answer;
}

void processEntry(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames) {
    objectOf(effect)->process(inputs, outputs, sampleFrames);
}

void processReplacingEntry(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames) {
    objectOf(effect)->processReplacing(inputs, outputs, sampleFrames);
}

void processDoubleReplacingEntry(AEffect* effect, double** inputs, double** outputs, VstInt32 sampleFrames) {
    objectOf(effect)->processDoubleReplacing(inputs, outputs, sampleFrames);
}

void setParameterEntry(AEffect* effect, VstInt32 index, float value) {
    objectOf(effect)->setParameter(index, value);
}

float getParameterEntry(AEffect* effect, VstInt32 index) { return objectOf(effect)->getParameter(index); }
