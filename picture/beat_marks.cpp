#include "beat_marks.h"

#include <cmath>

namespace picture {

void addBeats(const PictureBlock& block, std::vector<BeatMark>& marks) {
    const BlockTiming& time = block.time;
    // Only a rolling transport plays frames into the output.
    if (!block.written() || !time.playing || !(time.tempo > 0.0) || !(time.sampleRate > 0.0)) return;
    const double step = time.tempo / 60.0 / time.sampleRate;  // quarter notes per frame
    const double end = time.position + step * block.frames;
    for (double beat = std::ceil(time.position); beat < end; ++beat) {
        const auto offset = static_cast<std::int64_t>(std::ceil((beat - time.position) / step));
        if (offset >= block.frames) break;
        marks.push_back({block.outputFrame + offset, static_cast<std::int64_t>(beat)});
    }
}

}  // namespace picture
