// Opening a plug-in library on Linux and other POSIX systems.
#include <dlfcn.h>

#include "shared_library.h"

namespace pluginhost {

SharedLibrary::SharedLibrary(const std::string& path) : path_(path) {
    dlerror();
    // RTLD_NOW: a library with unresolved symbols fails here, not in the
    // middle of a render. RTLD_LOCAL: two libraries never see each other's
    // symbols.
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* reason = dlerror();
        throw HostError("cannot load plug-in library: " + std::string(reason != nullptr ? reason : path));
    }
}

SharedLibrary::~SharedLibrary() {
    if (handle_ != nullptr) dlclose(handle_);
}

void* SharedLibrary::symbol(const char* name) const { return dlsym(handle_, name); }

}  // namespace pluginhost
