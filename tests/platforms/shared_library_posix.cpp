#include <dlfcn.h>

#include <stdexcept>

#include "shared_library.h"

namespace platforms {

SharedLibrary::SharedLibrary(const std::string& path) : path_(path) {
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* reason = dlerror();
        throw std::runtime_error("cannot load " + path + ": " + (reason != nullptr ? reason : "unknown reason"));
    }
}

SharedLibrary::~SharedLibrary() { dlclose(handle_); }

void* SharedLibrary::symbol(const char* name) const {
    void* found = dlsym(handle_, name);
    if (found == nullptr) throw std::runtime_error(path_ + " does not export " + name);
    return found;
}

}  // namespace platforms
