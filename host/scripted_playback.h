// Plays an input through an effect as a DAW's transport does, following a
// PlaybackScript, and keeps a record of every processing call.
#pragma once

#include <cstdint>
#include <vector>

#include "stereo_blocks.h"
#include "playback_script.h"
#include "played_block.h"
#include "hosted_effect.h"
#include "transport.h"

namespace pluginhost {

// Where the input comes from and the output goes, block by block: the
// input follows the transport, so after a loop's jump it is asked for
// frames it gave before.
class PlaybackStreams {
public:
    virtual ~PlaybackStreams() = default;
    // Fills block, already as long as the processing call, with the input
    // from firstFrame on.
    virtual void readInput(std::int64_t firstFrame, StereoBuffer& block) = 0;
    // Takes the output of a block that is written (not of a count-in).
    virtual void writeOutput(const StereoBuffer& block) = 0;
    // Told of each processing call once it has been played.
    virtual void played(const PlayedBlock& block) = 0;
};

// Plays input frames 0 to inputFrames - 1 (and the loop's repeats) in
// blocks of the sizer's lengths. Before each block the tempo map and the
// automation are read at the block's first position; parameters are set
// only when their value changes. The transport must have the sample rate
// the effect was given; the script places it.
void playScript(HostedEffect& effect, Transport& transport, const PlaybackScript& script, const BlockSizer& sizer,
                std::int64_t inputFrames, PlaybackStreams& streams);

// The same for input and output held in memory; returns every call as it
// was played.
std::vector<PlayedBlock> playScript(HostedEffect& effect, Transport& transport, const PlaybackScript& script,
                                    const BlockSizer& sizer, const StereoBuffer& input, StereoBuffer& output);

}  // namespace pluginhost
