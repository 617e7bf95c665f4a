// A VST 3 host's process context in the sound's terms: the one place where
// VST 3's time becomes the sound's.
//
// The context describes the block's first frame. The position is
// projectTimeMusic in quarter notes, known only with the project-time-music
// flag; the tempo is known with the tempo flag, and the sound itself plays a
// tempo that is not finite or not above 0 at its default. No context at all,
// or one without the position flag, gives no position: the sound counts on
// from its own running position, as for a VST 2.4 host without one. The
// playing, cycle, bar and time-signature fields change nothing.
#pragma once

#include "block_transport.h"
#include "vst3_abi.h"

namespace slicecast {

inline BlockTransport transportOf(const vst3::ProcessContext* context) noexcept {
    if (context == nullptr) return {};
    return {(context->state & vst3::kProjectTimeMusicValid) != 0, context->projectTimeMusic,
            (context->state & vst3::kTempoValid) != 0, context->tempo};
}

}  // namespace slicecast
