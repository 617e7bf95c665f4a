#include "plugin_instance.h"

#include <cstring>

#include "shared_library.h"

namespace vst2host {

using pluginhost::HostError;

PluginInstance::PluginInstance(Host& host, VstPluginMainProc entryPoint) : effect_(host.instantiate(entryPoint)) {
    if (effect_ == nullptr) throw HostError("the effect refused to be created (its entry point answered null)");
    if (effect_->magic != kEffectMagic) {
        effect_ = nullptr;
        throw HostError("the entry point did not answer a VST effect record");
    }
}

PluginInstance::~PluginInstance() { close(); }

VstIntPtr PluginInstance::close() {
    if (effect_ == nullptr) return 0;
    if (switchedOn_) switchOff();
    const VstIntPtr answer = effect_->dispatcher(effect_, effClose, 0, 0, nullptr, 0.0f);
    effect_ = nullptr;
    return answer;
}

VstIntPtr PluginInstance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

void PluginInstance::switchOn(float sampleRate, VstInt32 blockSize) {
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(effSetBlockSize, 0, blockSize);
    dispatch(effMainsChanged, 0, 1);
    switchedOn_ = true;
}

void PluginInstance::switchOff() {
    dispatch(effMainsChanged, 0, 0);
    switchedOn_ = false;
}

void PluginInstance::setParameter(VstInt32 index, float value) { effect_->setParameter(effect_, index, value); }

float PluginInstance::getParameter(VstInt32 index) { return effect_->getParameter(effect_, index); }

void PluginInstance::processReplacing(float** inputs, float** outputs, VstInt32 frames) {
    effect_->processReplacing(effect_, inputs, outputs, frames);
}

std::string PluginInstance::text(VstInt32 opcode, VstInt32 index) {
    // Generous room: effects in the wild write past the documented bounds.
    char buffer[256] = {};
    dispatch(opcode, index, 0, buffer);
    buffer[sizeof(buffer) - 1] = '\0';
    return buffer;
}

std::string PluginInstance::effectName() { return text(effGetEffectName, 0); }
std::string PluginInstance::vendorString() { return text(effGetVendorString, 0); }
std::string PluginInstance::productString() { return text(effGetProductString, 0); }
std::string PluginInstance::parameterName(VstInt32 index) { return text(effGetParamName, index); }
std::string PluginInstance::parameterLabel(VstInt32 index) { return text(effGetParamLabel, index); }
std::string PluginInstance::parameterDisplay(VstInt32 index) { return text(effGetParamDisplay, index); }

}  // namespace vst2host
