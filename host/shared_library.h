// A plug-in library opened the way a host opens one: the system's loader
// (dlopen, LoadLibrary), then its exports looked up by name, each format its
// own (VSTPluginMain, clap_entry, lv2_descriptor, GetPluginFactory). The
// loader calls live in shared_library_posix.cpp and
// shared_library_windows.cpp.
#pragma once

#include <stdexcept>
#include <string>

namespace pluginhost {

// Raised for anything that keeps a host from using an effect; what() is a
// one-line message meant for the user.
class HostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SharedLibrary {
public:
    // Throws HostError when the library cannot be loaded, naming the
    // loader's reason.
    explicit SharedLibrary(const std::string& path);
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    const std::string& path() const { return path_; }

    // The exported symbol of that name, or null.
    void* symbol(const char* name) const;
    // The system's own handle of the library (dlopen's, an HMODULE), for
    // formats whose entry function is given it.
    void* handle() const { return handle_; }

private:
    std::string path_;
    void* handle_ = nullptr;
};

}  // namespace pluginhost
