#include "vst_entry_point.h"

namespace vst2host {

VstPluginMainProc entryPointOf(const pluginhost::SharedLibrary& library) {
    for (const char* name : {"VSTPluginMain", "main"}) {
        if (void* found = library.symbol(name)) return reinterpret_cast<VstPluginMainProc>(found);
    }
    throw pluginhost::HostError("no VST entry point (VSTPluginMain or main) in " + library.path());
}

}  // namespace vst2host
