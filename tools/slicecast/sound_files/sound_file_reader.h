// A sound file read through libsndfile, in any format it knows, as stereo
// blocks: a mono file lands on both sides.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "stereo_blocks.h"

namespace slicecastcli {

struct SoundFileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SoundFileHandle = std::unique_ptr<SNDFILE, SoundFileCloser>;

class SoundFileReader {
public:
    // Throws when the file cannot be read, or has more than two channels.
    explicit SoundFileReader(const std::string& path);

    const std::string& path() const { return path_; }
    int channels() const { return info_.channels; }
    int sampleRate() const { return info_.samplerate; }
    std::int64_t frames() const { return info_.frames; }
    // libsndfile's format code (container and sample encoding).
    int format() const { return info_.format; }

    // Moves to frame (0 to frames()), so that the next read starts there;
    // throws when the input cannot go back, as a pipe cannot.
    void seek(std::int64_t frame);
    // Where the next read starts.
    std::int64_t position() const { return position_; }

    // Reads the next frames, up to maxFrames, into buffer, which ends up as
    // long as what was read: maxFrames except at the end of the file.
    void read(pluginhost::StereoBuffer& buffer, std::size_t maxFrames);

private:
    std::string path_;
    SF_INFO info_{};
    SoundFileHandle file_;
    std::vector<float> interleaved_;
    std::int64_t position_ = 0;
};

}  // namespace slicecastcli
