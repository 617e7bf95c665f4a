// Sound files for the tests, written and read back whole with libsndfile.
#pragma once

#include <string>
#include <vector>

#include "stereo_blocks.h"

namespace testsupport {

struct Sound {
    int sampleRate = 0;
    // libsndfile's format code.
    int format = 0;
    // One vector per channel.
    std::vector<std::vector<float>> channels;

    std::size_t frames() const { return channels.empty() ? 0 : channels.front().size(); }
};

// Writes the channels; format defaults to 32-bit float WAV.
void writeSound(const std::string& path, const Sound& sound);
Sound readSound(const std::string& path);

// A stereo buffer as a sound, and back (a sound's first two channels).
Sound stereoSound(const pluginhost::StereoBuffer& buffer, int sampleRate);
pluginhost::StereoBuffer stereoBuffer(const Sound& sound);

}  // namespace testsupport
