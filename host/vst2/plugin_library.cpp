#include "plugin_library.h"

namespace vsthost {

VstPluginMainProc PluginLibrary::entryPoint() const {
    for (const char* name : {"VSTPluginMain", "main"}) {
        if (void* found = symbol(name)) return reinterpret_cast<VstPluginMainProc>(found);
    }
    throw HostError("no VST entry point (VSTPluginMain or main) in " + path_);
}

}  // namespace vsthost
