// The time record a VST 2.4 host answers for a block's time.
#pragma once

#include "block_time.h"
#include "vst_abi.h"

namespace vst2host {

// The valid flags for what the host knows, the playing flag while it rolls,
// its time signature.
VstTimeInfo timeRecordOf(const pluginhost::BlockTime& time);

}  // namespace vst2host
