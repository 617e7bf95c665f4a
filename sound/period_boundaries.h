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

#include <cstdint>

#include "block_plan.h"

namespace slicecast {

class PeriodBoundaries {
public:
    PeriodBoundaries(const BlockPlan& plan, double lastPosition, std::int32_t frames) noexcept;

    // The first sample of the block that starts a capture, or frames if
    // none does.
    std::int32_t first() const noexcept;
    // The first sample after frame that starts a capture, or frames.
    std::int32_t after(std::int32_t frame) const noexcept;

    double positionOf(std::int32_t frame) const noexcept;
    // The position of the sample after the block: where the effect's own
    // count of musical time goes on when the next block brings none.
    double positionAfter() const noexcept;

private:
    std::int32_t periodAt(std::int32_t frame) const noexcept;
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
