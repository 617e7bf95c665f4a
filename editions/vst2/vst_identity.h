// What only the VST 2.4 interface asks of the effect's identity.
#pragma once

#include "vst_abi.h"

namespace slicecast {

constexpr VstInt32 kUniqueId = fourCharCode("wjzc");
constexpr VstInt32 kProgramCount = 1;

}  // namespace slicecast
