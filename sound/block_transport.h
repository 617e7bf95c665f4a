// What a host tells of musical time for one block, in the sound's own
// terms: each plug-in format's edition turns its host's time record or
// events into this before it hands the block over.
#pragma once

namespace slicecast {

constexpr double kDefaultTempo = 120.0;

struct BlockTransport {
    // The position of the block's first frame, in quarter notes. A position
    // that is not known, or not finite, gives way to the sound's own running
    // position.
    bool positionKnown = false;
    double position = 0.0;
    // Beats per minute. A tempo that is not known, not finite or not above 0
    // plays at kDefaultTempo.
    bool tempoKnown = false;
    double tempo = kDefaultTempo;
};

}  // namespace slicecast
