#include "block_summariser.h"

#include <algorithm>
#include <cmath>

#include "float_to_int.h"

namespace slicecast {

namespace {

// Positions beyond this many periods are not drawn: the page number must
// stay an exact integer, and the column a finite fraction.
constexpr double kLargestPage = 1e9;

// std::floor is a library call where the baseline instruction set has no
// rounding instruction; within kLargestPage a truncation does it.
inline double floorWithin(double x) noexcept {
    const auto truncated = static_cast<double>(static_cast<std::int64_t>(x));
    return truncated > x ? truncated - 1.0 : truncated;
}

}  // namespace

// The sound's own expression for a frame's period (period_boundaries.h),
// before its truncation: pages then change where the sound's periods do.
double BlockSummariser::periodsAt(std::int32_t frame) const noexcept {
    const double position = plan_.origin + static_cast<double>(frame) * plan_.beatStep;
    return (position * 0.25) * plan_.scale;
}

std::int32_t BlockSummariser::columnOf(double periods, double page) const noexcept {
    return std::clamp(truncateToInt32((periods - page) * kPageColumns), 0, kPageColumns - 1);
}

std::int32_t BlockSummariser::stretchEnd(std::int32_t first, double page, std::int32_t column) const noexcept {
    const auto inStretch = [&](std::int32_t frame) {
        const double periods = periodsAt(frame);
        return std::fabs(periods) < kLargestPage && floorWithin(periods) == page && columnOf(periods, page) == column;
    };
    // The frame where the next column begins, as the arithmetic estimates
    // it, then moved to the exact change: positions never decrease within a
    // block, so frames before it are in the stretch and frames after are not.
    const double nextColumn = (page + static_cast<double>(column + 1) / kPageColumns) / plan_.scale * 4.0;
    const double estimate = (nextColumn - plan_.origin) / plan_.beatStep + 1.0;
    std::int32_t end = estimate > static_cast<double>(first) ? std::min(truncateToInt32(estimate), frames_) : first + 1;
    end = std::max(end, first + 1);
    while (end > first + 1 && !inStretch(end - 1)) --end;
    while (end < frames_ && inStretch(end)) ++end;
    return end;
}

void BlockSummariser::begin(const BlockPlan& plan, double tempo, const StereoIo& io, std::int32_t frames) noexcept {
    plan_ = plan;
    tempo_ = tempo;
    frames_ = frames;
    count_ = 0;
    for (std::int32_t first = 0; first < frames && count_ < kMaxBlockColumns;) {
        const double periods = periodsAt(first);
        if (!(std::fabs(periods) < kLargestPage)) break;
        const double page = floorWithin(periods);
        const std::int32_t column = columnOf(periods, page);
        const std::int32_t end = stretchEnd(first, page, column);
        const StereoRange input = ranges_(io.inLeft + first, io.inRight + first, end - first);
        stretches_[static_cast<std::size_t>(count_++)] = {first, end, page, column, 0u, {input.left, input.right}};
        first = end;
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
    // A block that begins where the last one ended (within a frame: hosts
    // count positions their own way) may go on in its column.
    const bool seamless = havePage_ && std::fabs(plan_.origin - lastEnd_) <= plan_.beatStep;
    for (std::int32_t i = 0; i < count_; ++i) {
        const SummaryStretch& stretch = stretches_[static_cast<std::size_t>(i)];
        const StereoRange output = ranges_(io.outLeft + stretch.firstFrame, io.outRight + stretch.firstFrame,
                                           stretch.endFrame - stretch.firstFrame);
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
        record_.columns[record_.header.columnCount++] = {
            {stretch.input[0], stretch.input[1]}, {output.left, output.right}, stretch.marks};
        record_.header.playPosition = plan_.origin + static_cast<double>(stretch.endFrame) * plan_.beatStep;
        lastColumn_ = stretch.column;
    }
    flush(sink);
    lastEnd_ = plan_.origin + static_cast<double>(frames_) * plan_.beatStep;
}

}  // namespace slicecast
