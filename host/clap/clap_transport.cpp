#include "clap_transport.h"

#include <cmath>
#include <cstdint>

namespace claphost {

clap::BeatTime beatTimeOf(double quarterNotes) noexcept {
    const double scaled = std::round(quarterNotes * clap::kBeatTimeFactor);
    // 2^63 is the first value outside the range, and exact in a double.
    constexpr double kLimit = 9223372036854775808.0;
    if (std::isnan(scaled)) return 0;
    if (scaled >= kLimit) return INT64_MAX;
    if (scaled < -kLimit) return INT64_MIN;
    return static_cast<clap::BeatTime>(scaled);
}

double positionOfBeatTime(clap::BeatTime beats) noexcept { return static_cast<double>(beats) / clap::kBeatTimeFactor; }

clap::EventTransport playingTransport(double quarterNotes, double tempo) noexcept {
    clap::EventTransport transport{};
    transport.header = {sizeof transport, 0, clap::kCoreEventSpace, clap::kEventTransport, 0};
    transport.flags = clap::kTransportHasTempo | clap::kTransportHasBeatsTimeline | clap::kTransportHasSecondsTimeline |
                      clap::kTransportHasTimeSignature | clap::kTransportIsPlaying;
    transport.songPosBeats = beatTimeOf(quarterNotes);
    transport.songPosSeconds = std::isfinite(tempo) && tempo > 0.0 ? beatTimeOf(quarterNotes * 60.0 / tempo) : 0;
    transport.tempo = tempo;
    transport.tsigNum = 4;
    transport.tsigDenom = 4;
    return transport;
}

}  // namespace claphost
