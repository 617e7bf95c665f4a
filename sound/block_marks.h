// The marks the repeater tells for a block (see SliceRepeater::process),
// set on the stretch of the summary that holds each marked frame. The
// repeater tells them in frame order, so a cursor walks the stretches once.
#pragma once

#include <cstdint>

#include "live_summary.h"

namespace slicecast {

// A run of a block's frames that lies in one column of one page.
struct SummaryStretch {
    std::int32_t firstFrame;
    std::int32_t endFrame;       // one past the last
    double page;                 // the update period's number (floor of position in periods)
    std::int32_t column;
    std::uint32_t marks;         // ColumnMark bits
    SampleRange input[2];
};

class BlockMarks {
public:
    BlockMarks(SummaryStretch* stretches, std::int32_t count) noexcept : stretches_(stretches), count_(count) {}

    void periodStarted(std::int32_t frame) noexcept { mark(frame, kPeriodStartMark); }
    void passStarted(std::int32_t frame) noexcept { mark(frame, kPassStartMark); }

private:
    // Frames beyond the stretches (a block longer than the summary holds)
    // are not marked.
    void mark(std::int32_t frame, std::uint32_t bit) noexcept {
        while (cursor_ < count_ && stretches_[cursor_].endFrame <= frame) ++cursor_;
        if (cursor_ < count_ && stretches_[cursor_].firstFrame <= frame) stretches_[cursor_].marks |= bit;
    }

    SummaryStretch* stretches_;
    std::int32_t count_;
    std::int32_t cursor_ = 0;
};

}  // namespace slicecast
