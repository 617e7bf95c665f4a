// The format of a sound file `render` writes: the container follows the
// output's extension, by libsndfile's own table of formats, and the sample
// encoding is the one asked for by name or the best the container holds.
#pragma once

#include <string>
#include <vector>

namespace slicecastcli {

// The names --format takes: "pcm16", "pcm24", "pcm32", "float", "double",
// "vorbis", "opus", and "same" (the input file's own encoding).
const std::vector<std::string>& encodingNames();

// Extensions that name a container, without the dot ("wav", "flac", ...).
std::vector<std::string> knownExtensions();

// libsndfile's format code for writing path. encoding is a name above, or
// empty for the best the container holds: 32-bit float, else 24-bit, else
// 16-bit, else the first it can hold at all. inputFormat is the input's
// format code, used by "same". Throws UsageError, naming what is possible,
// for an unknown extension or an encoding the container cannot hold with
// that many channels at that rate.
int outputFormatFor(const std::string& path, const std::string& encoding, int inputFormat, int channels,
                    int sampleRate);

// The extension of path in lower case, without the dot; empty if none.
std::string extensionOf(const std::string& path);

}  // namespace slicecastcli
