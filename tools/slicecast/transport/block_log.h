// The list of processing calls a render made, as CSV, so that anyone can
// replay the render exactly. One header line, then one line per call:
//   frames,position,tempo,flags,sample_rate,parameters,input_frame,output_frame
// position (quarter notes), tempo (BPM), flags and sample_rate are the time
// record's fields as the effect was given them; parameters lists the values
// set just before the call as "index=value" separated by blanks (empty when
// none); input_frame is the first input frame fed to the call and
// output_frame where its output starts in the written file, both -1 for a
// count-in call (fed silence, output dropped). Every number is written in
// the shortest form that reads back to the same bits (position, tempo and
// sample rate as 64-bit, parameter values as 32-bit floats).
#pragma once

#include <fstream>
#include <string>

#include "sound_files/atomic_output_file.h"
#include "played_block.h"

namespace slicecastcli {

// A block list written line by line as the render goes, that appears only
// once complete. Created before the render, so that a path that cannot be
// written stops it before any work.
class BlockLogFile {
public:
    explicit BlockLogFile(const std::string& path);

    void append(const vsthost::PlayedBlock& block);
    // Finishes the file and moves it into place.
    void commit();

private:
    std::string path_;
    AtomicOutputFile file_;
    std::ofstream out_;
};

}  // namespace slicecastcli
