// The LV2 edition's port indices, as the bundle's .ttl numbers them, for
// the plug-in and its editor alike; hosts save the symbols, so neither may
// ever change.
#pragma once

#include <cstdint>

namespace slicecast {

enum Lv2Port : std::uint32_t {
    kPortInLeft = 0,
    kPortInRight = 1,
    kPortOutLeft = 2,
    kPortOutRight = 3,
    kPortFirstParameter = 4,  // wave_length .. mix, in parameter order
    kPortControl = 10,
    kPortNotify = 11,  // the editor's summaries (lv2_editor_protocol.h)
    kPortCount = 12,
};

}  // namespace slicecast
