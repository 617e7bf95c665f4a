#include "slice_repeater.h"

#include <algorithm>
#include <array>
#include <bit>

#include "block_marks.h"
#include "period_boundaries.h"

namespace slicecast {

template <class Marks>
void SliceRepeater::process(const BlockPlan& plan, const ShapeParameters& parameters, const StereoIo& io,
                            std::int32_t frames, Marks& marks) noexcept {
    const PassShape& shape = shapeFor(parameters, plan.sliceLength);
    const PeriodBoundaries boundaries(plan, lastPosition_, frames);
    const BufferLayout layout = layoutOf(io, frames);
    const auto sliceLength = static_cast<std::uint32_t>(plan.sliceLength);
    const auto periodLength = static_cast<std::uint32_t>(plan.periodLength);
    // The stretch the last block left unfinished goes on with its loop,
    // unless what the loop was chosen for has changed.
    if (layout != loopLayout_ || periodLength != loopPeriodLength_) loopReach_ = 0;

    std::int32_t boundary = boundaries.first();
    // The read index is the counter's remainder by the slice length; it
    // follows the counter stretch by stretch, and is divided out afresh only
    // when the slice length has changed.
    std::uint32_t readIndex = readIndex_;
    if (sliceLength != readIndexSlice_) readIndex = sampleCounter_ % sliceLength;
    // A new capture begins at this frame, its repeats heard at gain.
    const auto startCapture = [&](std::int32_t frame, float gain) {
        capturePhase_ = capturePhaseFor(frames - frame);
        sampleCounter_ = 0;
        readIndex = 0;
        repeatGain_ = gain;
        muted_ = gain == 0.0f;
        loopReach_ = 0;
    };
    for (std::int32_t frame = 0; frame < frames;) {
        if (frame == boundary) {
            startCapture(frame, 1.0f);
            marks.periodStarted(frame);
            boundary = boundaries.after(frame);
        }
        // The period ran out before a boundary came: muted, and the
        // capture starts over at position 0.
        if (sampleCounter_ >= periodLength) startCapture(frame, 0.0f);
        if (readIndex == 0 && sampleCounter_ != 0) {
            repeatGain_ = parameters.decayRate * repeatGain_;
            if (!muted_) marks.passStarted(frame);
        }
        const PassPosition position{readIndex, sampleCounter_};
        if (loopReach_ == 0) startStretch(shape, layout, position, sliceLength, periodLength);

        const auto stretch = static_cast<std::int32_t>(std::min<std::int64_t>(loopReach_, boundary - frame));
        loop_(shape, repeatGain_, static_cast<std::int32_t>(readIndex),
              stretchIoAt(io, frame, {captureLeft_ + capturePhase_, captureRight_ + capturePhase_}, position), stretch);
        loopReach_ -= stretch;
        sampleCounter_ += static_cast<std::uint32_t>(stretch);
        readIndex += static_cast<std::uint32_t>(stretch);
        if (readIndex == sliceLength) readIndex = 0;
        frame += stretch;
    }
    readIndex_ = readIndex;
    readIndexSlice_ = sliceLength;
    loopLayout_ = layout;
    loopPeriodLength_ = periodLength;
    lastPosition_ = boundaries.positionOf(frames - 1);
    runningPosition_ = boundaries.positionAfter();
}

template void SliceRepeater::process(const BlockPlan&, const ShapeParameters&, const StereoIo&, std::int32_t,
                                     NoMarks&) noexcept;
template void SliceRepeater::process(const BlockPlan&, const ShapeParameters&, const StereoIo&, std::int32_t,
                                     BlockMarks&) noexcept;

const PassShape& SliceRepeater::shapeFor(const ShapeParameters& parameters, std::int32_t sliceLength) noexcept {
    // Compared bit for bit: -0 and +0 shape differently (mix x 0), and a
    // NaN matches itself.
    const auto bits = [](const ShapeParameters& p) {
        return std::array{std::bit_cast<std::uint32_t>(p.rate), std::bit_cast<std::uint32_t>(p.fadeOut),
                          std::bit_cast<std::uint32_t>(p.decayRate), std::bit_cast<std::uint32_t>(p.mix)};
    };
    if (sliceLength != shape_.sliceLengthSamples || bits(parameters) != bits(shape_.parameters)) {
        shape_ = PassShape(parameters, sliceLength, loops_);
        loopReach_ = 0;
    }
    return shape_;
}

void SliceRepeater::reset() noexcept {
    sampleCounter_ = 0;
    readIndex_ = 0;
    repeatGain_ = 0.0f;
    muted_ = true;
    loopReach_ = 0;
    lastPosition_ = kNoLastPosition;
    runningPosition_ = 0.0;
    capturePhase_ = 0;
    std::fill_n(captureLeft_, kCaptureCapacity + kCapturePhases, 0.0f);
    std::fill_n(captureRight_, kCaptureCapacity + kCapturePhases, 0.0f);
}

std::uint32_t SliceRepeater::capturePhaseFor(std::int32_t framesLeft) const noexcept {
    // A vector store is cheapest where it fills one aligned block of memory
    // rather than straddling two cache lines. A host mostly plays blocks of
    // one length, a multiple of 16, and the loops start their vectors at
    // each block's first frame: so a capture is placed where the next
    // block's first frame is stored at the start of a 64-byte cache line,
    // and every later block's then is too. Every read of a capture comes
    // after its start, so moving it changes which memory holds it, never a
    // sample; both buffers are a multiple of 16 samples long, so one phase
    // fits both.
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(captureLeft_) / sizeof(float);
    const std::uintptr_t nextBlock = start + static_cast<std::uintptr_t>(framesLeft);
    return static_cast<std::uint32_t>((std::uintptr_t{0} - nextBlock) % kCapturePhases);
}

void SliceRepeater::startStretch(const PassShape& shape, BufferLayout layout, PassPosition position,
                                 std::uint32_t sliceLength, std::uint32_t periodLength) noexcept {
    const StretchLoop loop = stretchLoopAt(shape, layout, position);
    const std::int64_t toPassEnd = std::int64_t{sliceLength} - position.readIndex;
    // The frame at hand has passed the period test already; the later ones
    // must stay below the period length.
    const std::int64_t toPeriodEnd = std::max<std::int64_t>(1, std::int64_t{periodLength} - position.writeIndex);
    loop_ = loop.kernel;
    loopReach_ = std::min({loop.reach, toPassEnd, toPeriodEnd});
}

}  // namespace slicecast
