// A CLAP library opened the way a host opens one: the system's loader, the
// exported clap_entry, its version checked, init called with the file's
// path; deinit when the library object goes. Only then may instances be
// made from its factory (see ClapInstance).
#pragma once

#include <string>
#include <vector>

#include "clap_abi.h"
#include "shared_library.h"

namespace claphost {

using pluginhost::HostError;

class ClapLibrary {
public:
    // Throws HostError when the file does not load, has no clap_entry, an
    // incompatible version, or its init refuses.
    explicit ClapLibrary(const std::string& path);
    ~ClapLibrary();
    ClapLibrary(const ClapLibrary&) = delete;
    ClapLibrary& operator=(const ClapLibrary&) = delete;

    const clap::PluginEntry& entry() const { return *entry_; }
    // The plug-in factory; throws HostError when the library has none.
    const clap::PluginFactory& factory() const;
    // Every descriptor the factory lists, in its order.
    std::vector<const clap::PluginDescriptor*> descriptors() const;
    const std::string& path() const { return library_.path(); }

private:
    pluginhost::SharedLibrary library_;
    const clap::PluginEntry* entry_ = nullptr;
};

}  // namespace claphost
