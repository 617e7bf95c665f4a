// One instance of the CLAP edition, made the way a host makes it: through
// clap_entry, its factory and the plug-in's own init, with its params and
// state extensions; destroyed with the object. The edition's objects are
// linked into the fuzz target, so that every line of it is instrumented.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "clap_abi.h"
#include "clap_host_object.h"
#include "fuzz_checks.h"

extern "C" const clap::PluginEntry clap_entry;

namespace slicecastfuzz {

class ClapPlugin {
public:
    explicit ClapPlugin(const claphost::HostObject& host) {
        require(clap_entry.init(""), "clap_entry.init");
        const auto* factory = static_cast<const clap::PluginFactory*>(clap_entry.getFactory(clap::kPluginFactoryId));
        require(factory != nullptr, "the plug-in factory");
        const clap::PluginDescriptor* descriptor = factory->getPluginDescriptor(factory, 0);
        plugin = factory->createPlugin(factory, host.host(), descriptor->id);
        require(plugin != nullptr && plugin->init(plugin), "create and init");
        params = static_cast<const clap::PluginParams*>(plugin->getExtension(plugin, clap::kExtParams));
        state = static_cast<const clap::PluginState*>(plugin->getExtension(plugin, clap::kExtState));
        presetLoad = static_cast<const clap::PluginPresetLoad*>(plugin->getExtension(plugin, clap::kExtPresetLoad));
        require(params != nullptr && state != nullptr && presetLoad != nullptr,
                "the params, state and preset-load extensions");
    }
    ~ClapPlugin() {
        plugin->destroy(plugin);
        clap_entry.deinit();
    }
    ClapPlugin(const ClapPlugin&) = delete;
    ClapPlugin& operator=(const ClapPlugin&) = delete;

    double value(clap::Id id) const {
        double value = 0.0;
        require(params->getValue(plugin, id, &value), "get_value of a parameter the plug-in lists");
        return value;
    }
    std::vector<double> values() const {
        std::vector<double> all(params->count(plugin));
        for (clap::Id id = 0; id < all.size(); ++id) all[id] = value(id);
        return all;
    }
    // Every value within its range, and a whole step where it is stepped.
    void requireValuesInRange() const {
        for (std::uint32_t index = 0; index < params->count(plugin); ++index) {
            clap::ParamInfo info{};
            require(params->getInfo(plugin, index, &info), "parameter info");
            const double held = value(info.id);
            require(held >= info.minValue && held <= info.maxValue, "a value outside its range");
            const bool stepped = (info.flags & clap::kParamIsStepped) != 0;
            require(!stepped || held == static_cast<std::int64_t>(held), "a step between steps");
        }
    }

    const clap::Plugin* plugin = nullptr;
    const clap::PluginParams* params = nullptr;
    const clap::PluginState* state = nullptr;
    const clap::PluginPresetLoad* presetLoad = nullptr;
};

// Input events as a host might hand them, in any order: each copied by its
// size into whole 8-byte words, as hosts keep them aligned.
class RawEvents {
public:
    RawEvents() : list_{this, &sizeOf, &get} {}
    RawEvents(const RawEvents&) = delete;
    RawEvents& operator=(const RawEvents&) = delete;

    void add(const void* event, std::uint32_t size) {
        std::vector<std::uint64_t> words((size + 7) / 8, 0);
        std::memcpy(words.data(), event, size);
        events_.push_back(std::move(words));
    }
    void clear() { events_.clear(); }
    const clap::InputEvents* inputEvents() const { return &list_; }

private:
    static std::uint32_t SLICECAST_CLAP_CALL sizeOf(const clap::InputEvents* list) {
        return static_cast<std::uint32_t>(static_cast<const RawEvents*>(list->ctx)->events_.size());
    }
    static const clap::EventHeader* SLICECAST_CLAP_CALL get(const clap::InputEvents* list, std::uint32_t index) {
        const auto& events = static_cast<const RawEvents*>(list->ctx)->events_;
        return index < events.size() ? reinterpret_cast<const clap::EventHeader*>(events[index].data()) : nullptr;
    }

    std::vector<std::vector<std::uint64_t>> events_;
    clap::InputEvents list_;
};

}  // namespace slicecastfuzz
