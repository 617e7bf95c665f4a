// The host's urid:map feature: every URI a plug-in or the host asks for gets
// a number, the same number each time, starting at 1. Not for a real-time
// thread (it allocates); plug-ins map their URIs when they are created.
#pragma once

#include <string>
#include <unordered_map>

#include <lv2/urid/urid.h>

namespace lv2host {

class UridMap {
public:
    UridMap();
    UridMap(const UridMap&) = delete;
    UridMap& operator=(const UridMap&) = delete;

    LV2_URID map(const char* uri);
    // The feature to hand a plug-in; valid as long as this object.
    LV2_URID_Map* feature() { return &feature_; }

private:
    static LV2_URID mapThrough(LV2_URID_Map_Handle handle, const char* uri);

    std::unordered_map<std::string, LV2_URID> ids_;
    LV2_URID_Map feature_;
};

}  // namespace lv2host
