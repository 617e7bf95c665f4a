#include "clap_preset_index.h"

#include <cstring>

namespace claphost {

namespace {

// What the provider declared and told, and the first rule it broke.
struct Crawl {
    std::string pluginId;
    bool initialized = false;
    std::vector<clap::PresetLocation> locations;
    std::vector<std::optional<std::string>> locationTexts;
    std::vector<IndexedPreset> presets;
    // The preset being told: kept once a plug-in id names this plug-in.
    std::optional<IndexedPreset> current;
    bool currentIsOurs = false;
    std::uint32_t currentKind = 0;
    std::optional<std::string> currentLocation;
    std::string fault;
};

Crawl& crawlOf(const clap::PresetIndexer* indexer) { return *static_cast<Crawl*>(indexer->indexerData); }
Crawl& crawlOf(const clap::PresetMetadataReceiver* receiver) {
    return *static_cast<Crawl*>(receiver->receiverData);
}

void breaks(Crawl& crawl, const std::string& fault) {
    if (crawl.fault.empty()) crawl.fault = fault;
}

void finishPreset(Crawl& crawl) {
    if (crawl.current && crawl.currentIsOurs) crawl.presets.push_back(*crawl.current);
    crawl.current.reset();
    crawl.currentIsOurs = false;
}

bool SLICECAST_CLAP_CALL declareFiletype(const clap::PresetIndexer* indexer, const clap::PresetFiletype*) {
    if (crawlOf(indexer).initialized) breaks(crawlOf(indexer), "declared a file type after init");
    return true;
}

bool SLICECAST_CLAP_CALL declareLocation(const clap::PresetIndexer* indexer, const clap::PresetLocation* location) {
    Crawl& crawl = crawlOf(indexer);
    if (crawl.initialized) breaks(crawl, "declared a location after init");
    if (location == nullptr) return false;
    if (location->kind == clap::kPresetLocationPlugin && location->location != nullptr)
        breaks(crawl, "gave a location inside the plug-in a path");
    if (location->kind == clap::kPresetLocationFile && location->location == nullptr)
        breaks(crawl, "gave a file location no path");
    crawl.locations.push_back(*location);
    crawl.locationTexts.push_back(location->location != nullptr ? std::optional<std::string>(location->location)
                                                                : std::nullopt);
    return true;
}

bool SLICECAST_CLAP_CALL declareSoundpack(const clap::PresetIndexer* indexer, const clap::PresetSoundpack*) {
    if (crawlOf(indexer).initialized) breaks(crawlOf(indexer), "declared a sound pack after init");
    return true;
}

const void* SLICECAST_CLAP_CALL indexerExtension(const clap::PresetIndexer*, const char*) { return nullptr; }

void SLICECAST_CLAP_CALL onError(const clap::PresetMetadataReceiver* receiver, std::int32_t osError,
                                 const char* message) {
    breaks(crawlOf(receiver), "reported an error " + std::to_string(osError) + ": " + (message ? message : ""));
}

bool SLICECAST_CLAP_CALL beginPreset(const clap::PresetMetadataReceiver* receiver, const char* name,
                                     const char* loadKey) {
    Crawl& crawl = crawlOf(receiver);
    finishPreset(crawl);
    if (name == nullptr || loadKey == nullptr) {
        breaks(crawl, "began a preset inside a container without a name or a load key");
        return false;
    }
    crawl.current = IndexedPreset{name, loadKey, crawl.currentKind, crawl.currentLocation};
    return true;
}

void SLICECAST_CLAP_CALL addPluginId(const clap::PresetMetadataReceiver* receiver,
                                     const clap::UniversalPluginId* pluginId) {
    Crawl& crawl = crawlOf(receiver);
    if (!crawl.current) {
        breaks(crawl, "named a plug-in before any preset began");
        return;
    }
    if (pluginId != nullptr && pluginId->abi != nullptr && pluginId->id != nullptr &&
        std::strcmp(pluginId->abi, "clap") == 0 && crawl.pluginId == pluginId->id)
        crawl.currentIsOurs = true;
}

// Told of, not kept: this host lists names alone.
void SLICECAST_CLAP_CALL setSoundpackId(const clap::PresetMetadataReceiver*, const char*) {}
void SLICECAST_CLAP_CALL setFlags(const clap::PresetMetadataReceiver*, std::uint32_t) {}
void SLICECAST_CLAP_CALL addCreator(const clap::PresetMetadataReceiver*, const char*) {}
void SLICECAST_CLAP_CALL setDescription(const clap::PresetMetadataReceiver*, const char*) {}
void SLICECAST_CLAP_CALL setTimestamps(const clap::PresetMetadataReceiver*, clap::Timestamp, clap::Timestamp) {}
void SLICECAST_CLAP_CALL addFeature(const clap::PresetMetadataReceiver*, const char*) {}
void SLICECAST_CLAP_CALL addExtraInfo(const clap::PresetMetadataReceiver*, const char*, const char*) {}

const clap::PresetDiscoveryFactory* discoveryFactory(const ClapLibrary& library) {
    const clap::PluginEntry& entry = library.entry();
    const void* factory = entry.getFactory(clap::kPresetDiscoveryFactoryId);
    if (factory == nullptr) factory = entry.getFactory(clap::kPresetDiscoveryFactoryDraftId);
    return static_cast<const clap::PresetDiscoveryFactory*>(factory);
}

void crawlProvider(const clap::PresetDiscoveryFactory& factory, const clap::PresetProviderDescriptor& descriptor,
                   Crawl& crawl) {
    const clap::PresetIndexer indexer{clap::kVersion,   "Slicecast host",   "J'x Tiv-nar",      "",
                                      "1.0.0",          &crawl,             &declareFiletype,   &declareLocation,
                                      &declareSoundpack, &indexerExtension};
    const std::string id = descriptor.id != nullptr ? descriptor.id : "";
    const clap::PresetProvider* provider = factory.create(&factory, &indexer, descriptor.id);
    if (provider == nullptr) throw HostError("the CLAP preset provider '" + id + "' could not be made");
    const bool started = provider->init(provider);
    crawl.initialized = true;
    const clap::PresetMetadataReceiver receiver{&crawl,          &onError,     &beginPreset,    &addPluginId,
                                                &setSoundpackId, &setFlags,    &addCreator,     &setDescription,
                                                &setTimestamps,  &addFeature,  &addExtraInfo};
    bool told = started;
    for (std::size_t i = 0; told && i < crawl.locations.size(); ++i) {
        crawl.currentKind = crawl.locations[i].kind;
        crawl.currentLocation = crawl.locationTexts[i];
        const char* location = crawl.currentLocation ? crawl.currentLocation->c_str() : nullptr;
        told = provider->getMetadata(provider, crawl.currentKind, location, &receiver);
        finishPreset(crawl);
    }
    provider->destroy(provider);
    if (!started) throw HostError("the CLAP preset provider '" + id + "' refused to start");
    if (!told) throw HostError("the CLAP preset provider '" + id + "' could not tell a location's presets");
    if (!crawl.fault.empty()) throw HostError("the CLAP preset provider '" + id + "' " + crawl.fault);
}

}  // namespace

std::vector<IndexedPreset> indexPresets(const ClapLibrary& library, const std::string& pluginId) {
    const clap::PresetDiscoveryFactory* factory = discoveryFactory(library);
    if (factory == nullptr) return {};
    std::vector<IndexedPreset> presets;
    const std::uint32_t count = factory->count(factory);
    for (std::uint32_t index = 0; index < count; ++index) {
        const clap::PresetProviderDescriptor* descriptor = factory->getDescriptor(factory, index);
        if (descriptor == nullptr)
            throw HostError("the CLAP preset factory gives no provider " + std::to_string(index));
        Crawl crawl;
        crawl.pluginId = pluginId;
        crawlProvider(*factory, *descriptor, crawl);
        presets.insert(presets.end(), crawl.presets.begin(), crawl.presets.end());
    }
    return presets;
}

}  // namespace claphost
