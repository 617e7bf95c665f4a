// The VST 2.4 host's time record in the sound's terms: position and tempo
// count as known where the record flags them valid. No record at all (a
// host without a transport) knows neither.
#pragma once

#include "block_transport.h"
#include "vst_abi.h"

namespace slicecast {

inline BlockTransport transportOf(const VstTimeInfo* time) noexcept {
    if (time == nullptr) return {};
    return {(time->flags & kVstPpqPosValid) != 0, time->ppqPos, (time->flags & kVstTempoValid) != 0, time->tempo};
}

}  // namespace slicecast
