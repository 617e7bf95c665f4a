// A CLAP host's transport record in the sound's terms: the one place where
// CLAP's time becomes the sound's.
//
// The position is song_pos_beats (fixed point, x 2^31) in quarter notes,
// known only with the beats timeline flag; bars are never used (hosts
// disagree on where they start counting). The tempo is known with the tempo
// flag; the sound itself plays a tempo that is not finite or not above 0 at
// its default. No record at all (a free-running host), or a record without
// the beats timeline, gives no position: the sound counts on from its own
// running position. The playing flag, loops and tempo_inc change nothing.
#pragma once

#include "block_transport.h"
#include "clap_abi.h"

namespace slicecast {

inline BlockTransport transportOf(const clap::EventTransport* transport) noexcept {
    if (transport == nullptr) return {};
    return {(transport->flags & clap::kTransportHasBeatsTimeline) != 0,
            static_cast<double>(transport->songPosBeats) / clap::kBeatTimeFactor,
            (transport->flags & clap::kTransportHasTempo) != 0, transport->tempo};
}

}  // namespace slicecast
