// One host block played through the sound in pieces, cut where the host's
// events fall (a parameter change, a new transport), so that the frames
// before a cut play with what was in force before it. The pieces after the
// first count on from the sound's own running position, with the tempo
// kept, which sounds exactly as if the block had not been cut.
#pragma once

#include <algorithm>
#include <cstdint>

#include "block_transport.h"
#include "slicecast_sound.h"
#include "stereo_io.h"

namespace slicecast {

class BlockPieces {
public:
    // The host's stereo channels for frames frames. Without inputs the
    // effect hears silence: the outputs are cleared and processed in place.
    // With a summariser, every piece is summed up for an editor into sink.
    BlockPieces(SlicecastSound& sound, float sampleRate, const BlockTransport& transport, const float* const* inputs,
                float* const* outputs, std::int32_t frames, BlockSummariser* summary = nullptr,
                SummarySink* sink = nullptr) noexcept
        : sound_(sound), sampleRate_(sampleRate), transport_(transport), frames_(frames), summary_(summary),
          sink_(sink) {
        if (inputs == nullptr) {
            std::fill_n(outputs[0], frames, 0.0f);
            std::fill_n(outputs[1], frames, 0.0f);
            inputs = outputs;
        }
        channels_ = {inputs[0], inputs[1], outputs[0], outputs[1]};
    }

    // Plays the frames not yet played up to the cut at frame at. A cut
    // before what was played, or past the block's end, falls at the
    // earliest frame still to come, or at the end.
    void playUntil(std::int64_t at, const SoundParameters& parameters) noexcept {
        const auto end = static_cast<std::int32_t>(std::clamp<std::int64_t>(at, done_, frames_));
        if (end == done_) return;
        const StereoIo piece{channels_.inLeft + done_, channels_.inRight + done_, channels_.outLeft + done_,
                             channels_.outRight + done_};
        if (summary_ != nullptr) {
            sound_.process(transport_, parameters, sampleRate_, piece, end - done_, *summary_, *sink_);
        } else {
            sound_.process(transport_, parameters, sampleRate_, piece, end - done_);
        }
        transport_.positionKnown = false;
        done_ = end;
    }

    // The rest of the block.
    void finish(const SoundParameters& parameters) noexcept { playUntil(frames_, parameters); }

    // A new transport from the next piece on.
    void setTransport(const BlockTransport& transport) noexcept { transport_ = transport; }

    // The first frame not yet played.
    std::int32_t done() const noexcept { return done_; }

private:
    SlicecastSound& sound_;
    float sampleRate_;
    BlockTransport transport_;
    StereoIo channels_{};
    std::int32_t frames_;
    std::int32_t done_ = 0;
    BlockSummariser* summary_;
    SummarySink* sink_;
};

}  // namespace slicecast
