// The smallest concrete effect, for tests that reach inside the framework:
// it supplies the one operation the framework leaves abstract.
#pragma once

#include "extended_effect.h"

namespace testsupport {

class ServiceTestEffect : public AudioEffectX {
public:
    explicit ServiceTestEffect(audioMasterCallback host = nullptr) : AudioEffectX(host, 1, 1) {}
    void processReplacing(float** /*inputs*/, float** /*outputs*/, VstInt32 /*sampleFrames*/) override {}
};

}  // namespace testsupport
