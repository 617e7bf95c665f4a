#include "plugin_library.h"

#include <dlfcn.h>

namespace vsthost {

PluginLibrary::PluginLibrary(const std::string& path) : path_(path) {
    dlerror();
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* reason = dlerror();
        throw HostError("cannot load plug-in library: " + std::string(reason != nullptr ? reason : path));
    }
}

PluginLibrary::~PluginLibrary() {
    if (handle_ != nullptr) dlclose(handle_);
}

VstPluginMainProc PluginLibrary::entryPoint() const {
    for (const char* name : {"VSTPluginMain", "main"}) {
        if (void* symbol = dlsym(handle_, name)) return reinterpret_cast<VstPluginMainProc>(symbol);
    }
    throw HostError("no VST entry point (VSTPluginMain or main) in " + path_);
}

}  // namespace vsthost
