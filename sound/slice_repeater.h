// The sound of the effect in plain C++, with no knowledge of any host: it
// captures the input from every update-period boundary on and plays the
// first slice of the capture again and again, decaying, faded, gated and
// mixed with the dry signal.
#pragma once

#include <cstdint>

#include "block_plan.h"
#include "pass_shaping.h"

namespace slicecast {

// Told, frame by frame of a block, where the repeater began something:
// what a picture of the sound marks. The plain repeater tells no one.
struct NoMarks {
    void periodStarted(std::int32_t) noexcept {}
    void passStarted(std::int32_t) noexcept {}
};

class SliceRepeater {
public:
    // The capture buffers are not cleared here: the repeater lives inside the
    // effect object, whose storage is zero-filled when it is allocated, so a
    // new instance starts with silent buffers without touching 3.8 MB of
    // memory before it is needed. The constructor only picks the version of
    // the sample loops that this processor runs best.
    SliceRepeater() noexcept : loops_(loopSetForThisProcessor()), shape_(ShapeParameters{}, 1, loops_) {}

    // Processes frames stereo frames, sample for sample as the per-sample
    // rules say, but a stretch of frames at a time: a block is cut where a
    // capture starts, where a pass over the slice starts, where the update
    // period runs out, where a shaping rule begins or ends, and where the
    // capture fills up; every stretch in between is captured and rendered
    // in one go by a plain loop.
    void process(const BlockPlan& plan, const ShapeParameters& parameters, const StereoIo& io,
                 std::int32_t frames) noexcept {
        NoMarks none;
        process(plan, parameters, io, frames, none);
    }
    // The same, telling marks where each update period and each repeat of
    // the slice begins (none while muted, after a period ran out before its
    // boundary came). Marks is NoMarks or BlockMarks (block_marks.h).
    template <class Marks>
    void process(const BlockPlan& plan, const ShapeParameters& parameters, const StereoIo& io, std::int32_t frames,
                 Marks& marks) noexcept;

    // The musical position (quarter notes) the sample after the last
    // processed block has: the origin of a block whose host gives none.
    // 0.0 until a block is processed.
    double runningPosition() const noexcept { return runningPosition_; }

    // Back to the state of a new instance, capture buffers silent again.
    void reset() noexcept;

private:
    // Chooses the loop for the stretch that starts at position, and how far
    // it reaches: to the end of its rules, of the pass or of the period.
    void startStretch(const PassShape& shape, BufferLayout layout, PassPosition position, std::uint32_t sliceLength,
                      std::uint32_t periodLength) noexcept;
    // The shaping rules worked out for these parameters and this slice,
    // again only when they have changed since the last block.
    const PassShape& shapeFor(const ShapeParameters& parameters, std::int32_t sliceLength) noexcept;
    // Where in the capture buffers a capture that starts with framesLeft
    // frames of the block to go begins.
    std::uint32_t capturePhaseFor(std::int32_t framesLeft) const noexcept;

    // The capture buffers are longer than the capture by the phases a
    // capture may start at (see capturePhaseFor).
    static constexpr std::uint32_t kCapturePhases = 16;
    static_assert((kCaptureCapacity + kCapturePhases) % kCapturePhases == 0,
                  "one capture phase must align both capture buffers alike");

    LoopSet loops_;
    PassShape shape_;
    std::uint32_t sampleCounter_ = 0;
    // sampleCounter_ modulo readIndexSlice_, as the last block left them.
    std::uint32_t readIndex_ = 0;
    std::uint32_t readIndexSlice_ = 0;
    float repeatGain_ = 0.0f;
    // The period ran out before a boundary came: the repeats are silent.
    // A new instance is muted until its first boundary.
    bool muted_ = true;
    // The loop of the stretch under way and how many more frames it may
    // take (0: a stretch starts afresh), with the buffer layout and period
    // length it was chosen for. Most blocks of a host go on with the
    // stretch the block before left off.
    StretchKernel loop_ = nullptr;
    std::int64_t loopReach_ = 0;
    BufferLayout loopLayout_ = BufferLayout::separate;
    std::uint32_t loopPeriodLength_ = 0;
    // The last position a new instance starts from.
    static constexpr double kNoLastPosition = -500.0;
    double lastPosition_ = kNoLastPosition;
    double runningPosition_ = 0.0;
    // The capture of the current period begins this far into the buffers.
    std::uint32_t capturePhase_ = 0;
    float captureLeft_[kCaptureCapacity + kCapturePhases];
    float captureRight_[kCaptureCapacity + kCapturePhases];
};

}  // namespace slicecast
