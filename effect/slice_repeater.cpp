#include "slice_repeater.h"

#include "float_to_int.h"

namespace slicecast {

namespace {

// The update period a position lies in. Truncation, not floor: every
// position strictly between -1 and 1 period lies in period 0.
std::int32_t periodNumber(double position, double scale) noexcept {
    return truncateToInt32((position * 0.25) * scale);
}

}  // namespace

void SliceRepeater::process(const BlockPlan& plan, const ShapeParameters& shape, const float* inLeft,
                            const float* inRight, float* outLeft, float* outRight,
                            std::int32_t frames) noexcept {
    const float S = static_cast<float>(plan.sliceLength);
    const auto sliceLength = static_cast<std::uint32_t>(plan.sliceLength);
    const auto periodLength = static_cast<std::uint32_t>(plan.periodLength);
    const std::int32_t gateLength = truncateToInt32(S * shape.rate);

    for (std::int32_t i = 0; i < frames; ++i) {
        const double position = plan.origin + static_cast<double>(i) * plan.beatStep;
        if (periodNumber(lastPosition_, plan.scale) != periodNumber(position, plan.scale)) {
            sampleCounter_ = 0;
            repeatGain_ = 1.0f;
        }

        const float dryLeft = inLeft[i];
        const float dryRight = inRight[i];
        const std::uint32_t n = sampleCounter_;
        if (n >= periodLength) {
            sampleCounter_ = 0;
            repeatGain_ = 0.0f;
            captureLeft_[0] = dryLeft;
            captureRight_[0] = dryRight;
        } else if (n < static_cast<std::uint32_t>(kCaptureCapacity)) {
            captureLeft_[n] = dryLeft;
            captureRight_[n] = dryRight;
        }

        const std::uint32_t k = sampleCounter_ % sliceLength;
        if (k == 0 && sampleCounter_ != 0) repeatGain_ = shape.decayRate * repeatGain_;

        float wetLeft = captureLeft_[k] * repeatGain_;
        float wetRight = captureRight_[k] * repeatGain_;
        const float K = static_cast<float>(k);

        if (shape.rate > 0.0f) {
            const float fade = 1.0f - (K * shape.fadeOut) / (S * shape.rate);
            wetLeft = wetLeft * fade;
            wetRight = wetRight * fade;
        }
        if (static_cast<std::int32_t>(k) < kEdgeFadeLength && shape.rate < 1.0f) {
            wetLeft = (K * wetLeft) / 12.0f;
            wetRight = (K * wetRight) / 12.0f;
        }
        const std::int64_t pastGate = static_cast<std::int64_t>(k) - gateLength;
        if (pastGate >= kEdgeFadeLength) {
            wetLeft = 0.0f;
            wetRight = 0.0f;
        } else if (pastGate > 0) {
            // A short linear fade-out mirroring the fade-in, so that the gate
            // does not click: 11/12 one sample past the gate down to 1/12.
            const float remaining = static_cast<float>(kEdgeFadeLength - pastGate);
            wetLeft = (remaining * wetLeft) / 12.0f;
            wetRight = (remaining * wetRight) / 12.0f;
        }

        outLeft[i] = (1.0f - shape.mix) * dryLeft + shape.mix * wetLeft;
        outRight[i] = (1.0f - shape.mix) * dryRight + shape.mix * wetRight;

        ++sampleCounter_;
        lastPosition_ = position;
    }
}

}  // namespace slicecast
