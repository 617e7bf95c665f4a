// Transport records as a CLAP host writes them: musical time in fixed point,
// value x 2^31 rounded to the nearest step. beatTimeOf is that rounding, and
// positionOfBeatTime gives back the position a plug-in reads, so that a VST
// 2.4 host can be fed the very same positions.
#pragma once

#include "clap_abi.h"

namespace claphost {

// Rounded to nearest, halves away from zero; saturates at the int64 range
// (NaN gives 0).
clap::BeatTime beatTimeOf(double quarterNotes) noexcept;
double positionOfBeatTime(clap::BeatTime beats) noexcept;

// A playing transport with tempo and beats timeline (and seconds, and 4/4),
// as hosts send while rolling.
clap::EventTransport playingTransport(double quarterNotes, double tempo) noexcept;

}  // namespace claphost
