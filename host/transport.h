// A host's transport: tempo and musical position, answered to the effect as
// the time record and moved on block by block as a playing DAW does.
#pragma once

#include <cstdint>

#include "block_time.h"
#include "vst_abi.h"

namespace vsthost {

class Transport {
public:
    Transport(double sampleRate = 44100.0, double tempo = 120.0, double startPosition = 0.0);

    // Places the transport at a musical position (quarter notes); the
    // position of later blocks counts from here.
    void locate(double position);
    void setTempo(double tempo);
    void setSampleRate(double sampleRate);
    // Which fields the record flags as valid (kVstPpqPosValid | kVstTempoValid by default).
    void setValidFlags(VstInt32 flags);
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

    double position() const { return info_.ppqPos; }
    double tempo() const { return info_.tempo; }
    double sampleRate() const { return info_.sampleRate; }
    VstTimeInfo* timeInfo() { return &info_; }
    // The same in plain terms: a position or tempo is valid where the
    // record flags it so.
    BlockTime blockTime() const;

private:
    void updatePosition();
    double positionAfter(std::int64_t frames) const;

    VstTimeInfo info_{};
    double anchorPosition_ = 0.0;
    std::int64_t framesSinceAnchor_ = 0;
    bool playing_ = true;
    VstInt32 validFlags_ = kVstPpqPosValid | kVstTempoValid;
};

}  // namespace vsthost
