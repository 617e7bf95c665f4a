#include "block_summariser.h"

#include <algorithm>
#include <cmath>

#include "float_to_int.h"

namespace slicecast {

namespace {

// Positions beyond this many periods are not drawn: the page number must
// stay an exact integer, and the column a finite fraction.
constexpr double kLargestPage = 1e9;
// Relative to the positions involved: thousands of times the rounding of
// one frame's place.
constexpr double kRoundingMargin = 1e-12;

// std::floor is a library call where the baseline instruction set has no
// rounding instruction; within kLargestPage a truncation does it.
inline double floorWithin(double x) noexcept {
    const auto truncated = static_cast<double>(static_cast<std::int64_t>(x));
    return truncated > x ? truncated - 1.0 : truncated;
}

}  // namespace

// The sound's own expression for a frame's period (period_boundaries.h),
// before its truncation: pages then change where the sound's periods do.
// This and certainEnd are taken for every column: written into the walk.
[[gnu::always_inline]] inline BlockSummariser::Place BlockSummariser::placeAt(std::int32_t frame) const noexcept {
    const double position = plan_.origin + static_cast<double>(frame) * plan_.beatStep;
    const double periods = (position * 0.25) * plan_.scale;
    if (!(std::fabs(periods) < kLargestPage)) return {0.0, -1};
    const double page = floorWithin(periods);
    return {page, std::clamp(truncateToInt32((periods - page) * kPageColumns), 0, kPageColumns - 1)};
}

[[gnu::always_inline]] inline bool BlockSummariser::certainEnd(std::int32_t first, const Place& place,
                                                              std::int32_t& end) const noexcept {
    // The real frame index at which the next column begins. Each frame's
    // place is found with rounding errors of a few units in the last place
    // of its position; far more than those from a whole frame index, the
    // first frame past it is the first in the next column, with no frame
    // evaluated.
    const double columnEnd =
        place.page * quarterNotesPerPeriod_ + static_cast<double>(place.column + 1) * quarterNotesPerColumn_;
    const double at = (columnEnd - plan_.origin) * framesPerQuarterNote_;
    if (!(at < static_cast<double>(frames_) - marginFrames_)) {
        end = frames_;
        return at > static_cast<double>(frames_) + marginFrames_;
    }
    if (!(at > static_cast<double>(first) + marginFrames_)) return false;
    const double below = floorWithin(at);
    if (at - below <= marginFrames_ || below + 1.0 - at <= marginFrames_) return false;
    end = static_cast<std::int32_t>(below) + 1;
    return true;
}

std::int32_t BlockSummariser::exactEnd(std::int32_t first, const Place& place, Place& next) const noexcept {
    // From an estimate to the exact change: positions never decrease within
    // a block, so frames before it are in the column and frames after it
    // are not.
    const double columnEnd =
        (place.page + static_cast<double>(place.column + 1) / kPageColumns) * quarterNotesPerPeriod_;
    const double estimate = (columnEnd - plan_.origin) * framesPerQuarterNote_;
    std::int32_t end = first + 1;
    if (estimate > static_cast<double>(first + 1)) {
        end = estimate < static_cast<double>(frames_) ? truncateToInt32(estimate) : frames_;
    }
    while (end > first + 1 && !(placeAt(end - 1) == place)) --end;
    next = place;
    while (end < frames_ && (next = placeAt(end)) == place) ++end;
    return end;
}

void BlockSummariser::begin(const BlockPlan& plan, double tempo, const StereoIo& io, std::int32_t frames) noexcept {
    plan_ = plan;
    tempo_ = tempo;
    frames_ = frames;
    count_ = 0;
    // A host whose transport stands still gives every block the same
    // position: nothing new is drawn, and the editor keeps its last page.
    const bool standing = haveOrigin_ && plan.origin == lastOrigin_;
    haveOrigin_ = true;
    lastOrigin_ = plan.origin;
    if (standing) return;
    quarterNotesPerPeriod_ = 4.0 / plan.scale;
    quarterNotesPerColumn_ = quarterNotesPerPeriod_ / kPageColumns;
    framesPerQuarterNote_ = 1.0 / plan.beatStep;
    // The largest position the block's arithmetic meets, a page beyond its
    // end included.
    const double reach = std::fabs(plan.origin) + static_cast<double>(frames) * plan.beatStep + quarterNotesPerPeriod_;
    marginFrames_ = kRoundingMargin * reach * framesPerQuarterNote_;
    inputKept_ = layoutOf(io, frames) == BufferLayout::separate;
    // Columns of two frames or more: the next column after one always holds
    // a frame.
    const bool wide = quarterNotesPerPeriod_ / kPageColumns * framesPerQuarterNote_ >= 2.0;
    Place place = placeAt(0);
    for (std::int32_t first = 0; first < frames && count_ < kMaxBlockColumns && place.column >= 0;) {
        std::int32_t end = frames;
        Place next = place;
        if (wide && certainEnd(first, place, end)) {
            next = place.column + 1 < kPageColumns ? Place{place.page, place.column + 1} : Place{place.page + 1.0, 0};
            if (!(std::fabs(next.page) < kLargestPage)) next.column = -1;
        } else {
            end = exactEnd(first, place, next);
        }
        SummaryStretch& stretch = stretches_[static_cast<std::size_t>(count_++)];
        stretch = {first, end, place.page, place.column, 0u, {}};
        if (!inputKept_) {
            const StereoRange input = ranges_(io.inLeft + first, io.inRight + first, end - first);
            stretch.input[0] = input.left;
            stretch.input[1] = input.right;
        }
        first = end;
        place = next;
    }
}

void BlockSummariser::startRecord(const SummaryStretch& stretch, bool continues) noexcept {
    recordOpen_ = true;
    const double pageLength = 4.0 / plan_.scale;
    record_.header = {page_,
                      continues ? kContinuesColumn : 0u,
                      stretch.column,
                      0,
                      stretch.page * pageLength,
                      pageLength,
                      0.0,
                      tempo_};
}

void BlockSummariser::flush(SummarySink& sink) noexcept {
    if (recordOpen_) sink.take(record_);
    recordOpen_ = false;
}

void BlockSummariser::end(const StereoIo& io, SummarySink& sink) noexcept {
    if (count_ == 0) return;
    // A block that begins where the last one ended (within a frame: hosts
    // count positions their own way) may go on in its column.
    const bool seamless = havePage_ && std::fabs(plan_.origin - lastEnd_) <= plan_.beatStep;
    for (std::int32_t i = 0; i < count_; ++i) {
        const SummaryStretch& stretch = stretches_[static_cast<std::size_t>(i)];
        SampleRange input[2] = {stretch.input[0], stretch.input[1]};
        SampleRange output[2];
        const std::int32_t frames = stretch.endFrame - stretch.firstFrame;
        if (inputKept_) {
            const float* const channels[4] = {io.inLeft + stretch.firstFrame, io.inRight + stretch.firstFrame,
                                              io.outLeft + stretch.firstFrame, io.outRight + stretch.firstFrame};
            SampleRange ranges[4];
            quadRanges_(channels, frames, ranges);
            input[0] = ranges[0];
            input[1] = ranges[1];
            output[0] = ranges[2];
            output[1] = ranges[3];
        } else {
            const StereoRange range =
                ranges_(io.outLeft + stretch.firstFrame, io.outRight + stretch.firstFrame, frames);
            output[0] = range.left;
            output[1] = range.right;
        }
        // Every update period starts a fresh page, and so does a change of
        // the period's length.
        const bool newPage = !havePage_ || stretch.page != pageNumber_ || plan_.scale != pageScale_ ||
                             (stretch.marks & kPeriodStartMark) != 0;
        const bool nextInRecord = recordOpen_ && record_.header.columnCount < kRecordColumns &&
                                  stretch.column == record_.header.firstColumn + record_.header.columnCount;
        if (newPage) {
            flush(sink);
            ++page_;
            havePage_ = true;
            pageNumber_ = stretch.page;
            pageScale_ = plan_.scale;
            startRecord(stretch, false);
        } else if (!nextInRecord) {
            flush(sink);
            startRecord(stretch, i == 0 && seamless && stretch.column == lastColumn_);
        }
        record_.columns[record_.header.columnCount++] = {{input[0], input[1]}, {output[0], output[1]}, stretch.marks};
        record_.header.playPosition = plan_.origin + static_cast<double>(stretch.endFrame) * plan_.beatStep;
        lastColumn_ = stretch.column;
    }
    flush(sink);
    lastEnd_ = plan_.origin + static_cast<double>(frames_) * plan_.beatStep;
}

}  // namespace slicecast
