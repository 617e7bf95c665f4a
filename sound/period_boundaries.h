// The samples of one block at which a new update period begins, each of
// which starts a new capture.
//
// The rule compares the period number of every sample's position with that
// of the sample before: position = origin + i x beat step (64 bits), period
// number = (position x 0.25) x scale truncated toward zero. Within a block
// positions never decrease, and neither does the period number as the
// position grows, so the samples where it changes are found by searching
// with that same expression instead of evaluating it at every sample. The
// first sample of a block is compared with the last position of the block
// before, which may lie anywhere (the host may have jumped).
#pragma once

#include <cmath>
#include <cstdint>

#include "block_plan.h"
#include "float_to_int.h"

namespace slicecast {

// The members a block always uses are defined here, so that they compile
// into the block's own loop; only the search is a call.
class PeriodBoundaries {
public:
    PeriodBoundaries(const BlockPlan& plan, double lastPosition, std::int32_t frames) noexcept
        : plan_(plan),
          frames_(frames),
          periodBefore_(periodNumber(lastPosition, plan.scale)),
          firstPeriod_(periodAt(0)),
          lastPeriod_(periodAt(frames - 1)) {}

    // The first sample of the block that starts a capture, or frames if
    // none does.
    std::int32_t first() const noexcept {
        if (periodBefore_ != firstPeriod_) return 0;
        return lastPeriod_ == firstPeriod_ ? frames_ : search(0, firstPeriod_);
    }
    // The first sample after frame that starts a capture, or frames.
    std::int32_t after(std::int32_t frame) const noexcept { return search(frame, periodAt(frame)); }

    double positionOf(std::int32_t frame) const noexcept {
        return plan_.origin + static_cast<double>(frame) * plan_.beatStep;
    }
    // The position of the sample after the block: where the effect's own
    // count of musical time goes on when the next block brings none. The
    // block's own positions continued by one more sample, in the same
    // arithmetic, so that a host that stops giving positions goes on from
    // its last one without a seam. Only an absurd tempo or sample rate can
    // make it infinite; counting then starts again at 0 rather than
    // staying there for good.
    double positionAfter() const noexcept {
        const double next = positionOf(frames_);
        return std::isfinite(next) ? next : 0.0;
    }

private:
    // Truncation, not floor: every position strictly between -1 and 1
    // period lies in period 0.
    static std::int32_t periodNumber(double position, double scale) noexcept {
        return truncateToInt32((position * 0.25) * scale);
    }
    std::int32_t periodAt(std::int32_t frame) const noexcept { return periodNumber(positionOf(frame), plan_.scale); }
    // The first sample after frame whose period differs from current, the
    // period of frame.
    std::int32_t search(std::int32_t frame, std::int32_t current) const noexcept;

    const BlockPlan& plan_;
    std::int32_t frames_;
    std::int32_t periodBefore_;  // of the last sample of the block before
    std::int32_t firstPeriod_;
    std::int32_t lastPeriod_;
};

}  // namespace slicecast
