#include "host.h"

#include "vst_time_record.h"

namespace vst2host {

namespace {
// The host whose entry-point call is under way: the version query comes
// before any record exists, so it cannot be routed through resvd1.
thread_local Host* instantiatingHost = nullptr;

Host* hostOf(AEffect* effect) {
    if (effect == nullptr || effect->resvd1 == 0) return instantiatingHost;
    return reinterpret_cast<Host*>(effect->resvd1);
}
}  // namespace

VstIntPtr Host::answer(AEffect* /*effect*/, VstInt32 opcode, VstInt32 /*index*/, VstIntPtr /*value*/,
                       void* /*ptr*/, float /*opt*/) {
    switch (opcode) {
        case audioMasterVersion: return kInterfaceVersion;
        case audioMasterGetTime: return reinterpret_cast<VstIntPtr>(timeInfo());
        case audioMasterGetSampleRate: return static_cast<VstIntPtr>(transport.sampleRate());
        case audioMasterGetBlockSize: return blockSize;
        default: return 0;
    }
}

VstTimeInfo* Host::timeInfo() {
    timeRecord_ = timeRecordOf(transport.blockTime());
    return &timeRecord_;
}

AEffect* Host::instantiate(VstPluginMainProc entryPoint) {
    Host* const previous = instantiatingHost;
    instantiatingHost = this;
    AEffect* effect = entryPoint(&Host::callback);
    instantiatingHost = previous;
    if (effect != nullptr) effect->resvd1 = reinterpret_cast<VstIntPtr>(this);
    return effect;
}

VstIntPtr Host::callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                         float opt) {
    Host* host = hostOf(effect);
    if (host == nullptr) return opcode == audioMasterVersion ? kInterfaceVersion : 0;
    return host->answer(effect, opcode, index, value, ptr, opt);
}

}  // namespace vst2host
