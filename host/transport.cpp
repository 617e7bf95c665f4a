#include "transport.h"

namespace pluginhost {

Transport::Transport(double sampleRate, double tempo, double startPosition) {
    time_.sampleRate = sampleRate;
    time_.tempo = tempo;
    locate(startPosition);
}

void Transport::locate(double position) {
    anchorPosition_ = position;
    framesSinceAnchor_ = 0;
    time_.position = positionAfter(0);
}

void Transport::setTempo(double tempo) {
    // The position so far was reached at the old tempo; count on from it.
    anchorPosition_ = time_.position;
    framesSinceAnchor_ = 0;
    time_.tempo = tempo;
}

void Transport::setSampleRate(double sampleRate) {
    anchorPosition_ = time_.position;
    framesSinceAnchor_ = 0;
    time_.sampleRate = sampleRate;
}

void Transport::setKnown(bool position, bool tempo) {
    time_.positionValid = position;
    time_.tempoValid = tempo;
}

void Transport::setPlaying(bool playing) { time_.playing = playing; }

void Transport::advance(std::int64_t frames) {
    if (!time_.playing) return;
    time_.samplePosition += static_cast<double>(frames);
    framesSinceAnchor_ += frames;
    // Computed from the frame count, not summed block by block, so that the
    // position does not drift with the number of blocks.
    time_.position = positionAfter(0);
}

double Transport::positionAfter(std::int64_t frames) const {
    return anchorPosition_ + static_cast<double>(framesSinceAnchor_ + frames) * (time_.tempo / 60.0) / time_.sampleRate;
}

std::int64_t Transport::framesBefore(double position, std::int64_t limit) const {
    if (!time_.playing || positionAfter(limit) < position) return limit;
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

}  // namespace pluginhost
