// The free functions stored in the effect record. Each takes the object from
// the record and calls the matching virtual operation on it.
//
// A host calls them directly, so each one realigns its stack where the
// platform needs it (host_entry.h) and lets no exception out: the host's
// frames cannot unwind ours.
#pragma once

#include "host_entry.h"
#include "vst_abi.h"

SLICECAST_HOST_ENTRY VstIntPtr dispatcherEntry(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                               void* ptr, float opt) noexcept;
SLICECAST_HOST_ENTRY void processEntry(AEffect* effect, float** inputs, float** outputs,
                                       VstInt32 sampleFrames) noexcept;
SLICECAST_HOST_ENTRY void processReplacingEntry(AEffect* effect, float** inputs, float** outputs,
                                                VstInt32 sampleFrames) noexcept;
SLICECAST_HOST_ENTRY void processDoubleReplacingEntry(AEffect* effect, double** inputs, double** outputs,
                                                      VstInt32 sampleFrames) noexcept;
SLICECAST_HOST_ENTRY void setParameterEntry(AEffect* effect, VstInt32 index, float value) noexcept;
SLICECAST_HOST_ENTRY float getParameterEntry(AEffect* effect, VstInt32 index) noexcept;
