// A short drum loop made in code, so that the demo needs no sound files:
// kick, snare and hi-hat on a sixteenth-note grid, with a bass line that
// changes from bar to bar so that every capture of the effect differs.
#pragma once

#include "stereo_blocks.h"

namespace slicecastcli {

struct DrumLoop {
    int sampleRate;
    double tempo;
    int bars;
    pluginhost::StereoBuffer sound;
};

DrumLoop makeDrumLoop();

}  // namespace slicecastcli
