// One effect instance, owned: created through a host, closed when this object
// goes away. Wraps the record's function pointers in plain calls.
#pragma once

#include <string>

#include "host.h"
#include "vst_abi.h"

namespace vst2host {

class PluginInstance {
public:
    // Throws HostError when the effect refuses to be created.
    PluginInstance(Host& host, VstPluginMainProc entryPoint);
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    AEffect* effect() const { return effect_; }

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f);

    // Switches the effect on as hosts do before the first block: effOpen,
    // the sample rate, the block size, then effMainsChanged 1.
    void switchOn(float sampleRate, VstInt32 blockSize);
    void switchOff();

    void setParameter(VstInt32 index, float value);
    float getParameter(VstInt32 index);
    void processReplacing(float** inputs, float** outputs, VstInt32 frames);

    std::string effectName();
    std::string vendorString();
    std::string productString();
    std::string parameterName(VstInt32 index);
    std::string parameterLabel(VstInt32 index);
    std::string parameterDisplay(VstInt32 index);

    // Closes now instead of at destruction; answers what effClose answered.
    VstIntPtr close();

private:
    std::string text(VstInt32 opcode, VstInt32 index);

    AEffect* effect_ = nullptr;
    bool switchedOn_ = false;
};

}  // namespace vst2host
