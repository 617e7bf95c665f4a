// The lilv handles behind Lv2Plugin, shared with Lv2Instance.
#pragma once

#include <lilv/lilv.h>

#include "lv2_plugin.h"

namespace lv2host {

struct Lv2Plugin::World {
    LilvWorld* world = nullptr;
    const LilvPlugin* plugin = nullptr;
};

}  // namespace lv2host
