// The transport at a block's first frame as a VST 3 host tells it: the
// process context, built from the host library's BlockTime.
#pragma once

#include "block_time.h"
#include "vst3_abi.h"

namespace vst3host {

// projectTimeMusic (quarter notes) with its flag where the position is
// known, and the start of its bar where the time signature is one too; the
// tempo with its flag where it is known; the playing flag; the time
// signature; and the frames played since the transport started rolling as
// both sample positions (the host library keeps no other count of
// samples). A field without its flag is 0.
vst3::ProcessContext processContextOf(const pluginhost::BlockTime& time);

}  // namespace vst3host
