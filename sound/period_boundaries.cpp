#include "period_boundaries.h"

#include <algorithm>

namespace slicecast {

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
