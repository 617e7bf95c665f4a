// A host's transport: tempo and musical position, moved on block by block as
// a playing DAW moves them, and told to the effect at each block's first
// frame as a BlockTime. Each format's driver turns that into its own record
// (a VST 2.4 time record, CLAP transport, LV2 time:Position, VST 3 process
// context).
#pragma once

#include <cstdint>

#include "block_time.h"

namespace pluginhost {

class Transport {
public:
    Transport(double sampleRate = 44100.0, double tempo = 120.0, double startPosition = 0.0);

    // Places the transport at a musical position (quarter notes); the
    // position of later blocks counts from here.
    void locate(double position);
    void setTempo(double tempo);
    void setSampleRate(double sampleRate);
    // What the host tells the effect it knows: both the position and the
    // tempo by default. A host without a timeline (an offline editor) tells
    // the tempo alone, or nothing.
    void setKnown(bool position, bool tempo);
    // A stopped transport keeps its position, musical and in samples, while
    // blocks go by (a DAW counting in before it rolls).
    void setPlaying(bool playing);

    // Moves the position on by frames samples at the current tempo.
    void advance(std::int64_t frames);

    // How many of the next limit frames come before the first frame whose
    // position is at or after position: limit if none does (or the
    // transport is stopped). Found with the very arithmetic that gives
    // each block its position, so that a block cut there starts at or
    // after position and its predecessor ends before it.
    std::int64_t framesBefore(double position, std::int64_t limit) const;

    double position() const { return time_.position; }
    double tempo() const { return time_.tempo; }
    double sampleRate() const { return time_.sampleRate; }
    // The transport at the next block's first frame.
    const BlockTime& blockTime() const { return time_; }

private:
    double positionAfter(std::int64_t frames) const;

    BlockTime time_;
    double anchorPosition_ = 0.0;
    std::int64_t framesSinceAnchor_ = 0;
};

}  // namespace pluginhost
