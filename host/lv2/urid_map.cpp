#include "urid_map.h"

namespace lv2host {

UridMap::UridMap() : feature_{this, &UridMap::mapThrough} {}

LV2_URID UridMap::map(const char* uri) {
    const auto next = static_cast<LV2_URID>(ids_.size() + 1);
    return ids_.emplace(uri, next).first->second;
}

LV2_URID UridMap::mapThrough(LV2_URID_Map_Handle handle, const char* uri) {
    return static_cast<UridMap*>(handle)->map(uri);
}

}  // namespace lv2host
