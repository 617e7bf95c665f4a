// One processing call as a picture needs to know it: where its frames went
// in the output and the transport at its first frame. Whoever played the
// block (a host, the web page, the plug-in itself) says it in these terms.
#pragma once

#include <cstdint>

namespace picture {

struct BlockTiming {
    double sampleRate = 44100.0;
    // Quarter notes from position 0.
    double position = 0.0;
    // Beats per minute.
    double tempo = 120.0;
    bool playing = true;
    // False when the host gave no position or no tempo.
    bool positionValid = true;
    bool tempoValid = true;
};

struct PictureBlock {
    // A block that is played but not in the output (a count-in).
    static constexpr std::int64_t kNotWritten = -1;

    std::int64_t outputFrame = 0;  // its first frame in the output
    std::int32_t frames = 0;
    BlockTiming time;

    bool written() const { return outputFrame != kNotWritten; }
};

}  // namespace picture
