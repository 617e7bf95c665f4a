// The CLAP edition's own extension through which its editor, and the
// project's own hosts and tests, reach the summary ring the plug-in object
// keeps: a pointer into the plug-in's memory, so it serves only code in the
// host's process that was built with the sound's headers. Other hosts never
// ask for this id.
#pragma once

#include "clap_abi.h"
#include "summary_ring.h"

namespace slicecast {

inline constexpr const char* kClapExtLiveSummary = "org.slicecast.live-summary/1";

struct ClapLiveSummary {
    // The plug-in's ring, alive as long as the plug-in: a reader marks
    // itself there (addReader) for the audio thread to write.
    SummaryRing*(SLICECAST_CLAP_CALL* ring)(const clap::Plugin* plugin);
};

}  // namespace slicecast
