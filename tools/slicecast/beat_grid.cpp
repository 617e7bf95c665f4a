#include "beat_grid.h"

#include <cmath>

namespace slicecastcli {

std::vector<BeatMark> beatGrid(const std::vector<vsthost::PlayedBlock>& blocks) {
    std::vector<BeatMark> marks;
    for (const vsthost::PlayedBlock& block : blocks) {
        const VstTimeInfo& time = block.time;
        if (!block.written() || !(time.tempo > 0.0) || !(time.sampleRate > 0.0)) continue;
        const bool playing = (time.flags & kVstTransportPlaying) != 0;
        // Quarter notes per frame, as the transport moves; a stopped one
        // stays where it is.
        const double step = playing ? time.tempo / 60.0 / time.sampleRate : 0.0;
        const double end = time.ppqPos + step * block.frames;
        for (double beat = std::ceil(time.ppqPos); beat < end || beat == time.ppqPos; ++beat) {
            const auto offset = step > 0.0 ? static_cast<std::int64_t>(std::ceil((beat - time.ppqPos) / step)) : 0;
            if (offset >= block.frames) break;
            marks.push_back({block.outputFrame + offset, static_cast<std::int64_t>(beat)});
            if (step == 0.0) break;
        }
    }
    return marks;
}

}  // namespace slicecastcli
