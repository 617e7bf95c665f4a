// The library's one export, lv2_descriptor: the plug-in's URI and the
// functions a host calls on an instance.
#include <cstdint>
#include <cstring>

#include <lv2/core/lv2.h>
#include <lv2/urid/urid.h>

#include "lv2_identity.h"
#include "slicecast_lv2.h"

using slicecast::SlicecastLv2;

namespace {

// urid:map is optional: hosts that pass no features at all (lv2apply) get
// an instance that plays on the sound's own count of time.
const LV2_URID_Map* uridMapOf(const LV2_Feature* const* features) {
    if (features == nullptr) return nullptr;
    for (const LV2_Feature* const* feature = features; *feature != nullptr; ++feature) {
        if (std::strcmp((*feature)->URI, LV2_URID__map) == 0) return static_cast<const LV2_URID_Map*>((*feature)->data);
    }
    return nullptr;
}

LV2_Handle instantiate(const LV2_Descriptor*, double sampleRate, const char*, const LV2_Feature* const* features) {
    return SlicecastLv2::create(sampleRate, uridMapOf(features));
}

void connectPort(LV2_Handle instance, std::uint32_t port, void* data) {
    static_cast<SlicecastLv2*>(instance)->connect(port, data);
}

// Activation keeps the instance's musical time and its capture as they are:
// a host that re-activates while stopped sends no new position, and the
// effect goes on from the one it had.
void activate(LV2_Handle) {}

void run(LV2_Handle instance, std::uint32_t frames) { static_cast<SlicecastLv2*>(instance)->run(frames); }

void deactivate(LV2_Handle) {}

void cleanup(LV2_Handle instance) { SlicecastLv2::destroy(static_cast<SlicecastLv2*>(instance)); }

const void* extensionData(const char*) { return nullptr; }

const LV2_Descriptor descriptor = {
    slicecast::kLv2PluginUri, instantiate, connectPort, activate, run, deactivate, cleanup, extensionData,
};

}  // namespace

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(std::uint32_t index) {
    return index == 0 ? &descriptor : nullptr;
}
