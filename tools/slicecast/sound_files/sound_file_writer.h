// A sound file written through libsndfile, block by block, that appears at
// its path only once it is complete (see AtomicOutputFile).
#pragma once

#include <string>

#include "atomic_output_file.h"
#include "stereo_blocks.h"
#include "sound_file_reader.h"

namespace slicecastcli {

class SoundFileWriter {
public:
    // format is libsndfile's format code. Throws when the format cannot
    // hold that many channels at that rate, or the file cannot be created.
    SoundFileWriter(const std::string& path, int format, int channels, int sampleRate);

    // Writes the buffer's frames: the left side alone for a mono file.
    void write(const pluginhost::StereoBuffer& buffer);
    // Finishes the file and moves it into place.
    void commit();

private:
    std::string path_;
    int channels_;
    AtomicOutputFile output_;
    SoundFileHandle file_;
    std::vector<float> interleaved_;
};

}  // namespace slicecastcli
