#include "playback.h"

#include <sstream>

namespace tooltest {

namespace {
std::string number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}
}  // namespace

std::vector<std::string> playbackOptions(const Playback& playback) {
    // --start=VALUE, so that a negative start is not taken for an option.
    return {"--block", std::to_string(playback.blockSize), "--tempo", number(playback.tempo),
            "--start=" + number(playback.start)};
}

void PrintTo(const Playback& playback, std::ostream* out) { *out << playback.name; }

}  // namespace tooltest
