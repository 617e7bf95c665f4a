// A VST 2.4 effect library opened the way a host opens one: the system's
// loader (dlopen, LoadLibrary), then the entry point looked up by name
// (VSTPluginMain, or main for older effects). The loader calls live in
// plugin_library_posix.cpp and plugin_library_windows.cpp.
#pragma once

#include <stdexcept>
#include <string>

#include "vst_abi.h"

namespace vsthost {

// Raised for anything that keeps a host from using an effect; what() is a
// one-line message meant for the user.
class HostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class PluginLibrary {
public:
    // Throws HostError when the library cannot be loaded, naming the
    // loader's reason.
    explicit PluginLibrary(const std::string& path);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // VSTPluginMain, falling back to main; throws HostError if neither exists.
    VstPluginMainProc entryPoint() const;
    const std::string& path() const { return path_; }

    // The exported symbol of that name, or null: what formats other than
    // VST 2.4 look up (a CLAP library's clap_entry).
    void* symbol(const char* name) const;

private:
    std::string path_;
    void* handle_ = nullptr;
};

}  // namespace vsthost
