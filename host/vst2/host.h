// The host side of VST 2.4: answers an effect's callbacks, creates
// instances through an entry point, and owns them until they are closed.
#pragma once

#include <string>

#include "transport.h"
#include "vst_abi.h"

namespace vst2host {

// Answers the callbacks of the effects it instantiated. The default answers
// are a plain playing DAW's: interface version 2400, the transport's time
// record, its sample rate and block size, 0 to everything else. Tests
// override answer() to script or record the conversation.
class Host {
public:
    static constexpr VstInt32 kInterfaceVersion = 2400;

    Host() = default;
    virtual ~Host() = default;
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    virtual VstIntPtr answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                             float opt);

    // Calls the entry point with this host's callback and returns the new
    // record (null if the effect refused). The record's resvd1, which
    // belongs to the host, leads callbacks back to this object.
    AEffect* instantiate(VstPluginMainProc entryPoint);

    // The callback handed to effects.
    static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                              float opt);

    // The time record audioMasterGetTime answers: the transport's time,
    // made anew at each call.
    VstTimeInfo* timeInfo();

    pluginhost::Transport transport;
    VstInt32 blockSize = 512;

private:
    VstTimeInfo timeRecord_{};
};

}  // namespace vst2host
