// How a test asks the tool to play a file: sample rate, length, block size,
// tempo and start.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace tooltest {

struct Playback {
    const char* name;
    int sampleRate;
    std::size_t frames;
    std::int32_t blockSize;
    double tempo;
    double start;
};

// --block, --tempo and --start as the tool takes them.
std::vector<std::string> playbackOptions(const Playback& playback);

void PrintTo(const Playback& playback, std::ostream* out);

}  // namespace tooltest
