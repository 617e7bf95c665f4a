#include "transport.h"

namespace vsthost {

Transport::Transport(double sampleRate, double tempo, double startPosition) {
    info_.sampleRate = sampleRate;
    info_.tempo = tempo;
    info_.timeSigNumerator = 4;
    info_.timeSigDenominator = 4;
    locate(startPosition);
}

void Transport::locate(double position) {
    anchorPosition_ = position;
    framesSinceAnchor_ = 0;
    updatePosition();
}

void Transport::setTempo(double tempo) {
    // The position so far was reached at the old tempo; count on from it.
    anchorPosition_ = info_.ppqPos;
    framesSinceAnchor_ = 0;
    info_.tempo = tempo;
}

void Transport::setSampleRate(double sampleRate) {
    anchorPosition_ = info_.ppqPos;
    framesSinceAnchor_ = 0;
    info_.sampleRate = sampleRate;
}

void Transport::setValidFlags(VstInt32 flags) {
    validFlags_ = flags;
    updatePosition();
}

void Transport::setPlaying(bool playing) {
    playing_ = playing;
    updatePosition();
}

void Transport::advance(std::int64_t frames) {
    if (!playing_) return;
    info_.samplePos += static_cast<double>(frames);
    framesSinceAnchor_ += frames;
    updatePosition();
}

void Transport::updatePosition() {
    // Computed from the frame count, not summed block by block, so that the
    // position does not drift with the number of blocks.
    info_.ppqPos = positionAfter(0);
    info_.flags = validFlags_ | (playing_ ? kVstTransportPlaying : 0);
}

double Transport::positionAfter(std::int64_t frames) const {
    return anchorPosition_ + static_cast<double>(framesSinceAnchor_ + frames) * (info_.tempo / 60.0) / info_.sampleRate;
}

BlockTime Transport::blockTime() const {
    return {info_.sampleRate,
            info_.samplePos,
            info_.ppqPos,
            info_.tempo,
            info_.timeSigNumerator,
            info_.timeSigDenominator,
            playing_,
            (info_.flags & kVstPpqPosValid) != 0,
            (info_.flags & kVstTempoValid) != 0};
}

std::int64_t Transport::framesBefore(double position, std::int64_t limit) const {
    if (!playing_ || positionAfter(limit) < position) return limit;
    // Positions rise with the frame count (every step of the arithmetic is
    // monotonic), so a bisection finds the first frame at or after position.
    std::int64_t before = -1;  // positionAfter(before) < position, or before is -1
    std::int64_t atOrAfter = limit;
    while (atOrAfter - before > 1) {
        const std::int64_t middle = before + (atOrAfter - before) / 2;
        if (positionAfter(middle) < position) before = middle;
        else atOrAfter = middle;
    }
    return atOrAfter;
}

}  // namespace vsthost
