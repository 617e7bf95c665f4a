// The list of processing calls a render made, as CSV, so that anyone can
// replay the render exactly. One header line, then one line per call:
//   frames,TIME,parameters,input_frame,output_frame
// TIME is what the effect was told of the transport, in its format's terms
// (HostedEffect::timeColumns): for VST 2.4 position,tempo,flags,sample_rate,
// the time record's fields as the effect was given them. parameters lists
// the values set just before the call as "index=value" separated by blanks
// (empty when none), in the effect's own units; input_frame is the first
// input frame fed to the call and output_frame where its output starts in
// the written file, both -1 for a count-in call (fed silence, output
// dropped). Every number is written in
// the shortest form that reads back to the same bits (position, tempo and
// sample rate as 64-bit, parameter values as 32-bit floats).
#pragma once

#include <fstream>
#include <string>

#include "sound_files/atomic_output_file.h"
#include "hosted_effect.h"
#include "played_block.h"

namespace slicecastcli {

// A block list written line by line as the render goes, that appears only
// once complete. Created before the render, so that a path that cannot be
// written stops it before any work.
class BlockLogFile {
public:
    BlockLogFile(const std::string& path, const pluginhost::HostedEffect& effect);

    void append(const pluginhost::PlayedBlock& block);
    // Finishes the file and moves it into place.
    void commit();

private:
    std::string path_;
    const pluginhost::HostedEffect& effect_;
    AtomicOutputFile file_;
    std::ofstream out_;
};

}  // namespace slicecastcli
