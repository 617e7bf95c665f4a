#include "clap_library.h"

namespace claphost {

ClapLibrary::ClapLibrary(const std::string& path) : library_(path) {
    entry_ = static_cast<const clap::PluginEntry*>(library_.symbol(clap::kEntrySymbol));
    if (entry_ == nullptr) throw HostError("no CLAP entry (clap_entry) in " + path);
    if (!clap::isCompatible(entry_->clapVersion)) throw HostError("incompatible CLAP version in " + path);
    if (entry_->init == nullptr || entry_->deinit == nullptr || entry_->getFactory == nullptr)
        throw HostError("incomplete CLAP entry in " + path);
    if (!entry_->init(path.c_str())) throw HostError("CLAP entry refused to initialise: " + path);
}

ClapLibrary::~ClapLibrary() { entry_->deinit(); }

const clap::PluginFactory& ClapLibrary::factory() const {
    const auto* factory = static_cast<const clap::PluginFactory*>(entry_->getFactory(clap::kPluginFactoryId));
    if (factory == nullptr) throw HostError("no CLAP plug-in factory in " + path());
    return *factory;
}

std::vector<const clap::PluginDescriptor*> ClapLibrary::descriptors() const {
    const clap::PluginFactory& plugins = factory();
    std::vector<const clap::PluginDescriptor*> found;
    const std::uint32_t count = plugins.getPluginCount(&plugins);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (const clap::PluginDescriptor* descriptor = plugins.getPluginDescriptor(&plugins, i))
            found.push_back(descriptor);
    }
    return found;
}

}  // namespace claphost
