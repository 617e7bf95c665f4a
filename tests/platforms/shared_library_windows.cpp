#include <windows.h>

#include <stdexcept>

#include "shared_library.h"

namespace platforms {

SharedLibrary::SharedLibrary(const std::string& path) : path_(path) {
    // No error dialog boxes: a library that fails to load is reported here.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    handle_ = LoadLibraryA(path.c_str());
    const DWORD error = GetLastError();
    SetErrorMode(previousMode);
    if (handle_ == nullptr) throw std::runtime_error("cannot load " + path + ": error " + std::to_string(error));
}

SharedLibrary::~SharedLibrary() { FreeLibrary(static_cast<HMODULE>(handle_)); }

void* SharedLibrary::symbol(const char* name) const {
    void* found = reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
    if (found == nullptr) throw std::runtime_error(path_ + " does not export " + name);
    return found;
}

}  // namespace platforms
