#include "scripted_time_host.h"

namespace testsupport {

const VstTimeInfo* ScriptedTimeHost::answeredRecord() { return useTransport_ ? timeInfo() : record_; }

VstIntPtr ScriptedTimeHost::answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
    if (opcode != audioMasterGetTime) return Host::answer(effect, opcode, index, value, ptr, opt);
    ++timeQueries;
    lastTimeFilter = value;
    return reinterpret_cast<VstIntPtr>(answeredRecord());
}

}  // namespace testsupport
