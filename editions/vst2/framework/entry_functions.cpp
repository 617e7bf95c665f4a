#include "entry_functions.h"

#include "base_effect.h"

namespace {
AudioEffect* objectOf(AEffect* effect) { return static_cast<AudioEffect*>(effect->object); }
}  // namespace

// The effect's own operations throw nothing; the catch clauses are the
// boundary's guarantee and cost nothing until something is thrown.

VstIntPtr dispatcherEntry(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                          float opt) noexcept {
    AudioEffect* object = objectOf(effect);
    VstIntPtr answer = 0;
    try {
        answer = object->dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
        answer = 0;
    }
    if (opcode == effClose) {
        delete object;
        return 1;
    }
    return answer;
}

void processEntry(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames) noexcept {
    try {
        objectOf(effect)->process(inputs, outputs, sampleFrames);
    } catch (...) {
    }
}

void processReplacingEntry(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames) noexcept {
    try {
        objectOf(effect)->processReplacing(inputs, outputs, sampleFrames);
    } catch (...) {
    }
}

void processDoubleReplacingEntry(AEffect* effect, double** inputs, double** outputs, VstInt32 sampleFrames) noexcept {
    try {
        objectOf(effect)->processDoubleReplacing(inputs, outputs, sampleFrames);
    } catch (...) {
    }
}

void setParameterEntry(AEffect* effect, VstInt32 index, float value) noexcept {
    try {
        objectOf(effect)->setParameter(index, value);
    } catch (...) {
    }
}

float getParameterEntry(AEffect* effect, VstInt32 index) noexcept {
    try {
        return objectOf(effect)->getParameter(index);
    } catch (...) {
        return 0.0f;
    }
}
