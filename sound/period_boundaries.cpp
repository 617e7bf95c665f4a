#include "period_boundaries.h"

#include <algorithm>
#include <cmath>

#include "float_to_int.h"

namespace slicecast {

namespace {

// Truncation, not floor: every position strictly between -1 and 1 period
// lies in period 0.
std::int32_t periodNumber(double position, double scale) noexcept {
    return truncateToInt32((position * 0.25) * scale);
}

}  // namespace

PeriodBoundaries::PeriodBoundaries(const BlockPlan& plan, double lastPosition, std::int32_t frames) noexcept
    : plan_(plan),
      frames_(frames),
      periodBefore_(periodNumber(lastPosition, plan.scale)),
      firstPeriod_(periodAt(0)),
      lastPeriod_(periodAt(frames - 1)) {}

double PeriodBoundaries::positionOf(std::int32_t frame) const noexcept {
    return plan_.origin + static_cast<double>(frame) * plan_.beatStep;
}

double PeriodBoundaries::positionAfter() const noexcept {
    // The block's own positions continued by one more sample, in the same
    // arithmetic, so that a host that stops giving positions goes on from
    // its last one without a seam. Only an absurd tempo or sample rate can
    // make it infinite; counting then starts again at 0 rather than
    // staying there for good.
    const double next = positionOf(frames_);
    return std::isfinite(next) ? next : 0.0;
}

std::int32_t PeriodBoundaries::periodAt(std::int32_t frame) const noexcept {
    return periodNumber(positionOf(frame), plan_.scale);
}

std::int32_t PeriodBoundaries::first() const noexcept {
    if (periodBefore_ != firstPeriod_) return 0;
    return search(0, firstPeriod_);
}

std::int32_t PeriodBoundaries::after(std::int32_t frame) const noexcept { return search(frame, periodAt(frame)); }

std::int32_t PeriodBoundaries::search(std::int32_t frame, std::int32_t current) const noexcept {
    // Most blocks lie inside one period.
    if (lastPeriod_ == current) return frames_;
    // Gallop forward until past the change, then halve the bracket
    // (low, high]: periodAt(low) == current, and high is either the block's
    // end or a sample of a later period.
    std::int32_t low = frame;
    std::int32_t high = frame + 1;
    for (std::int64_t stride = 1; high < frames_ && periodAt(high) == current; stride *= 2) {
        low = high;
        high = static_cast<std::int32_t>(std::min<std::int64_t>(high + stride, frames_));
    }
    while (high - low > 1) {
        const std::int32_t middle = low + (high - low) / 2;
        if (periodAt(middle) == current) {
            low = middle;
        } else {
            high = middle;
        }
    }
    return high;
}

}  // namespace slicecast
