// Where a VST 2.4 library lets a host in.
#pragma once

#include "shared_library.h"
#include "vst_abi.h"

namespace vst2host {

// VSTPluginMain, falling back to main for older effects; throws HostError
// if neither exists.
VstPluginMainProc entryPointOf(const pluginhost::SharedLibrary& library);

}  // namespace vst2host
