// Sums a block up for an editor's picture (see live_summary.h): before the
// sound plays the block, its frames are laid out in columns of their
// update period's page and the input's ranges taken (the sound may write
// its output over its input); the sound then marks where periods and
// passes began; after it, the output's ranges are taken and the columns
// handed on as records. Nothing is allocated: the columns of a block are
// held in a fixed table, and a block longer than it (more than
// kMaxBlockColumns columns: some 2.5 pages) is summed up only that far.
#pragma once

#include <array>
#include <cstdint>

#include "block_marks.h"
#include "block_plan.h"
#include "live_summary.h"
#include "stereo_io.h"
#include "stretch_ranges.h"

namespace slicecast {

// Where the records go: an editor's ring, or a plug-in port.
class SummarySink {
public:
    virtual void take(const SummaryRecord& record) noexcept = 0;

protected:
    ~SummarySink() = default;
};

class BlockSummariser {
public:
    static constexpr std::int32_t kMaxBlockColumns = 2048;

    explicit BlockSummariser(LoopSet loops = loopSetForThisProcessor()) noexcept
        : ranges_(stretchRangeKernelFor(loops)), quadRanges_(quadRangeKernelFor(loops)) {}

    // plan must be usable; tempo is the tempo it was planned at.
    void begin(const BlockPlan& plan, double tempo, const StereoIo& io, std::int32_t frames) noexcept;
    BlockMarks marks() noexcept { return BlockMarks(stretches_.data(), count_); }
    void end(const StereoIo& io, SummarySink& sink) noexcept;

private:
    // Where a frame lies: its page (the update period's number) and column;
    // column -1 for a position too far out to draw.
    struct Place {
        double page;
        std::int32_t column;
        bool operator==(const Place&) const = default;
    };
    Place placeAt(std::int32_t frame) const noexcept;
    // The first frame after first that lies beyond place's column, when
    // the arithmetic alone decides it beyond doubt.
    bool certainEnd(std::int32_t first, const Place& place, std::int32_t& end) const noexcept;
    // The same found frame by frame, with the place of the frame at the end.
    std::int32_t exactEnd(std::int32_t first, const Place& place, Place& next) const noexcept;
    void startRecord(const SummaryStretch& stretch, bool continues) noexcept;
    void flush(SummarySink& sink) noexcept;

    StretchRangeKernel ranges_;
    QuadRangeKernel quadRanges_;
    // The block's input is still there after the sound (no output lies on
    // it): its ranges are taken with the output's, in one pass.
    bool inputKept_ = false;
    // The block under way.
    BlockPlan plan_;
    double tempo_ = 0.0;
    std::int32_t frames_ = 0;
    std::int32_t count_ = 0;
    double quarterNotesPerPeriod_ = 0.0;
    double quarterNotesPerColumn_ = 0.0;
    double framesPerQuarterNote_ = 0.0;
    // How near a whole frame a column's start may lie before the frames
    // around it are evaluated one by one.
    double marginFrames_ = 0.0;
    std::array<SummaryStretch, kMaxBlockColumns> stretches_;
    // What the blocks before left: the page, the column, and the position
    // after them.
    bool havePage_ = false;
    std::uint32_t page_ = 0;
    double pageNumber_ = 0.0;
    double pageScale_ = 0.0;
    std::int32_t lastColumn_ = -1;
    double lastEnd_ = 0.0;
    // Where the last block began.
    bool haveOrigin_ = false;
    double lastOrigin_ = 0.0;
    // The record being filled.
    bool recordOpen_ = false;
    SummaryRecord record_;
};

}  // namespace slicecast
