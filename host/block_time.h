// The transport at the first frame of one processing call, in plain
// terms: each plug-in format's host tells it to the effect its own way.
#pragma once

#include <cstdint>

namespace pluginhost {

struct BlockTime {
    double sampleRate = 44100.0;
    // Frames played since the transport started rolling.
    double samplePosition = 0.0;
    // Quarter notes.
    double position = 0.0;
    // Beats per minute.
    double tempo = 120.0;
    std::int32_t beatsPerBar = 4;
    std::int32_t beatUnit = 4;
    bool playing = true;
    // False for hosts that give no position (offline editors) or no tempo.
    bool positionValid = true;
    bool tempoValid = true;

    bool operator==(const BlockTime&) const = default;
};

}  // namespace pluginhost
